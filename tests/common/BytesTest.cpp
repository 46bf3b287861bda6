// SPDX-License-Identifier: MIT
#include "common/Bytes.h"

#include <gtest/gtest.h>

namespace keel {
namespace {

TEST(LittleEndian, LoadsAssembleBytesLowFirstAtAnyAlignment) {
    const ByteVector bytes{0xFF, 0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0xFE, 0xFF};
    const ConstByteSpan all(bytes);
    EXPECT_EQ(loadLittleEndian<std::uint16_t>(all.subspan(1)), 0x1234);
    EXPECT_EQ(loadLittleEndian<std::int32_t>(all.subspan(3)), 0x12345678);
    EXPECT_EQ(loadLittleEndian<std::int16_t>(all.subspan(7)), -2);
    EXPECT_EQ(loadLittleEndian<std::uint16_t>(all.subspan(7)), 0xFFFE);
    EXPECT_EQ(loadLittleEndian<std::uint8_t>(all), 0xFF);
    EXPECT_EQ(loadLittleEndian<std::int32_t>(ConstByteSpan(ByteVector{0, 0, 0, 0x80})),
              std::int32_t(-2147483647 - 1));
}

TEST(LittleEndian, StoresWriteOnlyTheirOwnBytes) {
    ByteVector bytes(8, 0xEE);
    storeLittleEndian<std::int16_t>(ByteSpan(bytes).subspan(1), -2);
    storeLittleEndian<std::uint32_t>(ByteSpan(bytes).subspan(3), 0xA1B2C3D4u);
    EXPECT_EQ(bytes, (ByteVector{0xEE, 0xFE, 0xFF, 0xD4, 0xC3, 0xB2, 0xA1, 0xEE}));
}

TEST(LittleEndian, FloatsAreSinglePrecisionBitPatterns) {
    // 0.3f is 0x3E99999A; it must come back as the same float, not as 0.3 rounded anew.
    const ByteVector bytes{0x9A, 0x99, 0x99, 0x3E};
    const float value = loadLittleEndian<float>(bytes);
    EXPECT_EQ(value, 0.3f);
    EXPECT_NEAR(static_cast<double>(value), 0.300000011920929, 1e-15);

    ByteVector stored(4);
    storeLittleEndian<float>(stored, -1.5f);
    EXPECT_EQ(stored, (ByteVector{0x00, 0x00, 0xC0, 0xBF}));

    // A NaN with a payload survives a load and a store unchanged.
    const ByteVector nan{0x01, 0x00, 0xC0, 0x7F};
    ByteVector again(4);
    storeLittleEndian<float>(again, loadLittleEndian<float>(nan));
    EXPECT_EQ(again, nan);
}

} // namespace
} // namespace keel
