// SPDX-License-Identifier: MIT
// How the time of a merge grows with the size of the master, and how it compares with the least
// any merge must spend on input and output.
//
// BM_MergeObjects: an object master of N records, in no particular order, and one exported file
// of N/2 records of which half replace records of the master and half are new.
//
// BM_MergeObjectDirectory and BM_KeelmergeObjects: an object master of N records and four
// exported files of N/8 records each, half of them replacing records of the master and half new,
// merged in-process by the merge of one database, or by the built keelmerge -o. Each iteration
// also measures the I/O floor in the same directory (see IoFloor): reading the master and the
// four files once into fresh memory and writing and syncing a file of the merged master's size
// once. The counter x_floor is the merge's time over the floor's (x_floor_median the median of
// the iterations' ratios, less swayed by a slow sync), x_warm_floor over the warm floor's.
#include "Quiet.h"
#include "ScratchDirectory.h"

#include "merge/DatabaseMerge.h"
#include "merge/LargeBuffer.h"

#include "common/FileIo.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <numeric>
#include <ostream>
#include <random>
#include <stdexcept>
#include <stdlib.h>
#include <streambuf>
#include <sys/mman.h>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

using keel::bench::NullBuffer;

const keel::MergeDatabase& objectDatabase() { return keel::mergeDatabases()[1]; }

void writeOrThrow(const fs::path& path, keel::ConstByteSpan bytes) {
    if (!keel::replaceFileAtomically(path, bytes).ok()) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

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

    keel::bench::ScratchDirectory directory;
    writeOrThrow(directory.path() / "exported.odb", merged);

    NullBuffer nothing;
    std::ostream progress(&nothing);
    for (auto _ : state) {
        state.PauseTiming();
        writeOrThrow(directory.path() / "objects.odb", master);
        state.ResumeTiming();
        const bool merged =
            keel::mergeDatabase(objectDatabase(), directory.path(), progress, progress);
        benchmark::DoNotOptimize(merged);
    }
    state.SetComplexityN(static_cast<benchmark::IterationCount>(masterCount + mergedCount));
    state.counters["records"] = static_cast<double>(masterCount + mergedCount);
}

