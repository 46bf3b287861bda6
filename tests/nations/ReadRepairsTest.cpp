// SPDX-License-Identifier: MIT
// Values of mission.db and shipbasedaircraft.db that the editors never write, repaired by the
// readers as they read them: what is read, what the report tells, and that what was read is
// written as a file that reads back clean.
#include "carriers/CarrierBytes.h"
#include "carriers/SbaDb.h"
#include "nations/MissionDb.h"

#include <gtest/gtest.h>

namespace keel {
namespace {

using namespace keel::test;

ByteVector withByte(ByteVector bytes, std::size_t at, Byte value) {
    bytes[at] = value;
    return bytes;
}

std::string cutText(const std::string& fieldOf, int length, int kept) {
    return fieldOf + " is " + std::to_string(length) + " characters long, more than the " +
           std::to_string(kept) + " it may have; it was cut to its first " + std::to_string(kept) +
           " characters.";
}

struct RepairCase {
    const char* what;
    bool carriers; // shipbasedaircraft.db, or else mission.db
    ByteVector file;
    ByteVector written; // what writing what was read gives
    std::vector<std::string> told;
};

TEST(ReadRepairs, ValuesTheEditorsNeverWriteAreRepairedToldAndWrittenSound) {
    const std::string full(256, 'x');
    const std::string cut(255, 'x');
    const std::string sba = "shipbasedaircraft.db: ";
    const std::string carrierOne = "carrier 1 (\"Albatross CV\" of \"" + cut + "\")";
    const std::string typeOne = "aircraft type 1 of " + carrierOne;
    const std::string albatross = "carrier 1 (\"Albatross CV\" of \"Aldermark\")";
    const std::string mission = "mission.db: ";
    const std::string nationOne = "nation 1 (\"" + cut + "\")";
    const std::string classOne = "class 1 (\"" + cut + "\") of " + nationOne;
    // A designation of 11 characters is cut after 9; its last two and the terminator stay.
    const ByteVector cutClass =
        withByte(classRecordBytes(2, cut, cut, "ABCDEFGHI", 1, 0), 526, 'K');
    const ByteVector pikeClass = withByte(
        withByte(classRecordBytes(1, "Pike SSK", "Pike", "ABCDEFGHI", 1, 0), 526, 'K'), 527, 'L');
    const ByteVector soundClass = classRecordBytes(2, "Halberd DDG", cut, "DDG-12345", 1, 0);

    const RepairCase cases[] = {
        {"the texts of a carrier without their terminators",
         true,
         countedFile({joined({carrierRecordBytes(full, "Albatross CV", 1, 0),
                              aircraftTypeBytes(full, full, full, 4)})}),
         countedFile({joined({carrierRecordBytes(cut, "Albatross CV", 1, 0),
                              aircraftTypeBytes(cut, cut, cut, 4)})}),
         {sba + cutText("the nation (Country) of " + carrierOne, 256, 255),
          sba + cutText("the aircraft name (TagName) of " + typeOne, 256, 255),
          sba + cutText("the display name (DisplayName) of " + typeOne, 256, 255),
          sba + cutText("the class name (ClassName) of " + typeOne, 256, 255)}},
        {"numbers of aircraft outside 1..32767",
         true,
         countedFile(
             {joined({carrierRecordBytes("Aldermark", "Albatross CV", 5, 0),
                      aircraftTypeBytes("A", "a", "W", 0), aircraftTypeBytes("B", "b", "W", -5),
                      aircraftTypeBytes("C", "c", "W", 99999), aircraftTypeBytes("D", "d", "W", 1),
                      aircraftTypeBytes("E", "e", "W", 32767)})}),
         countedFile(
             {joined({carrierRecordBytes("Aldermark", "Albatross CV", 5, 0),
                      aircraftTypeBytes("A", "a", "W", 1), aircraftTypeBytes("B", "b", "W", 1),
                      aircraftTypeBytes("C", "c", "W", 32767), aircraftTypeBytes("D", "d", "W", 1),
                      aircraftTypeBytes("E", "e", "W", 32767)})}),
         {sba + "aircraft type 1 of " + albatross +
              " carries 0 aircraft (Num); the number was raised to 1, the fewest it may be.",
          sba + "aircraft type 2 of " + albatross +
              " carries -5 aircraft (Num); the number was raised to 1, the fewest it may be.",
          sba + "aircraft type 3 of " + albatross +
              " carries 99999 aircraft (Num); the number was lowered to 32767, the most it may "
              "be."}},
        {"the texts of a nation without their terminators, designations too long",
         false,
         countedFile({joined({nationRecordBytes(full, 3, 0),
                              classRecordBytes(2, full, full, "ABCDEFGHIJK", 1, 0),
                              platformRecordBytes(full, full, 7),
                              classRecordBytes(1, "Pike SSK", "Pike", "ABCDEFGHIJKL", 1, 0),
                              platformRecordBytes("Pike SSK", "Perch", 8), soundClass,
                              platformRecordBytes("Halberd DDG", "Partisan", 9)})}),
         countedFile(
             {joined({nationRecordBytes(cut, 3, 0), cutClass, platformRecordBytes(cut, cut, 7),
                      pikeClass, platformRecordBytes("Pike SSK", "Perch", 8), soundClass,
                      platformRecordBytes("Halberd DDG", "Partisan", 9)})}),
         {mission + cutText("the name (CountryName) of " + nationOne, 256, 255),
          mission + cutText("the object name (Class_TagName) of " + classOne, 256, 255),
          mission + cutText("the class name (ClassName) of " + classOne, 256, 255),
          mission + cutText("the designation (Designation) of " + classOne, 11, 9),
          mission +
              cutText("the object name (Platform_TagName) of platform 1 of " + classOne, 256, 255),
          mission + cutText("the display name (Name) of platform 1 of " + classOne, 256, 255),
          mission + cutText("the designation (Designation) of class 2 (\"Pike\") of " + nationOne,
                            12, 9)}},
    };

    for (const RepairCase& c : cases) {
        SCOPED_TRACE(c.what);
        ReadReport report;
        ByteVector written;
        if (c.carriers) {
            CarrierDatabase read = readCarrierDatabase(c.file, "shipbasedaircraft.db");
            written = writeCarrierDatabase(read.carriers);
            report = std::move(read.report);
        } else {
            MissionDatabase read = readMissionDatabase(c.file, "mission.db");
            written = writeMissionDatabase(read.nations);
            report = std::move(read.report);
        }
        EXPECT_EQ(written, c.written);
        std::string told;
        for (const std::string& sentence : c.told) {
            told += (told.empty() ? "" : "\n") + sentence;
        }
        EXPECT_EQ(report.text(), told);
        const bool clean = c.carriers ? readCarrierDatabase(written, "x").report.clean()
                                      : readMissionDatabase(written, "x").report.clean();
        EXPECT_TRUE(clean);
    }
}

} // namespace
} // namespace keel
