// SPDX-License-Identifier: MIT
#include "nations/NationList.h"

#include "nations/MissionBytes.h"
#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

namespace keel {
namespace {

using namespace keel::test;

// A nation of one Sub class whose platform carries `hull`, so that a test can tell nations of
// the same name apart.
ByteVector markedNationBlock(std::string_view name, std::int32_t hull) {
    return joined({nationRecordBytes(name, 1), classRecordBytes(1, "Pike SSK", "Pike", "SSK", 1),
                   platformRecordBytes("Pike SSK", "Pike", hull)});
}

NationList listOf(std::initializer_list<ByteVector> blocks) {
    NationList list;
    list.assign(countedFile(blocks));
    EXPECT_TRUE(list.readReport().clean()) << list.readReport().text();
    return list;
}

std::int32_t hullOf(const NationList& list, std::size_t index) {
    return PlatformRecord::HullNum.read(list.nation(index).classes.at(0).platforms.at(0).record);
}

std::vector<std::string> namesOf(const NationList& list) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < list.count(); ++i) {
        names.push_back(list.nameText(i));
    }
    return names;
}

using Names = std::vector<std::string>;

// Two classes of 3 and 1 platforms, every record filled with odd bytes after its texts.
const ByteVector aldermark = joined({
    nationRecordBytes("Aldermark", 2, 0x11),
    classRecordBytes(1, "Pike SSK", "Pike", "SSK", 3, 0x22),
    platformRecordBytes("Pike SSK", "Pike", 401, 0x33),
    platformRecordBytes("Pike SSK", "Perch", 402, 0x44),
    platformRecordBytes("Pike SSK", "Tench", 403, 0x55),
    classRecordBytes(3, "", "Carrier Air Wing", "", 1, 0x66),
    platformRecordBytes("Falcon FA-2", "Falcon", -1, 0x77),
});

