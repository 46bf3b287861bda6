// SPDX-License-Identifier: MIT
#pragma once

#include "nations/MissionRecords.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace keel {

// The names of the nation editor's nations, in their order, as the carrier editor looks them
// up: for each name, the positions of the nations that bear it, so that the last of them is
// found without a walk over every nation. A renamed nation moves in the index alone; nations
// added, removed or replaced call for a rebuild.
class NationNameIndex {
public:
    void rebuild(std::span<const Nation> nations);
    // The nation at `index` is now named `name`.
    void rename(std::size_t index, std::string name);

    std::size_t size() const { return names_.size(); }
    const std::string& name(std::size_t index) const { return names_[index]; }
    // The position of the last nation named exactly `name`, if any is.
    std::optional<std::size_t> lastNamed(std::string_view name) const;

private:
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
    };

    void add(std::size_t index);
    void drop(std::size_t index);

    std::vector<std::string> names_;
    std::unordered_map<std::string, std::set<std::size_t>, NameHash, std::equal_to<>> positions_;
};

} // namespace keel
