// SPDX-License-Identifier: MIT
// What starting keelbook on a large set costs: the time from starting the program to its main
// window on screen, and the memory it holds once its editors are made, against the set's size
// on disk. Each start is a new process (this program run again with --start-in), timed from the
// spawn to the line the started program writes once its main window has been shown.
// keel_user_seen_bench measures the same start from outside, on an X server.
#include "LargeSet.h"

#include "editor/QtDialogService.h"
#include "shell/ProgramSetup.h"
#include "shell/TMainForm.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <chrono>
#include <cstring>
#include <fstream>
#include <future>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// The resident set of this process, in bytes.
std::size_t residentBytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stoul(line.substr(6)) * 1024;
        }
    }
    return 0;
}

struct FirstPaint : QObject {
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !told) {
            told = true;
            std::printf("shown\n");
            std::fflush(stdout);
        }
        return QObject::eventFilter(watched, event);
    }
    bool told = false;
};

// The started program: as keelbook's own start (shell/main.cpp), then one line once the main
// window is shown, and one with the resident bytes once the editors are made after it.
int startIn(const char* directory) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::filesystem::path where(directory);
    std::future<keel::DatabaseSet::LoadResult> reading =
        std::async(std::launch::async, [where] { return keel::DatabaseSet::load(where); });
    int argc = 1;
    char name[] = "keelbook";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    keel::setUpProgram();
    keel::QtDialogService dialogs(keel::programTitle());
    keel::TMainForm mainForm(dialogs, keel::TMainForm::EditorsMade::AfterFirstFrame);
    QString error;
    std::optional<keel::StartupSet> startup = keel::loadStartupSet(dialogs, where, reading.get(), error);
    if (!startup || !startup->set.complete()) {
        return 1;
    }
    mainForm.openSet(std::move(*startup));
    // Shown is painted: the line goes out as the window's first frame is painted, before the
    // editors that follow it are made.
    FirstPaint firstPaint;
    mainForm.installEventFilter(&firstPaint);
    mainForm.show();
    while (!mainForm.editorsMade()) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    std::printf("%zu\n", residentBytes());
    std::fflush(stdout);
    // Tearing down is no part of starting.
    std::_Exit(0);
}

std::string self;

struct Start {
    double seconds;
    std::size_t resident;
};

Start startOnce(const std::filesystem::path& directory) {
    int out[2];
    if (::pipe(out) != 0) {
        throw std::runtime_error("no pipe");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::string option = "--start-in";
    std::string where = directory.string();
    char* argv[] = {self.data(), option.data(), where.data(), nullptr};
    const auto started = std::chrono::steady_clock::now();
    pid_t child = 0;
    const int spawned = ::posix_spawn(&child, self.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    std::string lines;
    std::optional<std::chrono::steady_clock::time_point> shown;
    char buffer[64];
    ssize_t got = 0;
    while (spawned == 0 && (got = ::read(out[0], buffer, sizeof buffer)) > 0) {
        lines.append(buffer, static_cast<std::size_t>(got));
        if (!shown && lines.find('\n') != std::string::npos) {
            shown = std::chrono::steady_clock::now();
        }
    }
    ::close(out[0]);
    int status = 0;
    const std::size_t second = lines.find('\n') + 1;
    if (spawned != 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0 || !shown || lines.rfind("shown\n", 0) != 0 || second >= lines.size()) {
        throw std::runtime_error("keelbook did not start on the set");
    }
    return {std::chrono::duration<double>(*shown - started).count(), std::stoul(lines.substr(second))};
}

void BM_StartToMainWindow(benchmark::State& state) {
    keel::bench::ScratchDirectory directory;
    const std::size_t setBytes = keel::bench::writeLargeSet(directory.path(), static_cast<std::size_t>(state.range(0)));
    std::size_t resident = 0;
    for (auto _ : state) {
        const Start start = startOnce(directory.path());
        state.SetIterationTime(start.seconds);
        resident = std::max(resident, start.resident);
    }
    constexpr double megabyte = 1 << 20;
    state.counters["set_MB"] = static_cast<double>(setBytes) / megabyte;
    state.counters["rss_MB"] = static_cast<double>(resident) / megabyte;
    // The memory goal: half the set again, and 40 MB for the program itself.
    state.counters["rss_goal_MB"] = (1.5 * static_cast<double>(setBytes) + 40 * megabyte) / megabyte;
}

BENCHMARK(BM_StartToMainWindow)
    ->Arg(5'000)
    ->Arg(50'000)
    ->Arg(200'000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--start-in") == 0) {
        return startIn(argv[2]);
    }
    self = "/proc/self/exe";
    char path[4096];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length > 0) {
        self.assign(path, static_cast<std::size_t>(length));
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
