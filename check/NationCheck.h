// SPDX-License-Identifier: MIT
#pragma once

#include "check/Check.h"

namespace keel {

// Every class of mission.db is of a type a class may have (Sub, Surf, Air or Shell, the types
// the nation editor does not mark "N/A"), and the objects its classes and platforms name are
// objects of objects.odb, looked up as the ammunition is (ASCII letter case ignored), of a type
// the nation editor offers for the class's type. A class that names no object (an empty
// Class_TagName) is as the format allows; a platform must name its object.
class NationCheck : public Check {
public:
    void run(const SetIndexes& set, FindingList& findings) const override;
};

} // namespace keel
