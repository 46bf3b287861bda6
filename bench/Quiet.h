// SPDX-License-Identifier: MIT
#pragma once

#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <streambuf>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace keel::bench {

// Where a report or progress that a benchmark does not look at goes: nowhere, at no cost.
class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// Runs a built program with its standard output thrown away, in `directory` when one is given,
// and gives its exit status, or -1 when it could not be started or did not end by itself.
inline int runQuietly(const std::string& program, const std::vector<std::string>& arguments,
                      const std::filesystem::path& directory = {}) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    if (!directory.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
    }
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    pid_t child = 0;
    const int spawned = ::posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned != 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

} // namespace keel::bench
