// SPDX-License-Identifier: MIT
// Start and Save Databases as the user sees them, from outside the program, on an X server,
// on sets of N objects, a 3D object for each and N/5 launchers (at 200k, 256 MB):
//
// - start: from the spawn of keelbook in the set's directory to the X server's MapNotify of its
//   main window, seen by selecting SubstructureNotify on the root window (without a window
//   manager top-level windows are the root's children) and checked by the window's process and
//   title. The floor, spawned alternately with keelbook, is this program again: it reads the
//   seven files into fresh memory while it connects to the X server, then maps a bare window.
// - save: keelbook running on the set, its File menu opened with Alt+F through XTest; from the S
//   key (Save Databases) to inotify's IN_MOVED_TO of the last of the five files renamed into
//   place. The floor, run alternately with each save, writes the same five files' bytes from
//   memory into five new files beside the set, syncing each, renaming it into place and
//   syncing the directory.
//
// Each benchmark runs one untimed round of programs and floor first, so that all of them meet
// memory the system has handed out before, then `roundCount` timed rounds, and reports the
// medians (median_ms, floor_ms) and the program's median over the floor's (x_floor). It needs an
// X server without a window manager:
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/release/bench/keel_user_seen_bench
//
// KEELBOOK=path measures another build of keelbook; KEELBOOK_BEFORE=path runs an earlier build
// alternately with it in every round (before_ms, before_x_floor). `keel_user_seen_bench
// --write-set DIRECTORY N` writes the set of N objects, to look at a start or a save by hand.
#include "LargeSet.h"

#include "set/DatabaseSet.h"

#include <benchmark/benchmark.h>

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <poll.h>
#include <set>
#include <spawn.h>
#include <string>
#include <sys/inotify.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr int roundCount = 7;
const auto patience = std::chrono::seconds(60);

double millisecondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The connection to the X server, watching the root window's children being mapped.
class Display {
public:
    Display() : connection_(xcb_connect(nullptr, nullptr)) {
        if (xcb_connection_has_error(connection_) != 0) {
            xcb_disconnect(connection_);
            throw Failure("no X server: run under xvfb-run -a -s \"-screen 0 1280x1024x24\"");
        }
        screen_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
        const std::uint32_t events = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, screen_->root, XCB_CW_EVENT_MASK, &events);
        pidAtom_ = atom("_NET_WM_PID");
        xcb_flush(connection_);
    }
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;
    ~Display() { xcb_disconnect(connection_); }

    struct Mapped {
        xcb_window_t window;
        bool overrideRedirect; // a menu or a tool tip rather than a window of its own
        Clock::time_point at;
    };

    // Waits for the next top-level window of `process` to be mapped; the time is taken as the
    // event is read, before the round trip that asks whose window it is.
    Mapped nextMappedWindowOf(pid_t process) {
        const auto deadline = Clock::now() + patience;
        for (;;) {
            std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> event(nextEvent(deadline), &std::free);
            const auto at = Clock::now();
            if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY) {
                continue;
            }
            const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event.get());
            if (map->event == screen_->root && processOf(map->window) == process) {
                return {map->window, map->override_redirect != 0, at};
            }
        }
    }

    // Presses and releases the keys in order, then releases them in reverse order: {Alt_L, f}
    // is Alt+F.
    void typeChord(const std::vector<xcb_keysym_t>& keysyms) {
        std::vector<xcb_keycode_t> codes;
        for (xcb_keysym_t keysym : keysyms) {
            codes.push_back(keycodeOf(keysym));
        }
        for (xcb_keycode_t code : codes) {
            xcb_test_fake_input(connection_, XCB_KEY_PRESS, code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        }
        for (auto code = codes.rbegin(); code != codes.rend(); ++code) {
            xcb_test_fake_input(connection_, XCB_KEY_RELEASE, *code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        }
        xcb_flush(connection_);
    }

    // The window's title, as the window manager would show it.
    std::string titleOf(xcb_window_t window) {
        auto* reply = xcb_get_property_reply(
            connection_, xcb_get_property(connection_, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
            nullptr);
        std::string title;
        if (reply != nullptr && reply->format == 8) {
            title.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                         static_cast<std::size_t>(xcb_get_property_value_length(reply)));
        }
        std::free(reply);
        return title;
    }

    void focus(xcb_window_t window) {
        xcb_set_input_focus(connection_, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
        xcb_flush(connection_);
    }

    // A bare window of the root's size, mapped; what the floor of starting shows.
    void mapBareWindow() {
        const xcb_window_t window = xcb_generate_id(connection_);
        xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window, screen_->root, 0, 0, 400, 100, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen_->root_visual, 0, nullptr);
        const std::uint32_t pid = static_cast<std::uint32_t>(::getpid());
        xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window, pidAtom_, XCB_ATOM_CARDINAL, 32, 1, &pid);
        xcb_map_window(connection_, window);
        xcb_flush(connection_);
    }

    void roundTrip() { std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr)); }

