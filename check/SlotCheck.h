// SPDX-License-Identifier: MIT
#pragma once

#include "check/Check.h"

namespace keel {

// Every launcher, airstrip and sensor slot of every object holds 0 (empty) or the number,
// counting from 1 in file order, of a record of launcher.ldb, airstrip.adb or sensors.sdb.
// A negative number, or one beyond the list, names nothing: it is what deleting a record of
// the list leaves behind, since slots are never renumbered.
class SlotCheck : public Check {
public:
    void run(const SetIndexes& set, FindingList& findings) const override;
};

} // namespace keel
