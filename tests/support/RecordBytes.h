// SPDX-License-Identifier: MIT
#pragma once

#include "common/Bytes.h"
#include "objects/ObjectRecord.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>

namespace keel::test {

// A record of the given size whose bytes all hold `fill`, with `name` and its terminator at
// the start, as an exported record of any of the three fixed-size formats looks.
inline ByteVector namedRecord(std::size_t size, std::string_view name, Byte fill = 0xA5) {
    ByteVector record(size, fill);
    std::copy(name.begin(), name.end(), record.begin());
    if (name.size() < size) {
        record[name.size()] = 0;
    }
    return record;
}

// An object record of zeros but for its name and type code.
inline ByteVector objectRecord(std::string_view name, std::int16_t type) {
    ByteVector record = namedRecord(ObjectRecord::Size, name, 0);
    ObjectRecord::ObjType.write(record, type);
    return record;
}

// The concatenation of records, as a file of the set holds them.
inline ByteVector concatenated(std::initializer_list<ByteVector> records) {
    ByteVector file;
    for (const ByteVector& record : records) {
        file.insert(file.end(), record.begin(), record.end());
    }
    return file;
}

} // namespace keel::test
