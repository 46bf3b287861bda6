// SPDX-License-Identifier: MIT
#pragma once

#include "check/Check.h"

namespace keel {

// Every object but shells and bullets has a 3D object of its name, and every 3D object is an
// object's, names compared as the editor compares them (ASCII letter case ignored). The first
// half is the object editor's own warning, found the way the editor finds it.
class ThreeDPairingCheck : public Check {
public:
    void run(const SetIndexes& set, FindingList& findings) const override;
};

} // namespace keel
