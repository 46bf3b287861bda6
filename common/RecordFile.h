// SPDX-License-Identifier: MIT
#pragma once

#include "common/Bytes.h"
#include "common/Checks.h"


namespace keel {

// A run of fixed-size records without header: only whole records count, and bytes of a last,
// incomplete record belong to none.
template <std::size_t RecordSize> struct FixedRecords {
    static constexpr std::size_t recordSize = RecordSize;

    static std::size_t count(ConstByteSpan file) { return file.size() / RecordSize; }
    static ConstByteSpan record(ConstByteSpan file, std::size_t index) {
        check(index < count(file), "a record beyond the end of the file");
        return file.subspan(index * RecordSize, RecordSize);
    }
    static ByteSpan record(ByteSpan file, std::size_t index) {
        check(index < count(file), "a record beyond the end of the file");
        return file.subspan(index * RecordSize, RecordSize);
    }
};

} // namespace keel
