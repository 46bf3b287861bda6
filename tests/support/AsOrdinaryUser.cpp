// SPDX-License-Identifier: MIT
#include "support/AsOrdinaryUser.h"

#include <cerrno>
#include <csignal>
#include <grp.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace keel::test {
namespace {

// Forks, lets the child prepare itself and then run `work`, and gives the child's ending in
// the terms described with runInChildWithin. A `prepare` that returns false ends the child
// with `unprepared`.
int runInChild(const std::function<bool()>& prepare, int unprepared,
               const std::function<int()>& work) {
    const pid_t child = ::fork();
    if (child < 0) {
        throw std::runtime_error("cannot fork");
    }
    if (child == 0) {
        // _exit throughout: the child must not flush or tear down what belongs to the parent.
        if (!prepare()) {
            ::_exit(unprepared);
        }
        try {
            ::_exit(work());
        } catch (...) {
            ::_exit(childThrew);
        }
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            throw std::runtime_error("lost a child process");
        }
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace

int runAsOrdinaryUser(const std::function<int()>& work) {
    if (::geteuid() != 0) {
        return work();
    }
    const auto dropRoot = [] {
        return ::setgroups(0, nullptr) == 0 &&
               ::setresgid(ordinaryGroupId, ordinaryGroupId, ordinaryGroupId) == 0 &&
               ::setresuid(ordinaryUserId, ordinaryUserId, ordinaryUserId) == 0 &&
               ::geteuid() == ordinaryUserId;
    };
    return runInChild(dropRoot, couldNotBecomeOrdinaryUser, work);
}

int runInChildWithin(unsigned seconds, const std::function<int()>& work) {
    return runInChild(
        [seconds] {
            std::signal(SIGALRM, SIG_DFL);
            ::alarm(seconds);
            return true;
        },
        0, work);
}

} // namespace keel::test
