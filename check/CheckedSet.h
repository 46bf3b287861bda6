// SPDX-License-Identifier: MIT
#pragma once

#include "carriers/SbaDb.h"
#include "common/Bytes.h"
#include "nations/MissionDb.h"
#include "set/DatabaseSet.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>

namespace keel {

// The seven files of a database directory as keelcheck reads them: unlike the editor, which
// stops at the first file it cannot read, it reads every file it can and remembers why the
// others could not be read, so that one report covers the whole set. Each file is found under
// its name in any letter case, as the editor finds it (SetDirectory); two files of one name
// make that file unreadable.
class CheckedSet {
public:
    enum class State { Read, Missing, Unreadable };

    struct File {
        State state = State::Missing;
        ByteVector bytes;   // the whole file when it was read
        std::string reason; // the system's description of why it could not be read
    };

    // What loading gave: the set, or why there is no set to check (the directory cannot be
    // listed, or holds none of the seven files).
    struct Load;
    static Load load(const std::filesystem::path& directory);

    const std::filesystem::path& directory() const { return directory_; }
    const File& file(DatabaseFile which) const { return files_[static_cast<std::size_t>(which)]; }
    bool has(DatabaseFile which) const { return file(which).state == State::Read; }
    ConstByteSpan bytes(DatabaseFile which) const { return file(which).bytes; }

    // The structured files as their readers gave them: every nation and carrier read whole,
    // with what the reader found wrong. Empty when the file was not read.
    const MissionDatabase& missions() const { return missions_; }
    const CarrierDatabase& carriers() const { return carriers_; }

    // The size of a file's records when it is a run of fixed-size records; 0 for mission.db and
    // shipbasedaircraft.db.
    static std::size_t fixedRecordSize(DatabaseFile which);
    // How many records of a file were read (whole records, nations, carriers), or nothing for a
    // file that was not.
    std::optional<std::size_t> recordCount(DatabaseFile which) const;

private:
    std::filesystem::path directory_;
    std::array<File, loadOrder.size()> files_;
    MissionDatabase missions_;
    CarrierDatabase carriers_;
};

struct CheckedSet::Load {
    std::optional<CheckedSet> set;
    std::string error; // a sentence for the user when there is no set
};

} // namespace keel
