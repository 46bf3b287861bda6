// SPDX-License-Identifier: MIT
#include "nations/MissionDb.h"

#include "nations/MissionBytes.h"
#include "support/FileSizeLimit.h"
#include "support/FieldChecks.h"
#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

namespace keel {
namespace {

using namespace keel::test;

const ByteVector int32Bytes{0x60, 0x79, 0xFE, 0xFF}; // -100000

std::string platformName(const Nation& nation, std::size_t classIndex, std::size_t platform) {
    return PlatformRecord::Name.read(nation.classes[classIndex].platforms[platform].record);
}

TEST(MissionRecords, EveryFieldLiesWhereTheFileFormatPutsIt) {
    EXPECT_EQ(NationRecord::Size, 264u);
    EXPECT_EQ(ClassRecord::Size, 536u);
    EXPECT_EQ(PlatformRecord::Size, 516u);
    expectTextFieldAt(NationRecord::CountryName, 264, 0, 256, "CountryName");
    expectNumberFieldAt(NationRecord::numClasses, 264, 256, -100000, int32Bytes, "numClasses");
    expectNumberFieldAt(ClassRecord::ObjType, 536, 0, -100000, int32Bytes, "ObjType");
    expectTextFieldAt(ClassRecord::Class_TagName, 536, 4, 256, "Class_TagName");
    expectTextFieldAt(ClassRecord::ClassName, 536, 260, 256, "ClassName");
    expectNumberFieldAt(ClassRecord::numObjects, 536, 528, -100000, int32Bytes, "numObjects");
    expectTextFieldAt(PlatformRecord::Platform_TagName, 516, 0, 256, "Platform_TagName");
    expectTextFieldAt(PlatformRecord::Name, 516, 256, 256, "Name");
    expectNumberFieldAt(PlatformRecord::HullNum, 516, 512, -100000, int32Bytes, "HullNum");
}

TEST(MissionRecords, DesignationHoldsNineCharactersAndNeverWritesItsLastTwoBytes) {
    ByteVector record(536, 0xEE);
    EXPECT_FALSE(ClassRecord::Designation.write(record, "ABCDEFGHIJKL", TextOverflow::Cut));
    EXPECT_EQ(ClassRecord::Designation.read(record), "ABCDEFGHI");
    EXPECT_EQ(record[525], 0);
    EXPECT_EQ(record[526], 0xEE);
    EXPECT_EQ(record[527], 0xEE);
    EXPECT_EQ(record[528], 0xEE) << "numObjects follows the designation";

    EXPECT_FALSE(ClassRecord::Designation.write(record, "0123456789", TextOverflow::Refuse));
    EXPECT_EQ(ClassRecord::Designation.read(record), "ABCDEFGHI");
    EXPECT_TRUE(ClassRecord::Designation.write(record, "DDG", TextOverflow::Refuse));
    EXPECT_EQ(record[516 + 3], 0);
    EXPECT_EQ(record[516 + 4], 'E') << "bytes after the terminator stay";

    // A file may hold a longer designation; it is read whole, up to the field's end.
    putText(record, 516, "ABCDEFGHIJK");
    EXPECT_EQ(ClassRecord::Designation.read(record), "ABCDEFGHIJK");
}

TEST(MissionRecords, OverlongTextsAreCutToTheirFieldAndSpareTheNextField) {
    ByteVector record(536, 0xEE);
    const std::string longName(300, 'n');
    EXPECT_FALSE(ClassRecord::ClassName.write(record, longName, TextOverflow::Cut));
    EXPECT_EQ(ClassRecord::ClassName.read(record), std::string(255, 'n'));
    EXPECT_EQ(record[515], 0);
    EXPECT_EQ(record[516], 0xEE);

    ByteVector nation(264, 0xEE);
    NationRecord::CountryName.write(nation, longName, TextOverflow::Cut);
    EXPECT_EQ(NationRecord::CountryName.read(nation).size(), 255u);
    EXPECT_EQ(nation[256], 0xEE) << "numClasses follows the name";
}

TEST(MissionRecords, AddGivesANewCountryWithOneSurfClassAndOnePlatform) {
    const Nation nation = newNation();
    EXPECT_EQ(NationRecord::CountryName.read(nation.record), "New Country");
    ASSERT_EQ(nation.classes.size(), 1u);
    const NationClass& added = nation.classes[0];
    EXPECT_EQ(ClassRecord::ObjType.read(added.record), 2);
    EXPECT_EQ(ClassRecord::ClassName.read(added.record), "New Class");
    EXPECT_EQ(ClassRecord::Class_TagName.read(added.record), "");
    EXPECT_EQ(ClassRecord::Designation.read(added.record), "");
    ASSERT_EQ(added.platforms.size(), 1u);
    EXPECT_EQ(PlatformRecord::Platform_TagName.read(added.platforms[0].record), "");
    EXPECT_EQ(PlatformRecord::Name.read(added.platforms[0].record), "");
    EXPECT_EQ(PlatformRecord::HullNum.read(added.platforms[0].record), -1);

    // A platform added to a ship class carries the class's object; one of aircraft does not.
    NationClass ships = newNationClass();
    ClassRecord::Class_TagName.write(ships.record, "Halberd DDG", TextOverflow::Cut);
    EXPECT_EQ(PlatformRecord::Platform_TagName.read(newPlatform(ships).record), "Halberd DDG");
    ClassRecord::ObjType.write(ships.record, 3);
    EXPECT_EQ(PlatformRecord::Platform_TagName.read(newPlatform(ships).record), "");
}

TEST(MissionDb, OneNationOfOneClassAndOnePlatformMakesA1320ByteFile) {
    const Nation nation = newNation();
    const ByteVector file = writeMissionDatabase(std::span(&nation, 1));
    EXPECT_EQ(file.size(), 1320u);
    EXPECT_EQ(int32At(file, 0), 1);
    EXPECT_EQ(int32At(file, 4 + 256), 1) << "numClasses";
    EXPECT_EQ(int32At(file, 4 + 264 + 528), 1) << "numObjects";
    EXPECT_EQ(int32At(file, 4 + 264 + 536 + 512), -1) << "HullNum";

    const MissionDatabase read = readMissionDatabase(file, "mission.db");
    EXPECT_TRUE(read.report.clean()) << read.report.text();
    ASSERT_EQ(read.nations.size(), 1u);
    EXPECT_EQ(read.nations[0].record, nation.record);
}

TEST(MissionDb, NationBlocksAreWalkedFromTheStartWhateverTheirSizes) {
    // The first nation: two classes of 3 and 1 platforms, 264 + (536 + 3 * 516) + (536 + 516)
    // bytes in all.
    const ByteVector first = joined({
        nationRecordBytes("Aldermark", 2),
        classRecordBytes(1, "Pike SSK", "Pike", "SSK", 3),
        platformRecordBytes("Pike SSK", "Pike", 401),
        platformRecordBytes("Pike SSK", "Perch", 402),
        platformRecordBytes("Pike SSK", "Tench", 403),
        classRecordBytes(3, "", "Carrier Air Wing", "", 1),
        platformRecordBytes("Falcon FA-2", "Falcon", -1),
    });
    ASSERT_EQ(first.size(), 3400u);
    const ByteVector file = joined({countBytes(2), first, simpleNationBlock("Corvasse")});

    const MissionDatabase read = readMissionDatabase(file, "mission.db");
    EXPECT_TRUE(read.report.clean()) << read.report.text();
    ASSERT_EQ(read.nations.size(), 2u);
    const Nation& aldermark = read.nations[0];
    EXPECT_EQ(nationBlockSize(aldermark), 3400u);
    ASSERT_EQ(aldermark.classes.size(), 2u);
    ASSERT_EQ(aldermark.classes[0].platforms.size(), 3u);
    ASSERT_EQ(aldermark.classes[1].platforms.size(), 1u);
    EXPECT_EQ(platformName(aldermark, 0, 2), "Tench");
    EXPECT_EQ(PlatformRecord::HullNum.read(aldermark.classes[0].platforms[2].record), 403);
    EXPECT_EQ(ClassRecord::ObjType.read(aldermark.classes[1].record), 3);
    EXPECT_EQ(platformName(aldermark, 1, 0), "Falcon");
    EXPECT_EQ(NationRecord::CountryName.read(read.nations[1].record), "Corvasse");
    EXPECT_EQ(platformName(read.nations[1], 0, 0), "Partisan");
}

TEST(MissionDb, WritingWhatWasReadGivesBackEveryByteButTheLinkSlots) {
    // Every record is filled with non-zero bytes, link slots and tails after terminators too.
    ByteVector file = joined({
        countBytes(2),
        nationRecordBytes("Aldermark", 2, 0x11),
        classRecordBytes(2, "Halberd DDG", "Halberd", "DDG", 2, 0x22),
        platformRecordBytes("Halberd DDG", "Halberd", 101, 0x33),
        platformRecordBytes("Halberd DDG", "Glaive", 103, 0x44),
        classRecordBytes(9, "", "Gunboats", "PG", 1, 0x55),
        platformRecordBytes("", "Spark", 7, 0x66),
        nationRecordBytes("Corvasse", 1, 0x77),
        classRecordBytes(1, "Grouper SSK", "Grouper", "SSK", 1, 0x88),
        platformRecordBytes("Grouper SSK", "Moray", 22, 0x99),
    });
    const MissionDatabase read = readMissionDatabase(file, "mission.db");
    ASSERT_TRUE(read.report.clean()) << read.report.text();

    ByteVector expected = file;
    for (std::size_t linkSlot :
         {4u + 260u, 4u + 264u + 532u, 4u + 264u + 536u + 2 * 516u + 532u,
          4u + 264u + 2 * 536u + 3 * 516u + 260u, 4u + 2 * 264u + 2 * 536u + 3 * 516u + 532u}) {
        ASSERT_NE(int32At(expected, linkSlot), 0);
        putInt32(expected, linkSlot, 0);
    }
    EXPECT_EQ(writeMissionDatabase(read.nations), expected);
}

TEST(MissionDb, AnEmptyFileIsAnEmptyDatabase) {
    const MissionDatabase none = readMissionDatabase({}, "mission.db");
    EXPECT_TRUE(none.nations.empty());
    EXPECT_TRUE(none.report.clean());

    const MissionDatabase zero = readMissionDatabase(countBytes(0), "mission.db");
    EXPECT_TRUE(zero.nations.empty());
    EXPECT_TRUE(zero.report.clean());
    EXPECT_EQ(writeMissionDatabase({}), countBytes(0));
}

TEST(MissionDb, AFileCutAnywhereGivesTheNationsBeforeTheCutAndNeverMore) {
    const ByteVector block = joined({nationRecordBytes("Aldermark", 2),
                                     classRecordBytes(1, "Pike SSK", "Pike", "SSK", 2),
                                     platformRecordBytes("Pike SSK", "Pike", 401),
                                     platformRecordBytes("Pike SSK", "Perch", 402),
                                     classRecordBytes(2, "Halberd DDG", "Halberd", "DDG", 1),
                                     platformRecordBytes("Halberd DDG", "Halberd", 101)});
    const ByteVector whole = joined({countBytes(3), block, block, block});
    // Each cut is read from a copy of exactly that length, so that reading past the end shows
    // under the address sanitizer.
    for (std::size_t length = 4; length < whole.size(); length += 43) {
        const ByteVector cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
        const MissionDatabase read = readMissionDatabase(cut, "mission.db");
        const std::size_t complete = (length - 4) / block.size();
        ASSERT_EQ(read.nations.size(), complete) << "cut at " << length;
        EXPECT_TRUE(read.report.lostData()) << "cut at " << length;
    }
}

TEST(MissionDb, AFileThatEndsEarlySaysWhereAndWhatWasRead) {
    const ByteVector block = simpleNationBlock("Aldermark");
    const ByteVector file = joined({countBytes(40), block, block, block});

    // Inside a platform record of the third nation.
    const ByteVector inPlatform(file.begin(), file.end() - 16);
    MissionDatabase read = readMissionDatabase(inPlatform, "mission.db");
    EXPECT_EQ(read.nations.size(), 2u);
    EXPECT_EQ(read.report.text(),
              "mission.db: nation 3 of 40 (\"Aldermark\") ends early at byte " +
                  std::to_string(inPlatform.size()) +
                  ", in platform 1 of 1 of class 1 of 1; the first 2 nations were read.");

    // Inside the nation record of the second nation: its name is not known.
    const ByteVector inNation(file.begin(),
                              file.begin() + 4 + static_cast<std::ptrdiff_t>(block.size()) + 100);
    read = readMissionDatabase(inNation, "mission.db");
    EXPECT_EQ(read.nations.size(), 1u);
    EXPECT_EQ(read.report.text(), "mission.db: nation 2 of 40 ends early at byte " +
                                      std::to_string(inNation.size()) +
                                      ", inside its nation record; the first nation was read.");

    // Exactly after the third nation, with 37 more promised.
    read = readMissionDatabase(file, "/data/mission.db");
    EXPECT_EQ(read.nations.size(), 3u);
    EXPECT_EQ(read.report.text(), "/data/mission.db says it holds 40 nations, but its data ends "
                                  "at byte " +
                                      std::to_string(file.size()) +
                                      ", after nation 3; the first 3 nations were read.");
}

TEST(MissionDb, OnlyTheNationsKeptHaveTheirRepairsTold) {
    // The second nation's first class has no platform, and the data ends in its second class:
    // the nation is not kept, so the report tells its loss and no repair of it.
    const ByteVector lostNation =
        joined({nationRecordBytes("Corvasse", 2), classRecordBytes(2, "", "Corsair", "FFG", 0),
                classRecordBytes(1, "", "Grouper", "SSK", 1)});
    const ByteVector file = joined({countBytes(2), simpleNationBlock("Aldermark"), lostNation});
    const ByteVector cut(file.begin(), file.end() - 100);
    MissionDatabase read = readMissionDatabase(cut, "mission.db");
    EXPECT_EQ(read.nations.size(), 1u);
    EXPECT_EQ(read.report.repairCount(), 0u);
    EXPECT_EQ(read.report.text(), "mission.db: nation 2 of 2 (\"Corvasse\") ends early at byte " +
                                      std::to_string(cut.size()) +
                                      ", in class 2 of 2; the first nation was read.");

    // Read whole, the same nation is kept and its repair told.
    read = readMissionDatabase(joined({file, platformRecordBytes("", "Moray", 22)}), "mission.db");
    EXPECT_EQ(read.nations.size(), 2u);
    EXPECT_FALSE(read.report.lostData());
    EXPECT_EQ(read.report.text(), "mission.db: class 1 (\"Corsair\") of nation 2 (\"Corvasse\") "
                                  "has no platform; it was given one without a name, with hull "
                                  "number -1.");

    // The repairs of one nation count towards the ten listed as those of several nations do.
    ByteVector manyClasses = joined({countBytes(2), nationRecordBytes("Tessaly", 12)});
    for (int i = 0; i < 12; ++i) {
        const ByteVector empty = classRecordBytes(2, "", "C" + std::to_string(i), "", 0);
        manyClasses.insert(manyClasses.end(), empty.begin(), empty.end());
    }
    const ByteVector noClasses = nationRecordBytes("Ostrava", 0);
    manyClasses.insert(manyClasses.end(), noClasses.begin(), noClasses.end());
    read = readMissionDatabase(manyClasses, "mission.db");
    EXPECT_EQ(read.nations.size(), 2u);
    EXPECT_EQ(read.report.repairCount(), 13u);
    const std::string text = read.report.text();
    EXPECT_NE(text.find("class 10 (\"C9\")"), std::string::npos) << text;
    EXPECT_EQ(text.find("(\"C10\")"), std::string::npos) << text;
    EXPECT_TRUE(text.ends_with("\n3 more repairs like these were made.")) << text;
}

TEST(MissionDb, CountsThatCannotBeRightStopTheReading) {
    for (std::size_t length : {1u, 2u, 3u}) {
        const MissionDatabase read = readMissionDatabase(ByteVector(length, 1), "mission.db");
        EXPECT_TRUE(read.nations.empty());
        EXPECT_TRUE(read.report.lostData());
        EXPECT_NE(read.report.text().find("only " + std::to_string(length) + " byte"),
                  std::string::npos);
    }

    const ByteVector block = simpleNationBlock("Aldermark");
    MissionDatabase read = readMissionDatabase(joined({countBytes(-3), block}), "mission.db");
    EXPECT_TRUE(read.nations.empty());
    EXPECT_EQ(read.report.text(),
              "mission.db gives its number of nations as -3, which cannot be; no nations were "
              "read.");

    // A negative class count: what follows the nation record cannot be found.
    const ByteVector badClasses =
        joined({countBytes(3), block, nationRecordBytes("Corvasse", -1), block});
    read = readMissionDatabase(badClasses, "mission.db");
    EXPECT_EQ(read.nations.size(), 1u);
    EXPECT_TRUE(read.report.lostData());
    EXPECT_NE(read.report.text().find("nation 2 of 3 (\"Corvasse\") gives its number of classes "
                                      "as -1"),
              std::string::npos)
        << read.report.text();

    const ByteVector badPlatforms = joined({countBytes(2), block, nationRecordBytes("Corvasse", 1),
                                            classRecordBytes(2, "", "Corsair", "FFG", -7), block});
    read = readMissionDatabase(badPlatforms, "mission.db");
    EXPECT_EQ(read.nations.size(), 1u);
    EXPECT_NE(read.report.text().find("platforms of its class 1 of 1 (\"Corsair\") as -7"),
              std::string::npos)
        << read.report.text();

    // A huge count is no reason to reserve memory for it: reading ends with the data.
    read = readMissionDatabase(joined({countBytes(0x7FFFFFFF), block}), "mission.db");
    EXPECT_EQ(read.nations.size(), 1u);
    EXPECT_TRUE(read.report.lostData());
}

TEST(MissionDb, NationsWithoutClassesAndClassesWithoutPlatformsAreRepairedAsRead) {
    const ByteVector file = joined({
        countBytes(3),
        nationRecordBytes("Aldermark", 0),
        nationRecordBytes("Corvasse", 2),
        classRecordBytes(1, "Grouper SSK", "Grouper", "SSK", 0),
        classRecordBytes(3, "", "Naval Aviation", "", 0),
        simpleNationBlock("Tessaly Union"),
    });
    const MissionDatabase read = readMissionDatabase(file, "mission.db");
    ASSERT_EQ(read.nations.size(), 3u) << read.report.text();
    EXPECT_FALSE(read.report.lostData());
    EXPECT_EQ(read.report.repairCount(), 3u);
    EXPECT_EQ(read.report.text(),
              "mission.db: nation 1 (\"Aldermark\") has no class; it was given one Surf class "
              "\"New Class\" with one platform.\n"
              "mission.db: class 1 (\"Grouper\") of nation 2 (\"Corvasse\") has no platform; it "
              "was given one without a name, with hull number -1.\n"
              "mission.db: class 2 (\"Naval Aviation\") of nation 2 (\"Corvasse\") has no "
              "platform; it was given one without a name, with hull number -1.");

    const Nation& aldermark = read.nations[0];
    ASSERT_EQ(aldermark.classes.size(), 1u);
    EXPECT_EQ(ClassRecord::ClassName.read(aldermark.classes[0].record), "New Class");
    EXPECT_EQ(aldermark.classes[0].platforms.size(), 1u);

    const Nation& corvasse = read.nations[1];
    ASSERT_EQ(corvasse.classes.size(), 2u);
    ASSERT_EQ(corvasse.classes[0].platforms.size(), 1u);
    EXPECT_EQ(PlatformRecord::Platform_TagName.read(corvasse.classes[0].platforms[0].record),
              "Grouper SSK");
    EXPECT_EQ(PlatformRecord::HullNum.read(corvasse.classes[0].platforms[0].record), -1);
    EXPECT_EQ(PlatformRecord::Platform_TagName.read(corvasse.classes[1].platforms[0].record), "");
    EXPECT_EQ(platformName(read.nations[2], 0, 0), "Partisan");

    // The repaired nations are written with the counts of what they now hold.
    const MissionDatabase again = readMissionDatabase(writeMissionDatabase(read.nations), "x");
    EXPECT_TRUE(again.report.clean()) << again.report.text();
}

TEST(MissionDb, ManyRepairsAreListedUpToTenAndCountedBeyond) {
    ByteVector file = countBytes(25);
    for (int i = 0; i < 25; ++i) {
        const ByteVector nation = nationRecordBytes("N" + std::to_string(i), 0);
        file.insert(file.end(), nation.begin(), nation.end());
    }
    const MissionDatabase read = readMissionDatabase(file, "mission.db");
    EXPECT_EQ(read.nations.size(), 25u);
    EXPECT_EQ(read.report.repairCount(), 25u);
    const std::string text = read.report.text();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 10);
    EXPECT_NE(text.find("(\"N9\")"), std::string::npos);
    EXPECT_EQ(text.find("(\"N10\")"), std::string::npos);
    EXPECT_TRUE(text.ends_with("\n15 more repairs like these were made.")) << text;
}

TEST(MissionDb, BytesAfterTheLastNationAreReportedAndLeftOut) {
    const ByteVector file =
        joined({countBytes(1), simpleNationBlock("Aldermark"), ByteVector(7, 1)});
    const MissionDatabase read = readMissionDatabase(file, "mission.db");
    EXPECT_EQ(read.nations.size(), 1u);
    EXPECT_EQ(read.report.text(), "mission.db holds 7 bytes beyond its 1 nation, from byte 1320, "
                                  "that belong to no nation; they were left out.");
}

class NationExchange : public ::testing::Test {
protected:
    TemporaryDirectory directory;
    std::filesystem::path file = directory / "export.db";
};

TEST_F(NationExchange, ExportingTheSameNationTwiceToANewFileGivesTwoEqualBlocks) {
    Nation nation = newNation();
    NationRecord::CountryName.write(nation.record, "Aldermark", TextOverflow::Cut);
    nation.classes.push_back(newNationClass());

    ExchangeAppend appended = appendNationToExchangeFile(file, nation);
    ASSERT_TRUE(appended.ok()) << appended.error;
    EXPECT_EQ(appended.count, 1);
    appended = appendNationToExchangeFile(file, nation);
    ASSERT_TRUE(appended.ok()) << appended.error;
    EXPECT_EQ(appended.count, 2);

    const ByteVector bytes = readFile(file);
    const std::size_t block = nationBlockSize(nation);
    ASSERT_EQ(bytes.size(), 4 + 2 * block);
    EXPECT_EQ(int32At(bytes, 0), 2);
    EXPECT_TRUE(std::equal(bytes.begin() + 4,
                           bytes.begin() + 4 + static_cast<std::ptrdiff_t>(block),
                           bytes.begin() + 4 + static_cast<std::ptrdiff_t>(block)));
    // An exchange file is a mission database.
    const MissionDatabase read = readMissionDatabase(bytes, file.string());
    EXPECT_TRUE(read.report.clean()) << read.report.text();
    EXPECT_EQ(read.nations.size(), 2u);
}

TEST_F(NationExchange, ExportingToAMissionDatabaseRaisesItsCountAndKeepsItsBlocks) {
    const ByteVector existing =
        joined({countBytes(2), simpleNationBlock("Aldermark"), simpleNationBlock("Corvasse")});
    writeFile(file, existing);
    const ExchangeAppend appended = appendNationToExchangeFile(file, newNation());
    ASSERT_TRUE(appended.ok()) << appended.error;
    EXPECT_EQ(appended.count, 3);

    const ByteVector bytes = readFile(file);
    EXPECT_EQ(int32At(bytes, 0), 3);
    EXPECT_TRUE(std::equal(existing.begin() + 4, existing.end(), bytes.begin() + 4));
    const MissionDatabase read = readMissionDatabase(bytes, "export.db");
    ASSERT_EQ(read.nations.size(), 3u);
    EXPECT_EQ(NationRecord::CountryName.read(read.nations[2].record), "New Country");

    // A file of no bytes is an empty exchange file.
    writeFile(file, {});
    EXPECT_EQ(appendNationToExchangeFile(file, newNation()).count, 1);
}

TEST_F(NationExchange, ADamagedOrUnwritableFileIsLeftAsItWas) {
    const ByteVector damaged = joined({countBytes(5), simpleNationBlock("Aldermark")});
    writeFile(file, damaged);
    ExchangeAppend appended = appendNationToExchangeFile(file, newNation());
    EXPECT_FALSE(appended.ok());
    EXPECT_NE(appended.error.find("Nothing was written to " + file.string()), std::string::npos);
    EXPECT_NE(appended.error.find("says it holds 5 nations"), std::string::npos);
    EXPECT_EQ(readFile(file), damaged);
    // What is wrong with the file, not what a reading of it would have kept.
    EXPECT_EQ(appended.error, "Nothing was written to " + file.string() +
                                  ", because it is damaged:\n" + file.string() +
                                  " says it holds 5 nations, but its data ends at byte 1320, after "
                                  "nation 1.");

    // A path under a regular file cannot be created, even by root.
    appended = appendNationToExchangeFile(file / "inside.db", newNation());
    EXPECT_EQ(appended.error, "Cannot create file " + (file / "inside.db").string());

    std::filesystem::create_directory(directory / "folder.db");
    appended = appendNationToExchangeFile(directory / "folder.db", newNation());
    EXPECT_EQ(appended.error, "Cannot open file " + (directory / "folder.db").string());

    const ByteVector sound = joined({countBytes(1), simpleNationBlock("Aldermark")});
    writeFile(file, sound);
    {
        FileSizeLimit limit(sound.size() + 100);
        appended = appendNationToExchangeFile(file, newNation());
    }
    EXPECT_EQ(appended.error, "Stream write error");
    EXPECT_EQ(readFile(file), sound);
}

} // namespace
} // namespace keel
