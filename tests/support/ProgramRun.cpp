// SPDX-License-Identifier: MIT
#include "support/ProgramRun.h"

#include "support/TemporaryDirectory.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace keel::test {

ProgramOutput runProgram(const std::filesystem::path& program,
                         const std::vector<std::string>& arguments,
                         const std::filesystem::path& workingDirectory, ProgramLimits limits) {
    // The captured output lives outside the working directory, so the program never sees it.
    TemporaryDirectory capture;
    const std::string outPath = (capture / "out").string();
    const std::string errPath = (capture / "err").string();

    std::vector<std::string> argvStrings{program.string()};
    argvStrings.insert(argvStrings.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : argvStrings) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    const pid_t child = ::fork();
    if (child < 0) {
        throw std::runtime_error("cannot start " + program.string());
    }
    if (child == 0) {
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0 ||
            ::chdir(workingDirectory.c_str()) != 0) {
            ::_exit(127);
        }
        if (limits.fileSizeLimit) {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{};
            ::getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = *limits.fileSizeLimit;
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ProgramOutput output;
    int status = 0;
    bool limited = limits.timeLimit.has_value();
    const auto deadline = std::chrono::steady_clock::now() +
                          limits.timeLimit.value_or(std::chrono::milliseconds::zero());
    for (;;) {
        const pid_t ended = ::waitpid(child, &status, limited ? WNOHANG : 0);
        if (ended == child) {
            break;
        }
        if (ended < 0 && errno != EINTR) {
            throw std::runtime_error("lost " + program.string());
        }
        if (ended == 0) {
            if (std::chrono::steady_clock::now() >= deadline) {
                ::kill(child, SIGKILL);
                output.timedOut = true;
                limited = false; // now wait for it to go
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        }
    }
    output.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    const ByteVector out = readFile(outPath);
    const ByteVector err = readFile(errPath);
    output.out.assign(out.begin(), out.end());
    output.err.assign(err.begin(), err.end());
    return output;
}

} // namespace keel::test
