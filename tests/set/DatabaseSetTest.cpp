// SPDX-License-Identifier: MIT
#include "set/DatabaseSet.h"

#include "nations/MissionBytes.h"
#include "support/FileSizeLimit.h"
#include "support/RecordBytes.h"
#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>
#include <map>
#include <set>

namespace keel {
namespace {

using namespace keel::test;

std::set<std::string> filesIn(const std::filesystem::path& directory) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// A database directory whose seven files each hold content of their own.
class DatabaseSetTest : public ::testing::Test {
protected:
    void SetUp() override {
        contents[DatabaseFile::Objects] =
            concatenated({namedRecord(284, "Pike SSK"), namedRecord(284, "Halberd DDG")});
        contents[DatabaseFile::Launchers] = namedRecord(196, "127mm Gun Mount");
        contents[DatabaseFile::ShipBasedAircraft] = countBytes(0);
        contents[DatabaseFile::Missions] = joined({countBytes(1), simpleNationBlock("Aldermark")});
        contents[DatabaseFile::ThreeDObjects] = namedRecord(956, "Pike SSK");
        contents[DatabaseFile::Sensors] = namedRecord(152, "Hull Sonar");
        contents[DatabaseFile::Airstrips] = {};
        writeSet(source.path());
    }

    void writeSet(const std::filesystem::path& directory) {
        for (const auto& [file, bytes] : contents) {
            writeFile(directory / std::string(fileName(file)), bytes);
        }
    }

    DatabaseSet loaded() {
        DatabaseSet::LoadResult result = DatabaseSet::load(source.path());
        EXPECT_FALSE(result.failedFile) << *result.failedFile;
        return std::move(result.set);
    }

    ByteVector onDisk(const std::filesystem::path& directory, DatabaseFile file) {
        return readFile(directory / std::string(fileName(file)));
    }

