// SPDX-License-Identifier: MIT
// The lossless model of a file: what it reads as records and as trailing bytes, whole or
// damaged, and that it writes back what it read.
#include "nations/MissionDb.h"
#include "text/LosslessFile.h"

#include <gtest/gtest.h>

#include <variant>

namespace keel {
namespace {

ByteVector int32Bytes(std::int32_t value) {
    ByteVector bytes(4);
    storeLittleEndian<std::int32_t>(bytes, value);
    return bytes;
}

ByteVector joined(std::initializer_list<ByteVector> pieces) {
    ByteVector all;
    for (const ByteVector& piece : pieces) {
        all.insert(all.end(), piece.begin(), piece.end());
    }
    return all;
}

// A nation record counting `classes`, a class record counting `platforms`, a platform record.
ByteVector nationRecord(std::int32_t classes) {
    ByteVector record(NationRecord::Size, 'n');
    NationRecord::numClasses.write(record, classes);
    return record;
}
ByteVector classRecord(std::int32_t platforms) {
    ByteVector record(ClassRecord::Size, 'c');
    ClassRecord::numObjects.write(record, platforms);
    return record;
}
ByteVector platformRecord() { return ByteVector(PlatformRecord::Size, 'p'); }

struct Shape {
    const char* what;
    RecordKind kind;
    ByteVector bytes;
    std::size_t records;          // of the top level, read whole
    std::size_t childrenOfFirst;  // classes of the first nation
    std::optional<std::int32_t> storedCount;
    std::size_t trailing;
    bool hasCount = true;
};

TEST(LosslessFile, ReadsWhatIsWholeAndKeepsTheRestAsTrailingBytes) {
    const ByteVector wholeNation = joined({nationRecord(2), classRecord(1), platformRecord(), classRecord(0)});
    const std::size_t nationSize = wholeNation.size();
    const Shape shapes[] = {
        {"objects with an incomplete record", RecordKind::Objects, ByteVector(284 * 3 + 5, 1), 3, 0, {}, 5},
        {"sensors", RecordKind::Sensors, ByteVector(152 * 2, 'S'), 2, 0, {}, 0},
        {"no bytes at all", RecordKind::Nations, {}, 0, 0, {}, 0, false},
        {"too short for a count", RecordKind::Nations, {1, 0}, 0, 0, {}, 2, false},
        {"a sound nation", RecordKind::Nations, joined({int32Bytes(1), wholeNation}), 1, 2, {}, 0},
        {"a nation without classes", RecordKind::Nations, joined({int32Bytes(1), nationRecord(0)}), 1, 0, {}, 0},
        {"a negative count", RecordKind::Nations, joined({int32Bytes(-1), wholeNation}), 0, 0, -1, nationSize},
        {"more counted than held", RecordKind::Nations, joined({int32Bytes(3), wholeNation}), 1, 2, 3, 0},
        {"a count of two billion in a few bytes", RecordKind::Nations, joined({int32Bytes(2000000000), ByteVector(96)}),
         0, 0, 2000000000, 96},
        {"a nation of two billion classes", RecordKind::Nations,
         joined({int32Bytes(2), wholeNation, nationRecord(2000000000), classRecord(0)}), 1, 2, 2,
         NationRecord::Size + ClassRecord::Size},
        {"a class with a negative count", RecordKind::Nations,
         joined({int32Bytes(2), wholeNation, nationRecord(1), classRecord(-5)}), 1, 2, 2,
         NationRecord::Size + ClassRecord::Size},
        {"a block cut short", RecordKind::Nations, joined({int32Bytes(1), ByteVector(wholeNation.begin(), wholeNation.end() - 1)}),
         0, 0, 1, nationSize - 1},
        {"bytes after the counted blocks", RecordKind::Nations, joined({int32Bytes(1), wholeNation, {7, 7, 7}}), 1, 2, {}, 3},
        {"a carrier with aircraft", RecordKind::Carriers,
         joined({int32Bytes(1), [] {
                     ByteVector carrier(520, 'c');
                     storeLittleEndian<std::int32_t>(ByteSpan(carrier).subspan(512, 4), 2);
                     return carrier;
                 }(),
                 ByteVector(772 * 2, 'a')}),
         1, 2, {}, 0},
    };
    for (const Shape& shape : shapes) {
        SCOPED_TRACE(shape.what);
        const LosslessFile file = readLosslessFile(shape.kind, shape.bytes);
        ASSERT_EQ(file.records.size(), shape.records);
        if (shape.records > 0) {
            EXPECT_EQ(file.records[0].children.size(), shape.childrenOfFirst);
        }
        EXPECT_EQ(file.storedCount, shape.storedCount);
        EXPECT_EQ(file.trailing.size(), shape.trailing);
        EXPECT_EQ(file.hasCount, shape.hasCount);
        EXPECT_EQ(writeLosslessFile(file), shape.bytes);
    }
}

TEST(LosslessFile, CountsFollowTheNestedRecordsWhenWritten) {
    LosslessFile file = readLosslessFile(
        RecordKind::Nations, joined({int32Bytes(1), nationRecord(1), classRecord(1), platformRecord()}));
    file.records[0].children[0].children.push_back({platformRecord(), {}});
    file.records.push_back({nationRecord(9), {}});
    const ByteVector written = writeLosslessFile(file);
    const MissionDatabase read = readMissionDatabase(written, "mission.db");
    EXPECT_FALSE(read.report.lostData()) << read.report.text();
    ASSERT_EQ(read.nations.size(), 2u);
    EXPECT_EQ(read.nations[0].classes[0].platforms.size(), 2u);
    const std::size_t secondNation = 4 + NationRecord::Size + ClassRecord::Size + 2 * PlatformRecord::Size;
    EXPECT_EQ(NationRecord::numClasses.read(ConstByteSpan(written).subspan(secondNation, NationRecord::Size)), 0);
}

TEST(RecordKinds, FileNamesAndExtensionsGiveTheirKind) {
    const std::pair<const char*, std::variant<RecordKind, std::string>> names[] = {
        {"dir/OBJECTS.ODB", RecordKind::Objects},
        {"mod/Launcher.ldb", RecordKind::Launchers},
        {"3dobjects.3db", RecordKind::ThreeDObjects},
        {"Mission.db", RecordKind::Nations},
        {"shipbasedaircraft.db", RecordKind::Carriers},
        {"x/sensors.sdb", RecordKind::Sensors},
        {"airstrip.adb", RecordKind::Airstrips},
        {"frigates.odb", RecordKind::Objects},
        {"abc123_3dobjects.3DB", RecordKind::ThreeDObjects},
        {"navy.db", std::string("navy.db: a .db file may hold nations or carriers; give --kind nations or --kind carriers")},
        {"notes.txt", std::string("notes.txt: cannot tell its kind from its name; give --kind (objects, launchers, "
                                  "3dobjects, nations, carriers, sensors, airstrips)")},
    };
    for (const auto& [name, expected] : names) {
        EXPECT_EQ(recordKindOfFile(name), expected) << name;
    }
    EXPECT_EQ(recordKindFor("navy.db", RecordKind::Carriers), (std::variant<RecordKind, std::string>(RecordKind::Carriers)));
    for (const RecordKindInfo& kind : recordKinds()) {
        EXPECT_EQ(recordKindNamed(kind.name), kind.kind);
    }
}

} // namespace
} // namespace keel