TEST(NationList, WritingWhatWasLoadedGivesBackEveryByteButTheLinkSlots) {
    const ByteVector file = countedFile({aldermark, simpleNationBlock("Corvasse")});
    NationList list;
    list.assign(file);
    ASSERT_TRUE(list.readReport().clean()) << list.readReport().text();
    EXPECT_EQ(namesOf(list), (Names{"Aldermark", "Corvasse"}));

    ByteVector expected = file;
    const std::size_t corvasse = 4 + aldermark.size();
    const std::size_t linkSlots[] = {4 + 260, 4 + 264 + 532, 4 + 264 + 536 + 3 * 516 + 532,
                                     corvasse + 260, corvasse + 264 + 532};
    for (std::size_t linkSlot : linkSlots) {
        ASSERT_NE(int32At(expected, linkSlot), 0);
        putInt32(expected, linkSlot, 0);
    }
    EXPECT_EQ(list.fileBytes(), expected);

    // Nations are referred to by position: the editor never reorders them.
    list.assign(countedFile({simpleNationBlock("Corvasse"), simpleNationBlock("Aldermark")}));
    EXPECT_EQ(list.sortByName(), (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(namesOf(list), (Names{"Corvasse", "Aldermark"}));

    // A damaged master gives the nations that were read whole, in place of what was held.
    ByteVector cut = countedFile({simpleNationBlock("Tessaly"), aldermark});
    cut.resize(cut.size() - 10);
    list.assign(cut);
    EXPECT_EQ(namesOf(list), (Names{"Tessaly"}));
    EXPECT_TRUE(list.readReport().lostData());
}

TEST(NationList, AddAppendsANewCountryAndCutsAnOverlongName) {
    NationList list;
    ByteVector file = countBytes(8);
    for (int i = 0; i < 8; ++i) {
        const ByteVector block = simpleNationBlock("Nation " + std::to_string(i + 1));
        file.insert(file.end(), block.begin(), block.end());
    }
    list.assign(file);

    ASSERT_EQ(list.appendNamed("New Country"), 8u);
    EXPECT_EQ(list.count(), 9u);
    EXPECT_EQ(list.nameText(8), "New Country");
    const Nation& added = list.nation(8);
    ASSERT_EQ(added.classes.size(), 1u);
    EXPECT_EQ(ClassRecord::ObjType.read(added.classes[0].record), 2);
    EXPECT_EQ(ClassRecord::ClassName.read(added.classes[0].record), "New Class");
    ASSERT_EQ(added.classes[0].platforms.size(), 1u);
    EXPECT_EQ(hullOf(list, 8), -1);

    const std::size_t longer = list.appendNamed(std::string(300, 'x'));
    EXPECT_EQ(list.nameText(longer), std::string(255, 'x'));
    EXPECT_EQ(NationRecord::numClasses.read(list.nation(longer).record), 1)
        << "the name spilled into the class count";

    // A short name leaves nothing of the default one behind its terminator.
    const ByteVector block = list.snapshot(list.appendNamed("Ys"));
    EXPECT_TRUE(std::all_of(block.begin() + 2, block.begin() + 256, [](Byte b) { return b == 0; }));
}

TEST(NationList, ACopyIsDeepAndDeletingMovesTheLaterNationsUp) {
    NationList list = listOf({aldermark, simpleNationBlock("Corvasse")});
    const ByteVector original = list.snapshot(0);

    ASSERT_EQ(list.appendCopy(0), 2u);
    ASSERT_EQ(list.snapshot(2), original);
    Nation& copy = list.nation(2);
    ClassRecord::ClassName.write(copy.classes[0].record, "Changed", TextOverflow::Cut);
    PlatformRecord::Name.write(copy.classes[0].platforms[1].record, "Changed", TextOverflow::Cut);
    copy.classes[1].platforms.push_back(newPlatform(copy.classes[1]));
    EXPECT_EQ(list.snapshot(0), original);

    list.remove(0);
    EXPECT_EQ(namesOf(list), (Names{"Corvasse", "Aldermark"}));
    EXPECT_EQ(list.nation(1).classes[1].platforms.size(), 2u) << "the copy moved up";
}

TEST(NationList, RestorePutsTheSnapshotBackWhateverWasResizedSince) {
    NationList list = listOf({simpleNationBlock("Corvasse"), aldermark});
    const ByteVector taken = list.snapshot(1);
    const ByteVector other = list.snapshot(0);

    // More classes, fewer platforms, new names.
    Nation& changed = list.nation(1);
    NationRecord::CountryName.write(changed.record, "Renamed", TextOverflow::Cut);
    changed.classes.push_back(newNationClass());
    changed.classes[0].platforms.resize(1);
    ClassRecord::ClassName.write(changed.classes[0].record, "Renamed", TextOverflow::Cut);
    PlatformRecord::Name.write(changed.classes[1].platforms[0].record, "Renamed",
                               TextOverflow::Cut);
    list.restore(1, taken);
    EXPECT_EQ(list.snapshot(1), taken);
    EXPECT_EQ(list.nameText(1), "Aldermark");
    ASSERT_EQ(list.nation(1).classes.size(), 2u);
    EXPECT_EQ(list.nation(1).classes[0].platforms.size(), 3u);

    // Fewer classes, more platforms.
    list.nation(1).classes.resize(1);
    list.nation(1).classes[0].platforms.push_back(newPlatform(list.nation(1).classes[0]));
    list.restore(1, taken);
    EXPECT_EQ(list.snapshot(1), taken);
    EXPECT_EQ(list.snapshot(0), other);
    EXPECT_EQ(list.fileBytes(), countedFile({other, taken}));

    // Bytes that hold no whole nation block change nothing.
    list.restore(1, ConstByteSpan(taken).first(taken.size() - 1));
    EXPECT_EQ(list.snapshot(1), taken);
}

TEST(NationListImport, MatchesEarlierNationsByNameIgnoringLetterCaseAndAppendsTheRest) {
    NationList list = listOf({markedNationBlock("Aldermark", 1), markedNationBlock("FRANCE", 2),
                              markedNationBlock("Corvasse", 3)});
    RecordCollection::ImportReport report =
        list.import(countedFile({markedNationBlock("France", 10), markedNationBlock("Chile", 11)}));
    EXPECT_EQ(report.names, (Names{"France", "Chile"}));
    EXPECT_EQ(report.problem, "");
    EXPECT_EQ(namesOf(list), (Names{"Aldermark", "France", "Corvasse", "Chile"}));
    EXPECT_EQ(hullOf(list, 1), 10);
    EXPECT_EQ(hullOf(list, 3), 11);

    // Both match: nothing is added.
    list.import(countedFile({markedNationBlock("chile", 20), markedNationBlock("corvasse", 21)}));
    EXPECT_EQ(namesOf(list), (Names{"Aldermark", "France", "corvasse", "chile"}));
    EXPECT_EQ(hullOf(list, 2), 21);
    EXPECT_EQ(hullOf(list, 3), 20);

    // The first matches, the second is added; only ASCII letters fold, so the accented
    // capital (windows-1252) is another name.
    list.import(countedFile({markedNationBlock("ALDERMARK", 30), markedNationBlock("\xC9ire", 31),
                        markedNationBlock("\xE9IRE", 32)}));
    EXPECT_EQ(namesOf(list),
              (Names{"ALDERMARK", "France", "corvasse", "chile", "\xC9ire", "\xE9IRE"}));
    EXPECT_EQ(hullOf(list, 0), 30);
}

TEST(NationListImport, EveryEarlierNationOfTheNameEndsAsTheLastImportedOne) {
    NationList list = listOf({markedNationBlock("Chile", 1), markedNationBlock("Aldermark", 2),
                              markedNationBlock("CHILE", 3)});
    const ByteVector chile = joined(
        {nationRecordBytes("chile", 2), classRecordBytes(2, "", "Almirante", "DD", 2),
         platformRecordBytes("", "Riveros", 18), platformRecordBytes("", "Williams", 19),
         classRecordBytes(3, "", "Naval Aviation", "", 1), platformRecordBytes("", "Orion", -1)});
    list.import(
        countedFile({markedNationBlock("ALDERMARK", 10), chile, markedNationBlock("Aldermark", 11),
                markedNationBlock("Peru", 12), markedNationBlock("PERU", 13)}));

    // Appended nations are not compared with each other.
    EXPECT_EQ(namesOf(list), (Names{"chile", "Aldermark", "chile", "Peru", "PERU"}));
    EXPECT_EQ(hullOf(list, 1), 11);
    const ByteVector chileAsWritten = listOf({chile}).snapshot(0);
    EXPECT_EQ(list.snapshot(0), chileAsWritten);
    EXPECT_EQ(list.snapshot(2), chileAsWritten);

    // What one file appended is present before the next.
    list.import(countedFile({markedNationBlock("peru", 20)}));
    EXPECT_EQ(namesOf(list), (Names{"chile", "Aldermark", "chile", "peru", "peru"}));
}

TEST(NationListImport, ADamagedFileGivesItsWholeNationsAndSaysWhatWasLost) {
    const ByteVector promised =
        joined({countBytes(3), markedNationBlock("Aldermark", 10), markedNationBlock("Chile", 11)});
    NationList list = listOf({markedNationBlock("ALDERMARK", 1)});
    RecordCollection::ImportReport report = list.import(promised);
    EXPECT_EQ(report.names, (Names{"Aldermark", "Chile"}));
    EXPECT_EQ(report.problem, "This file says it holds 3 nations, but its data ends at byte " +
                                  std::to_string(promised.size()) +
                                  ", after nation 2; the first 2 nations were read.");
    EXPECT_EQ(namesOf(list), (Names{"Aldermark", "Chile"}));
    EXPECT_EQ(hullOf(list, 0), 10);

    // Cut inside the second nation: each cut is a copy of exactly that length, so that a read
    // past its end shows under the address sanitizer.
    const ByteVector whole =
        countedFile({markedNationBlock("Tessaly", 20), markedNationBlock("Ys", 21)});
    const ByteVector cut(whole.begin(), whole.end() - 100);
    report = list.import(cut);
    EXPECT_EQ(report.names, (Names{"Tessaly"}));
    EXPECT_NE(report.problem.find("nation 2 of 2 (\"Ys\") ends early"), std::string::npos)
        << report.problem;
    EXPECT_EQ(namesOf(list), (Names{"Aldermark", "Chile", "Tessaly"}));

    for (std::size_t length : {1u, 3u}) {
        report = list.import(ByteVector(length, 0));
        EXPECT_TRUE(report.names.empty());
        EXPECT_NE(report.problem.find("too short to hold its number of nations"), std::string::npos)
            << report.problem;
    }
    // A file of no bytes is an empty exchange file, as export makes one.
    report = list.import({});
    EXPECT_TRUE(report.names.empty());
    EXPECT_EQ(report.problem, "");
    EXPECT_EQ(list.count(), 3u);
}

TEST(NationList, ExportingTwiceMakesTwoEqualBlocksAndAFailureWritesNothing) {
    TemporaryDirectory directory;
    NationList list = listOf({simpleNationBlock("Corvasse"), aldermark});
    // The exported nation is the one as it stands, unsaved edits included.
    PlatformRecord::HullNum.write(list.nation(1).classes[1].platforms[0].record, 77);
    const ByteVector block = list.snapshot(1);

    const std::filesystem::path file = directory / "export.db";
    RecordCollection::ExportResult exported = list.appendToExchangeFile(1, file);
    ASSERT_TRUE(exported.ok()) << exported.error;
    EXPECT_EQ(exported.count, 1u);
    exported = list.appendToExchangeFile(1, file);
    ASSERT_TRUE(exported.ok()) << exported.error;
    EXPECT_EQ(exported.count, 2u);
    EXPECT_EQ(readFile(file), joined({countBytes(2), block, block}));

    NationList imported;
    EXPECT_EQ(imported.import(readFile(file)).names, (Names{"Aldermark", "Aldermark"}));
    ASSERT_EQ(imported.count(), 2u);
    EXPECT_EQ(imported.snapshot(1), block);

    // A path under a regular file cannot be created, even by root.
    const std::filesystem::path unwritable = file / "inside.db";
    exported = list.appendToExchangeFile(1, unwritable);
    EXPECT_EQ(exported.error, "Cannot create file " + unwritable.string());
    EXPECT_EQ(exported.count, 0u);
    EXPECT_FALSE(std::filesystem::exists(unwritable));
    EXPECT_EQ(readFile(file), joined({countBytes(2), block, block}));
}

} // namespace
} // namespace keel
