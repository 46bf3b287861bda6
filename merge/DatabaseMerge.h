// SPDX-License-Identifier: MIT
#pragma once

#include "merge/MergeDatabases.h"

#include <filesystem>
#include <iosfwd>

namespace keel {

// Merges every other file of the database's extension in the directory into its master and
// writes the master back, replaced atomically. Progress lines go to `progress`; a failure that
// leaves the master untouched is described in one line on `errors`. Returns false on failure.
bool mergeDatabase(const MergeDatabase& database, const std::filesystem::path& directory,
                   std::ostream& progress, std::ostream& errors);

} // namespace keel
