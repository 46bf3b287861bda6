// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace keel {

// A database that keelmerge knows: which option selects it, its master file, the extension
// of the files merged into it, and how its records are laid out and ordered.
struct MergeDatabase {
    std::string_view option;
    std::string_view masterName;
    std::string_view extension;
    std::size_t recordSize;
    std::size_t nameWidth;
    bool sortedByName;
};

// In the order in which they are processed.
const std::array<MergeDatabase, 3>& mergeDatabases();

// The databases the arguments select, in processing order, each once. Only arguments that are
// exactly one of the options count; everything else is ignored.
std::vector<const MergeDatabase*> selectedDatabases(std::span<const std::string> arguments);

} // namespace keel
