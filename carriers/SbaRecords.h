// SPDX-License-Identifier: MIT
#pragma once

#include "common/FieldTable.h"

#include <array>
#include <cstdint>
#include <vector>

namespace keel {

// The two records of shipbasedaircraft.db and of carrier exchange files. A carrier block is a
// carrier record followed by its aircraft type entries. The names are those of mission.db,
// held as text: a carrier's ship class is "ClassName Designation" of a class of its nation.

struct CarrierRecord {
    static constexpr std::size_t Size = 520;

    static constexpr TextFieldSpec Country{0, 256};
    static constexpr TextFieldSpec ObjectName{256, 256};
    static constexpr NumberField<std::int32_t> NumPlatforms{512};
    static constexpr ReservedField AircraftLink{516, 4};

};

struct AircraftTypeRecord {
    static constexpr std::size_t Size = 772;

    static constexpr TextFieldSpec TagName{0, 256};
    static constexpr TextFieldSpec DisplayName{256, 256};
    static constexpr TextFieldSpec ClassName{512, 256};
    static constexpr NumberField<std::int32_t> Num{768};
    // How many aircraft of one type a carrier may carry.
    static constexpr std::int32_t fewestAircraft = 1;
    static constexpr std::int32_t mostAircraft = 32767;

};

// The fields of the two records, with the limits of the carrier editor's controls. The link
// slot carries nothing in a file.
inline constexpr std::array carrierFields{
    describe::text("Country", CarrierRecord::Country),
    describe::text("ObjectName", CarrierRecord::ObjectName),
    describe::number("NumPlatforms", CarrierRecord::NumPlatforms, 1, 32767),
    describe::reserved("AircraftLink", CarrierRecord::AircraftLink),
};

inline constexpr std::array aircraftTypeFields{
    describe::text("TagName", AircraftTypeRecord::TagName),
    describe::text("DisplayName", AircraftTypeRecord::DisplayName),
    describe::text("ClassName", AircraftTypeRecord::ClassName),
    describe::number("Num", AircraftTypeRecord::Num, AircraftTypeRecord::fewestAircraft,
                     AircraftTypeRecord::mostAircraft),
};

static_assert(fieldsArePacked(carrierFields, CarrierRecord::Size));
static_assert(fieldsArePacked(aircraftTypeFields, AircraftTypeRecord::Size));

// A carrier as the carrier editor holds it, every record with the bytes it was read with. The
// list is the truth about the count; a writer stores its length in NumPlatforms.
struct AircraftType {
    std::array<Byte, AircraftTypeRecord::Size> record{};
};

struct Carrier {
    std::array<Byte, CarrierRecord::Size> record{};
    std::vector<AircraftType> aircraftTypes;
};

// What the carrier editor's Add creates: ship class "New Class" of no nation, carrying one
// aircraft type entry without names for a single aircraft.
Carrier newCarrier();
AircraftType newAircraftType();

} // namespace keel
