// SPDX-License-Identifier: MIT
#include "editor/RecordTable.h"

#include "common/Checks.h"
#include "common/NameCompare.h"
#include "objects/ObjectRecord.h"
#include "pickers/ListFiles.h"
#include "support/RecordBytes.h"

#include <gtest/gtest.h>

#include <random>
#include <utility>

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

namespace keel {
namespace {

// The working copy as a plain list of records, against which the table's shared reading of its
// master and its in-place sort are checked.
class PlainRecords {
public:
    explicit PlainRecords(const ByteVector& file) {
        for (std::size_t at = 0; at + size <= file.size(); at += size) {
            records_.emplace_back(file.begin() + static_cast<std::ptrdiff_t>(at),
                                  file.begin() + static_cast<std::ptrdiff_t>(at + size));
        }
    }
    std::vector<ByteVector>& records() { return records_; }
    ByteVector bytes() const {
        ByteVector all;
        for (const ByteVector& record : records_) {
            all.insert(all.end(), record.begin(), record.end());
        }
        return all;
    }

private:
    std::vector<ByteVector> records_;
};

ByteVector randomFile(std::mt19937& random, std::size_t records, std::size_t trailing) {
    static const std::vector<std::string> names{"alpha", "Alpha", "BETA", "gamma", "Delta", "delta", "e"};
    ByteVector file;
    for (std::size_t i = 0; i < records; ++i) {
        const ByteVector record = namedRecord(size, names[random() % names.size()], static_cast<Byte>(random()));
        file.insert(file.end(), record.begin(), record.end());
    }
    file.resize(file.size() + trailing, 0x77);
    return file;
}

bool inNameOrder(const RecordTable& table) {
    for (std::size_t i = 1; i < table.count(); ++i) {
        if (editorNameKey(table.name(i - 1)) > editorNameKey(table.name(i))) {
            return false;
        }
    }
    return true;
}

TEST(RecordTableWorkingCopy, ReadsInItsMasterUntilItChangesAndNeverWritesItButByCommit) {
    std::mt19937 random(20261208);
    for (int round = 0; round < 300; ++round) {
        ByteVector master = randomFile(random, random() % 12, random() % 3 == 0 ? 7 : 0);
        const ByteVector loaded = master;
        RecordTable table(size, nameField);
        table.takeFrom(master);
        PlainRecords plain(master);
        ASSERT_TRUE(table.readsIn(master));
        ASSERT_EQ(table.fileBytes(), plain.bytes());

        for (int step = 0; step < 8; ++step) {
            const std::size_t count = table.count();
            switch (random() % 8) {
            case 0:
                table.appendNamed("Added");
                plain.records().push_back(namedRecord(size, "Added", 0));
                break;
            case 1:
                if (count > 0) {
                    const std::size_t index = random() % count;
                    table.appendCopy(index);
                    plain.records().push_back(plain.records()[index]);
                }
                break;
            case 2:
                if (count > 0) {
                    const std::size_t index = random() % count;
                    table.remove(index);
                    plain.records().erase(plain.records().begin() + static_cast<std::ptrdiff_t>(index));
                }
                break;
            case 3:
                if (count > 0) {
                    const std::size_t index = random() % count;
                    const Byte mark = static_cast<Byte>(random());
                    table.record(index)[size - 1] = mark;
                    plain.records()[index][size - 1] = mark;
                }
                break;
            case 4: {
                const std::vector<std::size_t> previous = table.sortByName();
                ASSERT_TRUE(inNameOrder(table));
                std::vector<ByteVector> moved;
                for (std::size_t from : previous) {
                    moved.push_back(plain.records()[from]);
                }
                plain.records() = moved;
                break;
            }
            case 5: {
                // A table that is read, only, still reads in its master.
                const bool shared = table.readsIn(master);
                for (std::size_t i = 0; i < count; ++i) {
                    (void)std::as_const(table).record(i);
                }
                ASSERT_EQ(table.readsIn(master), shared);
                break;
            }
            case 6:
                // A name written in place, as an editor's name box does: a table that knew it
                // was in order must look again at its next sort.
                if (count > 0) {
                    const std::size_t index = random() % count;
                    const std::string name = random() % 2 == 0 ? "Aardvark" : "zulu";
                    nameField.write(table.record(index), name, TextOverflow::Cut);
                    nameField.write(plain.records()[index], name, TextOverflow::Cut);
                }
                break;
            case 7:
                table.learnOrder();
                break;
            }
            ASSERT_EQ(master, loaded) << "the master changes only when the work is committed";
            ASSERT_EQ(table.fileBytes(), plain.bytes());
        }
        table.commitTo(master);
        ASSERT_EQ(master, plain.bytes());
        // Whether the commit copied or kept the master's memory, the table still holds its work.
        ASSERT_EQ(table.fileBytes(), plain.bytes());
    }
}

TEST(RecordTableWorkingCopy, ASortOfRecordsInOrderMovesNothing) {
    ByteVector master = concatenated({namedRecord(size, "alpha", 1), namedRecord(size, "Beta", 2),
                                      namedRecord(size, "beta", 3), namedRecord(size, "Gamma", 4)});
    const ByteVector loaded = master;
    RecordTable table(size, nameField);
    table.takeFrom(master);
    EXPECT_EQ(table.sortByName(), (std::vector<std::size_t>{0, 1, 2, 3}));
    EXPECT_TRUE(table.readsIn(master));
    table.commitTo(master);
    EXPECT_EQ(master, loaded);
}

} // namespace
} // namespace keel

namespace keel {
namespace {

// An index that names no record is refused in release builds too, before any byte is touched:
// a slot value or a list position read from a file can be anything.
TEST(RecordTableChecks, AnIndexBeyondTheRecordsIsRefusedInEveryBuild) {
    RecordTable table = tableOf({namedRecord(size, "A", 1), namedRecord(size, "B", 2)});
    EXPECT_THROW((void)std::as_const(table).record(2), BrokenCheck);
    EXPECT_THROW((void)table.record(7), BrokenCheck);
    EXPECT_THROW(table.remove(2), BrokenCheck);
    EXPECT_THROW(table.appendCopy(2), BrokenCheck);
    EXPECT_THROW(table.overwrite(0, ByteVector(size - 1, 0)), BrokenCheck);
    EXPECT_EQ(table.count(), 2u);
    EXPECT_EQ(markOf(table, 1), 2);

    const ByteVector sensors(2 * sensorListFormat.recordSize, 0);
    const NamedList list(sensorListFormat, sensors);
    EXPECT_THROW((void)list.name(2), BrokenCheck);
    EXPECT_THROW((void)ObjectRecord::LauncherSlots.read(ByteVector(ObjectRecord::Size, 0), 30), BrokenCheck);
}

} // namespace
} // namespace keel
