// SPDX-License-Identifier: MIT
// keelcheck as a user runs it: the built program on sets written into a temporary directory,
// each the sample set made clean and then given the faults a test plants.
#include "carriers/SbaDb.h"
#include "launchers/LauncherRecord.h"
#include "nations/MissionDb.h"
#include "objects/ObjectRecord.h"
#include "support/Json.h"
#include "support/ProgramRun.h"
#include "support/TemporaryDirectory.h"
#include "threed/ThreeDRecord.h"
#include "tools/SampleSet.h"

#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>
#include <map>
#include <ostream>

namespace keel {
namespace {

using test::JsonDocument;

// One finding of the JSON report, as a test names it; record 0 stands for null.
struct Found {
    std::string kind;
    std::string file;
    std::int64_t record = 0;
    std::string name;
    std::string field;

    bool operator==(const Found&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const Found& f) {
        return out << "{" << f.kind << ", " << f.file << ", " << f.record << ", \"" << f.name
                   << "\", " << f.field << "}";
    }
};

class Keelcheck : public ::testing::Test {
protected:
    void SetUp() override {
        for (SampleFile& sample : buildSampleSet()) {
            files[sample.file] = std::move(sample.bytes);
        }
        // The sample set leaves two objects without their 3D object on purpose; the clean set
        // gives them one.
        addThreeD("Coastal Radar Site");
        addThreeD("Grouper SSK");
    }

    void writeSet() {
        for (const auto& [file, bytes] : files) {
            test::writeFile(directory / std::string(fileName(file)), bytes);
        }
    }
    test::ProgramOutput run(const std::vector<std::string>& arguments) {
        writeSet();
        return test::runProgram(KEELCHECK_PATH, arguments, directory.path());
    }
    // The findings of the JSON report; the run must end with the status findings call for.
    std::vector<Found> findings() {
        const test::ProgramOutput output = run({"--json"});
        EXPECT_EQ(output.err, "");
        const JsonDocument report = test::parseJson(output.out);
        std::vector<Found> found;
        for (const JsonDocument& finding : report.at("findings")) {
            const bool ofRecord = !finding.at("record").is_null();
            found.push_back(
                {finding.at("kind").get<std::string>(), finding.at("file").get<std::string>(),
                 ofRecord ? finding.at("record").get<std::int64_t>() : 0,
                 ofRecord ? finding.at("name").get<std::string>() : "",
                 finding.at("field").is_null() ? "" : finding.at("field").get<std::string>()});
        }
        EXPECT_EQ(output.exitCode, found.empty() ? 0 : 1);
        return found;
    }

    ByteVector& file(DatabaseFile which) { return files[which]; }
    void addThreeD(std::string_view name) {
        ByteVector record(ThreeDRecord::Size, 0x33);
        ThreeDRecord::Name.write(record, name, TextOverflow::Refuse);
        file(DatabaseFile::ThreeDObjects)
            .insert(file(DatabaseFile::ThreeDObjects).end(), record.begin(), record.end());
    }
    // The number, counting from 1, of the first object of this name.
    std::int64_t objectNumber(std::string_view name) {
        const ByteVector& objects = file(DatabaseFile::Objects);
        for (std::size_t i = 0; i < ObjectFile::count(objects); ++i) {
            if (ObjectRecord::ObjectName.read(ObjectFile::record(objects, i)) == name) {
                return static_cast<std::int64_t>(i) + 1;
            }
        }
        ADD_FAILURE() << "no object " << name;
        return 0;
    }
    ByteSpan object(std::string_view name) {
        return ObjectFile::record(ByteSpan(file(DatabaseFile::Objects)),
                                  static_cast<std::size_t>(objectNumber(name) - 1));
    }
    ByteSpan launcher(std::size_t number) {
        return LauncherFile::record(ByteSpan(file(DatabaseFile::Launchers)), number - 1);
    }
    std::vector<Nation> nations() {
        return readMissionDatabase(file(DatabaseFile::Missions), "mission.db").nations;
    }
    void setNations(const std::vector<Nation>& nations) {
        file(DatabaseFile::Missions) = writeMissionDatabase(nations);
    }
    std::vector<Carrier> carriers() {
        return readCarrierDatabase(file(DatabaseFile::ShipBasedAircraft), "x").carriers;
    }
    void setCarriers(const std::vector<Carrier>& carriers) {
        file(DatabaseFile::ShipBasedAircraft) = writeCarrierDatabase(carriers);
    }

