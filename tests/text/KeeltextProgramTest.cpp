// SPDX-License-Identifier: MIT
// keeltext as a user runs it: the built program on the sample set in a temporary directory.
#include "support/ProgramRun.h"
#include "support/TemporaryDirectory.h"
#include "tools/SampleSet.h"

#include <gtest/gtest.h>

namespace keel {
namespace {

class Keeltext : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(writeSampleSet(directory.path())); }

    test::ProgramOutput run(const std::vector<std::string>& arguments) {
        return test::runProgram(KEELTEXT_PATH, arguments, directory.path(), {std::nullopt, std::chrono::seconds(30)});
    }

    test::TemporaryDirectory directory;
};

TEST_F(Keeltext, ExportsToStandardOutputOrAFileAndImportsBackByteForByte) {
    const test::ProgramOutput out = run({"export", "objects.odb"});
    EXPECT_EQ(out.exitCode, 0) << out.err;
    EXPECT_TRUE(out.out.starts_with("ObjectName,DisplayName,ObjType,")) << out.out.substr(0, 100);
    ASSERT_EQ(run({"export", "objects.odb", "-o", "objects.csv"}).exitCode, 0);
    EXPECT_EQ(test::readFile(directory / "objects.csv"), ByteVector(out.out.begin(), out.out.end()));

    for (const std::string kind : {"nations", "carriers"}) {
        const std::string file = kind == "nations" ? "mission.db" : "shipbasedaircraft.db";
        ASSERT_EQ(run({"export", file, "-o", kind + ".json"}).exitCode, 0);
        const test::ProgramOutput imported = run({"import", kind + ".json", "--kind=" + kind, "-o", kind + ".db"});
        EXPECT_EQ(imported.exitCode, 0) << imported.err;
        EXPECT_EQ(test::readFile(directory / (kind + ".db")), test::readFile(directory / file));
    }
}

TEST_F(Keeltext, RefusesWhatItCannotDoWithItsStatusAndWritesNothing) {
    test::writeFile(directory / "bad.csv", ByteVector{'N', 'a', 'm', 'e', '\n', '"'});
    const ByteVector sensors = test::readFile(directory / "sensors.sdb");
    struct Refusal {
        std::vector<std::string> arguments;
        int status;
        std::string message; // the first line on standard error
    };
    const Refusal refusals[] = {
        {{}, 2, "keeltext: no subcommand given"},
        {{"print", "objects.odb"}, 2, "keeltext: unknown subcommand 'print'"},
        {{"export", "objects.odb", "--readable=yes"}, 2, "keeltext: the option '--readable' takes no value"},
        {{"export", "mission.db", "--csv"}, 2, "keeltext: nations have no CSV form; their text is JSON"},
        {{"export", "navy.db"}, 2, "keeltext: navy.db: a .db file may hold nations or carriers; give --kind nations or --kind carriers"},
        {{"export", "sensors.sdb", "-o", "./sensors.sdb"}, 2, "keeltext: -o ./sensors.sdb is the file being exported; give another"},
        {{"export", "missing.odb"}, 1, "keeltext: cannot read missing.odb: No such file or directory"},
        {{"import", "bad.csv"}, 2, "keeltext: give the file to make with -o FILE"},
        {{"import", "bad.csv", "-o", "sensors.sdb", "--kind", "ships"}, 2,
         "keeltext: unknown kind 'ships'; the kinds are objects, launchers, 3dobjects, nations, carriers, sensors, airstrips"},
        {{"import", "bad.csv", "-o", "sensors.sdb"}, 1, "bad.csv:2: malformed CSV: a quoted cell is not closed"},
    };
    for (const Refusal& refusal : refusals) {
        const test::ProgramOutput out = run(refusal.arguments);
        EXPECT_EQ(out.exitCode, refusal.status) << out.err;
        EXPECT_EQ(out.err.substr(0, out.err.find('\n')), refusal.message);
        EXPECT_EQ(refusal.status == 2, out.err.find("Usage: keeltext") != std::string::npos) << out.err;
    }
    EXPECT_EQ(test::readFile(directory / "sensors.sdb"), sensors);
    EXPECT_FALSE(std::filesystem::exists(directory / "navy.db"));

    const test::ProgramOutput version = run({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.starts_with("keeltext ")) << version.out;
    EXPECT_EQ(run({"import", "--help"}).exitCode, 0);
}

} // namespace
} // namespace keel