    TemporaryDirectory source;
    std::map<DatabaseFile, ByteVector> contents;
};

TEST_F(DatabaseSetTest, LoadsTheSevenFilesWholeAndWritesBackTheFiveEditableOnes) {
    DatabaseSet set = loaded();
    EXPECT_TRUE(set.complete());
    EXPECT_TRUE(set.unreadFiles().empty());
    for (const auto& [file, bytes] : contents) {
        EXPECT_EQ(set.buffer(file), bytes) << fileName(file);
        EXPECT_TRUE(set.wasRead(file));
        EXPECT_EQ(set.damage(file), "") << fileName(file);
    }

    TemporaryDirectory target;
    set.buffer(DatabaseFile::Launchers).push_back(0x42);
    const DatabaseSet::SaveResult saved = set.save(target.path());
    ASSERT_TRUE(saved.ok()) << *saved.error;
    EXPECT_EQ(saved.written, std::vector<DatabaseFile>(saveOrder.begin(), saveOrder.end()));
    EXPECT_TRUE(saved.skipped.empty());
    EXPECT_EQ(filesIn(target.path()),
              (std::set<std::string>{"objects.odb", "launcher.ldb", "shipbasedaircraft.db",
                                     "mission.db", "3dobjects.3db"}));
    for (DatabaseFile file : saveOrder) {
        EXPECT_EQ(onDisk(target.path(), file), set.buffer(file)) << fileName(file);
    }
}

TEST_F(DatabaseSetTest, LoadingStopsAtTheFirstFileThatCannotBeReadAndSaysWhich) {
    std::filesystem::remove(source / "mission.db");
    DatabaseSet::LoadResult result = DatabaseSet::load(source.path());
    ASSERT_TRUE(result.failedFile);
    EXPECT_EQ(*result.failedFile, (source / "mission.db").string());
    EXPECT_FALSE(result.reason.empty());
    const DatabaseSet& set = result.set;
    EXPECT_FALSE(set.complete());
    EXPECT_EQ(set.unreadFiles(),
              (std::vector<DatabaseFile>{DatabaseFile::Missions, DatabaseFile::ThreeDObjects,
                                         DatabaseFile::Sensors, DatabaseFile::Airstrips}));
    EXPECT_EQ(set.buffer(DatabaseFile::ShipBasedAircraft),
              contents[DatabaseFile::ShipBasedAircraft]);
    EXPECT_TRUE(set.buffer(DatabaseFile::ThreeDObjects).empty())
        << "files after the failure are not read";

    // A file that is there but cannot be read stops the loading just the same.
    writeSet(source.path());
    std::filesystem::remove(source / "objects.odb");
    std::filesystem::create_directory(source / "objects.odb");
    result = DatabaseSet::load(source.path());
    ASSERT_TRUE(result.failedFile);
    EXPECT_EQ(*result.failedFile, (source / "objects.odb").string());
    EXPECT_EQ(result.set.unreadFiles().size(), 7u);
}

TEST_F(DatabaseSetTest, AFileThatWasNotReadIsNeverWrittenOverOneThatStandsThere) {
    std::filesystem::remove(source / "3dobjects.3db");
    DatabaseSet::LoadResult result = DatabaseSet::load(source.path());
    ASSERT_TRUE(result.failedFile);
    DatabaseSet set = std::move(result.set);

    // The user's own file, which the incomplete set never saw, sits in the target.
    const ByteVector theirs = namedRecord(956, "Their Own");
    writeFile(source / "3dobjects.3db", theirs);
    const DatabaseSet::SaveResult saved = set.save(source.path());
    ASSERT_TRUE(saved.ok());
    EXPECT_EQ(readFile(source / "3dobjects.3db"), theirs);
    ASSERT_EQ(saved.skipped.size(), 1u);
    EXPECT_EQ(saved.skipped[0].file, DatabaseFile::ThreeDObjects);
    EXPECT_EQ(saved.skipped[0].reason, DatabaseSet::SkipReason::NotRead);
    // Files before and after the skipped one in the save order are written.
    EXPECT_EQ(saved.written,
              (std::vector<DatabaseFile>{DatabaseFile::Objects, DatabaseFile::ShipBasedAircraft,
                                         DatabaseFile::Missions, DatabaseFile::Launchers}));
    EXPECT_EQ(saveReportText(saved, source.path()),
              "Saved into " + source.path().string() +
                  ": objects.odb, shipbasedaircraft.db, mission.db, launcher.ldb.\n"
                  "3dobjects.3db was not saved: it could not be read when the databases were "
                  "loaded, and saving would replace the file that is there now.\n"
                  "The changes made to the files that were not saved are still unsaved.");

    // Where no file of its name stands, what the set holds for it is written, and from then
    // on the file counts as read.
    std::filesystem::remove(source / "3dobjects.3db");
    set.buffer(DatabaseFile::ThreeDObjects) = namedRecord(956, "Added Here");
    const DatabaseSet::SaveResult written = set.save(source.path());
    ASSERT_TRUE(written.ok());
    EXPECT_TRUE(written.skipped.empty());
    EXPECT_EQ(saveReportText(written, source.path()), "");
    EXPECT_EQ(readFile(source / "3dobjects.3db"), namedRecord(956, "Added Here"));
    EXPECT_TRUE(set.wasRead(DatabaseFile::ThreeDObjects));
    set.buffer(DatabaseFile::ThreeDObjects) = namedRecord(956, "Changed Again");
    ASSERT_TRUE(set.save(source.path()).ok());
    EXPECT_EQ(readFile(source / "3dobjects.3db"), namedRecord(956, "Changed Again"));

    // Anything at all standing there, even a dangling link, is left alone.
    DatabaseSet::LoadResult nothingRead = DatabaseSet::load(source.path() / "nowhere");
    std::filesystem::remove(source / "objects.odb");
    std::filesystem::create_symlink(source / "gone.odb", source / "objects.odb");
    const DatabaseSet::SaveResult none = nothingRead.set.save(source.path());
    EXPECT_EQ(none.skipped.size(), 5u);
    EXPECT_TRUE(none.written.empty());
    EXPECT_TRUE(std::filesystem::is_symlink(source / "objects.odb"));
    EXPECT_FALSE(std::filesystem::exists(source / "gone.odb"));
}

// A set copied from a file system that ignores letter case: each file is read under the one
// name that matches its own in any case and saved back under it, never beside it; two such
// names are an error that names both, when loading and when saving into a directory.
TEST_F(DatabaseSetTest, FilesAreFoundUnderTheirNameInAnyLetterCaseAndSavedBackUnderIt) {
    const std::string both = " both stand there, names that differ only in letter case";
    const struct {
        std::map<DatabaseFile, std::string> renamed; // the files not under their own name
        std::string beside;                          // a second file of one of the names
        std::string ambiguity;                       // what the load says, if it fails
    } cases[] = {
        {{{DatabaseFile::Objects, "OBJECTS.ODB"},
          {DatabaseFile::ThreeDObjects, "3DObjects.3db"},
          {DatabaseFile::Airstrips, "AIRSTRIP.ADB"}},
         "",
         ""},
        {{}, "Mission.DB", "Mission.DB and mission.db" + both},
        {{{DatabaseFile::ThreeDObjects, "3DOBJECTS.3DB"}},
         "3dObjects.3DB",
         "3DOBJECTS.3DB and 3dObjects.3DB" + both},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.beside);
        TemporaryDirectory directory;
        std::set<std::string> names;
        for (const auto& [file, bytes] : contents) {
            const auto renamed = test.renamed.find(file);
            const std::string name =
                renamed == test.renamed.end() ? std::string(fileName(file)) : renamed->second;
            names.insert(name);
            writeFile(directory / name, bytes);
        }
        if (!test.beside.empty()) {
            writeFile(directory / test.beside, {});
        }
        DatabaseSet::LoadResult result = DatabaseSet::load(directory.path());
        EXPECT_EQ(result.ambiguous, !test.ambiguity.empty());
        if (result.failedFile) {
            EXPECT_EQ(result.reason, test.ambiguity);
            continue;
        }
        for (const auto& [file, bytes] : contents) {
            EXPECT_EQ(result.set.buffer(file), bytes) << fileName(file);
        }
        for (DatabaseFile file : saveOrder) {
            result.set.buffer(file).push_back(0x42);
        }
        ASSERT_TRUE(result.set.save(directory.path()).ok());
        EXPECT_EQ(filesIn(directory.path()), names);
        for (DatabaseFile file : saveOrder) {
            EXPECT_EQ(readFile(directory / result.set.storedName(file)), result.set.buffer(file));
        }
    }

