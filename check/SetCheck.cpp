// SPDX-License-Identifier: MIT
#include "check/SetCheck.h"

#include "check/AmmunitionCheck.h"
#include "check/CarrierCheck.h"
#include "check/FileCheck.h"
#include "check/NationCheck.h"
#include "check/RepeatedNameCheck.h"
#include "check/SetIndexes.h"
#include "check/SlotCheck.h"
#include "check/ThreeDPairingCheck.h"

namespace keel {

FindingList checkSet(const CheckedSet& set) {
    const SetIndexes indexes(set);
    const FileCheck files;
    const SlotCheck slots;
    const ThreeDPairingCheck threeD;
    const RepeatedNameCheck names;
    const AmmunitionCheck ammunition;
    const NationCheck nations;
    const CarrierCheck carriers;
    FindingList findings;
    for (const Check* check : std::initializer_list<const Check*>{
             &files, &slots, &threeD, &names, &ammunition, &nations, &carriers}) {
        check->run(indexes, findings);
    }
    return findings;
}

} // namespace keel
