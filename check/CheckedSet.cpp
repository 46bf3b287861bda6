#include "check/CheckedSet.h"

#include "common/FileIo.h"

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
    for (DatabaseFile which : loadOrder) {
        File& file = set.files_[static_cast<std::size_t>(which)];
        ReadResult read = readWholeFile(directory / fileName(which));
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

} // namespace keel