    // Saved into another set, a file replaces the one of its name there, in that set's case.
    DatabaseSet set = loaded();
    TemporaryDirectory target;
    writeFile(target / "MISSION.DB", {});
    ASSERT_TRUE(set.save(target.path()).ok());
    EXPECT_EQ(readFile(target / "MISSION.DB"), contents[DatabaseFile::Missions]);
    EXPECT_EQ(filesIn(target.path()).count("mission.db"), 0u);
    writeFile(target / "Mission.db", {});
    set.buffer(DatabaseFile::Objects).clear();
    const DatabaseSet::SaveResult refused = set.save(target.path());
    EXPECT_EQ(refused.error, "Cannot create file " + (target / "mission.db").string() +
                                 ": MISSION.DB and Mission.db" + both);
    EXPECT_TRUE(refused.written.empty());
    EXPECT_EQ(readFile(target / "objects.odb"), contents[DatabaseFile::Objects]);
}

TEST_F(DatabaseSetTest, ASaveIntoAPlaceThatCannotHoldFilesWritesNothing) {
    DatabaseSet set = loaded();
    // Root may write into any directory, but not under a regular file.
    const std::filesystem::path notADirectory = source / "objects.odb";
    const DatabaseSet::SaveResult saved = set.save(notADirectory);
    EXPECT_FALSE(saved.ok());
    EXPECT_EQ(saved.error, "Cannot create file " + (notADirectory / "objects.odb").string());
    EXPECT_TRUE(saved.written.empty());
    EXPECT_EQ(readFile(notADirectory), contents[DatabaseFile::Objects]);
}

TEST_F(DatabaseSetTest, ASaveThatFailsPartWayLeavesEveryFileWholeAndStops) {
    DatabaseSet set = loaded();
    // mission.db, third in the save order, grows past what may be written.
    set.buffer(DatabaseFile::Missions).resize(64 * 1024, 0);
    set.buffer(DatabaseFile::Objects).assign(284, 0x11);
    set.buffer(DatabaseFile::ThreeDObjects).assign(956, 0x22);

    DatabaseSet::SaveResult saved;
    {
        FileSizeLimit limit(16 * 1024);
        saved = set.save(source.path());
    }
    EXPECT_EQ(saved.error, "Stream write error");
    EXPECT_FALSE(saved.reason.empty());
    EXPECT_EQ(saved.written,
              (std::vector<DatabaseFile>{DatabaseFile::Objects, DatabaseFile::ShipBasedAircraft}));
    EXPECT_EQ(onDisk(source.path(), DatabaseFile::Objects), ByteVector(284, 0x11));
    EXPECT_EQ(onDisk(source.path(), DatabaseFile::Missions), contents[DatabaseFile::Missions]);
    EXPECT_EQ(onDisk(source.path(), DatabaseFile::ThreeDObjects),
              contents[DatabaseFile::ThreeDObjects])
        << "files after the failure are not written";
    EXPECT_EQ(filesIn(source.path()).size(), 7u) << "no temporary file is left behind";
}

class DamagedMissionTest : public DatabaseSetTest {
protected:
    void SetUp() override {
        DatabaseSetTest::SetUp();
        // Two nations promised, one there.
        contents[DatabaseFile::Missions] = joined({countBytes(2), simpleNationBlock("Aldermark")});
        writeSet(source.path());
    }

