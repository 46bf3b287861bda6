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

    table.sortByName();
    EXPECT_EQ(table.record(0)[1], 'X') << "blank records sort first and keep their bytes";
    EXPECT_EQ(nameAt(table, 1), "Z");
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
    MergeTable table(recordSize, nameWidth);
    table.loadMaster(concatenated({namedRecord(recordSize, "beta", 1), namedRecord(recordSize, "_under", 2),
                                   namedRecord(recordSize, "ALPHA", 3), namedRecord(recordSize, "Alp", 4),
                                   namedRecord(recordSize, "Zulu", 5)}));
    table.sortByName();
    ASSERT_EQ(table.count(), 5u);
    EXPECT_EQ(nameAt(table, 0), "_under");
    EXPECT_EQ(nameAt(table, 1), "Alp");
    EXPECT_EQ(nameAt(table, 2), "ALPHA");
    EXPECT_EQ(nameAt(table, 3), "beta");
    EXPECT_EQ(nameAt(table, 4), "Zulu");
    EXPECT_EQ(table.record(4)[25], 5) << "records move whole";

    // After sorting, matching still finds the records where they now are.
    EXPECT_EQ(table.merge(namedRecord(recordSize, "beta", 6)), MergeTable::Outcome::Replaced);
    EXPECT_EQ(table.record(3)[25], 6);
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
