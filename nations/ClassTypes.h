// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace keel {

// The type codes of a nation's classes are object type codes. The nation editor offers all
// eleven, and marks "N/A" those that no class may have: only submarines, surface ships,
// aircraft and shells make a class.
inline constexpr std::array<std::string_view, 11> classTypeTexts{
    "Sub",       "Surf",         "Air",   "N/A: Helo",   "N/A: Stat",        "N/A: Mine",
    "N/A: Weap", "N/A: Missile", "Shell", "N/A: Bullet", "N/A: DownedPilot",
};

// The nation editor's text of a class type code, or nothing for a code outside 1..11.
std::optional<std::string_view> classTypeText(int classType);

// Whether a class of this type may name objects at all; the others (N/A, or a code outside
// 1..11) offer only the two guidance lines in place of object names.
bool classTypeOffersObjects(int classType);

// Whether the nation editor offers an object of `objectType` for a class of `classType`: subs
// for Sub; surface ships and downed pilots for Surf and Shell; aircraft and helicopters for Air.
bool classTypeOffers(int classType, int objectType);

} // namespace keel