    // What the nation editor's commit leaves: the part that could be read, written anew.
    ByteVector readPart() { return joined({countBytes(1), simpleNationBlock("Aldermark")}); }

    std::filesystem::path backup() { return source / "mission.db.bak"; }
};

TEST_F(DamagedMissionTest, ADamagedFileIsRewrittenAsLoadedWithoutAQuestion) {
    DatabaseSet set = loaded();
    EXPECT_NE(set.damage(DatabaseFile::Missions).find("says it holds 2 nations"),
              std::string::npos);
    int asked = 0;
    const DatabaseSet::SaveResult saved = set.save(source.path(), [&](const DamagedFile&) {
        ++asked;
        return DamagedFileAnswer::Cancel;
    });
    EXPECT_TRUE(saved.ok());
    EXPECT_EQ(asked, 0) << "writing back what was loaded loses nothing";
    EXPECT_EQ(onDisk(source.path(), DatabaseFile::Missions), contents[DatabaseFile::Missions]);
    EXPECT_FALSE(std::filesystem::exists(backup()));
}

TEST_F(DamagedMissionTest, ADamagedFileIsOnlyReplacedWhenTheAnswerSaysSoAndThenKeptAsBackup) {
    DatabaseSet set = loaded();
    set.buffer(DatabaseFile::Missions) = readPart();

    // Without a question, and with the answer to keep it, the damaged file stays.
    for (const DamagedFileQuestion& keep :
         {DamagedFileQuestion{},
          DamagedFileQuestion([](const DamagedFile&) { return DamagedFileAnswer::KeepFile; })}) {
        const DatabaseSet::SaveResult saved = set.save(source.path(), keep);
        ASSERT_TRUE(saved.ok());
        ASSERT_EQ(saved.skipped.size(), 1u);
        EXPECT_EQ(saved.skipped[0].reason, DatabaseSet::SkipReason::DamagedKept);
        EXPECT_EQ(saved.written.size(), 4u);
        EXPECT_EQ(onDisk(source.path(), DatabaseFile::Missions), contents[DatabaseFile::Missions]);
        EXPECT_FALSE(std::filesystem::exists(backup()));
    }

    // Cancel saves nothing at all, not even the files before it in the save order.
    set.buffer(DatabaseFile::Objects).assign(284, 0x33);
    DatabaseSet::SaveResult saved =
        set.save(source.path(), [](const DamagedFile&) { return DamagedFileAnswer::Cancel; });
    EXPECT_TRUE(saved.cancelled);
    EXPECT_FALSE(saved.ok());
    EXPECT_TRUE(saved.written.empty());
    EXPECT_EQ(onDisk(source.path(), DatabaseFile::Objects), contents[DatabaseFile::Objects]);

    // Replace keeps the file as it was loaded beside it.
    std::vector<DamagedFile> asked;
    saved = set.save(source.path(), [&](const DamagedFile& damaged) {
        asked.push_back(damaged);
        return DamagedFileAnswer::Replace;
    });
    ASSERT_TRUE(saved.ok()) << *saved.error;
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].file, DatabaseFile::Missions);
    EXPECT_EQ(asked[0].path, source / "mission.db");
    EXPECT_EQ(asked[0].backup, backup());
    EXPECT_NE(asked[0].damage.find("says it holds 2 nations"), std::string::npos);
    const std::string question = damagedFileQuestion(asked[0]);
    EXPECT_NE(question.find(asked[0].damage), std::string::npos);
    EXPECT_NE(question.find(backup().string()), std::string::npos);
    EXPECT_EQ(saved.backups, std::vector<std::filesystem::path>{backup()});
    EXPECT_EQ(readFile(backup()), contents[DatabaseFile::Missions]);
    EXPECT_EQ(onDisk(source.path(), DatabaseFile::Missions), readPart());
    EXPECT_EQ(onDisk(source.path(), DatabaseFile::Objects), ByteVector(284, 0x33));

    // The file is sound now: the next save asks nothing.
    EXPECT_EQ(set.damage(DatabaseFile::Missions), "");
    int askedAgain = 0;
    set.buffer(DatabaseFile::Missions) = countBytes(0);
    saved = set.save(source.path(), [&](const DamagedFile&) {
        ++askedAgain;
        return DamagedFileAnswer::Cancel;
    });
    EXPECT_TRUE(saved.ok());
    EXPECT_EQ(askedAgain, 0);
}

