// SPDX-License-Identifier: MIT
#pragma once

#include "nations/MissionBytes.h"

namespace keel::test {

// The records of shipbasedaircraft.db built byte by byte at the offsets the file format gives,
// without the descriptors under test. Bytes that no field owns hold `fill`, the link slot
// included.

inline ByteVector carrierRecordBytes(std::string_view country, std::string_view shipClass,
                                     std::int32_t aircraftTypes, Byte fill = 0x3C) {
    ByteVector record(520, fill);
    putText(record, 0, country);
    putText(record, 256, shipClass);
    putInt32(record, 512, aircraftTypes);
    return record;
}

inline ByteVector aircraftTypeBytes(std::string_view tagName, std::string_view displayName,
                                    std::string_view className, std::int32_t count,
                                    Byte fill = 0x4D) {
    ByteVector record(772, fill);
    putText(record, 0, tagName);
    putText(record, 256, displayName);
    putText(record, 512, className);
    putInt32(record, 768, count);
    return record;
}

} // namespace keel::test
