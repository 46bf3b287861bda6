#include "editor/RecordTable.h"

#include "support/RecordBytes.h"

#include <gtest/gtest.h>

namespace keel {
namespace {

using test::concatenated;
using test::namedRecord;

constexpr std::size_t size = 40;
constexpr TextFieldSpec nameField{0, 20};

RecordTable tableOf(std::initializer_list<ByteVector> records) {
    RecordTable table(size, nameField);
    table.assign(concatenated(records));
    return table;
}

Byte markOf(const RecordTable& table, std::size_t index) { return table.record(index)[size - 1]; }

TEST(RecordTableImport, ReplacesEveryEarlierRecordOfTheNameIgnoringCase) {
    RecordTable table = tableOf({namedRecord(size, "Frigate", 1), namedRecord(size, "Sub", 2),
                                 namedRecord(size, "FRIGATE", 3), namedRecord(size, "sub", 4),
                                 namedRecord(size, "Tanker", 5)});
    const auto report =
        table.merge(concatenated({namedRecord(size, "frigate", 7), namedRecord(size, "SUB", 8)}));
    EXPECT_EQ(report.names, (std::vector<std::string>{"frigate", "SUB"}));
    EXPECT_EQ(report.replacing, 2u);
    EXPECT_EQ(report.added, 0u);
    ASSERT_EQ(table.count(), 5u);
    EXPECT_EQ(table.nameText(0), "frigate") << "the name is replaced too";
    EXPECT_EQ(markOf(table, 0), 7);
    EXPECT_EQ(markOf(table, 1), 8);
    EXPECT_EQ(markOf(table, 2), 7);
    EXPECT_EQ(markOf(table, 3), 8);
    EXPECT_EQ(markOf(table, 4), 5) << "records that matched nothing stay";
}

TEST(RecordTableImport, TheLastOfSeveralRecordsOfOneNameWinsAndNewOnesAllStay) {
    RecordTable table = tableOf({namedRecord(size, "Sub", 1)});
    table.merge(concatenated({namedRecord(size, "SUB", 2), namedRecord(size, "New", 3),
                               namedRecord(size, "sub", 4), namedRecord(size, "NEW", 5)}));
    ASSERT_EQ(table.count(), 3u);
    EXPECT_EQ(markOf(table, 0), 4);
    EXPECT_EQ(markOf(table, 1), 3) << "imported records are matched only against earlier ones";
    EXPECT_EQ(markOf(table, 2), 5);

    // A later file matches what an earlier one brought in.
    table.merge(namedRecord(size, "new", 6));
    ASSERT_EQ(table.count(), 3u);
    EXPECT_EQ(markOf(table, 1), 6);
    EXPECT_EQ(markOf(table, 2), 6);
}

TEST(RecordTableImport, AFileShorterThanARecordImportsNothing) {
    RecordTable table = tableOf({namedRecord(size, "A", 1)});
    const auto report = table.merge(ByteVector(size - 1, 'x'));
    EXPECT_TRUE(report.names.empty());
    EXPECT_EQ(table.count(), 1u);
}

TEST(RecordTable, SortsByUpperCasedNameAndReportsWhereRecordsCameFrom) {
    RecordTable table = tableOf({namedRecord(size, "_x", 1), namedRecord(size, "beta", 2),
                                 namedRecord(size, "Alpha", 3), namedRecord(size, "ALP", 4),
                                 namedRecord(size, "\xE9t\xE9", 5), namedRecord(size, "9", 6)});
    const std::vector<std::size_t> previous = table.sortByName();
    std::vector<std::string> names;
    for (std::size_t i = 0; i < table.count(); ++i) {
        names.push_back(table.nameText(i));
        EXPECT_EQ(markOf(table, i), previous[i] + 1) << "records move whole";
    }
    EXPECT_EQ(names, (std::vector<std::string>{"9", "ALP", "Alpha", "beta", "_x", "\xE9t\xE9"}));
}

TEST(RecordTable, AddCopyAndRemoveKeepTheOtherRecordsByteForByte) {
    RecordTable table = tableOf({namedRecord(size, "A", 1), namedRecord(size, "B", 2)});
    EXPECT_EQ(table.appendNamed("New Object"), 2u);
    EXPECT_EQ(table.nameText(2), "New Object");
    EXPECT_EQ(markOf(table, 2), 0);
    EXPECT_EQ(table.appendCopy(0), 3u);
    EXPECT_TRUE(std::equal(table.record(0).begin(), table.record(0).end(), table.record(3).begin()));
    table.remove(1);
    ASSERT_EQ(table.count(), 3u);
    EXPECT_EQ(table.nameText(1), "New Object");
    EXPECT_EQ(markOf(table, 2), 1);
}

} // namespace
} // namespace keel
