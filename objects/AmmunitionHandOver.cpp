// SPDX-License-Identifier: MIT
#include "objects/AmmunitionHandOver.h"

#include "editor/CodePage.h"
#include "editor/RecordTable.h"
#include "objects/ObjectEditorLinks.h"
#include "objects/ObjectRecord.h"
#include "objects/ObjectTypes.h"

#include <bit>

namespace keel {
namespace {

using R = ObjectRecord;

bool isWeapon(ConstByteSpan record) { return isAmmunitionType(R::ObjType.read(record)); }

} // namespace

void AmmunitionHandOver::markWeapon(std::size_t index, bool weapon) {
    const std::uint64_t bit = std::uint64_t{1} << (index % 64);
    weapons_[index / 64] = weapon ? (weapons_[index / 64] | bit) : (weapons_[index / 64] & ~bit);
}

std::size_t AmmunitionHandOver::entryOf(std::size_t index) const {
    std::size_t before = 0;
    for (std::size_t word = 0; word < index / 64; ++word) {
        before += static_cast<std::size_t>(std::popcount(weapons_[word]));
    }
    const std::uint64_t below = (std::uint64_t{1} << (index % 64)) - 1;
    return before + static_cast<std::size_t>(std::popcount(weapons_[index / 64] & below));
}

void AmmunitionHandOver::handOverAll(const RecordTable& objects) {
    records_ = objects.count();
    weapons_.assign((records_ + 63) / 64, 0);
    std::vector<std::string> names;
    for (std::size_t i = 0; i < records_; ++i) {
        const ConstByteSpan record = objects.record(i);
        if (isWeapon(record)) {
            markWeapon(i, true);
            names.push_back(R::ObjectName.read(record));
        }
    }
    if (handed_ && names == names_) {
        return;
    }
    QStringList weapons;
    weapons.reserve(static_cast<qsizetype>(names.size()));
    for (const std::string& name : names) {
        weapons.append(textFromBytes(name));
    }
    names_ = std::move(names);
    handed_ = true;
    choices_.refillAmmunitionLists(weapons);
}

void AmmunitionHandOver::handOverOne(const RecordTable& objects, std::size_t index) {
    if (!handed_ || records_ != objects.count() || !objects.contains(index)) {
        handOverAll(objects);
        return;
    }
    const ConstByteSpan record = objects.record(index);
    const bool weapon = isWeapon(record);
    const bool was = wasWeapon(index);
    if (!weapon && !was) {
        return;
    }
    const std::size_t entry = entryOf(index);
    if (entry > names_.size() || (was && entry == names_.size())) {
        handOverAll(objects); // what was handed is not what the marks say: start afresh
        return;
    }
    const auto at = names_.begin() + static_cast<std::ptrdiff_t>(entry);
    if (weapon && was) {
        std::string name = R::ObjectName.read(record);
        if (name != *at) {
            *at = std::move(name);
            choices_.renameAmmunition(entry, textFromBytes(*at));
        }
    } else if (weapon) {
        markWeapon(index, true);
        const auto inserted = names_.insert(at, R::ObjectName.read(record));
        choices_.insertAmmunition(entry, textFromBytes(*inserted));
    } else {
        markWeapon(index, false);
        names_.erase(at);
        choices_.removeAmmunition(entry);
    }
}

} // namespace keel
