// SPDX-License-Identifier: MIT
#pragma once

#include "common/Bytes.h"
#include "text/RecordKinds.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace keel {

// A file of any kind exactly as it is stored, read without any repair and written back byte
// for byte: its records, nested as the format nests them, and whatever else it holds.

// A record with the records nested below it: a nation's classes, a class's platforms, a
// carrier's aircraft types. The record keeps every byte it was read with; its count of nested
// records follows from `children` when it is written.
struct StoredRecord {
    ByteVector bytes; // as many as a record of its level holds
    std::vector<StoredRecord> children;
};

struct LosslessFile {
    RecordKind kind = RecordKind::Objects;
    std::vector<StoredRecord> records; // of the top level, in file order

    // Of a counted file: whether it holds its count at all. A file of fewer than 4 bytes does
    // not, and then holds no records; its bytes are all trailing.
    bool hasCount = true;
    // Of a counted file: the count as stored where it is not the number of records read, as
    // in a damaged file.
    std::optional<std::int32_t> storedCount;
    // The bytes after the last record read whole: those of an incomplete last record; of a
    // counted file, the first block that cannot be read whole (it ends early or gives a
    // negative count) and everything after it, or bytes beyond its counted blocks.
    ByteVector trailing;

    bool operator==(const LosslessFile&) const = default;
};

inline bool operator==(const StoredRecord& a, const StoredRecord& b) {
    return a.bytes == b.bytes && a.children == b.children;
}

// Reads every record that is whole; nothing is repaired and nothing left out. Fast for
// hundreds of thousands of records, and never reserves room for more records than the bytes
// can hold, whatever a count says.
LosslessFile readLosslessFile(RecordKind kind, ConstByteSpan bytes);

// The file's bytes: for a file just read, exactly those it was read from. Every count of
// nested records is the number of children; the count of a counted file is the stored one
// when kept, else the number of records.
ByteVector writeLosslessFile(const LosslessFile& file);
// The same bytes handed to `sink` in pieces of about a megabyte, so that a large file is never
// held whole twice; false as soon as the sink refuses a piece.
bool writeLosslessFile(const LosslessFile& file, const std::function<bool(ConstByteSpan)>& sink);

} // namespace keel
