// SPDX-License-Identifier: MIT
#include "check/Finding.h"

#include <algorithm>

namespace keel {

std::string_view findingKindId(FindingKind kind) {
    switch (kind) {
    case FindingKind::MissingFile:
        return "missing-file";
    case FindingKind::UnreadableFile:
        return "unreadable-file";
    case FindingKind::DamagedFile:
        return "damaged-file";
    case FindingKind::SlotNamesNothing:
        return "slot-names-nothing";
    case FindingKind::LacksThreeD:
        return "object-without-3d";
    case FindingKind::ThreeDWithoutObject:
        return "3d-without-object";
    case FindingKind::RepeatedName:
        return "repeated-name";
    case FindingKind::UnknownAmmunition:
        return "unknown-ammunition";
    case FindingKind::InvalidClassType:
        return "invalid-class-type";
    case FindingKind::UnknownNationObject:
        return "unknown-nation-object";
    case FindingKind::MismatchedNationObject:
        return "mismatched-nation-object";
    case FindingKind::UnknownCarrierName:
        return "unknown-carrier-name";
    case FindingKind::CarrierDisplayName:
        return "carrier-display-name";
    }
    return "unknown";
}

std::string_view findingKindHeading(FindingKind kind) {
    switch (kind) {
    case FindingKind::MissingFile:
        return "Files missing from the set";
    case FindingKind::UnreadableFile:
        return "Files that cannot be read";
    case FindingKind::DamagedFile:
        return "Damaged files";
    case FindingKind::SlotNamesNothing:
        return "Slots that name no record";
    case FindingKind::LacksThreeD:
        return "Objects without a 3D object";
    case FindingKind::ThreeDWithoutObject:
        return "3D objects of no object";
    case FindingKind::RepeatedName:
        return "Names used twice";
    case FindingKind::UnknownAmmunition:
        return "Ammunition that names no mine, weapon, missile, shell or bullet";
    case FindingKind::InvalidClassType:
        return "Classes of a type marked N/A";
    case FindingKind::UnknownNationObject:
        return "Classes and platforms that name no object";
    case FindingKind::MismatchedNationObject:
        return "Classes and platforms that name an object their class type does not offer";
    case FindingKind::UnknownCarrierName:
        return "Carriers that name what mission.db does not hold";
    case FindingKind::CarrierDisplayName:
        return "Carried aircraft whose display name is not their platform's";
    }
    return "Other findings";
}

std::size_t FindingList::count(FindingKind kind) const {
    return static_cast<std::size_t>(std::count_if(
        findings_.begin(), findings_.end(), [kind](const Finding& f) { return f.kind == kind; }));
}

} // namespace keel
