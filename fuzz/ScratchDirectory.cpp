// SPDX-License-Identifier: MIT
#include "fuzz/ScratchDirectory.h"

#include "fuzz/FuzzCheck.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace keel::fuzz {
namespace {

std::filesystem::path scratch;

void removeScratch() {
    std::error_code ignored;
    std::filesystem::remove_all(scratch, ignored);
}

} // namespace

const std::filesystem::path& emptyScratchDirectory() {
    if (scratch.empty()) {
        scratch =
            std::filesystem::temp_directory_path() / ("keel-fuzz-" + std::to_string(::getpid()));
        std::filesystem::remove_all(scratch);
        std::filesystem::create_directory(scratch);
        std::atexit(removeScratch);
        return scratch;
    }
    for (const auto& entry : std::filesystem::directory_iterator(scratch)) {
        std::filesystem::remove_all(entry.path());
    }
    return scratch;
}

void writeFile(const std::filesystem::path& path, ConstByteSpan bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    KEEL_FUZZ_CHECK(out.good());
}

ByteVector readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    KEEL_FUZZ_CHECK(in.good());
    return ByteVector(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> entryNames(const std::filesystem::path& directory) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace keel::fuzz
