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
// four files once and writing and syncing a file of the merged master's size once. The counter
// x_floor is the merge's time over the floor's, x_fresh_floor over the fresh floor's.
#include "merge/DatabaseMerge.h"

#include "common/FileIo.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <numeric>
#include <ostream>
#include <random>
#include <spawn.h>
#include <stdexcept>
#include <stdlib.h>
#include <streambuf>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

const keel::MergeDatabase& objectDatabase() { return keel::mergeDatabases()[1]; }

// A fresh directory under the temporary directory, removed with its files when it goes.
class BenchDirectory {
public:
    BenchDirectory() {
        std::string pattern = (fs::temp_directory_path() / "keel-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create a temporary directory");
        }
        path_ = pattern;
    }
    BenchDirectory(const BenchDirectory&) = delete;
    BenchDirectory& operator=(const BenchDirectory&) = delete;
    ~BenchDirectory() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

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

    BenchDirectory directory;
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
// read once and one file of the merged master's size written and synced. The floor reads into a
// buffer that earlier iterations have already touched, as a program that streams its inputs
// through a small buffer would: that is the input and output alone. The fresh floor reads each
// input into memory it has just allocated, and gives it back at the end, as a program that
// holds its inputs must; the difference is what the system takes to provide that memory page by
// page, which any merge holding a master of that size pays as well.
class IoFloor {
public:
    IoFloor(const fs::path& directory, std::size_t inputSize, std::size_t outputSize)
        : directory_(directory), reused_(std::max(inputSize, outputSize), 0x5A),
          outputSize_(outputSize) {}

    double measureSeconds() {
        const auto start = Clock::now();
        std::size_t at = 0;
        for (const auto& entry : fs::directory_iterator(directory_)) {
            at += readInto(entry.path(), reused_.data() + at, reused_.size() - at);
        }
        writeAndSync([&](int fd) { return writeFully(fd, reused_.data(), outputSize_); });
        benchmark::DoNotOptimize(at);
        return std::chrono::duration<double>(Clock::now() - start).count();
    }

    double measureFreshSeconds() {
        const auto start = Clock::now();
        {
            std::vector<std::unique_ptr<keel::Byte[]>> buffers;
            std::vector<std::size_t> sizes;
            for (const auto& entry : fs::directory_iterator(directory_)) {
                const auto size = static_cast<std::size_t>(entry.file_size());
                buffers.emplace_back(new keel::Byte[size]);
                sizes.push_back(readInto(entry.path(), buffers.back().get(), size));
            }
            std::size_t left = outputSize_;
            writeAndSync([&](int fd) {
                for (std::size_t i = 0; i < buffers.size() && left > 0; ++i) {
                    const std::size_t part = std::min(left, sizes[i]);
                    if (!writeFully(fd, buffers[i].get(), part)) {
                        return false;
                    }
                    left -= part;
                }
                return left == 0;
            });
        } // the memory is given back, as a run gives it back when it ends
        return std::chrono::duration<double>(Clock::now() - start).count();
    }

    // Freeing the floor's file is settled before anything else is timed.
    void removeOutput() {
        ::unlink(output().c_str());
        const int settle = ::open(directory_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::syncfs(settle);
        ::close(settle);
    }

private:
    fs::path output() const { return directory_ / "floor.out"; }

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

    static bool writeFully(int fd, const keel::Byte* bytes, std::size_t size) {
        for (std::size_t done = 0; done < size;) {
            const ssize_t put = ::write(fd, bytes + done, size - done);
            if (put <= 0) {
                return false;
            }
            done += static_cast<std::size_t>(put);
        }
        return true;
    }

    template <typename Write> void writeAndSync(Write&& write) {
        const int fd = ::open(output().c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        const bool written = fd >= 0 && write(fd) && ::fsync(fd) == 0 && ::close(fd) == 0;
        if (!written) {
            throw std::runtime_error("cannot write the floor's file");
        }
    }

    fs::path directory_;
    keel::ByteVector reused_;
    std::size_t outputSize_;
};

template <typename Merge> void measureAgainstFloor(benchmark::State& state, Merge&& merge) {
    const auto masterCount = static_cast<std::size_t>(state.range(0));
    const ObjectDirectory objects(masterCount);
    BenchDirectory directory;
    objects.writeInto(directory.path());
    const std::size_t inputSize =
        objects.master.size() + objects.exported.size() * objects.exported[0].size();
    IoFloor floor(directory.path(), inputSize, objects.mergedMasterSize);

    double mergeSeconds = 0;
    double floorSeconds = 0;
    double freshFloorSeconds = 0;
    for (auto _ : state) {
        writeOrThrow(directory.path() / "objects.odb", objects.master);
        floorSeconds += floor.measureSeconds();
        floor.removeOutput();
        freshFloorSeconds += floor.measureFreshSeconds();
        floor.removeOutput();
        const auto start = Clock::now();
        merge(directory.path());
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        mergeSeconds += seconds;
        if (fs::file_size(directory.path() / "objects.odb") != objects.mergedMasterSize) {
            state.SkipWithError("the merged master has not the expected size");
            break;
        }
    }
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["floor_ms"] = floorSeconds * 1000 / iterations;
    state.counters["x_floor"] = mergeSeconds / floorSeconds;
    state.counters["fresh_floor_ms"] = freshFloorSeconds * 1000 / iterations;
    state.counters["x_fresh_floor"] = mergeSeconds / freshFloorSeconds;
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
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
        std::string program = KEELMERGE_PATH;
        std::string option = "-o";
        std::array<char*, 3> argv{program.data(), option.data(), nullptr};
        pid_t child = 0;
        const int spawned =
            ::posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        int status = 0;
        if (spawned != 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
            WEXITSTATUS(status) != 0) {
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
