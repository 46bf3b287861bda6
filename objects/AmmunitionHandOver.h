// SPDX-License-Identifier: MIT
#pragma once

#include "common/Bytes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace keel {

class AmmunitionChoices;
class RecordTable;

// Keeps the launcher editor's ammunition lists holding the names of the weapon-like objects, in
// record order, at the cost of what changed: a keystroke in one weapon's name renames one
// entry, a change of one object's type inserts or removes one, and only a change of the records
// themselves (added, removed, sorted, imported) compares every name.
class AmmunitionHandOver {
public:
    explicit AmmunitionHandOver(AmmunitionChoices& choices) : choices_(choices) {}

    // After any change of the records: hands the names over whole when they are not what the
    // lists hold.
    void handOverAll(const RecordTable& objects);
    // After the name or type of one record changed and nothing else did.
    void handOverOne(const RecordTable& objects, std::size_t index);

private:
    bool wasWeapon(std::size_t index) const { return (weapons_[index / 64] >> (index % 64)) & 1u; }
    void markWeapon(std::size_t index, bool weapon);
    // The entry of a record among the weapons: the number of weapons before it.
    std::size_t entryOf(std::size_t index) const;

    AmmunitionChoices& choices_;
    bool handed_ = false;
    std::size_t records_ = 0;
    std::vector<std::uint64_t> weapons_; // a bit for each record that was handed as a weapon
    std::vector<std::string> names_;     // the names handed, as the file holds them
};

} // namespace keel