TEST_F(DamagedMissionTest, ABackupThatCannotBeWrittenStopsTheSaveBeforeTheFile) {
    DatabaseSet set = loaded();
    set.buffer(DatabaseFile::Missions) = readPart();
    std::filesystem::create_directory(backup());
    const DatabaseSet::SaveResult saved =
        set.save(source.path(), [](const DamagedFile&) { return DamagedFileAnswer::Replace; });
    EXPECT_EQ(saved.error, "Cannot create file " + backup().string());
    EXPECT_EQ(onDisk(source.path(), DatabaseFile::Missions), contents[DatabaseFile::Missions]);
    EXPECT_EQ(saved.written,
              (std::vector<DatabaseFile>{DatabaseFile::Objects, DatabaseFile::ShipBasedAircraft}));
    EXPECT_NE(set.damage(DatabaseFile::Missions), "") << "still damaged: it was not replaced";
}

TEST(DatabaseSetFiles, AnEmptyStructuredFileIsAnEmptyDatabaseAndATinyOneIsDamaged) {
    TemporaryDirectory directory;
    for (DatabaseFile file : loadOrder) {
        writeFile(directory / std::string(fileName(file)), {});
    }
    DatabaseSet::LoadResult result = DatabaseSet::load(directory.path());
    ASSERT_FALSE(result.failedFile);
    EXPECT_EQ(result.set.damage(DatabaseFile::Missions), "");
    EXPECT_EQ(result.set.damage(DatabaseFile::ShipBasedAircraft), "");

    writeFile(directory / "shipbasedaircraft.db", ByteVector{1, 0});
    result = DatabaseSet::load(directory.path());
    EXPECT_EQ(result.set.damage(DatabaseFile::ShipBasedAircraft),
              "shipbasedaircraft.db is only 2 bytes long, too short to hold its number of "
              "carriers; no carriers were read.");
}

} // namespace
} // namespace keel
