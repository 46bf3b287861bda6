// SPDX-License-Identifier: MIT
#pragma once

#include "check/Check.h"

namespace keel {

// Every carrier names what mission.db holds, compared exactly as the carrier editor compares
// them (letter case counts), and where several nations or classes bear one name the last is
// the one meant, as there: its nation (a CountryName); its ship class ("ClassName Designation"
// of a class of that nation that is neither Sub nor Air); for each aircraft type, an aircraft
// class (the ClassName of an Air class of the nation) and an aircraft (the Platform_TagName of
// a platform of that class), whose display name is that platform's Name.
class CarrierCheck : public Check {
public:
    void run(const SetIndexes& set, FindingList& findings) const override;
};

} // namespace keel