private:
    xcb_generic_event_t* nextEvent(Clock::time_point deadline) {
        for (;;) {
            if (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
                return event;
            }
            if (xcb_connection_has_error(connection_) != 0) {
                throw Failure("the X connection broke");
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) {
                throw Failure("no window was mapped in time");
            }
            pollfd watched{xcb_get_file_descriptor(connection_), POLLIN, 0};
            ::poll(&watched, 1, static_cast<int>(left.count()));
        }
    }

    xcb_atom_t atom(const char* name) {
        auto* reply = xcb_intern_atom_reply(
            connection_, xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
        const xcb_atom_t atom = reply != nullptr ? reply->atom : XCB_NONE;
        std::free(reply);
        return atom;
    }

    std::optional<pid_t> processOf(xcb_window_t window) {
        auto* reply = xcb_get_property_reply(
            connection_, xcb_get_property(connection_, 0, window, pidAtom_, XCB_ATOM_CARDINAL, 0, 1), nullptr);
        std::optional<pid_t> pid;
        if (reply != nullptr && reply->format == 32 && xcb_get_property_value_length(reply) == 4) {
            pid = static_cast<pid_t>(*static_cast<const std::uint32_t*>(xcb_get_property_value(reply)));
        }
        std::free(reply);
        return pid;
    }

    xcb_keycode_t keycodeOf(xcb_keysym_t keysym) {
        const xcb_setup_t* setup = xcb_get_setup(connection_);
        const int count = setup->max_keycode - setup->min_keycode + 1;
        auto* reply = xcb_get_keyboard_mapping_reply(
            connection_, xcb_get_keyboard_mapping(connection_, setup->min_keycode, static_cast<std::uint8_t>(count)),
            nullptr);
        if (reply == nullptr) {
            throw Failure("no keyboard mapping");
        }
        const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(reply);
        const int perCode = reply->keysyms_per_keycode;
        for (int code = 0; code < count; ++code) {
            for (int column = 0; column < perCode; ++column) {
                if (keysyms[code * perCode + column] == keysym) {
                    std::free(reply);
                    return static_cast<xcb_keycode_t>(setup->min_keycode + code);
                }
            }
        }
        std::free(reply);
        throw Failure("a key the benchmark types is not on the keyboard");
    }

    xcb_connection_t* connection_;
    xcb_screen_t* screen_ = nullptr;
    xcb_atom_t pidAtom_ = XCB_NONE;
};

// keelbook's main window, and not a question or an error shown before it: a set that does not
// load shows those first.
xcb_window_t mainWindowOf(Display& display, pid_t process, Clock::time_point* mappedAt = nullptr) {
    const Display::Mapped mapped = display.nextMappedWindowOf(process);
    const std::string title = display.titleOf(mapped.window);
    if (title != "Brinewatch Database Editor") {
        throw Failure("keelbook showed \"" + title + "\" before its main window");
    }
    if (mappedAt != nullptr) {
        *mappedAt = mapped.at;
    }
    return mapped.window;
}

constexpr xcb_keysym_t altKey = 0xffe9; // Alt_L
constexpr xcb_keysym_t fKey = 'f';
constexpr xcb_keysym_t sKey = 's';

std::string self;

// The programs measured: the keelbook built beside this benchmark (or the one KEELBOOK names),
// and, when KEELBOOK_BEFORE names one, an earlier build, run alternately with it in every round
// so that both meet the same load: its medians are the before_ counters.
std::vector<std::string> programs() {
    std::vector<std::string> names{std::getenv("KEELBOOK") != nullptr ? std::getenv("KEELBOOK") : KEELBOOK_PATH};
    if (const char* before = std::getenv("KEELBOOK_BEFORE"); before != nullptr && *before != '\0') {
        names.emplace_back(before);
    }
    return names;
}

