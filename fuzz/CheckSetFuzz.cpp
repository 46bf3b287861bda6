// SPDX-License-Identifier: MIT
// keelcheck over a database directory of seven files made from the input: the set always loads
// (six of the seven files at least are there), the slots it finds naming nothing are exactly
// those a plain scan of the object records finds, a damaged structured file is always told,
// every finding is one line of the text report, and the JSON report is JSON that lists every
// finding and counts the findings of every kind.
//
// Input: a set of seven files, one of which may be left out (fuzz/SetInput.h).
#include "check/CheckedSet.h"
#include "check/Reports.h"
#include "check/SetCheck.h"
#include "fuzz/CountedWalk.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/ScratchDirectory.h"
#include "fuzz/SetInput.h"
#include "support/Json.h"

#include <array>
#include <map>
#include <sstream>
#include <string>

namespace {

using namespace keel;

constexpr std::size_t fileCount = keel::fuzz::SetInput::fileCount;

std::size_t indexOf(DatabaseFile file) {
    for (std::size_t i = 0; i < fileCount; ++i) {
        if (loadOrder[i] == file) {
            return i;
        }
    }
    return fileCount;
}

// Slots holding a value that is neither 0 nor a record number of a list that was read, counted
// from the raw bytes: each object record of 284 bytes holds 30 launcher slots at 124, 10
// airstrip slots at 184 and 9 sensor slots at 208, each a signed 16-bit little-endian number.
std::size_t slotsNamingNothing(const std::array<ByteVector, fileCount>& contents, std::size_t missing) {
    struct SlotArray {
        std::size_t offset;
        std::size_t count;
        DatabaseFile list;
        std::size_t recordSize;
    };
    constexpr std::array<SlotArray, 3> arrays{{{124, 30, DatabaseFile::Launchers, 196},
                                              {184, 10, DatabaseFile::Airstrips, 116},
                                              {208, 9, DatabaseFile::Sensors, 152}}};
    const std::size_t objectsAt = indexOf(DatabaseFile::Objects);
    if (objectsAt == missing) {
        return 0;
    }
    const ByteVector& objects = contents[objectsAt];
    std::size_t found = 0;
    for (const SlotArray& slots : arrays) {
        const std::size_t listAt = indexOf(slots.list);
        if (listAt == missing) {
            continue;
        }
        const auto records = static_cast<long>(contents[listAt].size() / slots.recordSize);
        for (std::size_t record = 0; record + 284 <= objects.size(); record += 284) {
            for (std::size_t slot = 0; slot < slots.count; ++slot) {
                const std::size_t at = record + slots.offset + 2 * slot;
                const auto value = static_cast<std::int16_t>(objects[at] | (objects[at + 1] << 8));
                found += value < 0 || value > records ? 1 : 0;
            }
        }
    }
    return found;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const keel::fuzz::SetInput input = keel::fuzz::SetInput::take(data, size);
    const std::size_t missing = input.missing;
    const auto& contents = input.contents;
    const std::filesystem::path& directory = keel::fuzz::emptyScratchDirectory();
    input.writeInto(directory);

    const CheckedSet::Load loaded = CheckedSet::load(directory);
    KEEL_FUZZ_CHECK(loaded.set.has_value());
    const CheckedSet& set = *loaded.set;
    for (std::size_t i = 0; i < fileCount; ++i) {
        KEEL_FUZZ_CHECK(set.has(loadOrder[i]) == (i != missing));
    }
    const FindingList findings = checkSet(set);

    KEEL_FUZZ_CHECK(findings.count(FindingKind::MissingFile) == (missing < fileCount ? 1u : 0u));
    KEEL_FUZZ_CHECK(findings.count(FindingKind::SlotNamesNothing) == slotsNamingNothing(contents, missing));
    bool damageTold[2] = {false, false};
    for (const Finding& finding : findings.all()) {
        if (finding.kind == FindingKind::DamagedFile) {
            damageTold[0] = damageTold[0] || finding.file == DatabaseFile::Missions;
            damageTold[1] = damageTold[1] || finding.file == DatabaseFile::ShipBasedAircraft;
        }
    }
    const std::size_t missionsAt = indexOf(DatabaseFile::Missions);
    if (missionsAt != missing) {
        KEEL_FUZZ_CHECK(damageTold[0] == !keel::fuzz::walkMissionFile(contents[missionsAt]).clean());
    }
    const std::size_t carriersAt = indexOf(DatabaseFile::ShipBasedAircraft);
    if (carriersAt != missing) {
        KEEL_FUZZ_CHECK(damageTold[1] == !keel::fuzz::walkCarrierFile(contents[carriersAt]).clean());
    }

    // The text report: a heading and a blank line around each kind's findings, one indented line
    // each, then the summary.
    std::ostringstream text;
    TextReport::write(set, findings, text);
    std::size_t findingLines = 0;
    std::string line;
    std::istringstream lines(text.str());
    std::string last;
    while (std::getline(lines, line)) {
        findingLines += line.rfind("  ", 0) == 0 ? 1 : 0;
        for (char c : line) {
            KEEL_FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
        }
        last = line;
    }
    KEEL_FUZZ_CHECK(findingLines == findings.size());
    KEEL_FUZZ_CHECK(last.rfind("Checked ", 0) == 0);
    KEEL_FUZZ_CHECK(keel::fuzz::endsWith(last, "no findings.") == findings.empty());

    std::ostringstream json;
    JsonReport::write(set, findings, json);
    try {
        const keel::test::JsonDocument report = keel::test::parseJson(json.str());
        const auto& listed = report.at("findings");
        KEEL_FUZZ_CHECK(listed.size() == findings.size());
        KEEL_FUZZ_CHECK(report.at("summary").at("findings").get<std::size_t>() == findings.size());
        // The summary counts every kind, those not found as 0, as the list of findings has them.
        std::map<std::string, std::int64_t> kinds;
        for (FindingKind kind : allFindingKinds) {
            kinds[std::string(findingKindId(kind))] = 0;
        }
        for (const auto& finding : listed) {
            ++kinds[finding.at("kind").get<std::string>()];
        }
        const auto& summed = report.at("summary").at("kinds");
        KEEL_FUZZ_CHECK(summed.size() == kinds.size());
        for (const auto& [kind, count] : kinds) {
            KEEL_FUZZ_CHECK(summed.contains(kind) && summed.at(kind).is_number_integer() &&
                            summed.at(kind).get<std::int64_t>() == count);
        }
    } catch (const std::exception&) {
        keel::fuzz::propertyBroken("the JSON report is JSON", __FILE__, __LINE__);
    }
    return 0;
}
