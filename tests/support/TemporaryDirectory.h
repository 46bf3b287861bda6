// SPDX-License-Identifier: MIT
#pragma once

#include "common/Bytes.h"

#include <filesystem>
#include <string>

namespace keel::test {

// A fresh directory under the system's temporary directory, removed with everything in it
// when the object goes.
class TemporaryDirectory {
public:
    TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;
    ~TemporaryDirectory();

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

void writeFile(const std::filesystem::path& path, ConstByteSpan bytes);
ByteVector readFile(const std::filesystem::path& path);

} // namespace keel::test
