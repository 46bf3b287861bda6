// SPDX-License-Identifier: MIT
#pragma once

#include "common/CountedBlocks.h"
#include "set/DatabaseSet.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace keel {

// The kinds of finding, in the order in which the report lists them.
enum class FindingKind {
    MissingFile,      // a file of the set is not there
    UnreadableFile,   // it is there but cannot be read
    DamagedFile,      // it was read, but not all of it as its format says
    SlotNamesNothing, // an object's launcher, airstrip or sensor slot names no record
    LacksThreeD,      // an object that needs a 3D object has none of its name
    ThreeDWithoutObject,
    RepeatedName, // a name used twice within objects, launchers or 3D objects
    UnknownAmmunition,
    InvalidClassType, // a class of a type marked N/A, or of no type at all
    UnknownNationObject,
    MismatchedNationObject, // names an object of a type the class's type does not offer
    UnknownCarrierName,     // a carrier's nation, ship class, aircraft class or aircraft
    CarrierDisplayName,     // an aircraft's display name is not its platform's
};

inline constexpr std::size_t findingKindCount = 13;

inline constexpr std::array<FindingKind, findingKindCount> allFindingKinds{
    FindingKind::MissingFile,
    FindingKind::UnreadableFile,
    FindingKind::DamagedFile,
    FindingKind::SlotNamesNothing,
    FindingKind::LacksThreeD,
    FindingKind::ThreeDWithoutObject,
    FindingKind::RepeatedName,
    FindingKind::UnknownAmmunition,
    FindingKind::InvalidClassType,
    FindingKind::UnknownNationObject,
    FindingKind::MismatchedNationObject,
    FindingKind::UnknownCarrierName,
    FindingKind::CarrierDisplayName,
};

// The kind's name in the JSON output; these never change.
std::string_view findingKindId(FindingKind kind);
// The heading of the kind's group in the text output.
std::string_view findingKindHeading(FindingKind kind);

// One thing found wrong: where it is (the file, the record counting from 1 and its name, the
// field) and what is wrong with it. Names and quoted texts are bytes in the files' code page.
struct Finding {
    FindingKind kind;
    DatabaseFile file;
    std::optional<std::size_t> record; // none for a finding about the whole file
    std::string recordName;
    std::string field; // empty for a finding about the whole file or record
    std::string problem;
};

class FindingList {
public:
    void add(Finding finding) { findings_.push_back(std::move(finding)); }
    const std::vector<Finding>& all() const { return findings_; }
    bool empty() const { return findings_.empty(); }
    std::size_t size() const { return findings_.size(); }
    std::size_t count(FindingKind kind) const;

private:
    std::vector<Finding> findings_;
};

} // namespace keel
