// SPDX-License-Identifier: MIT
#pragma once

#include "check/CheckedSet.h"
#include "check/NameIndex.h"

namespace keel {

// The set with the indexes of its names, built once for every check to read. An index of a
// file that was not read is empty.
struct SetIndexes {
    explicit SetIndexes(const CheckedSet& set);

    const CheckedSet& set;
    ObjectIndex objects;
    NameIndex launchers;
    NameIndex threeD;
};

} // namespace keel
