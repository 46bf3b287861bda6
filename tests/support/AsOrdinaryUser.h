// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <sys/types.h>

namespace keel::test {

// The user and group that stand for an ordinary user when the tests run as root: nobody.
inline constexpr uid_t ordinaryUserId = 65534;
inline constexpr gid_t ordinaryGroupId = 65534;

// What runAsOrdinaryUser gives when this process is root and could not become the ordinary
// user; a test then has nothing to show and should be skipped.
inline constexpr int couldNotBecomeOrdinaryUser = 125;

// What a child process gives when `work` let an exception out.
inline constexpr int childThrew = 126;

// Runs `work` as a user without root's power to ignore permission bits and gives what it
// returned (0 to 124). As root, it runs in a child process that has given up root for nobody
// (anything it needs to reach must be open to that user); the child ends as soon as `work`
// returns, and gives childThrew when `work` throws or 128 plus the signal that killed it. As
// anyone else, it simply runs here.
int runAsOrdinaryUser(const std::function<int()>& work);

// Runs `work` in a child process that is killed when it takes longer than `seconds`, and
// gives what it returned (0 to 124), childThrew, or 128 plus the signal that ended it
// (128 + SIGALRM when it ran out of time). Something that would hang or end the tests thus
// only fails one of them.
int runInChildWithin(unsigned seconds, const std::function<int()>& work);

} // namespace keel::test