    test::TemporaryDirectory directory;
    std::map<DatabaseFile, ByteVector> files;
};

TEST_F(Keelcheck, TheSampleSetLacksOnlyTheTwo3DObjectsItLeavesOutOnPurpose) {
    file(DatabaseFile::ThreeDObjects)
        .resize(file(DatabaseFile::ThreeDObjects).size() - 2 * ThreeDRecord::Size);
    EXPECT_EQ(findings(),
              (std::vector<Found>{
                  {"object-without-3d", "objects.odb", objectNumber("Coastal Radar Site"),
                   "Coastal Radar Site", "ObjectName"},
                  {"object-without-3d", "objects.odb", objectNumber("Grouper SSK"), "Grouper SSK",
                   "ObjectName"},
              }));
}

TEST_F(Keelcheck, ACleanSetReportsNothingInTextAndInJson) {
    const test::ProgramOutput text = run({});
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_EQ(text.err, "");
    EXPECT_EQ(text.out, "Checked \".\"; no findings.\n");

    const test::ProgramOutput json = run({"--json", directory.path().string()});
    EXPECT_EQ(json.exitCode, 0);
    const JsonDocument report = test::parseJson(json.out);
    std::vector<std::string> members;
    for (const auto& member : report.items()) {
        members.push_back(member.key());
    }
    EXPECT_EQ(members, (std::vector<std::string>{"program", "version", "directory", "files",
                                                 "findings", "summary"}));
    EXPECT_EQ(report.at("program").get<std::string>(), "keelcheck");
    EXPECT_EQ(report.at("version").get<std::string>(), "4.0.0");
    EXPECT_EQ(report.at("directory").get<std::string>(), directory.path().string());
    const std::vector<std::pair<std::string, std::int64_t>> expectedFiles{
        {"objects.odb", 40},   {"launcher.ldb", 16}, {"shipbasedaircraft.db", 2}, {"mission.db", 3},
        {"3dobjects.3db", 36}, {"sensors.sdb", 10},  {"airstrip.adb", 3}};
    ASSERT_EQ(report.at("files").size(), expectedFiles.size());
    for (std::size_t i = 0; i < expectedFiles.size(); ++i) {
        EXPECT_EQ(report.at("files").at(i).at("file").get<std::string>(), expectedFiles[i].first);
        EXPECT_EQ(report.at("files").at(i).at("state").get<std::string>(), "read");
        EXPECT_EQ(report.at("files").at(i).at("records").get<std::int64_t>(),
                  expectedFiles[i].second);
    }
    EXPECT_TRUE(report.at("findings").empty());
    EXPECT_EQ(report.at("summary").at("findings").get<std::int64_t>(), 0);
    const std::vector<std::string> kinds{
        "missing-file",          "unreadable-file",          "damaged-file",
        "slot-names-nothing",    "object-without-3d",        "3d-without-object",
        "repeated-name",         "unknown-ammunition",       "invalid-class-type",
        "unknown-nation-object", "mismatched-nation-object", "unknown-carrier-name",
        "carrier-display-name"};
    ASSERT_EQ(report.at("summary").at("kinds").size(), kinds.size());
    for (const std::string& kind : kinds) {
        EXPECT_EQ(report.at("summary").at("kinds").at(kind).get<std::int64_t>(), 0) << kind;
    }
}

TEST_F(Keelcheck, DeletingALauncherLeavesTheSlotsBeyondTheListNamingNothing) {
    ByteVector& launchers = file(DatabaseFile::Launchers);
    const auto twelfth = launchers.begin() + 11 * LauncherRecord::Size;
    launchers.erase(twelfth, twelfth + LauncherRecord::Size);

    const std::int64_t grouper = objectNumber("Grouper SSK");
    const test::ProgramOutput text = run({});
    EXPECT_EQ(text.exitCode, 1);
    EXPECT_EQ(text.out, "Slots that name no record (1)\n"
                        "  objects.odb: object " +
                            std::to_string(grouper) +
                            " \"Grouper SSK\", LauncherSlots slot 2: holds 16, which names no "
                            "launcher: launcher.ldb holds only 15 launchers\n"
                            "\n"
                            "Checked \".\"; 1 finding in 1 file.\n");
}

TEST_F(Keelcheck, SlotsHoldZeroOrTheNumberOfARecordOfTheirList) {
    ObjectRecord::LauncherSlots.write(object("Tarn AOR"), 5, 16); // the last launcher
    ObjectRecord::SensorSlots.write(object("Tarn AOR"), 8, -1);
    ObjectRecord::AirstripSlots.write(object("Wasp FAC"), 9, 4); // one past the three
    ObjectRecord::LauncherSlots.write(object("Wasp FAC"), 29, -32768);
    EXPECT_EQ(findings(), (std::vector<Found>{
                              {"slot-names-nothing", "objects.odb", objectNumber("Tarn AOR"),
                               "Tarn AOR", "SensorSlots slot 9"},
                              {"slot-names-nothing", "objects.odb", objectNumber("Wasp FAC"),
                               "Wasp FAC", "LauncherSlots slot 30"},
                              {"slot-names-nothing", "objects.odb", objectNumber("Wasp FAC"),
                               "Wasp FAC", "AirstripSlots slot 10"},
                          }));
}

TEST_F(Keelcheck, RenamingAWeaponOrphansIts3DObjectAndTheAmmunitionThatNamedIt) {
    const std::int64_t stiletto = objectNumber("Stiletto SSM");
    ObjectRecord::ObjectName.write(object("Stiletto SSM"), "Stiletto II", TextOverflow::Refuse);
    std::int64_t threeD = 0;
    const ByteVector& threeDFile = file(DatabaseFile::ThreeDObjects);
    for (std::size_t i = 0; i < ThreeDFile::count(threeDFile); ++i) {
        if (ThreeDRecord::Name.read(ThreeDFile::record(threeDFile, i)) == "Stiletto SSM") {
            threeD = static_cast<std::int64_t>(i) + 1;
        }
    }
    EXPECT_EQ(findings(),
              (std::vector<Found>{
                  {"object-without-3d", "objects.odb", stiletto, "Stiletto II", "ObjectName"},
                  {"3d-without-object", "3dobjects.3db", threeD, "Stiletto SSM", "Name"},
                  {"unknown-ammunition", "launcher.ldb", 5, "SSM Quad Canister", "weap0"},
                  {"unknown-ammunition", "launcher.ldb", 9, "533mm Torp Tube", "weap1"},
              }));
}

TEST_F(Keelcheck, NamesRepeatedIgnoringLetterCaseAreFoundInEachOfTheThreeFiles) {
    ByteVector& objects = file(DatabaseFile::Objects);
    const ConstByteSpan pike = object("Pike SSK");
    ByteVector copy(pike.begin(), pike.end());
    ObjectRecord::ObjectName.write(copy, "PIKE ssk", TextOverflow::Refuse);
    objects.insert(objects.end(), copy.begin(), copy.end());
    ByteVector& launchers = file(DatabaseFile::Launchers);
    const ByteVector mineRail(launchers.end() - LauncherRecord::Size, launchers.end());
    launchers.insert(launchers.end(), mineRail.begin(), mineRail.end());
    addThreeD("narwhal ssn");

    EXPECT_EQ(findings(), (std::vector<Found>{
                              {"repeated-name", "objects.odb", 41, "PIKE ssk", "ObjectName"},
                              {"repeated-name", "launcher.ldb", 17, "Mine Rail", "LauncherName"},
                              {"repeated-name", "3dobjects.3db", 37, "narwhal ssn", "Name"},
                          }));
    const JsonDocument report = test::parseJson(run({"--json"}).out);
    EXPECT_EQ(report.at("findings").at(0).at("problem").get<std::string>(),
              "is also the name of object " + std::to_string(objectNumber("Pike SSK")) +
                  " (\"Pike SSK\", letter case ignored)");
}

TEST_F(Keelcheck, AmmunitionNamesAMineWeaponMissileShellOrBulletIgnoringLetterCase) {
    LauncherRecord::weap1.write(launcher(1), "127MM he SHELL", TextOverflow::Refuse);
    LauncherRecord::weap2.write(launcher(1), "Halberd DDG", TextOverflow::Refuse);
    LauncherRecord::weap3.write(launcher(1), "Phantom Shell", TextOverflow::Refuse);
    // An ammunition type left empty is one not used, whatever its round count says.
    LauncherRecord::quant1.write(launcher(2), 10);
    EXPECT_EQ(findings(), (std::vector<Found>{
                              {"unknown-ammunition", "launcher.ldb", 1, "127mm Gun Mount", "weap2"},
                              {"unknown-ammunition", "launcher.ldb", 1, "127mm Gun Mount", "weap3"},
                          }));
    const JsonDocument report = test::parseJson(run({"--json"}).out);
    EXPECT_EQ(report.at("findings").at(0).at("problem").get<std::string>(),
              "\"Halberd DDG\" names a Surf, not a mine, weapon, missile, shell or bullet");
    EXPECT_EQ(report.at("findings").at(1).at("problem").get<std::string>(),
              "\"Phantom Shell\" names no object");
}

TEST_F(Keelcheck, ClassesAreOfAValidTypeAndNameObjectsTheirTypeOffers) {
    std::vector<Nation> all = nations();
    // Aldermark's Narwhal SSN class becomes a Mine class: its own object is not held to it.
    ClassRecord::ObjType.write(all[0].classes[1].record, 6);
    // Corvasse's Grouper class names an object that is not there; its platforms, which carry
    // the class's old name, still name Grouper SSK.
    ClassRecord::Class_TagName.write(all[1].classes[0].record, "Missing Boat",
                                     TextOverflow::Refuse);
    // A Tessaly Wasp boat modelled by an aircraft, and a Corvasse aircraft modelled by nothing.
    PlatformRecord::Platform_TagName.write(all[2].classes[2].platforms[1].record, "falcon fa-2",
                                           TextOverflow::Refuse);
    PlatformRecord::Platform_TagName.write(all[1].classes[4].platforms[2].record, "",
                                           TextOverflow::Refuse);
    // A renamed Bulwark class whose platform carries the new name too is told of once.
    ClassRecord::Class_TagName.write(all[2].classes[3].record, "Bulwark II", TextOverflow::Refuse);
    PlatformRecord::Platform_TagName.write(all[2].classes[3].platforms[0].record, "Bulwark II",
                                           TextOverflow::Refuse);
    // A Sub class may name a sub of any letter case.
    ClassRecord::Class_TagName.write(all[0].classes[0].record, "PIKE SSK", TextOverflow::Refuse);
    for (Platform& platform : all[0].classes[0].platforms) {
        PlatformRecord::Platform_TagName.write(platform.record, "PIKE SSK", TextOverflow::Refuse);
    }
    setNations(all);
    EXPECT_EQ(
        findings(),
        (std::vector<Found>{
            {"invalid-class-type", "mission.db", 1, "Aldermark", "class 2 \"Narwhal\", ObjType"},
            {"unknown-nation-object", "mission.db", 2, "Corvasse",
             "class 1 \"Grouper\", Class_TagName"},
            {"unknown-nation-object", "mission.db", 2, "Corvasse",
             "class 5 \"Naval Aviation\", platform 3 \"Heron\", Platform_TagName"},
            {"mismatched-nation-object", "mission.db", 3, "Tessaly Union",
             "class 3 \"Wasp\", platform 2 \"Gadfly\", Platform_TagName"},
            {"unknown-nation-object", "mission.db", 3, "Tessaly Union",
             "class 4 \"Bulwark\", Class_TagName"},
        }));
    const JsonDocument report = test::parseJson(run({"--json"}).out);
    EXPECT_EQ(report.at("findings").at(0).at("problem").get<std::string>(),
              "is 6 (\"N/A: Mine\"), which no class may have: a class is Sub, Surf, Air or Shell");
    EXPECT_EQ(report.at("findings").at(3).at("problem").get<std::string>(),
              "\"falcon fa-2\" names an Air, which a Surf class does not offer (it offers objects "
              "of the types Surf and DownedPilot)");
}

TEST_F(Keelcheck, CarriersNameWhatMissionDbHoldsExactly) {
    std::vector<Carrier> all = carriers();
    CarrierRecord::ObjectName.write(all[0].record, "Pike SSK", TextOverflow::Refuse); // a Sub class
    AircraftTypeRecord::TagName.write(all[0].aircraftTypes[0].record, "Falcon FA-3",
                                      TextOverflow::Refuse);
    AircraftTypeRecord::DisplayName.write(all[0].aircraftTypes[1].record, "Sea Lion",
                                          TextOverflow::Refuse);
    AircraftTypeRecord::ClassName.write(all[0].aircraftTypes[2].record, "carrier air wing",
                                        TextOverflow::Refuse);
    CarrierRecord::Country.write(all[1].record, "Corvase", TextOverflow::Refuse);
    setCarriers(all);
    EXPECT_EQ(findings(),
              (std::vector<Found>{
                  {"unknown-carrier-name", "shipbasedaircraft.db", 1, "Pike SSK", "ObjectName"},
                  {"unknown-carrier-name", "shipbasedaircraft.db", 1, "Pike SSK",
                   "aircraft type 1, TagName"},
                  {"carrier-display-name", "shipbasedaircraft.db", 1, "Pike SSK",
                   "aircraft type 2, DisplayName"},
                  {"unknown-carrier-name", "shipbasedaircraft.db", 1, "Pike SSK",
                   "aircraft type 3, ClassName"},
                  {"unknown-carrier-name", "shipbasedaircraft.db", 2, "Petrel LHA", "Country"},
              }));
}

TEST_F(Keelcheck, MissingUnreadableAndDamagedFilesAreFindingsAndWhatNeedsThemIsLeftAlone) {
    file(DatabaseFile::Missions).resize(file(DatabaseFile::Missions).size() - 100);
    file(DatabaseFile::Objects).resize(file(DatabaseFile::Objects).size() + 10, 0x77);
    files.erase(DatabaseFile::Sensors);
    files.erase(DatabaseFile::Airstrips);
    std::filesystem::create_directory(directory / "airstrip.adb");
    // Slots that would name nothing are not looked at without their lists.
    ObjectRecord::SensorSlots.write(object("Tarn AOR"), 0, 99);
    ObjectRecord::AirstripSlots.write(object("Tarn AOR"), 0, 99);

    EXPECT_EQ(findings(), (std::vector<Found>{
                              {"damaged-file", "objects.odb", 0, "", ""},
                              {"missing-file", "sensors.sdb", 0, "", ""},
                              {"unreadable-file", "airstrip.adb", 0, "", ""},
                              {"damaged-file", "mission.db", 0, "", ""},
                          }));
    const test::ProgramOutput text = run({"."});
    EXPECT_EQ(text.exitCode, 1);
    EXPECT_NE(text.out.find("  sensors.sdb: missing from the directory; sensor slots were not "
                            "checked.\n"),
              std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("  objects.odb: holds 10 bytes beyond its last whole record of 284 "
                            "bytes, from byte 11360; they belong to no record.\n"),
              std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("  mission.db: nation 3 of 3 (\"Tessaly Union\") ends early"),
              std::string::npos)
        << text.out;
    const JsonDocument report = test::parseJson(run({"--json"}).out);
    EXPECT_EQ(report.at("files").at(5).at("state").get<std::string>(), "missing");
    EXPECT_TRUE(report.at("files").at(5).at("records").is_null());
    EXPECT_EQ(report.at("files").at(6).at("state").get<std::string>(), "unreadable");
    EXPECT_EQ(report.at("files").at(3).at("records").get<std::int64_t>(), 2)
        << "the nations read whole";
}

// A set copied from a file system that ignores letter case is checked; two files of one name
// leave that file unread.
TEST_F(Keelcheck, ASetUnderUpperCaseNamesIsCheckedAndTwoFilesOfOneNameAreUnreadable) {
    for (const auto& [which, bytes] : files) {
        std::string name(fileName(which));
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return std::toupper(c); });
        test::writeFile(directory / name, bytes);
    }
    const auto report = [&] {
        return test::runProgram(KEELCHECK_PATH, {}, directory.path()).out;
    };
    EXPECT_EQ(report(), "Checked \".\"; no findings.\n");
    test::writeFile(directory / "Launcher.ldb", file(DatabaseFile::Launchers));
    EXPECT_NE(report().find("  launcher.ldb: cannot be read (LAUNCHER.LDB and Launcher.ldb both "
                            "stand there, names that differ only in letter case); launcher slots "
                            "and launchers were not checked.\n"),
              std::string::npos)
        << report();
}

