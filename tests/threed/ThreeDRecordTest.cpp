// SPDX-License-Identifier: MIT
#include "threed/ThreeDRecord.h"

#include "common/NameCompare.h"
#include "support/FieldChecks.h"

#include <gtest/gtest.h>

namespace keel {
namespace {

TEST(ThreeDRecord, OnlyTheNameIsTouchedAndThePresentationSurvives) {
    EXPECT_EQ(ThreeDRecord::Size, 956u);
    test::expectTextFieldAt(ThreeDRecord::Name, ThreeDRecord::Size, 0, 20, "Name");

    ByteVector record(ThreeDRecord::Size);
    for (std::size_t i = 0; i < record.size(); ++i) {
        record[i] = static_cast<Byte>(i * 13 + 1);
    }
    const ByteVector before = record;
    ASSERT_TRUE(ThreeDRecord::Name.write(record, "OHP Frigate", TextOverflow::Refuse));
    EXPECT_TRUE(std::equal(before.begin() + 12, before.end(), record.begin() + 12));
    EXPECT_EQ(ThreeDRecord::Name.read(record), "OHP Frigate");
}

TEST(ThreeDRecord, NamesDifferingOnlyInLetterCaseAreTheSame) {
    ByteVector a(ThreeDRecord::Size, 0), b(ThreeDRecord::Size, 1);
    ThreeDRecord::Name.write(a, "Frigate", TextOverflow::Refuse);
    ThreeDRecord::Name.write(b, "FRIGATE", TextOverflow::Refuse);
    EXPECT_TRUE(equalEditorNames(ThreeDRecord::Name.bytes(a), ThreeDRecord::Name.bytes(b)));
}

TEST(ThreeDFile, CountsWholeRecordsOnly) {
    EXPECT_EQ(ThreeDFile::count(ByteVector{}), 0u);
    EXPECT_EQ(ThreeDFile::count(ByteVector(957)), 1u);
    EXPECT_EQ(ThreeDFile::count(ByteVector(955)), 0u);
}

} // namespace
} // namespace keel
