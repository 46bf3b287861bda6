// SPDX-License-Identifier: MIT
#pragma once

#include "fuzz/FuzzCheck.h"
#include "fuzz/ScratchDirectory.h"
#include "set/DatabaseSet.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

namespace keel::fuzz {

// A database directory of seven files taken from a fuzz input: a control byte, six 16-bit
// little-endian lengths, then the files' bytes in load order, the last file taking the rest. A
// control byte of 0x80 or more whose low three bits name a file (0 to 6) leaves that file out.
struct SetInput {
    static constexpr std::size_t fileCount = loadOrder.size();

    std::size_t missing = fileCount; // the position of the file left out, or fileCount
    std::array<ByteVector, fileCount> contents;

    static SetInput take(const std::uint8_t* data, std::size_t size) {
        InputSplitter input(data, size);
        SetInput set;
        const std::uint8_t control = input.byte();
        set.missing = control >= 0x80 ? (control & 7u) : fileCount;
        std::array<std::uint16_t, fileCount - 1> lengths{};
        for (std::uint16_t& length : lengths) {
            length = input.uint16();
        }
        for (std::size_t i = 0; i < fileCount; ++i) {
            const ConstByteSpan piece = i + 1 < fileCount ? input.piece(lengths[i]) : input.rest();
            set.contents[i].assign(piece.begin(), piece.end());
        }
        return set;
    }

    bool has(std::size_t position) const { return position != missing; }

    // Writes every file but the one left out into `directory`.
    void writeInto(const std::filesystem::path& directory) const {
        for (std::size_t i = 0; i < fileCount; ++i) {
            if (has(i)) {
                writeFile(directory / std::string(fileName(loadOrder[i])), contents[i]);
            }
        }
    }
};

} // namespace keel::fuzz
