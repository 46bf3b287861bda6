// SPDX-License-Identifier: MIT
// keeltext diff as a user runs it: the built program on two copies of the sample set, one of
// them edited, and on what it cannot compare.
#include "common/FieldText.h"
#include "support/Json.h"
#include "support/ProgramRun.h"
#include "support/TemporaryDirectory.h"
#include "text/LosslessFile.h"
#include "tools/SampleSet.h"

#include <gtest/gtest.h>
#include <sstream>

namespace keel {
namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

TEST(KeeltextDiff, ExitStatusesAndTheJsonReport) {
    test::TemporaryDirectory directory;
    ASSERT_FALSE(writeSampleSet(directory / "stock"));
    ASSERT_FALSE(writeSampleSet(directory / "mod"));
    const auto run = [&](const std::vector<std::string>& arguments) {
        return test::runProgram(KEELTEXT_PATH, arguments, directory.path());
    };
    EXPECT_EQ(run({"diff", "stock", "mod"}).exitCode, 0);

    // A frigate one knot faster, and no airstrips.
    const std::filesystem::path objects = directory / "mod" / "objects.odb";
    LosslessFile edited = readLosslessFile(RecordKind::Objects, test::readFile(objects));
    const FieldInfo& maxSpeed =
        *findField(recordKind(RecordKind::Objects).top().fields, "MaxSpeed");
    StoredRecord& first = edited.records.front();
    const std::string speed = fieldValueText(maxSpeed, first.bytes);
    ASSERT_FALSE(
        storeFieldValueText(maxSpeed, first.bytes, 0, std::to_string(std::stoi(speed) + 1)));
    test::writeFile(objects, writeLosslessFile(edited));
    std::filesystem::remove(directory / "mod" / "airstrip.adb");

    const test::ProgramOutput text = run({"diff", "stock", "mod"});
    EXPECT_EQ(text.exitCode, 1);
    EXPECT_EQ(text.err, "");
    const std::vector<std::string> lines = linesOf(text.out);
    ASSERT_EQ(lines.size(), 2u) << text.out;
    EXPECT_TRUE(lines[0].starts_with("objects.odb \"")) << lines[0];
    EXPECT_TRUE(
        lines[0].ends_with(" MaxSpeed: " + speed + " -> " + std::to_string(std::stoi(speed) + 1)))
        << lines[0];
    EXPECT_EQ(lines[1], "airstrip.adb: only in A");

    const test::ProgramOutput json = run({"diff", "--json", "stock", "mod"});
    EXPECT_EQ(json.exitCode, 1);
    const test::JsonDocument report = test::parseJson(json.out);
    EXPECT_FALSE(report.at("equal").get<bool>());
    const auto& differences = report.at("differences");
    ASSERT_EQ(differences.size(), lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(differences.at(i).at("text").get<std::string>(), lines[i]);
    }
    const auto& changed = differences.at(0);
    EXPECT_EQ(changed.at("change").get<std::string>(), "field");
    EXPECT_EQ(changed.at("field").get<std::string>(), "MaxSpeed");
    EXPECT_EQ(changed.at("record").at(0).at("a").get<int>(), 1);
    EXPECT_EQ(changed.at("b").get<std::string>(), std::to_string(std::stoi(speed) + 1));
    EXPECT_EQ(differences.at(1).at("change").get<std::string>(), "file-only-in-a");
    EXPECT_TRUE(
        test::parseJson(run({"diff", "--json", "stock", "stock"}).out).at("equal").get<bool>());

    // What cannot be compared is trouble, told on standard error alone.
    std::filesystem::create_directory(directory / "mod" / "launcher.ldb.d");
    std::filesystem::remove(directory / "mod" / "launcher.ldb");
    std::filesystem::rename(directory / "mod" / "launcher.ldb.d",
                            directory / "mod" / "launcher.ldb");
    const std::vector<std::vector<std::string>> troubles{
        {"diff", "--json", "stock", "mod"},                                // a file that is no file
        {"diff", "stock/objects.odb", "stock/launcher.ldb"},               // kinds differ
        {"diff", "stock/mission.db", "mod/mission.db", "--kind", "boats"}, // no such kind
        {"diff", "stock", "mod/objects.odb"},
        {"diff", "stock", "elsewhere"},
        {"diff", "stock/..", "mod/.."}, // directories of no set
        {"diff", "--json", "stock"},
        {"diff", "--colour", "stock", "mod"},
    };
    for (const std::vector<std::string>& arguments : troubles) {
        const test::ProgramOutput trouble = run(arguments);
        EXPECT_EQ(trouble.exitCode, 2) << arguments[2];
        EXPECT_EQ(trouble.out, "") << arguments[2];
        EXPECT_TRUE(trouble.err.starts_with("keeltext: ")) << trouble.err;
    }
}

} // namespace
} // namespace keel
