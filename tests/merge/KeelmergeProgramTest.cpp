// SPDX-License-Identifier: MIT
#include "support/ProgramRun.h"
#include "support/RecordBytes.h"
#include "support/SparseFile.h"
#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <set>
#include <sys/stat.h>

namespace keel {
namespace {

using test::concatenated;
using test::namedRecord;
using test::readFile;
using test::writeFile;

constexpr std::size_t launcherSize = 196;
constexpr std::size_t objectSize = 284;
constexpr std::size_t threeDSize = 956;

class Keelmerge : public ::testing::Test {
protected:
    test::ProgramOutput run(const std::vector<std::string>& arguments,
                            test::ProgramLimits limits = {}) {
        return test::runProgram(KEELMERGE_PATH, arguments, directory.path(), limits);
    }
    void write(const std::string& name, const ByteVector& bytes) { writeFile(directory / name, bytes); }
    ByteVector read(const std::string& name) { return readFile(directory / name); }
    std::set<std::string> files() {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(directory.path())) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    test::TemporaryDirectory directory;
};

TEST_F(Keelmerge, ProcessesLaunchersObjectsThen3DObjectsWhateverTheArgumentOrder) {
    write("launcher.ldb", namedRecord(launcherSize, "GUN"));
    write("export.ldb", namedRecord(launcherSize, "TUBE"));
    write("3dobjects.3db", namedRecord(threeDSize, "Frigate"));
    write("new.3db", namedRecord(threeDSize, "Carrier"));
    write("objects.odb", namedRecord(objectSize, "Frigate"));

    const auto result = run({"-3", "junk", "-L", "-l", "-3"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, "Loaded launcher.ldb\n"
                          "Added record TUBE\n"
                          "Loaded 3dobjects.3db\n"
                          "Added record Carrier\n");
    EXPECT_EQ(read("objects.odb"), namedRecord(objectSize, "Frigate")) << "-o was not given";
    EXPECT_EQ(read("3dobjects.3db"),
              concatenated({namedRecord(threeDSize, "Carrier"), namedRecord(threeDSize, "Frigate")}));
}

TEST_F(Keelmerge, WithoutAnOptionDoesNothingAndPrintsNothing) {
    write("launcher.ldb", concatenated({namedRecord(launcherSize, "B"), namedRecord(launcherSize, "A")}));
    write("export.ldb", namedRecord(launcherSize, "C"));
    const auto before = files();
    for (const auto& arguments : std::vector<std::vector<std::string>>{{}, {"-L", "-O", "l", "--l", "-lo"}}) {
        const auto result = run(arguments);
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "");
    }
    EXPECT_EQ(files(), before);
    EXPECT_EQ(read("launcher.ldb").size(), 2 * launcherSize);
}

TEST_F(Keelmerge, ANewLauncherMasterTakesTheExportedRecordsInFileOrder) {
    const ByteVector exported =
        concatenated({namedRecord(launcherSize, "GUN", 1), namedRecord(launcherSize, "ROCKET", 2)});
    write("exported.ldb", exported);

    const auto result = run({"-l"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "Added record GUN\nAdded record ROCKET\n");
    EXPECT_EQ(read("launcher.ldb"), exported);
    EXPECT_EQ(read("exported.ldb"), exported) << "merged files are only read";
}

TEST_F(Keelmerge, MatchesNamesWithCaseButSortsThemWithout) {
    write("objects.odb", concatenated({namedRecord(objectSize, "BETA", 1), namedRecord(objectSize, "alpha", 2)}));
    write("x.odb", namedRecord(objectSize, "ALPHA", 3));

    const auto result = run({"-o"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "Loaded objects.odb\nAdded record ALPHA\n");
    const ByteVector master = read("objects.odb");
    ASSERT_EQ(master.size(), 3 * objectSize);
    const std::set<Byte> firstTwo{master[objectSize - 1], master[2 * objectSize - 1]};
    EXPECT_EQ(firstTwo, (std::set<Byte>{2, 3})) << "alpha and ALPHA, in either order";
    EXPECT_EQ(ByteVector(master.begin() + 2 * objectSize, master.end()), namedRecord(objectSize, "BETA", 1));
}

TEST_F(Keelmerge, OfTheSameNameTwiceInOneFileTheSecondWins) {
    write("launcher.ldb", namedRecord(launcherSize, "KEEP", 1));
    write("dup.ldb", concatenated({namedRecord(launcherSize, "SAM", 2), namedRecord(launcherSize, "SAM", 3)}));

    const auto result = run({"-l"});
    EXPECT_EQ(result.out, "Loaded launcher.ldb\nAdded record SAM\nReplaced record SAM\n");
    EXPECT_EQ(read("launcher.ldb"),
              concatenated({namedRecord(launcherSize, "KEEP", 1), namedRecord(launcherSize, "SAM", 3)}));
}

TEST_F(Keelmerge, OfTheSameNameInTwoFilesTheLastOneReadWins) {
    write("a.3db", namedRecord(threeDSize, "Sub", 1));
    write("b.3db", namedRecord(threeDSize, "Sub", 2));

    const auto result = run({"-3"});
    EXPECT_EQ(result.out, "Added record Sub\nReplaced record Sub\n");
    const ByteVector master = read("3dobjects.3db");
    ASSERT_EQ(master.size(), threeDSize);
    // Which file the listing returns first is the directory's business; the other one wins.
    EXPECT_TRUE(master == namedRecord(threeDSize, "Sub", 1) || master == namedRecord(threeDSize, "Sub", 2));
}

TEST_F(Keelmerge, TrailingPartialRecordsAreDroppedAndTheMasterStaysWhole) {
    ByteVector master = concatenated({namedRecord(launcherSize, "ONE", 1), namedRecord(launcherSize, "TWO", 2)});
    const ByteVector wholeMaster = master;
    master.resize(master.size() + 50, 0x66);
    write("launcher.ldb", master);
    ByteVector merged = namedRecord(launcherSize, "THREE", 3);
    merged.resize(merged.size() + 100, 'Q');
    write("more.ldb", merged);
    write("short.ldb", ByteVector(launcherSize - 1, 'S'));

    const auto result = run({"-l"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "Loaded launcher.ldb\nAdded record THREE\n");
    EXPECT_EQ(read("launcher.ldb"), concatenated({wholeMaster, namedRecord(launcherSize, "THREE", 3)}));

    // With nothing to merge a launcher master comes back byte for byte, less its partial tail.
    std::filesystem::remove(directory / "more.ldb");
    write("launcher.ldb", master);
    EXPECT_EQ(run({"-l"}).out, "Loaded launcher.ldb\n");
    EXPECT_EQ(read("launcher.ldb"), wholeMaster);
}

TEST_F(Keelmerge, BlankRecordsAreNeitherMergedNorReplacedAndSortFirst) {
    ByteVector blankInMaster = namedRecord(objectSize, "", 4);
    blankInMaster[3] = 'x';
    write("objects.odb", concatenated({namedRecord(objectSize, "Tanker", 1), blankInMaster}));
    write("in.odb", concatenated({namedRecord(objectSize, "", 5), namedRecord(objectSize, "Oiler", 6)}));

    const auto result = run({"-o"});
    EXPECT_EQ(result.out, "Loaded objects.odb\nAdded record Oiler\n");
    EXPECT_EQ(read("objects.odb"), concatenated({blankInMaster, namedRecord(objectSize, "Oiler", 6),
                                                 namedRecord(objectSize, "Tanker", 1)}));
}

TEST_F(Keelmerge, AMasterInCapitalsIsTheMasterAndIsNotMergedIntoItself) {
    write("OBJECTS.ODB", concatenated({namedRecord(objectSize, "Zeta", 1), namedRecord(objectSize, "Eta", 2)}));
    write("Patch.ODB", namedRecord(objectSize, "Zeta", 3));
    write("Launcher.LDB", namedRecord(launcherSize, "GUN", 1));

    const auto result = run({"-o", "-l"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "Loaded Launcher.LDB\nLoaded OBJECTS.ODB\nReplaced record Zeta\n");
    EXPECT_EQ(files(), (std::set<std::string>{"OBJECTS.ODB", "Patch.ODB", "Launcher.LDB"}))
        << "written back under the names they have, and nothing else left behind";
    EXPECT_EQ(read("OBJECTS.ODB"),
              concatenated({namedRecord(objectSize, "Eta", 2), namedRecord(objectSize, "Zeta", 3)}));
}

TEST_F(Keelmerge, NamesAreWrittenByteForByteAndBoundedByTheirField) {
    // A name of 20 characters fills the field with no terminator; bytes after it are not name.
    ByteVector full(objectSize, 'W');
    full[20] = 'z';
    full[objectSize - 1] = 1;
    write("objects.odb", full);
    ByteVector replacement(objectSize, 'W');
    replacement[20] = 0;
    replacement[objectSize - 1] = 2;
    const std::string latin1 = "Caf\xE9 \xC9tienne";
    write("a.odb", concatenated({replacement, namedRecord(objectSize, latin1, 3)}));

    const auto result = run({"-o"});
    EXPECT_EQ(result.out, "Loaded objects.odb\nReplaced record " + std::string(20, 'W') +
                              "\nAdded record " + latin1 + "\n");
    const ByteVector master = read("objects.odb");
    ASSERT_EQ(master.size(), 2 * objectSize);
    EXPECT_EQ(master[objectSize - 1], 3) << "C sorts before W";
    EXPECT_EQ(ByteVector(master.begin() + objectSize, master.end()), replacement);
}

TEST_F(Keelmerge, AMasterThatCannotBeReadIsLeftAloneAndTheOthersStillRun) {
    std::filesystem::create_directory(directory / "objects.odb");
    write("objects.odb/inside", ByteVector{1, 2, 3});
    write("new.odb", namedRecord(objectSize, "Lost", 1));
    write("new.ldb", namedRecord(launcherSize, "GUN", 1));
    write("new.3db", namedRecord(threeDSize, "Sub", 1));

    const auto result = run({"-l", "-o", "-3"});
    EXPECT_NE(result.exitCode, 0);
    EXPECT_EQ(result.out, "Added record GUN\nAdded record Sub\n");
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    EXPECT_NE(result.err.find("objects.odb"), std::string::npos) << result.err;
    EXPECT_TRUE(std::filesystem::is_directory(directory / "objects.odb"));
    EXPECT_EQ(read("objects.odb/inside"), (ByteVector{1, 2, 3}));
    EXPECT_EQ(read("launcher.ldb"), namedRecord(launcherSize, "GUN", 1));
    EXPECT_EQ(read("3dobjects.3db"), namedRecord(threeDSize, "Sub", 1));
}

TEST_F(Keelmerge, AWriteThatFailsLeavesTheOldMasterWholeAndSaysSo) {
    ByteVector master;
    for (int i = 0; i < 10; ++i) {
        const ByteVector record = namedRecord(threeDSize, "Ship" + std::to_string(i), Byte(i));
        master.insert(master.end(), record.begin(), record.end());
    }
    write("3dobjects.3db", master);
    write("more.3db", namedRecord(threeDSize, "Ship99", 99));
    const auto before = files();

    // The new master would be 11 records long; the limit lets only a few kilobytes be written.
    const auto result = run({"-3"}, {.fileSizeLimit = 4 * threeDSize});
    EXPECT_NE(result.exitCode, 0);
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    EXPECT_NE(result.err.find("3dobjects.3db"), std::string::npos) << result.err;
    EXPECT_EQ(read("3dobjects.3db"), master);
    EXPECT_EQ(files(), before) << "no temporary file may be left behind";
}

TEST_F(Keelmerge, OnlyFilesOfTheExtensionAreMergedWhateverTheirCase) {
    write("A.LDB", namedRecord(launcherSize, "UPPER", 1));
    write("b.ldb.bak", namedRecord(launcherSize, "BACKUP", 2));
    write("c.odb", namedRecord(launcherSize, "WRONGKIND", 3));
    std::filesystem::create_directory(directory / "folder.ldb");

    const auto result = run({"-l"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "Added record UPPER\n");
    EXPECT_EQ(read("launcher.ldb"), namedRecord(launcherSize, "UPPER", 1));
}

// A named pipe waits for a writer when opened for reading, and a file larger than memory
// cannot be held: neither may stop a run.
constexpr test::ProgramLimits promptly{.fileSizeLimit = std::nullopt,
                                       .timeLimit = std::chrono::seconds(10)};

TEST_F(Keelmerge, APipeOrAFileLargerThanMemoryAmongTheMergedFilesIsSkipped) {
    write("launcher.ldb", namedRecord(launcherSize, "GUN", 1));
    write("export.ldb", namedRecord(launcherSize, "TUBE", 2));
    ASSERT_EQ(::mkfifo((directory / "pipe.ldb").c_str(), 0644), 0);
    if (!test::makeFileLargerThanMemory(directory / "huge.ldb")) {
        GTEST_SKIP() << "the temporary directory's file system holds no sparse files";
    }
    const auto before = files();

    const auto result = run({"-l"}, promptly);
    EXPECT_FALSE(result.timedOut) << "keelmerge hung";
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "Loaded launcher.ldb\nAdded record TUBE\n");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(read("launcher.ldb"), concatenated({namedRecord(launcherSize, "GUN", 1),
                                                  namedRecord(launcherSize, "TUBE", 2)}));
    EXPECT_EQ(files(), before);
    EXPECT_TRUE(std::filesystem::is_fifo(directory / "pipe.ldb"));
}

TEST_F(Keelmerge, AMasterThatIsAPipeOrLargerThanMemoryIsReportedAndLeftAlone) {
    ASSERT_EQ(::mkfifo((directory / "launcher.ldb").c_str(), 0644), 0);
    write("export.ldb", namedRecord(launcherSize, "TUBE", 2));
    if (!test::makeFileLargerThanMemory(directory / "objects.odb")) {
        GTEST_SKIP() << "the temporary directory's file system holds no sparse files";
    }
    const auto hugeSize = std::filesystem::file_size(directory / "objects.odb");
    write("new.odb", namedRecord(objectSize, "Lost", 1));
    write("new.3db", namedRecord(threeDSize, "Sub", 1));

    const auto result = run({"-l", "-o", "-3"}, promptly);
    EXPECT_FALSE(result.timedOut) << "keelmerge hung";
    EXPECT_NE(result.exitCode, 0);
    EXPECT_EQ(result.out, "Added record Sub\n");
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 2) << result.err;
    EXPECT_NE(result.err.find("keelmerge: cannot read launcher.ldb ("), std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find("keelmerge: cannot read objects.odb ("), std::string::npos)
        << result.err;
    EXPECT_TRUE(std::filesystem::is_fifo(directory / "launcher.ldb"));
    EXPECT_EQ(std::filesystem::file_size(directory / "objects.odb"), hugeSize);
    EXPECT_EQ(read("3dobjects.3db"), namedRecord(threeDSize, "Sub", 1));
}

} // namespace
} // namespace keel