// A process started in `directory`, its output thrown away, ended and reaped when it goes.
class Process {
public:
    Process(const std::vector<std::string>& words, const std::filesystem::path& directory) {
        // keelbook talks to the X server, whatever platform the caller's environment names.
        std::vector<char*> environment;
        for (char** variable = environ; *variable != nullptr; ++variable) {
            if (std::strncmp(*variable, "QT_QPA_PLATFORM=", 16) != 0) {
                environment.push_back(*variable);
            }
        }
        environment.push_back(nullptr);
        std::vector<std::string> copies = words;
        std::vector<char*> argv;
        for (std::string& word : copies) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
        started_ = Clock::now();
        const int spawned = ::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environment.data());
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0) {
            throw Failure("cannot start " + words[0]);
        }
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process() {
        ::kill(pid_, SIGKILL);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }
    pid_t pid() const { return pid_; }
    Clock::time_point started() const { return started_; }

private:
    pid_t pid_ = 0;
    Clock::time_point started_;
};

// A file's bytes in memory new to the process, in huge pages, read in as many pieces at once as
// there are processors: how a program could read it fastest, whatever keelbook's own reading
// does. On a virtual machine most of the time goes to clearing the new pages, which the pieces
// share.
class PlainBytes {
public:
    explicit PlainBytes(const std::filesystem::path& path) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        struct stat info {};
        if (fd < 0 || ::fstat(fd, &info) != 0) {
            throw Failure("cannot read " + path.string());
        }
        size_ = static_cast<std::size_t>(info.st_size);
        void* memory = ::mmap(nullptr, std::max<std::size_t>(size_, 1), PROT_READ | PROT_WRITE,
                              MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (memory == MAP_FAILED) {
            ::close(fd);
            throw Failure("no memory for " + path.string());
        }
        bytes_ = static_cast<char*>(memory);
        ::madvise(bytes_, size_, MADV_HUGEPAGE);
        constexpr std::size_t piece = std::size_t{32} << 20;
        const std::size_t pieces = std::clamp<std::size_t>(size_ / piece, 1, std::thread::hardware_concurrency());
        const std::size_t step = (size_ / pieces + 4095) / 4096 * 4096;
        std::vector<char> whole(pieces, 0);
        const auto readPiece = [&](std::size_t index) {
            const std::size_t from = std::min(size_, index * step);
            const std::size_t to = index + 1 == pieces ? size_ : std::min(size_, from + step);
            // The piece's pages made at once, then filled.
            ::madvise(bytes_ + from, to - from, 23 /* MADV_POPULATE_WRITE */);
            std::size_t done = from;
            while (done < to) {
                const ssize_t got = ::pread(fd, bytes_ + done, to - done, static_cast<off_t>(done));
                if (got <= 0) {
                    break;
                }
                done += static_cast<std::size_t>(got);
            }
            whole[index] = done == to;
        };
        std::vector<std::thread> helpers;
        for (std::size_t index = 1; index < pieces; ++index) {
            helpers.emplace_back(readPiece, index);
        }
        readPiece(0);
        for (std::thread& helper : helpers) {
            helper.join();
        }
        ::close(fd);
        if (std::find(whole.begin(), whole.end(), 0) != whole.end()) {
            throw Failure("cannot read " + path.string());
        }
    }
    PlainBytes(const PlainBytes&) = delete;
    PlainBytes& operator=(const PlainBytes&) = delete;
    ~PlainBytes() { ::munmap(bytes_, std::max<std::size_t>(size_, 1)); }
    const char* data() const { return bytes_; }
    std::size_t size() const { return size_; }

private:
    char* bytes_ = nullptr;
    std::size_t size_ = 0;
};

// The floor of starting, run as its own process: the seven files read into fresh memory while
// it connects to the X server, then a bare window mapped; it then waits to be ended.
int floorStartIn(const char* directory) {
    // The files are read while the connection to the X server is made, as keelbook does.
    std::vector<std::unique_ptr<PlainBytes>> files;
    bool read = true;
    std::thread reader([&] {
        try {
            for (keel::DatabaseFile file : keel::loadOrder) {
                files.push_back(std::make_unique<PlainBytes>(std::filesystem::path(directory) / keel::fileName(file)));
            }
        } catch (const Failure&) {
            read = false;
        }
    });
    std::unique_ptr<Display> display;
    try {
        display = std::make_unique<Display>();
    } catch (const Failure&) {
    }
    reader.join();
    if (!read || !display) {
        return 1;
    }
    display->mapBareWindow();
    ::pause();
    return 0;
}

void syncDirectory(const std::filesystem::path& directory) {
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ::syncfs(fd);
    ::close(fd);
}

