// SPDX-License-Identifier: MIT
// What keeltext takes for N objects: export to CSV and import of that CSV, in-process from the
// file's bytes to the text and back, in pieces as the program writes them
// (BM_ExportObjectsToCsv, BM_ImportObjectsFromCsv), and the built program as a user runs it,
// reading and writing files, the written one replaced atomically and synced
// (BM_KeeltextExport, BM_KeeltextImport). The objects are those of the sample set over and
// over, each renamed, so that every value is one a real set holds.
#include "Quiet.h"
#include "ScratchDirectory.h"
#include "objects/ObjectRecord.h"
#include "text/CsvText.h"
#include "tools/SampleSet.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace {

namespace fs = std::filesystem;

keel::ByteVector sampleObjects(std::size_t count) {
    keel::ByteVector sample;
    for (keel::SampleFile& file : keel::buildSampleSet()) {
        if (file.file == keel::DatabaseFile::Objects) {
            sample = std::move(file.bytes);
        }
    }
    const std::size_t kinds = keel::ObjectFile::count(sample);
    keel::ByteVector objects(count * keel::ObjectRecord::Size);
    for (std::size_t i = 0; i < count; ++i) {
        const auto from = sample.begin() + static_cast<std::ptrdiff_t>((i % kinds) * keel::ObjectRecord::Size);
        const keel::ByteSpan record = keel::ObjectFile::record(keel::ByteSpan(objects), i);
        std::copy(from, from + keel::ObjectRecord::Size, record.begin());
        char name[20];
        std::snprintf(name, sizeof name, "Object %07u", static_cast<unsigned>(i % 10000000));
        keel::ObjectRecord::ObjectName.write(record, name, keel::TextOverflow::Refuse);
    }
    return objects;
}

void writeFile(const fs::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void BM_ExportObjectsToCsv(benchmark::State& state) {
    const keel::ByteVector objects = sampleObjects(static_cast<std::size_t>(state.range(0)));
    std::size_t size = 0;
    for (auto _ : state) {
        // In pieces, as the program writes it.
        size = 0;
        keel::writeCsvText(keel::readLosslessFile(keel::RecordKind::Objects, objects), false,
                           [&size](std::string_view piece) {
                               benchmark::DoNotOptimize(piece.data());
                               size += piece.size();
                               return true;
                           });
    }
    state.counters["text_MB"] = static_cast<double>(size) / 1e6;
}

void BM_ImportObjectsFromCsv(benchmark::State& state) {
    const keel::ByteVector objects = sampleObjects(static_cast<std::size_t>(state.range(0)));
    const std::string text = keel::csvTextOf(keel::readLosslessFile(keel::RecordKind::Objects, objects), false);
    for (auto _ : state) {
        const keel::ImportResult result = keel::fileOfCsvText(text, {keel::RecordKind::Objects, "objects.csv"});
        // In pieces, as the program writes them, each held against the objects.
        std::size_t at = 0;
        const bool same = keel::writeLosslessFile(result.file, [&](keel::ConstByteSpan piece) {
            const bool equal = at + piece.size() <= objects.size() &&
                               std::equal(piece.begin(), piece.end(), objects.begin() + static_cast<std::ptrdiff_t>(at));
            at += piece.size();
            return equal;
        });
        if (!same || at != objects.size()) {
            state.SkipWithError("the import did not give the objects back");
            break;
        }
    }
}

BENCHMARK(BM_ExportObjectsToCsv)->Arg(5'000)->Arg(50'000)->Arg(200'000)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
BENCHMARK(BM_ImportObjectsFromCsv)->Arg(5'000)->Arg(50'000)->Arg(200'000)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

// The 200,000 objects and their CSV, written once for the program's benchmarks.
const fs::path& largeFiles() {
    static keel::bench::ScratchDirectory directory;
    static const bool written = [] {
        const keel::ByteVector objects = sampleObjects(200'000);
        writeFile(directory.path() / "objects.odb", {reinterpret_cast<const char*>(objects.data()), objects.size()});
        writeFile(directory.path() / "objects.csv",
                  keel::csvTextOf(keel::readLosslessFile(keel::RecordKind::Objects, objects), false));
        return true;
    }();
    (void)written;
    return directory.path();
}

void BM_KeeltextExport(benchmark::State& state) {
    const fs::path& directory = largeFiles();
    for (auto _ : state) {
        if (keel::bench::runQuietly(KEELTEXT_PATH, {"export", "objects.odb", "-o", "exported.csv"}, directory) != 0) {
            state.SkipWithError("keeltext export failed");
            break;
        }
    }
}

void BM_KeeltextImport(benchmark::State& state) {
    const fs::path& directory = largeFiles();
    for (auto _ : state) {
        if (keel::bench::runQuietly(KEELTEXT_PATH, {"import", "objects.csv", "-o", "imported.odb"}, directory) != 0) {
            state.SkipWithError("keeltext import failed");
            break;
        }
    }
}

BENCHMARK(BM_KeeltextExport)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
BENCHMARK(BM_KeeltextImport)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

} // namespace

BENCHMARK_MAIN();
