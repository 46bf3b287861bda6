// SPDX-License-Identifier: MIT
#include "objects/ObjectRecord.h"
#include "objects/ObjectTypes.h"

#include "support/FieldChecks.h"

#include <gtest/gtest.h>

#include <bit>

namespace keel {
namespace {

using R = ObjectRecord;
constexpr std::size_t size = R::Size;

const ByteVector int16Bytes{0x34, 0x12};             // 0x1234
const ByteVector int32Bytes{0x60, 0x79, 0xFE, 0xFF}; // -100000
const ByteVector uint16Bytes{0xEF, 0xBE};            // 0xBEEF
const ByteVector floatBytes{0x9A, 0x99, 0x99, 0x3E}; // 0.3f

TEST(ObjectRecord, EveryFieldLiesWhereTheFileFormatPutsIt) {
    EXPECT_EQ(size, 284u);
    using test::expectNumberFieldAt;
    using test::expectTextFieldAt;
    expectTextFieldAt(R::ObjectName, size, 0, 20, "ObjectName");
    expectTextFieldAt(R::DisplayName, size, 22, 40, "DisplayName");
    expectNumberFieldAt(R::ObjType, size, 62, 0x1234, int16Bytes, "ObjType");
    expectTextFieldAt(R::DoctrineName, size, 64, 20, "DoctrineName");
    expectTextFieldAt(R::AmbientSound, size, 84, 20, "AmbientSound");
    expectNumberFieldAt(R::MastHeight, size, 104, 0x1234, int16Bytes, "MastHeight");
    expectNumberFieldAt(R::Length, size, 106, 0x1234, int16Bytes, "Length");
    expectNumberFieldAt(R::Width, size, 108, 0x1234, int16Bytes, "Width");
    expectNumberFieldAt(R::Draft, size, 110, 0x1234, int16Bytes, "Draft");
    expectNumberFieldAt(R::MaxSpeed, size, 112, 0x1234, int16Bytes, "MaxSpeed");
    expectNumberFieldAt(R::MinSpeed, size, 114, 0x1234, int16Bytes, "MinSpeed");
    expectNumberFieldAt(R::MaxAlt, size, 116, -100000, int32Bytes, "MaxAlt");
    expectNumberFieldAt(R::MinAlt, size, 120, -100000, int32Bytes, "MinAlt");
    expectNumberFieldAt(R::SoundLevel, size, 204, 0.3f, floatBytes, "SoundLevel");
    expectNumberFieldAt(R::Armour, size, 226, 0x1234, int16Bytes, "Armour");
    expectTextFieldAt(R::SimType, size, 228, 8, "SimType");
    expectNumberFieldAt(R::Range, size, 236, -100000, int32Bytes, "Range");
    expectNumberFieldAt(R::NumBuoys, size, 240, -100000, int32Bytes, "NumBuoys");
    expectNumberFieldAt(R::Mass, size, 244, -100000, int32Bytes, "Mass");
    expectNumberFieldAt(R::DragCoeff, size, 248, 0.3f, floatBytes, "DragCoeff");
    expectNumberFieldAt(R::TurnRadius, size, 252, 0.3f, floatBytes, "TurnRadius");
    expectNumberFieldAt(R::maxPitch, size, 256, -100000, int32Bytes, "maxPitch");
    expectNumberFieldAt(R::Fuel, size, 260, -100000, int32Bytes, "Fuel");
    expectNumberFieldAt(R::MinBurn, size, 264, 0xBEEF, uint16Bytes, "MinBurn");
    expectNumberFieldAt(R::MaxBurn, size, 266, 0xBEEF, uint16Bytes, "MaxBurn");
    expectNumberFieldAt(R::targetCaps, size, 275, 0xA7, ByteVector{0xA7}, "targetCaps");
    expectNumberFieldAt(R::missileCaps, size, 276, 0xA7, ByteVector{0xA7}, "missileCaps");
    expectNumberFieldAt(R::cmCaps, size, 277, 0xA7, ByteVector{0xA7}, "cmCaps");
    expectNumberFieldAt(R::DetProb, size, 278, 0xBEEF, uint16Bytes, "DetProb");
    expectNumberFieldAt(R::Points, size, 280, -100000, int32Bytes, "Points");
}

TEST(ObjectRecord, SlotArraysAndPrioritiesHoldTheirElementsInOrder) {
    // Writes every element through the descriptor and finds each one at its own place.
    ByteVector record(size, 0xEE);
    for (std::size_t i = 0; i < 30; ++i) {
        R::LauncherSlots.write(record, i, static_cast<std::int16_t>(i + 1));
    }
    for (std::size_t i = 0; i < 10; ++i) {
        R::AirstripSlots.write(record, i, static_cast<std::int16_t>(-1 - static_cast<int>(i)));
    }
    for (std::size_t i = 0; i < 9; ++i) {
        R::SensorSlots.write(record, i, static_cast<std::int16_t>(0x100 + i));
    }
    for (std::size_t i = 0; i < 7; ++i) {
        R::MisPri.write(record, i, static_cast<std::uint8_t>(i));
    }
    for (std::size_t i = 0; i < 30; ++i) {
        EXPECT_EQ(record[124 + 2 * i], i + 1);
        EXPECT_EQ(record[125 + 2 * i], 0);
    }
    for (std::size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(record[184 + 2 * i], static_cast<Byte>(0xFF - i));
        EXPECT_EQ(record[185 + 2 * i], 0xFF);
    }
    for (std::size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(record[208 + 2 * i], i);
        EXPECT_EQ(record[209 + 2 * i], 1);
    }
    for (std::size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(record[268 + i], i);
    }
    // Nothing else was touched: the name, the reserved word, the fields between the arrays.
    for (std::size_t offset : {0u, 19u, 20u, 21u, 123u, 204u, 207u, 226u, 267u, 275u}) {
        EXPECT_EQ(record[offset], 0xEE) << "byte " << offset;
    }
    EXPECT_EQ(R::SensorSlots.read(record, 8), 0x108);
    EXPECT_EQ(R::AirstripSlots.read(record, 9), -10);
}

TEST(ObjectRecord, EditsLeaveTheReservedWordUnofferedBitsAndTextTailsAlone) {
    ByteVector record(size, 0);
    record[20] = 0x5A;
    record[21] = 0xC3;
    const char oldName[] = "Kirov class cruiser";
    std::copy(oldName, oldName + 19, record.begin());
    R::missileCaps.write(record, 0x10); // "bit 16", which the editor does not offer
    R::targetCaps.write(record, 0x60);  // bits 32 and 64
    R::cmCaps.write(record, 0xE0);      // bits 32 to 128

    const ByteVector before = record;
    ASSERT_TRUE(R::ObjectName.write(record, "Kirov", TextOverflow::Refuse));
    for (const auto& bit : missileCapabilityBits) {
        R::missileCaps.set(record, bit.bit, true);
    }
    R::missileCaps.set(record, 32, false);
    for (const auto& bit : targetCapabilityBits) {
        R::targetCaps.set(record, bit.bit, true);
        R::targetCaps.set(record, bit.bit, false);
    }
    R::cmCaps.set(record, 1, true);
    R::ObjType.write(record, 12);

    EXPECT_EQ(record[20], 0x5A);
    EXPECT_EQ(record[21], 0xC3);
    EXPECT_EQ(R::ObjectName.read(record), "Kirov");
    EXPECT_TRUE(std::equal(before.begin() + 6, before.begin() + 20, record.begin() + 6))
        << "the bytes after the new terminator keep the old, longer name";
    EXPECT_EQ(R::missileCaps.read(record), 0x10 | 1 | 2 | 4 | 8 | 64 | 128);
    EXPECT_EQ(R::targetCaps.read(record), 0x60);
    EXPECT_EQ(R::cmCaps.read(record), 0xE1);
    EXPECT_EQ(R::ObjType.read(record), 12);
}

TEST(ObjectFile, CountsWholeRecordsOnly) {
    EXPECT_EQ(ObjectFile::count(ByteVector{}), 0u);
    EXPECT_EQ(ObjectFile::count(ByteVector(283)), 0u);
    EXPECT_EQ(ObjectFile::count(ByteVector(284)), 1u);
    ByteVector file(2 * 284 + 100, 0);
    file[284] = 'B';
    EXPECT_EQ(ObjectFile::count(file), 2u);
    EXPECT_EQ(ObjectFile::record(ConstByteSpan(file), 1)[0], 'B');
    EXPECT_EQ(ObjectFile::record(ConstByteSpan(file), 1).size(), 284u);
}

TEST(ObjectTypes, CodesTextsAndCapabilityTablesAgree) {
    EXPECT_EQ(objectTypeText(1), "Sub");
    EXPECT_EQ(objectTypeText(5), "Stat (Land)");
    EXPECT_EQ(objectTypeText(11), "DownedPilot");
    EXPECT_FALSE(objectTypeText(0).has_value());
    EXPECT_FALSE(objectTypeText(12).has_value());
    EXPECT_FALSE(objectTypeText(-1).has_value());

    // A possible target's bit is 1 shifted by its type code less one; its caption is that
    // type's text.
    for (const CapabilityBit& target : targetCapabilityBits) {
        const int code = std::countr_zero(target.bit) + 1;
        EXPECT_EQ(objectTypeText(code), target.caption) << int(target.bit);
        EXPECT_EQ(target.control, "targetCaps" + std::to_string(target.bit));
    }
    for (const CapabilityBit& missile : missileCapabilityBits) {
        EXPECT_EQ(missile.control, "missileCaps" + std::to_string(missile.bit));
        EXPECT_NE(missile.bit, 16);
    }
    for (const CapabilityBit& countermeasure : countermeasureCapabilityBits) {
        EXPECT_EQ(countermeasure.control, "cmCaps" + std::to_string(countermeasure.bit));
        EXPECT_LE(countermeasure.bit, 16);
    }

    EXPECT_EQ(simTypeWords.front(), "sub");
    EXPECT_EQ(simTypeWords.back(), "bullet");
    for (std::string_view word : simTypeWords) {
        EXPECT_LE(word.size(), R::SimType.maxLength()) << word;
    }

    for (int code = 0; code <= 12; ++code) {
        EXPECT_EQ(isAmmunitionType(code), code >= 6 && code <= 10) << code;
        EXPECT_EQ(needsThreeDObject(code), code != 9 && code != 10) << code;
    }
}

} // namespace
} // namespace keel
