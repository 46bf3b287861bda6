// SPDX-License-Identifier: MIT
#pragma once

#include "objects/ObjectTypes.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace keel::sample {

// The sample set as tables of plain values. Launchers, sensors and airstrips are named here
// and become slot numbers when the set is written; names of objects and classes are those
// the other files refer to. Lengths in feet, speeds in knots, altitudes in feet (below zero
// for depth), masses in tons (pounds for weapons), ranges in yards.

struct Object {
    std::string_view name;
    std::string_view displayName;
    ObjectType type;
    std::string_view simType;
    std::string_view doctrine = {};
    std::string_view ambientSound = {};
    std::int16_t mastHeight = 0;
    std::int16_t length = 0;
    std::int16_t width = 0;
    std::int16_t draft = 0;
    std::int16_t maxSpeed = 0;
    std::int16_t minSpeed = 0;
    std::int32_t maxAlt = 0;
    std::int32_t minAlt = 0;
    std::vector<std::string_view> launchers = {};
    std::vector<std::string_view> airstrips = {};
    float soundLevel = 0;
    std::vector<std::string_view> sensors = {};
    std::int16_t armour = 0;
    std::int32_t range = 0;
    std::int32_t sonobuoys = 0;
    std::int32_t mass = 0;
    float dragCoefficient = 0;
    float turnRadius = 0;
    std::int32_t maxPitch = 0;
    std::int32_t fuel = 0;
    std::uint16_t minBurn = 0;
    std::uint16_t maxBurn = 0;
    // ASW, SUW, AAW, Strike, Recon, Comms, Anti-Mine.
    std::array<std::uint8_t, 7> priorities = {};
    std::uint8_t targets = 0;
    std::uint8_t missileType = 0;
    std::uint8_t countermeasures = 0;
    std::uint16_t detonation = 0;
    std::int32_t points = 0;
    bool hasThreeD = true;
};

struct Ammunition {
    std::string_view weapon;
    std::int16_t rounds;
};

struct Launcher {
    std::string_view name;
    std::int16_t tubes;
    std::int16_t centre;
    std::int16_t cone;
    bool rotatable;
    bool needsFireControl;
    std::int16_t reload;
    std::int16_t swap;
    std::vector<Ammunition> ammunition;
    std::string_view sound;
    std::int16_t roundsPerMinute;
    std::int32_t clips;
    std::array<float, 3> location;
    std::int16_t rows;
    std::int16_t cols;
    std::uint32_t guidable;
};

struct Platform {
    std::string_view name;
    std::int32_t hull = -1;
    std::string_view tagName = {}; // aircraft only: ships carry their class's object
};

struct Class {
    ObjectType type;
    std::string_view className;
    std::string_view designation; // ships and submarines only
    std::string_view tagName;     // ships and submarines only
    std::vector<Platform> platforms;
};

struct Nation {
    std::string_view name;
    std::vector<Class> classes;
};

struct Embarked {
    std::string_view aircraftClass;
    std::string_view tagName;
    std::int32_t count;
};

struct Carrier {
    std::string_view country;
    std::string_view shipClass; // the class's ClassName
    std::vector<Embarked> aircraft;
};

const std::vector<Object>& objects();
const std::vector<Launcher>& launchers();
const std::vector<std::string_view>& sensors();
const std::vector<std::string_view>& airstrips();
const std::vector<Nation>& nations();
const std::vector<Carrier>& carriers();

} // namespace keel::sample
