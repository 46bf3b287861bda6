// SPDX-License-Identifier: MIT
// What Save Databases costs on a large set after one object was renamed, against the floor of
// writing and syncing the five files it writes once, measured side by side in the same run:
// x_floor is the save's time over the floor's.
#include "LargeSet.h"
#include "SilentDialogs.h"
#include "WindowBenchmarkMain.h"

#include "objects/TObjectForm.h"
#include "shell/TMainForm.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QListView>

#include <chrono>
#include <fcntl.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Each file written from start to end, synced and closed, as a new file.
double writeOnce(const std::filesystem::path& directory, const keel::DatabaseSet& set) {
    const auto start = Clock::now();
    for (keel::DatabaseFile file : keel::saveOrder) {
        const keel::ByteVector& bytes = set.buffer(file);
        const std::filesystem::path path = directory / keel::fileName(file);
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        std::size_t done = 0;
        while (fd >= 0 && done < bytes.size()) {
            const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (wrote <= 0) {
                break;
            }
            done += static_cast<std::size_t>(wrote);
        }
        if (fd < 0 || done != bytes.size() || ::fsync(fd) != 0 || ::close(fd) != 0) {
            throw std::runtime_error("the floor's write failed");
        }
    }
    return secondsSince(start);
}

void BM_SaveDatabases(benchmark::State& state) {
    keel::bench::ScratchDirectory directory;
    const std::filesystem::path setDirectory = directory.path() / "set";
    const std::filesystem::path floorDirectory = directory.path() / "floor";
    std::filesystem::create_directories(floorDirectory);
    const auto objects = static_cast<std::size_t>(state.range(0));
    keel::bench::writeLargeSet(setDirectory, objects);
    keel::bench::SilentDialogs dialogs;
    QString error;
    std::optional<keel::StartupSet> startup = keel::loadStartupSet(dialogs, setDirectory, error);
    if (!startup) {
        state.SkipWithError("the set did not load");
        return;
    }
    keel::TMainForm window(std::move(*startup), dialogs);
    window.show();
    keel::TObjectForm& objectForm = *window.objectForm();
    objectForm.showEditor();
    QApplication::processEvents();
    // An object in the middle is renamed before every save, keeping the name order.
    objectForm.recordList()->setCurrentIndex(objectForm.recordList()->model()->index(static_cast<int>(objects / 2), 0));
    objectForm.FromListShowRecord();
    auto* name = objectForm.findChild<QLineEdit*>("ObjectName");
    const QString original = name->text();

    double saveSeconds = 0;
    double floorSeconds = 0;
    bool flip = false;
    for (auto _ : state) {
        name->setText(original + (flip ? "a" : "b"));
        flip = !flip;
        QApplication::processEvents();
        const auto start = Clock::now();
        if (!window.SaveDatabases()) {
            state.SkipWithError(("the save failed: " + dialogs.lastError).toStdString().c_str());
            return;
        }
        QApplication::processEvents();
        const double seconds = secondsSince(start);
        saveSeconds += seconds;
        state.SetIterationTime(seconds);
        floorSeconds += writeOnce(floorDirectory, window.databaseSet());
    }
    state.counters["records"] = static_cast<double>(objects);
    state.counters["floor_ms"] = floorSeconds * 1000 / static_cast<double>(state.iterations());
    state.counters["x_floor"] = saveSeconds / floorSeconds;
}

BENCHMARK(BM_SaveDatabases)->Arg(5'000)->Arg(50'000)->Arg(200'000)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) { return runWindowBenchmarks(argc, argv); }
