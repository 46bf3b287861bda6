// SPDX-License-Identifier: MIT
// How long keelcheck takes over a large set: 200,000 objects, 200,000 3D objects and 40,000
// launchers, with the sample set's nations, carriers, sensors and airstrips. A tenth of the
// objects lack their 3D object, 20,000 3D objects are of no object, and every thousandth object
// has a launcher slot that names nothing, so that the report has some 40,000 lines to write.
//
// BM_CheckLargeSet: reading the set, every check and the text report, in-process, the report
// going nowhere. BM_KeelcheckLargeSet: the built program as a user runs it, its report going
// to /dev/null.
#include "LargeSet.h"
#include "Quiet.h"
#include "check/CheckedSet.h"
#include "check/Reports.h"
#include "check/SetCheck.h"

#include <benchmark/benchmark.h>
#include <ostream>
#include <streambuf>

namespace {

namespace fs = std::filesystem;

constexpr std::size_t objectCount = 200'000;
constexpr std::size_t orphanCount = 20'000;

using keel::bench::NullBuffer;

// The large set, written once for all the benchmarks.
const fs::path& largeSet() {
    static keel::bench::ScratchDirectory directory;
    static const bool written = [] {
        keel::bench::writeLargeSet(directory.path(), objectCount);
        keel::ByteVector objects = keel::bench::objectFile(objectCount);
        // Slots are signed 16-bit numbers, so only the first 32,767 launchers can be named.
        constexpr std::size_t nameable = 32'767;
        for (std::size_t i = 0; i < objectCount; ++i) {
            const keel::ByteSpan object = keel::ObjectFile::record(keel::ByteSpan(objects), i);
            keel::ObjectRecord::LauncherSlots.write(object, 0,
                                                    static_cast<std::int16_t>(i % nameable + 1));
            if (i % 1000 == 0) {
                keel::ObjectRecord::LauncherSlots.write(object, 1, -1);
            }
        }
        keel::ByteVector threeD = keel::bench::threeDFile(objects);
        for (std::size_t i = 0; i < orphanCount; ++i) {
            keel::ByteVector record(keel::ThreeDRecord::Size, 0x44);
            keel::ThreeDRecord::Name.write(record, "Orphan " + std::to_string(i),
                                           keel::TextOverflow::Refuse);
            threeD.insert(threeD.end(), record.begin(), record.end());
        }
        keel::bench::writeFile(directory.path() / "objects.odb", objects);
        keel::bench::writeFile(directory.path() / "3dobjects.3db", threeD);
        return true;
    }();
    (void)written;
    return directory.path();
}

void BM_CheckLargeSet(benchmark::State& state) {
    const fs::path& directory = largeSet();
    NullBuffer nothing;
    std::ostream report(&nothing);
    std::size_t findings = 0;
    for (auto _ : state) {
        const keel::CheckedSet::Load loaded = keel::CheckedSet::load(directory);
        if (!loaded.set) {
            state.SkipWithError(loaded.error.c_str());
            break;
        }
        const keel::FindingList found = keel::checkSet(*loaded.set);
        keel::TextReport::write(*loaded.set, found, report);
        findings = found.size();
    }
    state.counters["findings"] = static_cast<double>(findings);
}

BENCHMARK(BM_CheckLargeSet)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);

void BM_KeelcheckLargeSet(benchmark::State& state) {
    const fs::path& directory = largeSet();
    for (auto _ : state) {
        // Findings make the status 1; anything else is a failure.
        if (keel::bench::runQuietly(KEELCHECK_PATH, {directory.string()}) != 1) {
            state.SkipWithError("keelcheck failed");
            break;
        }
    }
}

BENCHMARK(BM_KeelcheckLargeSet)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);

} // namespace

BENCHMARK_MAIN();
