// SPDX-License-Identifier: MIT
#pragma once

#include "check/Check.h"

namespace keel {

// Names used by more than one record of objects.odb, launcher.ldb or 3dobjects.3db, ASCII
// letter case ignored: import matches records by that name, and an object finds its 3D object
// by it, so which of two records is meant cannot be told. Each record after the first of its
// name is a finding.
class RepeatedNameCheck : public Check {
public:
    void run(const SetIndexes& set, FindingList& findings) const override;
};

} // namespace keel
