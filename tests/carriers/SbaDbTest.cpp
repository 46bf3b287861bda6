// SPDX-License-Identifier: MIT
#include "carriers/SbaDb.h"

#include "carriers/CarrierBytes.h"
#include "support/FieldChecks.h"
#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

namespace keel {
namespace {

using namespace keel::test;

const ByteVector int32Bytes{0x60, 0x79, 0xFE, 0xFF}; // -100000

ByteVector albatrossBlock(std::int32_t aircraftTypes) {
    ByteVector block = carrierRecordBytes("Aldermark", "Albatross CV", aircraftTypes);
    for (std::int32_t i = 0; i < aircraftTypes; ++i) {
        const ByteVector entry =
            aircraftTypeBytes("Falcon FA-2", "Falcon", "Carrier Air Wing", 24 + i);
        block.insert(block.end(), entry.begin(), entry.end());
    }
    return block;
}

TEST(SbaRecords, EveryFieldLiesWhereTheFileFormatPutsIt) {
    EXPECT_EQ(CarrierRecord::Size, 520u);
    EXPECT_EQ(AircraftTypeRecord::Size, 772u);
    expectTextFieldAt(CarrierRecord::Country, 520, 0, 256, "Country");
    expectTextFieldAt(CarrierRecord::ObjectName, 520, 256, 256, "ObjectName");
    expectNumberFieldAt(CarrierRecord::NumPlatforms, 520, 512, -100000, int32Bytes, "NumPlatforms");
    expectTextFieldAt(AircraftTypeRecord::TagName, 772, 0, 256, "TagName");
    expectTextFieldAt(AircraftTypeRecord::DisplayName, 772, 256, 256, "DisplayName");
    expectTextFieldAt(AircraftTypeRecord::ClassName, 772, 512, 256, "ClassName");
    expectNumberFieldAt(AircraftTypeRecord::Num, 772, 768, -100000, int32Bytes, "Num");
}

TEST(SbaRecords, AddGivesANewClassOfNoNationCarryingOneAircraft) {
    const Carrier carrier = newCarrier();
    EXPECT_EQ(CarrierRecord::ObjectName.read(carrier.record), "New Class");
    EXPECT_EQ(CarrierRecord::Country.read(carrier.record), "");
    ASSERT_EQ(carrier.aircraftTypes.size(), 1u);
    const auto& entry = carrier.aircraftTypes[0].record;
    EXPECT_EQ(AircraftTypeRecord::TagName.read(entry), "");
    EXPECT_EQ(AircraftTypeRecord::DisplayName.read(entry), "");
    EXPECT_EQ(AircraftTypeRecord::ClassName.read(entry), "");
    EXPECT_EQ(AircraftTypeRecord::Num.read(entry), 1);
}

TEST(SbaDb, FileSizesFollowTheCarriersAndTheirAircraftTypes) {
    EXPECT_EQ(writeCarrierDatabase({}), countBytes(0));

    Carrier one = newCarrier();
    EXPECT_EQ(writeCarrierDatabase(std::span(&one, 1)).size(), 1296u);
    one.aircraftTypes.push_back(newAircraftType());
    EXPECT_EQ(writeCarrierDatabase(std::span(&one, 1)).size(), 2068u);

    // Two carriers of 1 and 3 aircraft types: the second begins at byte 1296.
    const ByteVector file =
        joined({countBytes(2), albatrossBlock(1), carrierRecordBytes("Corvasse", "Petrel LHA", 3),
                aircraftTypeBytes("Gull UH-2", "Gull", "Naval Aviation", 8),
                aircraftTypeBytes("Hornet SH-4", "Hornet", "Naval Aviation", 4),
                aircraftTypeBytes("Heron MP-7", "Heron", "Naval Aviation", 2)});
    ASSERT_EQ(file.size(), 4132u);
    const CarrierDatabase read = readCarrierDatabase(file, "shipbasedaircraft.db");
    EXPECT_TRUE(read.report.clean()) << read.report.text();
    ASSERT_EQ(read.carriers.size(), 2u);
    EXPECT_EQ(carrierBlockSize(read.carriers[0]), 1292u);
    const Carrier& petrel = read.carriers[1];
    EXPECT_EQ(CarrierRecord::ObjectName.read(petrel.record), "Petrel LHA");
    ASSERT_EQ(petrel.aircraftTypes.size(), 3u);
    EXPECT_EQ(AircraftTypeRecord::TagName.read(petrel.aircraftTypes[2].record), "Heron MP-7");
    EXPECT_EQ(AircraftTypeRecord::Num.read(petrel.aircraftTypes[1].record), 4);

    const ByteVector written = writeCarrierDatabase(read.carriers);
    EXPECT_EQ(std::string(written.begin() + 1296 + 256, written.begin() + 1296 + 266),
              "Petrel LHA");
}

TEST(SbaDb, WritingWhatWasReadGivesBackEveryByteButTheLinkSlot) {
    ByteVector file = joined({countBytes(2), albatrossBlock(2),
                              carrierRecordBytes("Corvasse", "Petrel LHA", 1, 0x91),
                              aircraftTypeBytes("Gull UH-2", "Gull", "Naval Aviation", 8, 0x92)});
    const CarrierDatabase read = readCarrierDatabase(file, "shipbasedaircraft.db");
    ASSERT_TRUE(read.report.clean()) << read.report.text();
    ByteVector expected = file;
    for (std::size_t linkSlot : {4u + 516u, 4u + 520u + 2 * 772u + 516u}) {
        ASSERT_NE(int32At(expected, linkSlot), 0);
        putInt32(expected, linkSlot, 0);
    }
    EXPECT_EQ(writeCarrierDatabase(read.carriers), expected);
}

TEST(SbaDb, AFileCutAnywhereGivesTheCarriersBeforeTheCut) {
    const ByteVector block = albatrossBlock(3);
    const ByteVector whole = joined({countBytes(3), block, block, block});
    for (std::size_t length = 0; length < whole.size(); length += 37) {
        const ByteVector cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
        const CarrierDatabase read = readCarrierDatabase(cut, "shipbasedaircraft.db");
        const std::size_t complete = length < 4 ? 0 : (length - 4) / block.size();
        ASSERT_EQ(read.carriers.size(), complete) << "cut at " << length;
        EXPECT_EQ(read.report.lostData(), length != 0) << "cut at " << length;
    }
    const ByteVector cut(whole.begin(), whole.end() - 1);
    EXPECT_EQ(readCarrierDatabase(cut, "shipbasedaircraft.db").report.text(),
              "shipbasedaircraft.db: carrier 3 of 3 (\"Albatross CV\" of \"Aldermark\") ends "
              "early at byte " +
                  std::to_string(cut.size()) +
                  ", in aircraft type 3 of 3; the first 2 carriers were read.");
}

TEST(SbaDb, CarriersWithoutAircraftAreRepairedAndNegativeCountsStopTheReading) {
    const ByteVector file =
        joined({countBytes(3), carrierRecordBytes("", "New Class", 0), albatrossBlock(1),
                carrierRecordBytes("Corvasse", "Petrel LHA", -2), albatrossBlock(1)});
    const CarrierDatabase read = readCarrierDatabase(file, "shipbasedaircraft.db");
    ASSERT_EQ(read.carriers.size(), 2u);
    ASSERT_EQ(read.carriers[0].aircraftTypes.size(), 1u);
    EXPECT_EQ(AircraftTypeRecord::Num.read(read.carriers[0].aircraftTypes[0].record), 1);
    EXPECT_EQ(CarrierRecord::NumPlatforms.read(read.carriers[0].record), 1);
    EXPECT_EQ(read.report.repairCount(), 1u);
    EXPECT_TRUE(read.report.lostData());
    EXPECT_EQ(read.report.text(),
              "shipbasedaircraft.db: carrier 1 (\"New Class\") carries no aircraft type; it was "
              "given one without names, for a single aircraft.\n"
              "shipbasedaircraft.db: carrier 3 of 3 (\"Petrel LHA\" of \"Corvasse\") gives its "
              "number of aircraft types as -2, so nothing after it can be found; the first 2 "
              "carriers were read.");

    const CarrierDatabase negative = readCarrierDatabase(countBytes(-1), "shipbasedaircraft.db");
    EXPECT_TRUE(negative.carriers.empty());
    EXPECT_TRUE(negative.report.lostData());
}

TEST(CarrierExchange, ExportingTwiceToANewFileGivesTwoEqualBlocksReadableAsTheDatabase) {
    TemporaryDirectory directory;
    const std::filesystem::path file = directory / "carriers.db";
    Carrier carrier = newCarrier();
    CarrierRecord::Country.write(carrier.record, "Aldermark", TextOverflow::Cut);
    carrier.aircraftTypes.push_back(newAircraftType());

    EXPECT_EQ(appendCarrierToExchangeFile(file, carrier).count, 1);
    const ExchangeAppend second = appendCarrierToExchangeFile(file, carrier);
    ASSERT_TRUE(second.ok()) << second.error;
    EXPECT_EQ(second.count, 2);

    const ByteVector bytes = readFile(file);
    ASSERT_EQ(bytes.size(), 4 + 2 * carrierBlockSize(carrier));
    const CarrierDatabase read = readCarrierDatabase(bytes, file.string());
    EXPECT_TRUE(read.report.clean()) << read.report.text();
    ASSERT_EQ(read.carriers.size(), 2u);
    EXPECT_EQ(read.carriers[0].record, read.carriers[1].record);
    EXPECT_EQ(read.carriers[1].aircraftTypes.size(), 2u);

    // A damaged exchange file takes nothing.
    const ByteVector damaged = joined({countBytes(2), albatrossBlock(1)});
    writeFile(file, damaged);
    EXPECT_FALSE(appendCarrierToExchangeFile(file, carrier).ok());
    EXPECT_EQ(readFile(file), damaged);
}

} // namespace
} // namespace keel
