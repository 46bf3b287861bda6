// SPDX-License-Identifier: MIT
#pragma once

#include "check/Finding.h"
#include "check/SetIndexes.h"

namespace keel {

// One kind of check over a set. A check that needs a file that was not read checks nothing
// that depends on it: the missing or unreadable file is itself the finding.
class Check {
public:
    virtual ~Check() = default;
    virtual void run(const SetIndexes& set, FindingList& findings) const = 0;
};

} // namespace keel
