// SPDX-License-Identifier: MIT
#pragma once

#include "common/Bytes.h"

#include <filesystem>
#include <string>
#include <vector>

namespace keel::fuzz {

// A directory of this process's own under the system's temporary directory (TMPDIR), made at
// the first call and used by every input: each call empties it. It is removed when the process
// ends normally; after a crash it stays, with the files that broke the run.
const std::filesystem::path& emptyScratchDirectory();

// Plain file access for the targets, which check the code's own reading and writing.
void writeFile(const std::filesystem::path& path, ConstByteSpan bytes);
ByteVector readFile(const std::filesystem::path& path);
// The names of the directory's entries, sorted.
std::vector<std::string> entryNames(const std::filesystem::path& directory);

} // namespace keel::fuzz
