// SPDX-License-Identifier: MIT
#pragma once

#include "check/CheckedSet.h"
#include "check/Finding.h"

namespace keel {

// Runs every check over a loaded set: the files themselves, the slots, the pairing of objects
// with 3D objects, repeated names, ammunition, nations and carriers.
FindingList checkSet(const CheckedSet& set);

} // namespace keel
