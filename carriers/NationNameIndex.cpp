// SPDX-License-Identifier: MIT
#include "carriers/NationNameIndex.h"

#include "common/Checks.h"

namespace keel {

void NationNameIndex::rebuild(std::span<const Nation> nations) {
    names_.clear();
    positions_.clear();
    names_.reserve(nations.size());
    positions_.reserve(nations.size());
    for (const Nation& nation : nations) {
        names_.push_back(NationRecord::CountryName.read(nation.record));
        add(names_.size() - 1);
    }
}

void NationNameIndex::rename(std::size_t index, std::string name) {
    check(index < names_.size(), "a renamed nation is one of the index");
    if (names_[index] == name) {
        return;
    }
    drop(index);
    names_[index] = std::move(name);
    add(index);
}

std::optional<std::size_t> NationNameIndex::lastNamed(std::string_view name) const {
    const auto found = positions_.find(name);
    if (found == positions_.end()) {
        return std::nullopt;
    }
    return *found->second.rbegin();
}

void NationNameIndex::add(std::size_t index) { positions_[names_[index]].insert(index); }

void NationNameIndex::drop(std::size_t index) {
    const auto found = positions_.find(names_[index]);
    check(found != positions_.end(), "an indexed nation is found under its name");
    found->second.erase(index);
    // A name that no nation bears any more is found no more.
    if (found->second.empty()) {
        positions_.erase(found);
    }
}

} // namespace keel
