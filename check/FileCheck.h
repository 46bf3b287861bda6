// SPDX-License-Identifier: MIT
#pragma once

#include "check/Check.h"

namespace keel {

// Files missing from the set or that cannot be read, each with what could not be checked
// without it; and files that were read but are damaged: what the readers of mission.db and
// shipbasedaircraft.db found wrong, and bytes of a record file beyond its last whole record.
class FileCheck : public Check {
public:
    void run(const SetIndexes& set, FindingList& findings) const override;
};

} // namespace keel
