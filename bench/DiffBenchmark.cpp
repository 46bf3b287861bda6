// SPDX-License-Identifier: MIT
// How long keeltext diff takes over two files of N objects, the built program as a user runs
// it, its report going to /dev/null.
//
// BM_KeeltextDiffObjects/N: B is A as a mod leaves it: every hundredth object a knot faster,
// every thousandth renamed (a record only in A and one only in B), two objects swapped.
// BM_KeeltextDiffObjectsAllChanged/N: every object a knot faster, a line for each.
// BM_KeeltextDiffObjectsJson/N: the mod's differences as the JSON report.
// BM_KeeltextDiffEqualObjects/N: two equal files, the floor: both read and their bytes compared.
#include "LargeSet.h"
#include "Quiet.h"
#include "objects/ObjectRecord.h"

#include <benchmark/benchmark.h>
#include <map>
#include <utility>

namespace {

namespace fs = std::filesystem;

struct FilePair {
    fs::path a;
    fs::path b;
};

keel::ByteVector editedCopy(const keel::ByteVector& original, std::size_t fasterEvery) {
    keel::ByteVector edited = original;
    const std::size_t count = edited.size() / keel::ObjectRecord::Size;
    for (std::size_t i = 0; fasterEvery != 0 && i < count; i += fasterEvery) {
        const keel::ByteSpan object = keel::ObjectFile::record(keel::ByteSpan(edited), i);
        keel::ObjectRecord::MaxSpeed.write(object, keel::ObjectRecord::MaxSpeed.read(object) + 1);
        if (fasterEvery > 1 && i % 1000 == 0) {
            keel::ObjectRecord::ObjectName.write(object, "Renamed " + std::to_string(i),
                                                 keel::TextOverflow::Refuse);
        }
    }
    if (fasterEvery > 1 && count > 20) {
        std::swap_ranges(edited.begin() + 10 * keel::ObjectRecord::Size,
                         edited.begin() + 11 * keel::ObjectRecord::Size,
                         edited.begin() + 20 * keel::ObjectRecord::Size);
    }
    return edited;
}

// The two files for N objects and a change every `fasterEvery` objects, written once.
const FilePair& files(std::size_t objects, std::size_t fasterEvery) {
    static keel::bench::ScratchDirectory directory;
    static std::map<std::pair<std::size_t, std::size_t>, FilePair> made;
    const auto key = std::make_pair(objects, fasterEvery);
    if (const auto found = made.find(key); found != made.end()) {
        return found->second;
    }
    const std::string stem = std::to_string(objects) + "-" + std::to_string(fasterEvery);
    FilePair pair{directory.path() / (stem + "-a.odb"), directory.path() / (stem + "-b.odb")};
    const keel::ByteVector original = keel::bench::objectFile(objects);
    keel::bench::writeFile(pair.a, original);
    keel::bench::writeFile(pair.b, editedCopy(original, fasterEvery));
    return made.emplace(key, pair).first->second;
}

// A change every `fasterEvery` objects; none for 0.
void runDiff(benchmark::State& state, std::size_t fasterEvery, bool json) {
    const FilePair& pair = files(static_cast<std::size_t>(state.range(0)), fasterEvery);
    std::vector<std::string> arguments{"diff", pair.a.string(), pair.b.string()};
    if (json) {
        arguments.push_back("--json");
    }
    for (auto _ : state) {
        if (keel::bench::runQuietly(KEELTEXT_PATH, arguments) != (fasterEvery != 0 ? 1 : 0)) {
            state.SkipWithError("keeltext diff did not tell whether the files differ");
            break;
        }
    }
}

void BM_KeeltextDiffObjects(benchmark::State& state) {
    runDiff(state, 100, false);
}
void BM_KeeltextDiffObjectsAllChanged(benchmark::State& state) {
    runDiff(state, 1, false);
}
void BM_KeeltextDiffObjectsJson(benchmark::State& state) {
    runDiff(state, 100, true);
}
void BM_KeeltextDiffEqualObjects(benchmark::State& state) {
    runDiff(state, 0, false);
}

BENCHMARK(BM_KeeltextDiffObjects)
    ->Arg(5'000)
    ->Arg(50'000)
    ->Arg(200'000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5);
BENCHMARK(BM_KeeltextDiffObjectsAllChanged)
    ->Arg(200'000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5);
BENCHMARK(BM_KeeltextDiffEqualObjects)
    ->Arg(200'000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5);
BENCHMARK(BM_KeeltextDiffObjectsJson)
    ->Arg(200'000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5);

} // namespace

BENCHMARK_MAIN();
