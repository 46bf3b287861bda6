// SPDX-License-Identifier: MIT
#include "pickers/ListFiles.h"

#include <gtest/gtest.h>

namespace keel {
namespace {

TEST(SensorList, CountsWholeRecordsAndReadsNamesUpToTheirTerminator) {
    ByteVector file(305, 0xEE);
    const std::string first = "AN/SPS-49";
    std::copy(first.begin(), first.end(), file.begin());
    file[first.size()] = 0;
    // The second name fills all 40 bytes, so it has no terminator.
    std::fill_n(file.begin() + 152, 40, 'S');

    const NamedList sensors(sensorListFormat, file);
    ASSERT_EQ(sensors.count(), 2u);
    EXPECT_EQ(sensors.name(0), "AN/SPS-49");
    EXPECT_EQ(sensors.name(1), std::string(40, 'S'));
    EXPECT_EQ(NamedList(sensorListFormat, ConstByteSpan(file).first(304)).count(), 2u);
    EXPECT_EQ(NamedList(sensorListFormat, ConstByteSpan(file).first(151)).count(), 0u);
}

TEST(AirstripList, HasRecordsOf116Bytes) {
    EXPECT_EQ(NamedList(airstripListFormat, ByteVector{}).count(), 0u);
    ByteVector file(3 * 116, 0);
    file[232] = 'D';
    const NamedList airstrips(airstripListFormat, file);
    ASSERT_EQ(airstrips.count(), 3u);
    EXPECT_EQ(airstrips.name(2), "D");
    EXPECT_EQ(airstrips.name(0), "");
}

} // namespace
} // namespace keel
