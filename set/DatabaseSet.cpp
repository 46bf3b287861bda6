// SPDX-License-Identifier: MIT
#include "set/DatabaseSet.h"

#include "carriers/SbaDb.h"
#include "common/FileIo.h"
#include "common/FileNameCase.h"
#include "nations/MissionDb.h"

#include <algorithm>
#include <iterator>

namespace keel {
namespace {

// The structured files are walked once at load time to learn whether they are sound.
ReadReport structuredReport(DatabaseFile file, ConstByteSpan bytes) {
    switch (file) {
    case DatabaseFile::Missions:
        return readMissionDatabase(bytes, fileName(file)).report;
    case DatabaseFile::ShipBasedAircraft:
        return readCarrierDatabase(bytes, fileName(file)).report;
    default:
        return {};
    }
}

std::filesystem::path backupPath(const std::filesystem::path& path) {
    std::filesystem::path backup = path;
    backup += ".bak";
    return backup;
}

bool anythingAt(const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::symlink_status(path, error);
    // A path that cannot be looked at is treated as taken: nothing is written over it.
    return error ? error != std::errc::no_such_file_or_directory
                 : status.type() != std::filesystem::file_type::not_found;
}

// Fills in the failure of a write, or gives false when the write succeeded.
bool failed(const WriteResult& written, const std::filesystem::path& path,
            DatabaseSet::SaveResult& result) {
    if (written.ok()) {
        return false;
    }
    result.error = writeFailureMessage(written, path);
    result.reason = written.reason;
    return true;
}

// What was found wrong with a damaged file, in the words that both the report after loading
// and the question before saving use.
std::string damageStatement(DatabaseFile file, const std::string& damage) {
    return std::string(fileName(file)) +
           " could not be read as it stands when the databases were loaded:\n" + damage;
}

} // namespace

std::string_view fileName(DatabaseFile file) {
    switch (file) {
    case DatabaseFile::Objects:
        return "objects.odb";
    case DatabaseFile::Launchers:
        return "launcher.ldb";
    case DatabaseFile::ShipBasedAircraft:
        return "shipbasedaircraft.db";
    case DatabaseFile::Missions:
        return "mission.db";
    case DatabaseFile::ThreeDObjects:
        return "3dobjects.3db";
    case DatabaseFile::Sensors:
        return "sensors.sdb";
    case DatabaseFile::Airstrips:
        return "airstrip.adb";
    }
    return {};
}

SetDirectory::SetDirectory(const std::filesystem::path& directory) : directory_(directory) {
    std::error_code error;
    std::filesystem::directory_iterator entries(directory, error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        names_.push_back(entries->path().filename().string());
    }
    listed_ = !error;
    if (!listed_) {
        names_.clear();
    }
}

SetDirectory::Found SetDirectory::find(DatabaseFile file) const {
    const std::string_view own = fileName(file);
    if (!listed_) {
        return {std::string(own), anythingAt(directory_ / own), {}};
    }
    std::vector<std::string> matching;
    std::copy_if(names_.begin(), names_.end(), std::back_inserter(matching),
                 [own](const std::string& name) { return equalIgnoringAsciiCase(name, own); });
    switch (matching.size()) {
    case 0:
        return {std::string(own), false, {}};
    case 1:
        return {matching.front(), true, {}};
    default:
        std::sort(matching.begin(), matching.end());
        return {std::string(own), true, std::move(matching)};
    }
}

std::string SetDirectory::Found::ambiguity() const {
    std::string names;
    for (std::size_t i = 0; i < sameNames.size(); ++i) {
        names += i == 0 ? "" : i + 1 == sameNames.size() ? " and " : ", ";
        names += sameNames[i];
    }
    return names + (sameNames.size() == 2 ? " both" : " all") +
           " stand there, names that differ only in letter case";
}

std::string damagedFileQuestion(const DamagedFile& file) {
    const std::string name(fileName(file.file));
    return damageStatement(file.file, file.damage) + "\n\nSaving replaces " + file.path.string() +
           " with what the editor now holds. The file as it was loaded is kept as " +
           file.backup.string() + ".\n\nDo you wish to replace " + name + "?";
}

std::string loadedDamageReport(const DatabaseSet& set) {
    std::string text;
    for (DatabaseFile file : loadOrder) {
        if (!set.damage(file).empty()) {
            text += damageStatement(file, set.damage(file)) + "\n\n";
        }
    }
    if (text.empty()) {
        return text;
    }
    return text + "The editors hold what could be read, repaired where it had to be. A save "
                  "asks before it replaces a damaged file.";
}

DatabaseSet::LoadResult DatabaseSet::load(const std::filesystem::path& directory) {
    LoadResult result;
    const SetDirectory names(directory);
    for (DatabaseFile file : loadOrder) {
        const SetDirectory::Found found = names.find(file);
        const std::filesystem::path path = directory / found.name;
        if (found.ambiguous()) {
            result.failedFile = path.string();
            result.reason = found.ambiguity();
            result.ambiguous = true;
            return result;
        }
        ReadResult read = readWholeFile(path);
        if (!read.ok()) {
            result.failedFile = path.string();
            result.reason = std::move(read.reason);
            return result;
        }
        result.set.buffers_[index(file)] = std::move(read.bytes);
        result.set.read_[index(file)] = true;
        result.set.names_[index(file)] = found.name;
        result.set.noteDamage(file);
    }
    return result;
}

std::array<std::string, loadOrder.size()> DatabaseSet::ownNames() {
    std::array<std::string, loadOrder.size()> names;
    for (DatabaseFile file : loadOrder) {
        names[index(file)] = fileName(file);
    }
    return names;
}

void DatabaseSet::noteDamage(DatabaseFile file) {
    const ReadReport report = structuredReport(file, buffer(file));
    if (!report.clean()) {
        damage_[index(file)] = report.text();
        loadedDamaged_[index(file)] = buffer(file);
    }
}

bool DatabaseSet::complete() const {
    return std::all_of(read_.begin(), read_.end(), [](bool read) { return read; });
}

std::vector<DatabaseFile> DatabaseSet::unreadFiles() const {
    std::vector<DatabaseFile> unread;
    for (DatabaseFile file : loadOrder) {
        if (!wasRead(file)) {
            unread.push_back(file);
        }
    }
    return unread;
}

DatabaseSet::SaveResult DatabaseSet::save(const std::filesystem::path& directory,
                                          const DamagedFileQuestion& askAboutDamage) {
    struct Planned {
        DatabaseFile file;
        std::filesystem::path path;
        bool withBackup;
    };
    SaveResult result;
    const SetDirectory names(directory);
    // Every question is asked before anything is written, so that Cancel saves nothing.
    std::vector<Planned> plan;
    for (DatabaseFile file : saveOrder) {
        const SetDirectory::Found found = names.find(file);
        if (!wasRead(file)) {
            // Where nothing stands, the buffer (empty, or what the user added to it) replaces
            // nothing; a file that is there but was never read stays untouched.
            if (found.exists) {
                result.skipped.push_back({file, SkipReason::NotRead});
            } else {
                plan.push_back({file, directory / storedName(file), false});
            }
            continue;
        }
        if (found.ambiguous()) {
            result.error = "Cannot create file " + (directory / found.name).string() + ": " +
                           found.ambiguity();
            result.skipped.clear();
            return result;
        }
        const std::filesystem::path path =
            directory / (found.exists ? found.name : storedName(file));
        const bool replacesDamage =
            !damage(file).empty() && buffer(file) != loadedDamaged_[index(file)];
        if (!replacesDamage) {
            plan.push_back({file, path, false});
            continue;
        }
        const DamagedFile damaged{file, path, backupPath(path), damage(file)};
        switch (askAboutDamage ? askAboutDamage(damaged) : DamagedFileAnswer::KeepFile) {
        case DamagedFileAnswer::Replace:
            plan.push_back({file, path, true});
            break;
        case DamagedFileAnswer::KeepFile:
            result.skipped.push_back({file, SkipReason::DamagedKept});
            break;
        case DamagedFileAnswer::Cancel:
            result.cancelled = true;
            result.skipped.clear();
            return result;
        }
    }

    for (const Planned& planned : plan) {
        const std::size_t i = index(planned.file);
        const std::filesystem::path& path = planned.path;
        if (planned.withBackup) {
            const std::filesystem::path backup = backupPath(path);
            if (failed(replaceFileAtomically(backup, loadedDamaged_[i]), backup, result)) {
                // "Stream write error" alone would not tell that it was the backup.
                result.error = "Cannot create file " + backup.string();
                return result;
            }
            result.backups.push_back(backup);
        }
        if (failed(replaceFileAtomically(path, buffers_[i]), path, result)) {
            return result;
        }
        result.written.push_back(planned.file);
        read_[i] = true; // what the file holds now is what the set holds
        names_[i] = path.filename().string();
        if (planned.withBackup) {
            damage_[i].clear();
            loadedDamaged_[i] = {};
        }
    }
    return result;
}

std::string saveReportText(const DatabaseSet::SaveResult& result,
                           const std::filesystem::path& directory) {
    if (result.skipped.empty()) {
        return {};
    }
    std::string text;
    if (result.written.empty()) {
        text = "Nothing was saved into " + directory.string() + ".";
    } else {
        text = "Saved into " + directory.string() + ":";
        for (std::size_t i = 0; i < result.written.size(); ++i) {
            text += (i == 0 ? " " : ", ") + std::string(fileName(result.written[i]));
        }
        text += ".";
    }
    for (const DatabaseSet::SkippedFile& skipped : result.skipped) {
        const std::string name(fileName(skipped.file));
        switch (skipped.reason) {
        case DatabaseSet::SkipReason::NotRead:
            text += "\n" + name + " was not saved: it could not be read when the databases were "
                                 "loaded, and saving would replace the file that is there now.";
            break;
        case DatabaseSet::SkipReason::DamagedKept:
            text += "\n" + name + " was not saved: it was damaged when the databases were loaded, "
                                 "and it was left as it is.";
            break;
        }
    }
    return text + "\nThe changes made to the files that were not saved are still unsaved.";
}

} // namespace keel
