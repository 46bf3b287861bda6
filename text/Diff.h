// SPDX-License-Identifier: MIT
#pragma once

#include "common/Bytes.h"
#include "text/RecordKinds.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace keel {

// What changed between two files of one kind, A and B, as a list of differences.
//
// Records are matched level by level: the records of a kind matched by position (launchers,
// sensors, airstrips, which objects name by their numbers) by their numbers; all others by
// their key (the name; a carrier's nation and ship class), the n-th record of a key in A with
// the n-th of that key in B, so that names a file holds more than once still pair up in order.
// Nested records (a nation's classes, a class's platforms, a carrier's aircraft types) are
// matched among the nested records of the matched record above them.
//
// Nothing that differs goes untold: when no difference is found, the two files hold the same
// bytes.

// One record on the way to a difference.
struct RecordStep {
    const RecordLevel* level = nullptr;
    ConstByteSpan inA; // the record's bytes in A; none when it is only in B
    ConstByteSpan inB;
    std::size_t positionInA = 0; // among its level's records below the same record, counting
    std::size_t positionInB = 0; // from 1; 0 where it is not there
    bool byPosition = false;     // matched by its number, not by its key
    std::size_t occurrence = 1;  // of its key, in A where it is there, counting from 1
    bool keyRepeats = false;     // the key is held by more than one record, in A or in B

    // The record whose key names it: A's where it is there.
    ConstByteSpan named() const { return inA.empty() ? inB : inA; }
};

enum class Change {
    Field,      // a value of a field, or of one element of an array field
    OtherBytes, // bytes that no value shows: reserved bytes, bytes after a text's terminator
    OnlyInA,    // the record, with everything nested below it
    OnlyInB,
    Moved,         // matched, but out of the order of the other matched records
    StoredCount,   // the count a damaged counted file holds, not that of the blocks read
    TrailingBytes, // the bytes after the last record read whole
    FileOnlyInA,   // of two sets: the file is in one of them only
    FileOnlyInB,
};

struct Difference {
    Change change = Change::Field;
    std::string_view file;              // as the report names it: "objects.odb"
    std::span<const RecordStep> record; // from the top level down; empty for the whole file
    const FieldInfo* field = nullptr;
    std::optional<std::size_t> element; // of an array field, counting from 1
    std::string valueInA, valueInB;     // of a field, as text
    // The positions of a moved record, the stored counts (none where a file is too short to
    // hold one), the numbers of trailing bytes.
    std::optional<std::int64_t> numberInA, numberInB;

    const RecordStep& last() const { return record.back(); }
};

// Where differences go as they are found; a difference and its record steps live for the call
// only.
class DifferenceSink {
public:
    virtual ~DifferenceSink() = default;
    virtual void add(const Difference& difference) = 0;
};

// Tells `sink` every difference between two files of `kind`, given as their bytes, in the
// order: for each record of A, its move and changed fields, then the nested records'
// differences in the same order; then the records only in A, then those only in B; last what
// the files hold beyond their records. Returns the number of differences.
std::size_t diffFiles(std::string_view file, RecordKind kind, ConstByteSpan a, ConstByteSpan b,
                      DifferenceSink& sink);

} // namespace keel