// The set, once for each program, so that each saves its own.
std::vector<std::filesystem::path> makeSets(const keel::bench::ScratchDirectory& scratch, std::size_t objects,
                                            std::size_t count) {
    std::vector<std::filesystem::path> sets;
    for (std::size_t i = 0; i < count; ++i) {
        sets.push_back(scratch.path() / ("set" + std::to_string(i)));
        keel::bench::writeLargeSet(sets.back(), objects, keel::bench::ThreeDFor::EveryObject);
    }
    // On disk and in the page cache, as a set the user worked on: no writing back of it goes on
    // while a program reads it.
    syncDirectory(scratch.path());
    return sets;
}

// Each program's times and the floor's, one of each a round.
struct Rounds {
    std::vector<std::vector<double>> programs;
    std::vector<double> floor;
};

void report(benchmark::State& state, const Rounds& rounds) {
    for (auto _ : state) {
        state.SetIterationTime(median(rounds.programs[0]) / 1000);
    }
    const std::vector<double>& program = rounds.programs[0];
    state.counters["median_ms"] = median(program);
    state.counters["min_ms"] = *std::min_element(program.begin(), program.end());
    state.counters["max_ms"] = *std::max_element(program.begin(), program.end());
    state.counters["floor_ms"] = median(rounds.floor);
    state.counters["x_floor"] = median(program) / median(rounds.floor);
    if (rounds.programs.size() > 1) {
        state.counters["before_ms"] = median(rounds.programs[1]);
        state.counters["before_x_floor"] = median(rounds.programs[1]) / median(rounds.floor);
    }
}

void BM_UserSeenStart(benchmark::State& state) {
    keel::bench::ScratchDirectory scratch;
    const std::filesystem::path set = makeSets(scratch, static_cast<std::size_t>(state.range(0)), 1)[0];
    const std::vector<std::string> measured = programs();
    Rounds rounds{std::vector<std::vector<double>>(measured.size()), {}};
    try {
        Display display;
        for (int round = 0; round <= roundCount; ++round) {
            std::optional<Process> started;
            for (std::size_t i = 0; i < measured.size(); ++i) {
                Clock::time_point mapped;
                started.emplace(std::vector<std::string>{measured[i]}, set);
                mainWindowOf(display, started->pid(), &mapped);
                if (round > 0) {
                    rounds.programs[i].push_back(millisecondsBetween(started->started(), mapped));
                }
            }
            started.emplace(std::vector<std::string>{self, "--floor-start-in", set.string()}, set);
            const Clock::time_point mapped = display.nextMappedWindowOf(started->pid()).at;
            if (round > 0) {
                rounds.floor.push_back(millisecondsBetween(started->started(), mapped));
            }
        }
    } catch (const Failure& failure) {
        state.SkipWithError(failure.what());
        return;
    }
    report(state, rounds);
}

// The floor of saving: the five files' bytes written from memory into new files beside the
// targets, each synced, renamed into place and its directory synced.
class SaveFloor {
public:
    SaveFloor(const std::filesystem::path& set, std::filesystem::path directory) : directory_(std::move(directory)) {
        std::filesystem::create_directories(directory_);
        for (keel::DatabaseFile file : keel::saveOrder) {
            files_.emplace_back(std::string(keel::fileName(file)), std::make_unique<PlainBytes>(set / keel::fileName(file)));
        }
    }

    double writeOnce() {
        const auto start = Clock::now();
        for (const auto& [name, bytes] : files_) {
            const std::filesystem::path target = directory_ / name;
            const std::filesystem::path temporary = directory_ / ("." + name + ".new");
            const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            std::size_t done = 0;
            while (fd >= 0 && done < bytes->size()) {
                const ssize_t wrote = ::write(fd, bytes->data() + done, bytes->size() - done);
                if (wrote <= 0) {
                    break;
                }
                done += static_cast<std::size_t>(wrote);
            }
            const int directory = ::open(directory_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            const bool ok = fd >= 0 && done == bytes->size() && ::fsync(fd) == 0 && ::close(fd) == 0 &&
                            ::rename(temporary.c_str(), target.c_str()) == 0 && directory >= 0 &&
                            ::fsync(directory) == 0;
            ::close(directory);
            if (!ok) {
                throw Failure("the floor's write failed");
            }
        }
        return millisecondsBetween(start, Clock::now());
    }

private:
    std::filesystem::path directory_;
    std::vector<std::pair<std::string, std::unique_ptr<PlainBytes>>> files_;
};

// Watches the set's directory for the five files of a save being renamed into place.
class RenameWatch {
public:
    explicit RenameWatch(const std::filesystem::path& directory) : fd_(::inotify_init1(IN_CLOEXEC | IN_NONBLOCK)) {
        if (fd_ < 0 || ::inotify_add_watch(fd_, directory.c_str(), IN_MOVED_TO) < 0) {
            throw Failure("cannot watch the set's directory");
        }
    }
    RenameWatch(const RenameWatch&) = delete;
    RenameWatch& operator=(const RenameWatch&) = delete;
    ~RenameWatch() { ::close(fd_); }

