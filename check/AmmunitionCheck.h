// SPDX-License-Identifier: MIT
#pragma once

#include "check/Check.h"

namespace keel {

// Every ammunition type of every launcher names an object of types 6 to 10 (a mine, weapon,
// missile, shell or bullet). An ammunition text is an object name, and object names are the
// key of objects.odb, which the set keeps sorted and looks up with ASCII letter case ignored;
// so a text matches an object when the two are equal with a-z folded to A-Z, up to the
// terminator. An empty text is an ammunition type not used and is never a finding.
class AmmunitionCheck : public Check {
public:
    void run(const SetIndexes& set, FindingList& findings) const override;
};

} // namespace keel
