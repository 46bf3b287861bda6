// SPDX-License-Identifier: MIT
#include "carriers/CarrierList.h"

#include "carriers/CarrierBytes.h"
#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

namespace keel {
namespace {

using namespace keel::test;

// A carrier of one aircraft type whose number carried is `mark`, so that a test can tell
// carriers of the same ship class and nation apart.
ByteVector markedCarrierBlock(std::string_view country, std::string_view shipClass,
                              std::int32_t mark) {
    return joined({carrierRecordBytes(country, shipClass, 1),
                   aircraftTypeBytes("Falcon FA-2", "Falcon", "Carrier Air Wing", mark)});
}

CarrierList listOf(std::initializer_list<ByteVector> blocks) {
    CarrierList list;
    list.assign(countedFile(blocks));
    EXPECT_TRUE(list.readReport().clean()) << list.readReport().text();
    return list;
}

std::int32_t markOf(const CarrierList& list, std::size_t index) {
    return AircraftTypeRecord::Num.read(list.carrier(index).aircraftTypes.at(0).record);
}

std::string countryOf(const CarrierList& list, std::size_t index) {
    return CarrierRecord::Country.read(list.carrier(index).record);
}

using Names = std::vector<std::string>;

Names namesOf(const CarrierList& list) {
    Names names;
    for (std::size_t i = 0; i < list.count(); ++i) {
        names.push_back(list.nameText(i));
    }
    return names;
}

// Three aircraft types, every record filled with odd bytes after its texts.
const ByteVector albatross = joined({
    carrierRecordBytes("Aldermark", "Albatross CV", 3, 0x11),
    aircraftTypeBytes("Falcon FA-2", "Falcon", "Carrier Air Wing", 24, 0x22),
    aircraftTypeBytes("Gull UH-2", "Gull", "Carrier Air Wing", 6, 0x33),
    aircraftTypeBytes("Heron MP-7", "Heron", "Carrier Air Wing", 2, 0x44),
});

TEST(CarrierList, WritingWhatWasLoadedGivesBackEveryByteButTheLinkSlots) {
    const ByteVector petrel = markedCarrierBlock("Corvasse", "Petrel LHA", 8);
    const ByteVector file = countedFile({petrel, albatross});
    CarrierList list;
    list.assign(file);
    ASSERT_TRUE(list.readReport().clean()) << list.readReport().text();
    // Carriers keep their file order: the editor has no Sort Records.
    EXPECT_EQ(list.sortByName(), (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(namesOf(list), (Names{"Petrel LHA", "Albatross CV"}));

    ByteVector expected = file;
    for (std::size_t linkSlot : {std::size_t{4 + 516}, 4 + petrel.size() + 516}) {
        ASSERT_NE(int32At(expected, linkSlot), 0);
        putInt32(expected, linkSlot, 0);
    }
    EXPECT_EQ(list.fileBytes(), expected);

    // A damaged master gives the carriers that were read whole, in place of what was held.
    const ByteVector cut(file.begin(), file.end() - 1);
    list.assign(cut);
    EXPECT_EQ(namesOf(list), (Names{"Petrel LHA"}));
    EXPECT_EQ(list.readReport().text().rfind("shipbasedaircraft.db: carrier 2 of 2", 0), 0u)
        << list.readReport().text();
}

TEST(CarrierList, AddGivesANewClassOfNoNationAndCutsAnOverlongName) {
    CarrierList list = listOf({albatross});

    ASSERT_EQ(list.appendNamed("New Class"), 1u);
    EXPECT_EQ(namesOf(list), (Names{"Albatross CV", "New Class"}));
    const Carrier& added = list.carrier(1);
    EXPECT_EQ(countryOf(list, 1), "");
    EXPECT_EQ(CarrierRecord::NumPlatforms.read(added.record), 1);
    ASSERT_EQ(added.aircraftTypes.size(), 1u);
    const auto& entry = added.aircraftTypes[0].record;
    EXPECT_EQ(AircraftTypeRecord::TagName.read(entry), "");
    EXPECT_EQ(AircraftTypeRecord::DisplayName.read(entry), "");
    EXPECT_EQ(AircraftTypeRecord::ClassName.read(entry), "");
    EXPECT_EQ(AircraftTypeRecord::Num.read(entry), 1);

    const std::size_t longer = list.appendNamed(std::string(300, 'x'));
    EXPECT_EQ(list.nameText(longer), std::string(255, 'x'));
    EXPECT_EQ(CarrierRecord::NumPlatforms.read(list.carrier(longer).record), 1)
        << "the name spilled into the number of aircraft types";

    // A short name leaves nothing of the default one behind its terminator.
    const ByteVector block = list.snapshot(list.appendNamed("Ys"));
    EXPECT_TRUE(
        std::all_of(block.begin() + 256 + 2, block.begin() + 512, [](Byte b) { return b == 0; }));
}

TEST(CarrierList, ACopyIsDeepAndDeletingMovesTheLaterCarriersUp) {
    CarrierList list = listOf({albatross, markedCarrierBlock("Corvasse", "Petrel LHA", 8)});
    const ByteVector original = list.snapshot(0);

    ASSERT_EQ(list.appendCopy(0), 2u);
    ASSERT_EQ(list.snapshot(2), original);
    Carrier& copy = list.carrier(2);
    CarrierRecord::Country.write(copy.record, "Changed", TextOverflow::Cut);
    AircraftTypeRecord::TagName.write(copy.aircraftTypes[1].record, "Changed", TextOverflow::Cut);
    copy.aircraftTypes.push_back(newAircraftType());
    EXPECT_EQ(list.snapshot(0), original);

    list.remove(0);
    EXPECT_EQ(namesOf(list), (Names{"Petrel LHA", "Albatross CV"}));
    EXPECT_EQ(list.carrier(1).aircraftTypes.size(), 4u) << "the copy moved up";
    EXPECT_EQ(countryOf(list, 1), "Changed");
}

TEST(CarrierList, RestorePutsTheSnapshotBackWhateverWasResizedSince) {
    CarrierList list = listOf({markedCarrierBlock("Corvasse", "Petrel LHA", 8), albatross});
    const ByteVector taken = list.snapshot(1);
    const ByteVector other = list.snapshot(0);

    // More aircraft types, new names.
    Carrier& changed = list.carrier(1);
    CarrierRecord::ObjectName.write(changed.record, "Renamed", TextOverflow::Cut);
    changed.aircraftTypes.push_back(newAircraftType());
    AircraftTypeRecord::Num.write(changed.aircraftTypes[0].record, 99);
    list.restore(1, taken);
    EXPECT_EQ(list.snapshot(1), taken);
    EXPECT_EQ(list.nameText(1), "Albatross CV");
    EXPECT_EQ(list.carrier(1).aircraftTypes.size(), 3u);

    // Fewer aircraft types.
    list.carrier(1).aircraftTypes.resize(1);
    list.restore(1, taken);
    EXPECT_EQ(list.snapshot(1), taken);
    EXPECT_EQ(list.snapshot(0), other);
    EXPECT_EQ(list.fileBytes(), countedFile({other, taken}));

    // Bytes that hold no whole carrier block change nothing.
    list.carrier(1).aircraftTypes.resize(2);
    const ByteVector shorter = list.snapshot(1);
    list.restore(1, ConstByteSpan(taken).first(taken.size() - 1));
    EXPECT_EQ(list.snapshot(1), shorter);
}

TEST(CarrierListImport, MatchesOnShipClassAndNationTogetherIgnoringLetterCase) {
    CarrierList list = listOf({markedCarrierBlock("Aldermark", "Albatross CV", 1),
                               markedCarrierBlock("Corvasse", "Petrel LHA", 2)});

    // The same ship class of the same nation, written in other letter case, replaces the
    // carrier in place; the report names it all the same.
    RecordCollection::ImportReport report =
        list.import(countedFile({markedCarrierBlock("CORVASSE", "petrel lha", 10)}));
    EXPECT_EQ(report.names, (Names{"petrel lha"}));
    EXPECT_EQ(report.problem, "");
    EXPECT_EQ(namesOf(list), (Names{"Albatross CV", "petrel lha"}));
    EXPECT_EQ(countryOf(list, 1), "CORVASSE");
    EXPECT_EQ(markOf(list, 1), 10);

    // One ship class name under another nation, or another ship class of the nation, is
    // another carrier.
    report = list.import(countedFile({markedCarrierBlock("Corvasse", "Albatross CV", 20),
                                 markedCarrierBlock("Aldermark", "Albatross CVN", 21)}));
    EXPECT_EQ(report.names, (Names{"Albatross CV", "Albatross CVN"}));
    EXPECT_EQ(namesOf(list),
              (Names{"Albatross CV", "petrel lha", "Albatross CV", "Albatross CVN"}));
    EXPECT_EQ(countryOf(list, 0), "Aldermark");
    EXPECT_EQ(markOf(list, 0), 1);
    EXPECT_EQ(countryOf(list, 2), "Corvasse");
    EXPECT_EQ(markOf(list, 2), 20);

    // Only ASCII letters fold: the accented capital (windows-1252) is another nation.
    list.import(countedFile({markedCarrierBlock("\xC9ire", "Petrel LHA", 30)}));
    ASSERT_EQ(list.count(), 5u);
    EXPECT_EQ(markOf(list, 1), 10);
    EXPECT_EQ(markOf(list, 4), 30);
}

TEST(CarrierListImport, TheCarriersOfAFileThatMatchNoneAreAppendedInFileOrder) {
    CarrierList list = listOf({markedCarrierBlock("Aldermark", "Albatross CV", 1),
                               markedCarrierBlock("Corvasse", "Petrel LHA", 2)});

    // Two, of which only the second matches: exactly the first is appended.
    list.import(countedFile({markedCarrierBlock("Ys", "Skua CVL", 10),
                        markedCarrierBlock("Aldermark", "Albatross CV", 11)}));
    EXPECT_EQ(namesOf(list), (Names{"Albatross CV", "Petrel LHA", "Skua CVL"}));
    EXPECT_EQ(markOf(list, 0), 11);
    EXPECT_EQ(markOf(list, 2), 10);

    // Three, of which the first two match (one of them appended by the file before): those
    // two are updated in place and exactly the third is appended.
    const RecordCollection::ImportReport report = list.import(countedFile(
        {markedCarrierBlock("ys", "SKUA CVL", 20), markedCarrierBlock("Corvasse", "Petrel LHA", 21),
         markedCarrierBlock("Corvasse", "Tern LPH", 22)}));
    EXPECT_EQ(report.names, (Names{"SKUA CVL", "Petrel LHA", "Tern LPH"}));
    EXPECT_EQ(namesOf(list), (Names{"Albatross CV", "Petrel LHA", "SKUA CVL", "Tern LPH"}));
    EXPECT_EQ(markOf(list, 1), 21);
    EXPECT_EQ(markOf(list, 2), 20);
    EXPECT_EQ(markOf(list, 3), 22);

    // The carrier an earlier one ends as is the last of the file that matches it, with all
    // its aircraft types.
    list.import(countedFile({markedCarrierBlock("Aldermark", "ALBATROSS CV", 30), albatross}));
    EXPECT_EQ(list.count(), 4u);
    EXPECT_EQ(list.snapshot(0), listOf({albatross}).snapshot(0));
}

TEST(CarrierListImport, ADamagedFileGivesItsWholeCarriersAndSaysWhatWasLost) {
    const ByteVector promised =
        joined({countBytes(3), markedCarrierBlock("Aldermark", "Albatross CV", 10),
                markedCarrierBlock("Corvasse", "Petrel LHA", 11)});
    CarrierList list = listOf({markedCarrierBlock("ALDERMARK", "ALBATROSS CV", 1)});
    RecordCollection::ImportReport report = list.import(promised);
    EXPECT_EQ(report.names, (Names{"Albatross CV", "Petrel LHA"}));
    EXPECT_EQ(report.problem, "This file says it holds 3 carriers, but its data ends at byte " +
                                  std::to_string(promised.size()) +
                                  ", after carrier 2; the first 2 carriers were read.");
    EXPECT_EQ(namesOf(list), (Names{"Albatross CV", "Petrel LHA"}));
    EXPECT_EQ(markOf(list, 0), 10);

    // Cut inside the last aircraft type of the second carrier: each cut is a copy of exactly
    // that length, so that a read past its end shows under the address sanitizer.
    const ByteVector whole = countedFile({markedCarrierBlock("Ys", "Skua CVL", 20), albatross});
    const ByteVector cut(whole.begin(), whole.end() - 100);
    report = list.import(cut);
    EXPECT_EQ(report.names, (Names{"Skua CVL"}));
    EXPECT_NE(report.problem.find("carrier 2 of 2 (\"Albatross CV\" of \"Aldermark\") ends early"),
              std::string::npos)
        << report.problem;
    EXPECT_EQ(namesOf(list), (Names{"Albatross CV", "Petrel LHA", "Skua CVL"}));

    report = list.import(ByteVector(3, 0));
    EXPECT_TRUE(report.names.empty());
    EXPECT_NE(report.problem.find("too short to hold its number of carriers"), std::string::npos)
        << report.problem;
    EXPECT_EQ(list.count(), 3u);
}

TEST(CarrierList, ExportingTwiceToANewFileCountsOneThenTwo) {
    TemporaryDirectory directory;
    CarrierList list = listOf({markedCarrierBlock("Corvasse", "Petrel LHA", 8), albatross});
    // The exported carrier is the one as it stands, unsaved edits included.
    list.carrier(1).aircraftTypes.push_back(newAircraftType());
    const ByteVector block = list.snapshot(1);

    const std::filesystem::path file = directory / "carriers.db";
    RecordCollection::ExportResult exported = list.appendToExchangeFile(1, file);
    ASSERT_TRUE(exported.ok()) << exported.error;
    EXPECT_EQ(exported.count, 1u);
    exported = list.appendToExchangeFile(1, file);
    ASSERT_TRUE(exported.ok()) << exported.error;
    EXPECT_EQ(exported.count, 2u);
    EXPECT_EQ(readFile(file), joined({countBytes(2), block, block}));

    // A failure writes nothing and counts nothing.
    const std::filesystem::path unwritable = file / "inside.db";
    exported = list.appendToExchangeFile(1, unwritable);
    EXPECT_FALSE(exported.ok());
    EXPECT_EQ(exported.count, 0u);
    EXPECT_EQ(readFile(file), joined({countBytes(2), block, block}));
}

} // namespace
} // namespace keel
