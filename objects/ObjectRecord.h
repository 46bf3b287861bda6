#pragma once

#include "common/Field.h"
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

    static constexpr auto fieldExtents() {
        return extentsOf(ObjectName, Reserved, DisplayName, ObjType, DoctrineName, AmbientSound,
                         MastHeight, Length, Width, Draft, MaxSpeed, MinSpeed, MaxAlt, MinAlt,
                         LauncherSlots, AirstripSlots, SoundLevel, SensorSlots, Armour, SimType,
                         Range, NumBuoys, Mass, DragCoeff, TurnRadius, maxPitch, Fuel, MinBurn,
                         MaxBurn, MisPri, targetCaps, missileCaps, cmCaps, DetProb, Points);
    }
};

static_assert(fieldsArePacked(ObjectRecord::fieldExtents(), ObjectRecord::Size));

using ObjectFile = FixedRecords<ObjectRecord::Size>;

} // namespace keel
