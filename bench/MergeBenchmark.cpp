// How the time of one merge grows with the size of the master and of the merged file: an
// object master of N records, in no particular order, and an exported file of N/2 records of
// which half replace records of the master and half are new.
#include "merge/DatabaseMerge.h"

#include "common/FileIo.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <numeric>
#include <ostream>
#include <random>
#include <stdlib.h>
#include <streambuf>
#include <string>

namespace {

namespace fs = std::filesystem;

class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

const keel::MergeDatabase& objectDatabase() { return keel::mergeDatabases()[1]; }

keel::ByteVector objectsNamed(const std::vector<std::size_t>& numbers, keel::Byte fill) {
    const std::size_t size = objectDatabase().recordSize;
    keel::ByteVector file(numbers.size() * size, fill);
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        char name[20];
        std::snprintf(name, sizeof name, "Object %07u", static_cast<unsigned>(numbers[i] % 10000000));
        std::copy_n(name, std::strlen(name) + 1, file.begin() + static_cast<std::ptrdiff_t>(i * size));
    }
    return file;
}

void BM_MergeObjects(benchmark::State& state) {
    const auto masterCount = static_cast<std::size_t>(state.range(0));
    const std::size_t mergedCount = masterCount / 2;
    std::mt19937 random(42);

    std::vector<std::size_t> masterNumbers(masterCount);
    std::iota(masterNumbers.begin(), masterNumbers.end(), std::size_t{0});
    std::shuffle(masterNumbers.begin(), masterNumbers.end(), random);
    // Half of the merged names are in the master (the even numbers below N), half are new.
    std::vector<std::size_t> mergedNumbers(mergedCount);
    for (std::size_t i = 0; i < mergedCount; ++i) {
        mergedNumbers[i] = (i % 2 == 0) ? i : masterCount + i;
    }
    std::shuffle(mergedNumbers.begin(), mergedNumbers.end(), random);
    const keel::ByteVector master = objectsNamed(masterNumbers, 0x11);
    const keel::ByteVector merged = objectsNamed(mergedNumbers, 0x22);

    std::string pattern = (fs::temp_directory_path() / "keel-bench-XXXXXX").string();
    const fs::path directory = ::mkdtemp(pattern.data());
    keel::replaceFileAtomically(directory / "exported.odb", merged);

    NullBuffer nothing;
    std::ostream progress(&nothing);
    for (auto _ : state) {
        state.PauseTiming();
        keel::replaceFileAtomically(directory / "objects.odb", master);
        state.ResumeTiming();
        const bool merged = keel::mergeDatabase(objectDatabase(), directory, progress, progress);
        benchmark::DoNotOptimize(merged);
    }
    state.SetComplexityN(static_cast<benchmark::IterationCount>(masterCount + mergedCount));
    state.counters["records"] = static_cast<double>(masterCount + mergedCount);
    fs::remove_all(directory);
}

BENCHMARK(BM_MergeObjects)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(200'000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace

BENCHMARK_MAIN();