TEST_F(Keelcheck, TextsFromTheFilesAreShownInUtf8AndEveryFindingStaysOnItsLine) {
    addThreeD("Caf\xE9 \x80 Line\nTwo");
    const test::ProgramOutput text = run({});
    EXPECT_NE(text.out.find("  3dobjects.3db: 3D object 37 \"Caf\xC3\xA9 \xE2\x82\xAC "
                            "Line\\x0ATwo\", Name: names no object of objects.odb (letter case "
                            "ignored)\n"),
              std::string::npos)
        << text.out;
    const JsonDocument report = test::parseJson(run({"--json"}).out);
    EXPECT_EQ(report.at("findings").at(0).at("name").get<std::string>(),
              "Caf\xC3\xA9 \xE2\x82\xAC Line\nTwo");

    // A directory whose name is not UTF-8 still gives JSON: its bytes that are not become the
    // replacement character.
    std::filesystem::create_directory(directory / "set\xFF");
    for (const auto& [which, bytes] : files) {
        test::writeFile(directory / "set\xFF" / std::string(fileName(which)), bytes);
    }
    const test::ProgramOutput oddlyNamed =
        test::runProgram(KEELCHECK_PATH, {"--json", "set\xFF"}, directory.path());
    EXPECT_EQ(oddlyNamed.exitCode, 1);
    EXPECT_EQ(test::parseJson(oddlyNamed.out).at("directory").get<std::string>(),
              "set\xEF\xBF\xBD");
}

