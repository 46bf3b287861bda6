// SPDX-License-Identifier: MIT
#pragma once

#include "common/Bytes.h"
#include "set/DatabaseSet.h"

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace keel {

// A small, made-up but consistent database set for trying the editor: three nations with
// their ships, submarines and aircraft, their weapons and mounts, sensors and airstrips. Two
// objects lack their 3D object, so that the object editor's warning can be seen.
struct SampleFile {
    DatabaseFile file;
    ByteVector bytes;
};

// The seven files, in load order.
std::vector<SampleFile> buildSampleSet();

// Writes the seven files into `directory`, which is made if it is missing. Gives a sentence
// for the user when a file cannot be written, and nothing on success.
std::optional<std::string> writeSampleSet(const std::filesystem::path& directory);

} // namespace keel
