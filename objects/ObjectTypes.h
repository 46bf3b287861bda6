// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace keel {

// The object type code of a record is the position of its text in this list, counting from 1.
enum class ObjectType : std::int16_t {
    Sub = 1,
    Surf,
    Air,
    Helo,
    LandStation,
    Mine,
    Weapon,
    Missile,
    Shell,
    Bullet,
    DownedPilot,
};

inline constexpr std::array<std::string_view, 11> objectTypeTexts{
    "Sub",  "Surf",    "Air",   "Helo",   "Stat (Land)", "Mine",
    "Weap", "Missile", "Shell", "Bullet", "DownedPilot",
};

// The text of a type code, or nothing for a code outside 1..11 (which records may still hold).
std::optional<std::string_view> objectTypeText(int code);

bool isKnownObjectType(int code);

// Mines, weapons, missiles, shells and bullets are what launchers can be loaded with.
bool isAmmunitionType(int code);

// Every object is expected to have a 3D object, except shells and bullets.
bool needsThreeDObject(int code);

// The simulation model words the editor offers; any other short word may be stored too.
inline constexpr std::array<std::string_view, 13> simTypeWords{
    "sub",  "ship",  "torp", "cm",   "float",   "rock",   "mine",
    "depth", "plane", "helo", "missile", "shell", "bullet",
};

// One offered bit of a capability byte, with the control that edits it and its caption.
struct CapabilityBit {
    std::uint8_t bit;
    std::string_view control;
    std::string_view caption;
};

// Possible targets: each bit is 1 shifted left by (type code - 1) of the type it names.
inline constexpr std::array<CapabilityBit, 6> targetCapabilityBits{{
    {1, "targetCaps1", "Sub"},
    {2, "targetCaps2", "Surf"},
    {4, "targetCaps4", "Air"},
    {8, "targetCaps8", "Helo"},
    {16, "targetCaps16", "Stat (Land)"},
    {128, "targetCaps128", "Missile"},
}};

inline constexpr std::array<CapabilityBit, 7> missileCapabilityBits{{
    {1, "missileCaps1", "AAM"},
    {2, "missileCaps2", "ASM"},
    {4, "missileCaps4", "SSM"},
    {8, "missileCaps8", "SAM"},
    {32, "missileCaps32", "Terrain Following"},
    {64, "missileCaps64", "Guided"},
    {128, "missileCaps128", "Thrown"},
}};

inline constexpr std::array<CapabilityBit, 5> countermeasureCapabilityBits{{
    {1, "cmCaps1", "Chaff"},
    {2, "cmCaps2", "IR Flares"},
    {4, "cmCaps4", "Acoustic"},
    {8, "cmCaps8", "Towed Acoustic"},
    {16, "cmCaps16", "ECM Jammer"},
}};

} // namespace keel
