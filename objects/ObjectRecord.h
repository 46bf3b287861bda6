// SPDX-License-Identifier: MIT
#pragma once

#include "common/FieldTable.h"
#include "common/RecordFile.h"

#include <cstdint>

namespace keel {

// One record of objects.odb: a kind of submarine, ship, aircraft, weapon and the like.
struct ObjectRecord {
    static constexpr std::size_t Size = 284;

    static constexpr TextFieldSpec ObjectName{0, 20};
    static constexpr ReservedField Reserved{20, 2};
    static constexpr TextFieldSpec DisplayName{22, 40};
    static constexpr NumberField<std::int16_t> ObjType{62};
    static constexpr TextFieldSpec DoctrineName{64, 20};
    static constexpr TextFieldSpec AmbientSound{84, 20};
    static constexpr NumberField<std::int16_t> MastHeight{104};
    static constexpr NumberField<std::int16_t> Length{106};
    static constexpr NumberField<std::int16_t> Width{108};
    static constexpr NumberField<std::int16_t> Draft{110};
    static constexpr NumberField<std::int16_t> MaxSpeed{112};
    static constexpr NumberField<std::int16_t> MinSpeed{114};
    static constexpr NumberField<std::int32_t> MaxAlt{116};
    static constexpr NumberField<std::int32_t> MinAlt{120};
    static constexpr NumberArrayField<std::int16_t, 30> LauncherSlots{124};
    static constexpr NumberArrayField<std::int16_t, 10> AirstripSlots{184};
    static constexpr NumberField<float> SoundLevel{204};
    static constexpr NumberArrayField<std::int16_t, 9> SensorSlots{208};
    static constexpr NumberField<std::int16_t> Armour{226};
    static constexpr TextFieldSpec SimType{228, 8};
    static constexpr NumberField<std::int32_t> Range{236};
    static constexpr NumberField<std::int32_t> NumBuoys{240};
    static constexpr NumberField<std::int32_t> Mass{244};
    static constexpr NumberField<float> DragCoeff{248};
    static constexpr NumberField<float> TurnRadius{252};
    static constexpr NumberField<std::int32_t> maxPitch{256};
    static constexpr NumberField<std::int32_t> Fuel{260};
    static constexpr NumberField<std::uint16_t> MinBurn{264};
    static constexpr NumberField<std::uint16_t> MaxBurn{266};
    // Mission priorities ASW, SUW, AAW, Strike, Recon, Comms and Anti-Mine, one byte each.
    static constexpr NumberArrayField<std::uint8_t, 7> MisPri{268};
    static constexpr BitSetField<std::uint8_t> targetCaps{275};
    static constexpr BitSetField<std::uint8_t> missileCaps{276};
    static constexpr BitSetField<std::uint8_t> cmCaps{277};
    static constexpr NumberField<std::uint16_t> DetProb{278};
    static constexpr NumberField<std::int32_t> Points{280};

};

// The object record's fields, with the limits of the object editor's controls.
inline constexpr std::array objectFields{
    describe::text("ObjectName", ObjectRecord::ObjectName),
    describe::reserved("Reserved", ObjectRecord::Reserved),
    describe::text("DisplayName", ObjectRecord::DisplayName),
    describe::number("ObjType", ObjectRecord::ObjType, 1, 11),
    describe::text("DoctrineName", ObjectRecord::DoctrineName),
    describe::text("AmbientSound", ObjectRecord::AmbientSound),
    describe::number("MastHeight", ObjectRecord::MastHeight, 0, 16384),
    describe::number("Length", ObjectRecord::Length, 0, 16384),
    describe::number("Width", ObjectRecord::Width, 0, 16384),
    describe::number("Draft", ObjectRecord::Draft, 0, 16384),
    describe::number("MaxSpeed", ObjectRecord::MaxSpeed, 0, 16384),
    describe::number("MinSpeed", ObjectRecord::MinSpeed, 0, 16384),
    describe::number("MaxAlt", ObjectRecord::MaxAlt, -32767, 32767),
    describe::number("MinAlt", ObjectRecord::MinAlt, -32767, 32767),
    describe::numbers("LauncherSlots", ObjectRecord::LauncherSlots),
    describe::numbers("AirstripSlots", ObjectRecord::AirstripSlots),
    describe::number("SoundLevel", ObjectRecord::SoundLevel),
    describe::numbers("SensorSlots", ObjectRecord::SensorSlots),
    describe::number("Armour", ObjectRecord::Armour, 0, 16384),
    describe::text("SimType", ObjectRecord::SimType),
    describe::number("Range", ObjectRecord::Range),
    describe::number("NumBuoys", ObjectRecord::NumBuoys, 0, 32767),
    describe::number("Mass", ObjectRecord::Mass),
    describe::number("DragCoeff", ObjectRecord::DragCoeff),
    describe::number("TurnRadius", ObjectRecord::TurnRadius),
    describe::number("maxPitch", ObjectRecord::maxPitch, 0, 90),
    describe::number("Fuel", ObjectRecord::Fuel),
    describe::number("MinBurn", ObjectRecord::MinBurn, 0, 32767),
    describe::number("MaxBurn", ObjectRecord::MaxBurn, 0, 32767),
    describe::numbers("MisPri", ObjectRecord::MisPri, 0, 6),
    describe::bits("targetCaps", ObjectRecord::targetCaps),
    describe::bits("missileCaps", ObjectRecord::missileCaps),
    describe::bits("cmCaps", ObjectRecord::cmCaps),
    describe::number("DetProb", ObjectRecord::DetProb, 0, 100),
    describe::number("Points", ObjectRecord::Points, 0, 32767),
};

static_assert(fieldsArePacked(objectFields, ObjectRecord::Size));

using ObjectFile = FixedRecords<ObjectRecord::Size>;

} // namespace keel
