// SPDX-License-Identifier: MIT
#pragma once

#include <stdexcept>

namespace keel {

// A condition that what comes from a file or from the user can reach, such as an index that
// names a record or a list line. It is checked in every build, release builds included: when
// it does not hold, BrokenCheck is thrown before any byte is read or written out of place,
// rather than the program going on over memory that is not the data.
class BrokenCheck : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

[[noreturn]] inline void reportBrokenCheck(const char* what) { throw BrokenCheck(what); }

inline void check(bool condition, const char* what) {
    if (!condition) [[unlikely]] {
        reportBrokenCheck(what);
    }
}

} // namespace keel