BENCHMARK(BM_MergeObjects)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(200'000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

constexpr std::size_t exportedFiles = 4;

// Names as a unit list has them: a class name and a hull number, so that many names share their
// first bytes. Casing 1 swaps the letter case of the class name, casing 2 writes it in capitals.
std::string unitName(std::size_t number, std::size_t casing) {
    static constexpr std::array<const char*, 12> classes{
        "Kirov", "KILO",        "Oscar II", "los angeles", "Nimitz",   "Type 209",
        "Akula", "Ticonderoga", "F-14A",    "MiG-29",      "Sea King", "Kiev"};
    std::string name = classes[number % classes.size()];
    for (char& c : name) {
        const bool upper = c >= 'A' && c <= 'Z';
        const bool lower = c >= 'a' && c <= 'z';
        if ((casing == 1 && upper) || (casing == 1 && lower) || (casing == 2 && lower)) {
            c = static_cast<char>(c ^ 0x20);
        }
    }
    char hull[12];
    std::snprintf(hull, sizeof hull, " %06u", static_cast<unsigned>(number % 1000000));
    return name + hull;
}

void putRecord(keel::ByteVector& file, const std::string& name, keel::Byte fill) {
    const std::size_t size = objectDatabase().recordSize;
    const std::size_t start = file.size();
    file.resize(start + size, fill);
    std::copy(name.begin(), name.end(), file.begin() + static_cast<std::ptrdiff_t>(start));
    file[start + name.size()] = 0;
}

// A master of N objects and four exported files of N/8 objects each: half of the exported names
// are names of the master, the other half are new (some of them a master's name in other case).
struct ObjectDirectory {
    keel::ByteVector master;
    std::array<keel::ByteVector, exportedFiles> exported;
    std::size_t mergedMasterSize = 0;

    explicit ObjectDirectory(std::size_t masterCount) {
        std::mt19937 random(7);
        std::vector<std::size_t> numbers(masterCount);
        std::iota(numbers.begin(), numbers.end(), std::size_t{0});
        std::shuffle(numbers.begin(), numbers.end(), random);
        for (std::size_t number : numbers) {
            putRecord(master, unitName(number, 0), 0x11);
        }
        const std::size_t perFile = masterCount / 8;
        std::shuffle(numbers.begin(), numbers.end(), random);
        std::size_t added = 0;
        for (std::size_t i = 0; i < exportedFiles * perFile; ++i) {
            std::string name;
            if (i % 2 == 0) {
                name = unitName(numbers[i], 0);
            } else if (i % 8 == 1) {
                name = unitName(numbers[i], 1);
                ++added;
            } else {
                name = unitName(masterCount + i, random() % 3);
                ++added;
            }
            putRecord(exported[i % exportedFiles], name, static_cast<keel::Byte>(0x20 + i % 4));
        }
        mergedMasterSize = master.size() + added * objectDatabase().recordSize;
    }

    void writeInto(const fs::path& directory) const {
        writeOrThrow(directory / "objects.odb", master);
        for (std::size_t i = 0; i < exported.size(); ++i) {
            writeOrThrow(directory / ("export" + std::to_string(i) + ".odb"), exported[i]);
        }
    }
};

// The least a merge can spend on input and output, measured in the same directory: every input
// read once, and a file of the merged master's size written through the program's own writer
// (keel::replaceFileAtomicallyFrom: pieces of 256 KiB, handed to the disk every 4 MiB, synced,
// renamed into place) over an existing file of the master's size, as the merge replaces the
// master: freeing the old file is part of replacing it (on a file system mounted with online
// discard its blocks are discarded there and then).
//
// The floor reads each input into memory mapped for it just then, its pages provided the way
// keelmerge has its buffers' pages provided (see merge/LargeBuffer.h), and gives that memory back
// at the end, as a run of keelmerge gets its memory fresh from the system and gives it back when
// it ends: a program that holds its inputs pays for those pages, and on a virtual machine they
// are a large part of reading. The warm floor reads into one buffer that earlier iterations have
// already touched, as a program that streams its inputs through a small buffer would: the input
// and output alone.
class IoFloor {
public:
    IoFloor(const fs::path& directory, std::size_t inputSize, std::size_t outputSize)
        : directory_(directory), warm_(inputSize, 0x5A), outputSize_(outputSize) {}

    double measureSeconds() {
        const auto start = Clock::now();
        std::vector<keel::ConstByteSpan> inputs;
        std::vector<std::size_t> mapped;
        for (const auto& entry : fs::directory_iterator(directory_)) {
            if (entry.path() == output()) {
                continue;
            }
            const auto size = static_cast<std::size_t>(entry.file_size());
            mapped.push_back(std::max<std::size_t>(size, 1));
            void* memory = ::mmap(nullptr, mapped.back(), PROT_READ | PROT_WRITE,
                                  MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            if (memory == MAP_FAILED) {
                throw std::runtime_error("no memory for the floor's input");
            }
            auto* bytes = static_cast<keel::Byte*>(memory);
            keel::providePages(bytes, bytes + size);
            inputs.emplace_back(bytes, readInto(entry.path(), bytes, size));
        }
        write(inputs);
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            ::munmap(const_cast<keel::Byte*>(inputs[i].data()), mapped[i]);
        }
        return std::chrono::duration<double>(Clock::now() - start).count();
    }

    double measureWarmSeconds() {
        const auto start = Clock::now();
        std::vector<keel::ConstByteSpan> inputs;
        std::size_t at = 0;
        for (const auto& entry : fs::directory_iterator(directory_)) {
            if (entry.path() == output()) {
                continue;
            }
            const std::size_t got = readInto(entry.path(), warm_.data() + at, warm_.size() - at);
            inputs.emplace_back(warm_.data() + at, got);
            at += got;
        }
        write(inputs);
        return std::chrono::duration<double>(Clock::now() - start).count();
    }

    // The file the floor replaces, as the merge finds the master.
    void placeOutput(keel::ConstByteSpan old) {
        writeOrThrow(output(), old);
        settle();
    }
    // Freeing the floor's file is settled before anything else is timed.
    void removeOutput() {
        ::unlink(output().c_str());
        settle();
    }

private:
    fs::path output() const { return directory_ / "floor.out"; }

    void settle() const {
        const int fd = ::open(directory_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::syncfs(fd);
        ::close(fd);
    }

    static std::size_t readInto(const fs::path& path, keel::Byte* buffer, std::size_t size) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        std::size_t at = 0;
        for (ssize_t got = 1; fd >= 0 && got > 0 && at < size;) {
            got = ::read(fd, buffer + at, size - at);
            at += static_cast<std::size_t>(std::max<ssize_t>(got, 0));
        }
        ::close(fd);
        return at;
    }

    // Writes the first outputSize_ bytes of the inputs, one after another, in the pieces the
    // merge writes.
    void write(const std::vector<keel::ConstByteSpan>& inputs) {
        constexpr std::size_t pieceSize = 256 * 1024;
        const keel::WriteResult written =
            keel::replaceFileAtomicallyFrom(output(), [&](const keel::ContentSink& sink) {
                std::size_t left = outputSize_;
                for (keel::ConstByteSpan input : inputs) {
                    input = input.first(std::min(left, input.size()));
                    left -= input.size();
                    while (!input.empty()) {
                        const std::size_t piece = std::min(pieceSize, input.size());
                        if (!sink(input.first(piece))) {
                            return false;
                        }
                        input = input.subspan(piece);
                    }
                }
                return left == 0;
            });
        if (!written.ok()) {
            throw std::runtime_error("cannot write the floor's file: " + written.reason);
        }
    }

    fs::path directory_;
    keel::ByteVector warm_;
    std::size_t outputSize_;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

template <typename Merge> void measureAgainstFloor(benchmark::State& state, Merge&& merge) {
    const auto masterCount = static_cast<std::size_t>(state.range(0));
    const ObjectDirectory objects(masterCount);
    keel::bench::ScratchDirectory directory;
    objects.writeInto(directory.path());
    const std::size_t inputSize =
        objects.master.size() + objects.exported.size() * objects.exported[0].size();
    IoFloor floor(directory.path(), inputSize, objects.mergedMasterSize);

    double mergeSeconds = 0;
    double floorSeconds = 0;
    double warmFloorSeconds = 0;
    std::vector<double> ratios;
    for (auto _ : state) {
        writeOrThrow(directory.path() / "objects.odb", objects.master);
        floor.placeOutput(objects.master);
        const double floorTime = floor.measureSeconds();
        floorSeconds += floorTime;
        floor.placeOutput(objects.master);
        warmFloorSeconds += floor.measureWarmSeconds();
        floor.removeOutput();
        const auto start = Clock::now();
        merge(directory.path());
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        mergeSeconds += seconds;
        ratios.push_back(seconds / floorTime);
        if (fs::file_size(directory.path() / "objects.odb") != objects.mergedMasterSize) {
            state.SkipWithError("the merged master has not the expected size");
            break;
        }
    }
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["floor_ms"] = floorSeconds * 1000 / iterations;
    state.counters["x_floor"] = mergeSeconds / floorSeconds;
    state.counters["x_floor_median"] = ratios.empty() ? 0 : median(ratios);
    state.counters["warm_floor_ms"] = warmFloorSeconds * 1000 / iterations;
    state.counters["x_warm_floor"] = mergeSeconds / warmFloorSeconds;
    state.counters["records"] = static_cast<double>(masterCount + masterCount / 2);
}

void BM_MergeObjectDirectory(benchmark::State& state) {
    NullBuffer nothing;
    std::ostream progress(&nothing);
    measureAgainstFloor(state, [&](const fs::path& directory) {
        if (!keel::mergeDatabase(objectDatabase(), directory, progress, progress)) {
            throw std::runtime_error("the merge failed");
        }
    });
}

BENCHMARK(BM_MergeObjectDirectory)
    ->Arg(5'000)
    ->Arg(50'000)
    ->Arg(200'000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The whole program, as a user runs it, its progress lines going to /dev/null.
void BM_KeelmergeObjects(benchmark::State& state) {
    measureAgainstFloor(state, [](const fs::path& directory) {
        if (keel::bench::runQuietly(KEELMERGE_PATH, {"-o"}, directory) != 0) {
            throw std::runtime_error("keelmerge failed");
        }
    });
}

BENCHMARK(BM_KeelmergeObjects)
    ->Arg(5'000)
    ->Arg(50'000)
    ->Arg(200'000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
