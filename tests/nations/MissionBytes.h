// SPDX-License-Identifier: MIT
#pragma once

#include "common/Bytes.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string_view>

namespace keel::test {

// The records of mission.db built byte by byte at the offsets the file format gives, without
// the descriptors under test. Bytes that no field owns hold `fill`, so that a reader or writer
// that drops or moves them shows it.

inline void putText(ByteVector& record, std::size_t offset, std::string_view text) {
    std::copy(text.begin(), text.end(), record.begin() + static_cast<std::ptrdiff_t>(offset));
    record[offset + text.size()] = 0;
}

inline void putInt32(ByteVector& record, std::size_t offset, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i) {
        record[offset + i] = static_cast<Byte>(bits >> (8 * i));
    }
}

inline std::int32_t int32At(const ByteVector& bytes, std::size_t offset) {
    std::uint32_t bits = 0;
    for (std::size_t i = 4; i-- > 0;) {
        bits = (bits << 8) | bytes[offset + i];
    }
    return static_cast<std::int32_t>(bits);
}

inline ByteVector nationRecordBytes(std::string_view name, std::int32_t classes, Byte fill = 0x5A) {
    ByteVector record(264, fill);
    putText(record, 0, name);
    putInt32(record, 256, classes);
    return record;
}

inline ByteVector classRecordBytes(std::int32_t type, std::string_view tagName,
                                   std::string_view className, std::string_view designation,
                                   std::int32_t platforms, Byte fill = 0x6B) {
    ByteVector record(536, fill);
    putInt32(record, 0, type);
    putText(record, 4, tagName);
    putText(record, 260, className);
    putText(record, 516, designation);
    putInt32(record, 528, platforms);
    return record;
}

inline ByteVector platformRecordBytes(std::string_view tagName, std::string_view name,
                                      std::int32_t hull, Byte fill = 0x7C) {
    ByteVector record(516, fill);
    putText(record, 0, tagName);
    putText(record, 256, name);
    putInt32(record, 512, hull);
    return record;
}

inline ByteVector countBytes(std::int32_t count) {
    ByteVector bytes(4);
    putInt32(bytes, 0, count);
    return bytes;
}

inline ByteVector joined(std::initializer_list<ByteVector> parts) {
    ByteVector all;
    for (const ByteVector& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// A counted file: the number of blocks, then the blocks, as mission.db, shipbasedaircraft.db
// and their exchange files are laid out.
inline ByteVector countedFile(std::initializer_list<ByteVector> blocks) {
    ByteVector file = countBytes(static_cast<std::int32_t>(blocks.size()));
    for (const ByteVector& block : blocks) {
        file.insert(file.end(), block.begin(), block.end());
    }
    return file;
}

// A nation block of one Surf class with one platform: 264 + 536 + 516 bytes.
inline ByteVector simpleNationBlock(std::string_view name) {
    return joined({nationRecordBytes(name, 1),
                   classRecordBytes(2, "Halberd DDG", "Halberd", "DDG", 1),
                   platformRecordBytes("Halberd DDG", "Partisan", 102)});
}

} // namespace keel::test
