// SPDX-License-Identifier: MIT
// A database directory of seven files, made from the input in a scratch directory, loaded as a
// set and saved back: loading keeps every byte and says what is wrong with the structured
// files; saving an unchanged set changes no file; a damaged file that the editors would write
// differently is only replaced when the answer says so, and then kept as a backup.
//
// Input: a set of seven files, one of which may be left out (fuzz/SetInput.h).
#include "carriers/CarrierList.h"
#include "fuzz/CountedWalk.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/ScratchDirectory.h"
#include "fuzz/SetInput.h"
#include "nations/NationList.h"
#include "set/DatabaseSet.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace {

using namespace keel;
namespace fs = std::filesystem;

constexpr std::size_t fileCount = loadOrder.size();

std::vector<std::string> setFileNames() {
    std::vector<std::string> names;
    for (DatabaseFile file : loadOrder) {
        names.emplace_back(fileName(file));
    }
    std::sort(names.begin(), names.end());
    return names;
}

// What the editor of a structured file writes after taking it as loaded.
ByteVector editedContent(DatabaseFile file, const ByteVector& loaded) {
    if (file == DatabaseFile::Missions) {
        NationList nations;
        nations.takeFrom(loaded);
        return nations.fileBytes();
    }
    CarrierList carriers;
    carriers.takeFrom(loaded);
    return carriers.fileBytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const keel::fuzz::SetInput input = keel::fuzz::SetInput::take(data, size);
    const std::size_t missing = input.missing;
    const auto& contents = input.contents;
    const fs::path& directory = keel::fuzz::emptyScratchDirectory();
    input.writeInto(directory);

    DatabaseSet::LoadResult loaded = DatabaseSet::load(directory);
    if (missing < fileCount) {
        // Loading stops at the missing file and says which; what came before it was read whole.
        KEEL_FUZZ_CHECK(loaded.failedFile ==
                        (directory / std::string(fileName(loadOrder[missing]))).string());
        for (std::size_t i = 0; i < fileCount; ++i) {
            KEEL_FUZZ_CHECK(loaded.set.wasRead(loadOrder[i]) == (i < missing));
            if (i < missing) {
                KEEL_FUZZ_CHECK(loaded.set.buffer(loadOrder[i]) == contents[i]);
            }
        }
        return 0;
    }

    KEEL_FUZZ_CHECK(!loaded.failedFile);
    DatabaseSet& set = loaded.set;
    KEEL_FUZZ_CHECK(set.complete());
    std::vector<DatabaseFile> damaged;
    for (std::size_t i = 0; i < fileCount; ++i) {
        const DatabaseFile file = loadOrder[i];
        KEEL_FUZZ_CHECK(set.buffer(file) == contents[i]);
        bool clean = true;
        if (file == DatabaseFile::Missions) {
            clean = keel::fuzz::walkMissionFile(contents[i]).clean();
            KEEL_FUZZ_CHECK(set.damage(file) ==
                            readMissionDatabase(contents[i], "mission.db").report.text());
        } else if (file == DatabaseFile::ShipBasedAircraft) {
            clean = keel::fuzz::walkCarrierFile(contents[i]).clean();
            KEEL_FUZZ_CHECK(set.damage(file) ==
                            readCarrierDatabase(contents[i], "shipbasedaircraft.db").report.text());
        }
        KEEL_FUZZ_CHECK(set.damage(file).empty() == clean);
        if (!clean) {
            damaged.push_back(file);
        }
    }

    // Saving what was loaded writes the five editable files as they were, without a question.
    DatabaseSet::SaveResult saved = set.save(directory, [](const DamagedFile&) {
        keel::fuzz::propertyBroken("no question for a file saved as loaded", __FILE__, __LINE__);
        return DamagedFileAnswer::Cancel;
    });
    KEEL_FUZZ_CHECK(saved.ok());
    KEEL_FUZZ_CHECK(saved.written == std::vector<DatabaseFile>(saveOrder.begin(), saveOrder.end()));
    KEEL_FUZZ_CHECK(saved.skipped.empty() && saved.backups.empty());
    KEEL_FUZZ_CHECK(keel::fuzz::entryNames(directory) == setFileNames());
    for (std::size_t i = 0; i < fileCount; ++i) {
        KEEL_FUZZ_CHECK(keel::fuzz::readFile(directory / std::string(fileName(loadOrder[i]))) ==
                        contents[i]);
    }

    // The editors' content of a damaged file: it is kept on disk when the answer says so, and
    // written, with the file as loaded kept beside it, when the answer is to replace it.
    std::vector<DatabaseFile> changed;
    for (DatabaseFile file : damaged) {
        ByteVector edited = editedContent(file, set.buffer(file));
        if (edited != set.buffer(file)) {
            set.buffer(file) = std::move(edited);
            changed.push_back(file);
        }
    }
    if (changed.empty()) {
        return 0;
    }
    std::vector<DatabaseFile> asked;
    saved = set.save(directory, [&](const DamagedFile& file) {
        asked.push_back(file.file);
        KEEL_FUZZ_CHECK(file.damage == set.damage(file.file));
        return DamagedFileAnswer::KeepFile;
    });
    KEEL_FUZZ_CHECK(saved.ok());
    KEEL_FUZZ_CHECK(asked.size() == changed.size());
    KEEL_FUZZ_CHECK(saved.skipped.size() == changed.size());
    KEEL_FUZZ_CHECK(saved.written.size() + changed.size() == saveOrder.size());
    for (std::size_t i = 0; i < fileCount; ++i) {
        KEEL_FUZZ_CHECK(keel::fuzz::readFile(directory / std::string(fileName(loadOrder[i]))) ==
                        contents[i]);
    }

    saved = set.save(directory, [](const DamagedFile&) { return DamagedFileAnswer::Replace; });
    KEEL_FUZZ_CHECK(saved.ok());
    KEEL_FUZZ_CHECK(saved.backups.size() == changed.size());
    for (std::size_t i = 0; i < fileCount; ++i) {
        const DatabaseFile file = loadOrder[i];
        const fs::path path = directory / std::string(fileName(file));
        const bool replaced = std::find(changed.begin(), changed.end(), file) != changed.end();
        KEEL_FUZZ_CHECK(keel::fuzz::readFile(path) == (replaced ? set.buffer(file) : contents[i]));
        if (replaced) {
            KEEL_FUZZ_CHECK(keel::fuzz::readFile(fs::path(path) += ".bak") == contents[i]);
            KEEL_FUZZ_CHECK(set.damage(file).empty());
        }
    }

    // What the editors wrote is sound when loaded again.
    const DatabaseSet::LoadResult again = DatabaseSet::load(directory);
    KEEL_FUZZ_CHECK(!again.failedFile);
    for (DatabaseFile file : changed) {
        KEEL_FUZZ_CHECK(again.set.damage(file).empty());
    }
    return 0;
}
