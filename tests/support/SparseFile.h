// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <cstdint>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace keel::test {

// Makes a file of `size` bytes of which none is written. Gives false when that cannot be done.
inline bool makeSparseFile(const std::filesystem::path& path, std::uintmax_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    const bool made = ::ftruncate(fd, static_cast<off_t>(size)) == 0;
    return ::close(fd) == 0 && made;
}

// Makes a file that claims to be larger than this machine's memory, and at least a tebibyte,
// while it takes next to no room on disk. Gives false when the file system cannot hold such a
// file.
inline bool makeFileLargerThanMemory(const std::filesystem::path& path) {
    const std::uintmax_t memory = static_cast<std::uintmax_t>(::sysconf(_SC_PHYS_PAGES)) *
                                  static_cast<std::uintmax_t>(::sysconf(_SC_PAGESIZE));
    const std::uintmax_t size = std::max<std::uintmax_t>(std::uintmax_t{1} << 40, 2 * memory);
    return makeSparseFile(path, size);
}

} // namespace keel::test
