// SPDX-License-Identifier: MIT
#include "merge/MergeTable.h"

#include "support/RecordBytes.h"

#include <gtest/gtest.h>

#include <string>

namespace keel {
namespace {

using test::concatenated;
using test::namedRecord;

constexpr std::size_t recordSize = 32;
constexpr std::size_t nameWidth = 20;

std::string nameAt(const MergeTable& table, std::size_t index) {
    const ConstByteSpan name = table.name(table.record(index));
    return std::string(name.begin(), name.end());
}

// The table's records in its order, as they are written to the master.
ByteVector written(MergeTable& table, std::size_t pieceSize) {
    ByteVector bytes;
    EXPECT_TRUE(table.writeTo(
        [&](ConstByteSpan piece) {
            bytes.insert(bytes.end(), piece.begin(), piece.end());
            return true;
        },
        pieceSize));
    return bytes;
}

TEST(MergeTable, ReplacesTheFirstRecordOfTheSameNameAndAppendsTheRest) {
    MergeTable table(recordSize, nameWidth);
    table.loadMaster(concatenated({namedRecord(recordSize, "GUN", 1), namedRecord(recordSize, "GUN", 2),
                                   namedRecord(recordSize, "gun", 3)}));
    ASSERT_EQ(table.count(), 3u);

    EXPECT_EQ(table.merge(namedRecord(recordSize, "GUN", 9)), MergeTable::Outcome::Replaced);
    EXPECT_EQ(table.record(0)[25], 9) << "the first record of that name is overwritten";
    EXPECT_EQ(table.record(1)[25], 2) << "later records of the same name are left alone";
    EXPECT_EQ(table.record(2)[25], 3) << "letter case counts";

    EXPECT_EQ(table.merge(namedRecord(recordSize, "ROCKET", 4)), MergeTable::Outcome::Added);
    EXPECT_EQ(table.merge(namedRecord(recordSize, "ROCKET", 5)), MergeTable::Outcome::Replaced);
    ASSERT_EQ(table.count(), 4u);
    EXPECT_EQ(table.record(3)[25], 5) << "a record appended earlier is matched too";
}

TEST(MergeTable, BlankRecordsNeverMatchAndAreNeverAppended) {
    MergeTable table(recordSize, nameWidth);
    ByteVector blank = namedRecord(recordSize, "", 7);
    blank[1] = 'X';
    table.loadMaster(concatenated({blank, namedRecord(recordSize, "Z", 1)}));

    EXPECT_EQ(table.merge(namedRecord(recordSize, "", 8)), MergeTable::Outcome::Ignored);
    EXPECT_EQ(table.count(), 2u);
    EXPECT_EQ(table.record(0)[5], 7);

    EXPECT_EQ(written(table, 1000), concatenated({blank, namedRecord(recordSize, "Z", 1)}))
        << "a table in merge order is written as it stands";

    MergeTable sorted(recordSize, nameWidth, MergeTable::Order::ByName);
    sorted.loadMaster(concatenated({namedRecord(recordSize, "Z", 1), blank}));
    EXPECT_EQ(written(sorted, 1000), concatenated({blank, namedRecord(recordSize, "Z", 1)}))
        << "blank records sort first and keep their bytes";
}

TEST(MergeTable, ANameFillingItsFieldIsBoundedByTheField) {
    MergeTable table(recordSize, nameWidth);
    ByteVector full(recordSize, 'N');
    full[nameWidth] = 'a'; // past the name field: not part of the name
    table.loadMaster(full);

    ByteVector same(recordSize, 'N');
    same[nameWidth] = 'b';
    EXPECT_EQ(table.merge(same), MergeTable::Outcome::Replaced);
    EXPECT_EQ(nameAt(table, 0), std::string(nameWidth, 'N'));
}

TEST(MergeTable, SortsIgnoringCaseWithUpperFoldedToLower) {
    MergeTable table(recordSize, nameWidth, MergeTable::Order::ByName);
    table.loadMaster(
        concatenated({namedRecord(recordSize, "beta", 1), namedRecord(recordSize, "_under", 2),
                      namedRecord(recordSize, "ALPHA", 3), namedRecord(recordSize, "Alp", 4),
                      namedRecord(recordSize, "Zulu", 5)}));
    EXPECT_EQ(table.orderByName(), (std::vector<std::uint32_t>{1, 3, 2, 0, 4}));

    // Records go out whole, also when a piece holds fewer records than the table or none whole.
    const ByteVector sorted =
        concatenated({namedRecord(recordSize, "_under", 2), namedRecord(recordSize, "Alp", 4),
                      namedRecord(recordSize, "ALPHA", 3), namedRecord(recordSize, "beta", 1),
                      namedRecord(recordSize, "Zulu", 5)});
    EXPECT_EQ(written(table, 1 << 16), sorted);
    EXPECT_EQ(written(table, 2 * recordSize + 1), sorted);
    EXPECT_EQ(written(table, 1), sorted);
}

TEST(MergeTable, WritingStopsWhenTheSinkFails) {
    MergeTable table(recordSize, nameWidth, MergeTable::Order::ByName);
    table.loadMaster(concatenated({namedRecord(recordSize, "A"), namedRecord(recordSize, "B"),
                                   namedRecord(recordSize, "C")}));
    int pieces = 0;
    EXPECT_FALSE(table.writeTo([&](ConstByteSpan) { return ++pieces < 2; }, recordSize));
    EXPECT_EQ(pieces, 2);
}

TEST(MergeTable, DropsATrailingPartialRecordOfTheMaster) {
    MergeTable table(recordSize, nameWidth);
    ByteVector file = namedRecord(recordSize, "ONE", 1);
    file.resize(file.size() + 10, 0x77);
    table.loadMaster(file);
    EXPECT_EQ(table.count(), 1u);
    EXPECT_EQ(table.bytes().size(), recordSize);
}

} // namespace
} // namespace keel
