// SPDX-License-Identifier: MIT
#include "check/CheckedSet.h"

#include "common/FileIo.h"
#include "launchers/LauncherRecord.h"
#include "objects/ObjectRecord.h"
#include "pickers/ListFiles.h"
#include "threed/ThreeDRecord.h"

#include <algorithm>
#include <system_error>

namespace keel {

CheckedSet::Load CheckedSet::load(const std::filesystem::path& directory) {
    Load result;
    std::error_code error;
    // Listing the directory is what tells a directory that cannot be entered from one that
    // merely lacks the files.
    std::filesystem::directory_iterator listing(directory, error);
    if (error) {
        result.error = "cannot read the directory " + directory.string() + ": " + error.message();
        return result;
    }
    CheckedSet set;
    set.directory_ = directory;
    const SetDirectory names(directory);
    for (DatabaseFile which : loadOrder) {
        File& file = set.files_[static_cast<std::size_t>(which)];
        const SetDirectory::Found found = names.find(which);
        if (found.ambiguous()) {
            file.state = State::Unreadable;
            file.reason = found.ambiguity();
            continue;
        }
        ReadResult read = readWholeFile(directory / found.name);
        switch (read.status) {
        case ReadStatus::Ok:
            file.state = State::Read;
            file.bytes = std::move(read.bytes);
            break;
        case ReadStatus::Missing:
            file.state = State::Missing;
            break;
        case ReadStatus::CannotOpen:
        case ReadStatus::ReadFailed:
            file.state = State::Unreadable;
            file.reason = std::move(read.reason);
            break;
        }
    }
    if (std::all_of(set.files_.begin(), set.files_.end(),
                    [](const File& file) { return file.state == State::Missing; })) {
        result.error = directory.string() + " holds none of the seven files of a database set";
        return result;
    }
    if (set.has(DatabaseFile::Missions)) {
        set.missions_ = readMissionDatabase(set.bytes(DatabaseFile::Missions),
                                            fileName(DatabaseFile::Missions));
    }
    if (set.has(DatabaseFile::ShipBasedAircraft)) {
        set.carriers_ = readCarrierDatabase(set.bytes(DatabaseFile::ShipBasedAircraft),
                                            fileName(DatabaseFile::ShipBasedAircraft));
    }
    result.set = std::move(set);
    return result;
}

std::size_t CheckedSet::fixedRecordSize(DatabaseFile which) {
    switch (which) {
    case DatabaseFile::Objects:
        return ObjectRecord::Size;
    case DatabaseFile::Launchers:
        return LauncherRecord::Size;
    case DatabaseFile::ThreeDObjects:
        return ThreeDRecord::Size;
    case DatabaseFile::Sensors:
        return sensorListFormat.recordSize;
    case DatabaseFile::Airstrips:
        return airstripListFormat.recordSize;
    case DatabaseFile::ShipBasedAircraft:
    case DatabaseFile::Missions:
        return 0;
    }
    return 0;
}

std::optional<std::size_t> CheckedSet::recordCount(DatabaseFile which) const {
    if (!has(which)) {
        return std::nullopt;
    }
    switch (which) {
    case DatabaseFile::Missions:
        return missions_.nations.size();
    case DatabaseFile::ShipBasedAircraft:
        return carriers_.carriers.size();
    default:
        return bytes(which).size() / fixedRecordSize(which);
    }
}

} // namespace keel