    void forgetEarlier() {
        alignas(inotify_event) char buffer[4096];
        while (::read(fd_, buffer, sizeof buffer) > 0) {
        }
    }

    // The time the last of the five files was renamed into place.
    Clock::time_point lastOfTheFiveRenamed() {
        std::set<std::string> waiting;
        for (keel::DatabaseFile file : keel::saveOrder) {
            waiting.emplace(keel::fileName(file));
        }
        const auto deadline = Clock::now() + patience;
        alignas(inotify_event) char buffer[4096];
        for (;;) {
            const ssize_t got = ::read(fd_, buffer, sizeof buffer);
            const auto at = Clock::now();
            for (ssize_t offset = 0; offset < got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
                if (event->len > 0) {
                    waiting.erase(event->name);
                }
                offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
            if (waiting.empty()) {
                return at;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) {
                throw Failure("the save did not rename its five files in time");
            }
            pollfd watched{fd_, POLLIN, 0};
            ::poll(&watched, 1, static_cast<int>(left.count()));
        }
    }

private:
    int fd_;
};

// keelbook running on a set, its main window given the keyboard.
struct RunningProgram {
    RunningProgram(Display& display, const std::string& program, const std::filesystem::path& set)
        : renames(set), process({program}, set), window(mainWindowOf(display, process.pid())) {}
    RenameWatch renames;
    Process process;
    xcb_window_t window;
};

// Save Databases from the File menu, timed from the S key to the last of the five renames.
double saveFromMenu(Display& display, RunningProgram& program) {
    program.renames.forgetEarlier();
    display.focus(program.window);
    display.typeChord({altKey, fKey});
    if (!display.nextMappedWindowOf(program.process.pid()).overrideRedirect) {
        throw Failure("Alt+F opened a window, not the File menu");
    }
    const auto key = Clock::now();
    display.typeChord({sKey});
    const double saved = millisecondsBetween(key, program.renames.lastOfTheFiveRenamed());
    // The program flushes the directory and tells the save after the last rename.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    return saved;
}

void BM_UserSeenSave(benchmark::State& state) {
    keel::bench::ScratchDirectory scratch;
    const std::vector<std::string> measured = programs();
    const std::vector<std::filesystem::path> sets =
        makeSets(scratch, static_cast<std::size_t>(state.range(0)), measured.size());
    Rounds rounds{std::vector<std::vector<double>>(measured.size()), {}};
    try {
        SaveFloor saveFloor(sets[0], scratch.path() / "floor");
        Display display;
        std::vector<std::unique_ptr<RunningProgram>> running;
        for (std::size_t i = 0; i < measured.size(); ++i) {
            running.push_back(std::make_unique<RunningProgram>(display, measured[i], sets[i]));
        }
        // Until a program has made its editors and taken the focus, keys could be lost.
        std::this_thread::sleep_for(std::chrono::seconds(1));
        for (int round = 0; round <= roundCount; ++round) {
            for (std::size_t i = 0; i < running.size(); ++i) {
                const double saved = saveFromMenu(display, *running[i]);
                if (round > 0) {
                    rounds.programs[i].push_back(saved);
                }
            }
            const double floorSaved = saveFloor.writeOnce();
            if (round > 0) {
                rounds.floor.push_back(floorSaved);
            }
        }
    } catch (const Failure& failure) {
        state.SkipWithError(failure.what());
        return;
    }
    report(state, rounds);
}

BENCHMARK(BM_UserSeenStart)
    ->Arg(5'000)
    ->Arg(50'000)
    ->Arg(200'000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UserSeenSave)
    ->Arg(5'000)
    ->Arg(50'000)
    ->Arg(200'000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--floor-start-in") == 0) {
        return floorStartIn(argv[2]);
    }
    // The set the benchmarks use, written to look at by hand (strace, perf): DIRECTORY OBJECTS.
    if (argc == 4 && std::strcmp(argv[1], "--write-set") == 0) {
        keel::bench::writeLargeSet(argv[2], std::stoul(argv[3]), keel::bench::ThreeDFor::EveryObject);
        return 0;
    }
    char path[4096];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    self = length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string(argv[0]);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
