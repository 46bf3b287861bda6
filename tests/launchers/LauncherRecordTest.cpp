// SPDX-License-Identifier: MIT
#include "launchers/LauncherRecord.h"

#include "support/FieldChecks.h"

#include <gtest/gtest.h>

namespace keel {
namespace {

using L = LauncherRecord;
constexpr std::size_t size = L::Size;

const ByteVector int16Bytes{0xFE, 0xFF};             // -2
const ByteVector floatBytes{0x00, 0x00, 0xC0, 0x3F}; // 1.5f

TEST(LauncherRecord, EveryFieldLiesWhereTheFileFormatPutsIt) {
    EXPECT_EQ(size, 196u);
    using test::expectNumberFieldAt;
    using test::expectTextFieldAt;
    expectTextFieldAt(L::LauncherName, size, 0, 20, "LauncherName");
    expectNumberFieldAt(L::tubes, size, 22, -2, int16Bytes, "tubes");
    expectNumberFieldAt(L::centre, size, 24, -2, int16Bytes, "centre");
    expectNumberFieldAt(L::cone, size, 26, -2, int16Bytes, "cone");
    expectNumberFieldAt(L::characteristics, size, 28, 0x8002, ByteVector{0x02, 0x80}, "characteristics");
    expectNumberFieldAt(L::load, size, 30, -2, int16Bytes, "load");
    expectNumberFieldAt(L::swap, size, 32, -2, int16Bytes, "swap");
    expectTextFieldAt(L::weap0, size, 34, 20, "weap0");
    expectTextFieldAt(L::weap1, size, 54, 20, "weap1");
    expectTextFieldAt(L::weap2, size, 74, 20, "weap2");
    expectTextFieldAt(L::weap3, size, 94, 20, "weap3");
    expectTextFieldAt(L::SoundFile, size, 114, 20, "SoundFile");
    expectNumberFieldAt(L::quant0, size, 134, -2, int16Bytes, "quant0");
    expectNumberFieldAt(L::quant1, size, 136, -2, int16Bytes, "quant1");
    expectNumberFieldAt(L::quant2, size, 138, -2, int16Bytes, "quant2");
    expectNumberFieldAt(L::quant3, size, 140, -2, int16Bytes, "quant3");
    expectNumberFieldAt(L::rdsPerMin, size, 142, -2, int16Bytes, "rdsPerMin");
    expectNumberFieldAt(L::magazine, size, 144, 0x01020304, ByteVector{4, 3, 2, 1}, "magazine");
    expectNumberFieldAt(L::centx, size, 148, 1.5f, floatBytes, "centx");
    expectNumberFieldAt(L::centy, size, 152, 1.5f, floatBytes, "centy");
    expectNumberFieldAt(L::centz, size, 156, 1.5f, floatBytes, "centz");
    expectNumberFieldAt(L::x1, size, 160, 1.5f, floatBytes, "x1");
    expectNumberFieldAt(L::y1, size, 164, 1.5f, floatBytes, "y1");
    expectNumberFieldAt(L::z1, size, 168, 1.5f, floatBytes, "z1");
    expectNumberFieldAt(L::x2, size, 172, 1.5f, floatBytes, "x2");
    expectNumberFieldAt(L::y2, size, 176, 1.5f, floatBytes, "y2");
    expectNumberFieldAt(L::z2, size, 180, 1.5f, floatBytes, "z2");
    expectNumberFieldAt(L::hRel, size, 184, -2, int16Bytes, "hRel");
    expectNumberFieldAt(L::pRel, size, 186, -2, int16Bytes, "pRel");
    expectNumberFieldAt(L::rows, size, 188, -2, int16Bytes, "rows");
    expectNumberFieldAt(L::cols, size, 190, -2, int16Bytes, "cols");
    expectNumberFieldAt(L::maxNumRdsGuideable, size, 192, 0xFFFFFFFEu,
                        ByteVector{0xFE, 0xFF, 0xFF, 0xFF}, "maxNumRdsGuideable");

    // The ammunition lists pair each type with its own round count.
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(L::ammunitionTypes[i].offset, 34 + 20 * i);
        EXPECT_EQ(L::roundCounts[i].offset, 134 + 2 * i);
    }
}

TEST(LauncherRecord, TheTwoFlagsChangeOnlyTheirOwnBits) {
    ByteVector record(size, 0);
    record[20] = 0x11;
    record[21] = 0x22;
    const auto rotatable = launcherCharacteristics[0].bit;
    const auto requiresFcs = launcherCharacteristics[1].bit;
    EXPECT_EQ(launcherCharacteristics[0].caption, "Rotatable");
    EXPECT_EQ(launcherCharacteristics[1].caption, "Requires FCS");

    L::characteristics.write(record, 0x0002);
    L::characteristics.set(record, rotatable, true);
    EXPECT_EQ(L::characteristics.read(record), 0x0003);

    L::characteristics.write(record, 0x0007);
    L::characteristics.set(record, requiresFcs, false);
    EXPECT_EQ(L::characteristics.read(record), 0x0003);
    EXPECT_FALSE(L::characteristics.has(record, requiresFcs));
    EXPECT_TRUE(L::characteristics.has(record, rotatable));

    L::characteristics.write(record, 0xFFF0);
    L::characteristics.set(record, rotatable, true);
    L::characteristics.set(record, requiresFcs, true);
    L::characteristics.set(record, rotatable, false);
    EXPECT_EQ(L::characteristics.read(record), 0xFFF4);
    EXPECT_EQ(record[20], 0x11);
    EXPECT_EQ(record[21], 0x22);
}

TEST(LauncherFile, CountsWholeRecordsOnly) {
    EXPECT_EQ(LauncherFile::count(ByteVector{}), 0u);
    EXPECT_EQ(LauncherFile::count(ByteVector(195)), 0u);
    EXPECT_EQ(LauncherFile::count(ByteVector(393)), 2u);
}

} // namespace
} // namespace keel
