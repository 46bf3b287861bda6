// SPDX-License-Identifier: MIT
// Values of mission.db and shipbasedaircraft.db that the editors never write, repaired by the
// readers as they read them: what is read, what the report tells, and that writing what was
// read gives a file that keeps the rules of the files the editors write.
#include "carriers/CarrierBytes.h"
#include "carriers/SbaDb.h"
#include "nations/MissionDb.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace keel {
namespace {

using namespace keel::test;

bool endsWithin(const ByteVector& file, std::size_t at, std::size_t bytes) {
    return std::find(file.begin() + static_cast<std::ptrdiff_t>(at),
                     file.begin() + static_cast<std::ptrdiff_t>(at + bytes),
                     Byte{0}) != file.begin() + static_cast<std::ptrdiff_t>(at + bytes);
}

bool textsEnd(const ByteVector& file, std::size_t at,
              std::initializer_list<std::pair<std::size_t, std::size_t>> texts) {
    return std::all_of(texts.begin(), texts.end(), [&](const auto& text) {
        return endsWithin(file, at + text.first, text.second);
    });
}

// The first rule of the files the editors write that `file` breaks, walked over plain offsets;
// empty when it keeps them all.
std::string brokenRule(const ByteVector& file, bool carriers) {
    if (file.size() < 4 || int32At(file, 0) < 0) {
        return "a count";
    }
    std::size_t at = 4;
    for (std::int32_t block = 0; block < int32At(file, 0); ++block) {
        const std::size_t recordSize = carriers ? 520 : 264;
        if (file.size() < at + recordSize) {
            return "a block beyond the end";
        }
        const std::int32_t inner = int32At(file, at + (carriers ? 512 : 256));
        const bool named =
            carriers ? textsEnd(file, at, {{0, 256}, {256, 256}}) : textsEnd(file, at, {{0, 256}});
        if (inner < 1 || !named) {
            return "the record of block " + std::to_string(block + 1);
        }
        at += recordSize;
        for (std::int32_t i = 0; i < inner; ++i) {
            if (carriers) {
                const std::int32_t count = file.size() < at + 772 ? 0 : int32At(file, at + 768);
                if (count < 1 || count > 32767 ||
                    !textsEnd(file, at, {{0, 256}, {256, 256}, {512, 256}})) {
                    return "aircraft type " + std::to_string(i + 1);
                }
                at += 772;
                continue;
            }
            const std::int32_t platforms = file.size() < at + 536 ? 0 : int32At(file, at + 528);
            if (platforms < 1 || !textsEnd(file, at, {{4, 256}, {260, 256}, {516, 10}})) {
                return "class " + std::to_string(i + 1);
            }
            at += 536;
            for (std::int32_t p = 0; p < platforms; ++p) {
                if (file.size() < at + 516 || !textsEnd(file, at, {{0, 256}, {256, 256}})) {
                    return "platform " + std::to_string(p + 1);
                }
                at += 516;
            }
        }
    }
    return at == file.size() ? "" : "bytes after the last block";
}

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
    const ByteVector sound = joined({carrierRecordBytes("Aldermark", "Albatross CV", 1, 0),
                                     aircraftTypeBytes("Falcon FA-2", "Falcon", "Wing", 4)});

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
        {"a carrier without aircraft types",
         true,
         countedFile({carrierRecordBytes("Aldermark", "Albatross CV", 0, 0)}),
         countedFile({joined({carrierRecordBytes("Aldermark", "Albatross CV", 1, 0),
                              aircraftTypeBytes("", "", "", 1, 0)})}),
         {sba + albatross +
          " carries no aircraft type; it was given one without names, for a single aircraft."}},
        {"a count of carriers beyond the data",
         true,
         joined({countBytes(2), sound}),
         countedFile({sound}),
         {"shipbasedaircraft.db says it holds 2 carriers, but its data ends at byte 1296, after "
          "carrier 1; the first carrier was read."}},
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
        {"a nation without classes and a class without platforms",
         false,
         countedFile({nationRecordBytes("Aldermark", 0, 0),
                      joined({nationRecordBytes("Corvasse", 1, 0),
                              classRecordBytes(3, "", "Naval Aviation", "", 0, 0)})}),
         countedFile({joined({nationRecordBytes("Aldermark", 1, 0),
                              classRecordBytes(2, "", "New Class", "", 1, 0),
                              platformRecordBytes("", "", -1, 0)}),
                      joined({nationRecordBytes("Corvasse", 1, 0),
                              classRecordBytes(3, "", "Naval Aviation", "", 1, 0),
                              platformRecordBytes("", "", -1, 0)})}),
         {mission +
              "nation 1 (\"Aldermark\") has no class; it was given one Surf class \"New Class\" "
              "with one platform.",
          mission +
              "class 1 (\"Naval Aviation\") of nation 2 (\"Corvasse\") has no platform; it was "
              "given one without a name, with hull number -1."}},
    };

    for (const RepairCase& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_NE(brokenRule(c.file, c.carriers), "")
            << "the case is about a file that breaks a rule";
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
        EXPECT_EQ(brokenRule(written, c.carriers), "");
        const bool clean = c.carriers ? readCarrierDatabase(written, "x").report.clean()
                                      : readMissionDatabase(written, "x").report.clean();
        EXPECT_TRUE(clean);
    }
}

} // namespace
} // namespace keel