TEST_F(Keelcheck, ExitStatusesAndTheCommandLine) {
    writeSet();
    const auto runIn = [&](const std::vector<std::string>& arguments) {
        return test::runProgram(KEELCHECK_PATH, arguments, directory.path());
    };
    const test::ProgramOutput help = runIn({"--json", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("Usage: keelcheck [--json] [DIRECTORY]\n", 0), 0u) << help.out;
    EXPECT_EQ(runIn({"-h"}).out, help.out);

    const test::ProgramOutput version = runIn({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "keelcheck 4.0.0\n");
    EXPECT_EQ(runIn({"-V"}).out, version.out);

    for (const std::vector<std::string>& wrong :
         std::vector<std::vector<std::string>>{{"--jsn"}, {"-x", "."}, {".", "other"}}) {
        const test::ProgramOutput refused = runIn(wrong);
        EXPECT_EQ(refused.exitCode, 2) << wrong[0];
        EXPECT_EQ(refused.out, "");
        EXPECT_EQ(refused.err.rfind("keelcheck: ", 0), 0u) << refused.err;
        EXPECT_NE(refused.err.find("Usage: keelcheck"), std::string::npos) << refused.err;
    }
    EXPECT_EQ(runIn({"--jsn"}).err.substr(0, 35), "keelcheck: unknown option '--jsn'\nU");

    const test::ProgramOutput noDirectory = runIn({"no-such-directory"});
    EXPECT_EQ(noDirectory.exitCode, 2);
    EXPECT_EQ(noDirectory.out, "");
    EXPECT_NE(noDirectory.err.find("cannot read the directory no-such-directory"),
              std::string::npos);

    std::filesystem::create_directory(directory / "-empty");
    const test::ProgramOutput empty = runIn({"--", "-empty"});
    EXPECT_EQ(empty.exitCode, 2);
    EXPECT_EQ(empty.err, "keelcheck: -empty holds none of the seven files of a database set\n");

    // A set is checked wherever it is given, and in the working directory by default.
    std::filesystem::create_directory(directory / "set");
    for (const auto& [which, bytes] : files) {
        test::writeFile(directory / "set" / std::string(fileName(which)), bytes);
    }
    EXPECT_EQ(runIn({"set"}).exitCode, 0);
    EXPECT_EQ(runIn({}).exitCode, 0);
    std::filesystem::remove(directory / "set" / "launcher.ldb");
    const test::ProgramOutput incomplete = runIn({"set", "--json"});
    EXPECT_EQ(incomplete.exitCode, 1);
    EXPECT_EQ(test::parseJson(incomplete.out)
                  .at("summary")
                  .at("kinds")
                  .at("missing-file")
                  .get<std::int64_t>(),
              1);
}

} // namespace
} // namespace keel
