// SPDX-License-Identifier: MIT
#include "merge/MergeDatabases.h"

#include "launchers/LauncherRecord.h"
#include "objects/ObjectRecord.h"
#include "threed/ThreeDRecord.h"

#include <algorithm>

namespace keel {

const std::array<MergeDatabase, 3>& mergeDatabases() {
    static const std::array<MergeDatabase, 3> databases{{
        {"-l", "launcher.ldb", ".ldb", LauncherRecord::Size, LauncherRecord::LauncherName.width,
         false},
        {"-o", "objects.odb", ".odb", ObjectRecord::Size, ObjectRecord::ObjectName.width, true},
        {"-3", "3dobjects.3db", ".3db", ThreeDRecord::Size, ThreeDRecord::Name.width, true},
    }};
    return databases;
}

std::vector<const MergeDatabase*> selectedDatabases(std::span<const std::string> arguments) {
    std::vector<const MergeDatabase*> selected;
    for (const MergeDatabase& database : mergeDatabases()) {
        if (std::find(arguments.begin(), arguments.end(), database.option) != arguments.end()) {
            selected.push_back(&database);
        }
    }
    return selected;
}

} // namespace keel
