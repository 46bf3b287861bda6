#pragma once

#include "common/Bytes.h"

#include <string>
#include <unordered_map>

namespace keel {

// The records of one database while keelmerge merges into it: whole records one after another,
// each kept byte for byte, with an index from each name to the first non-blank record that
// carries it, so that a merge costs the same whatever the size of the table.
class MergeTable {
public:
    enum class Outcome { Ignored, Replaced, Added };

    MergeTable(std::size_t recordSize, std::size_t nameWidth);

    // Takes the whole records of a master file; a trailing partial record is dropped.
    void loadMaster(ConstByteSpan file);

    // A blank record (first byte zero) is ignored. Otherwise the first non-blank record of
    // exactly the same name, letter case counting, is overwritten, or the record is appended.
    Outcome merge(ConstByteSpan record);

    // Orders the records by name, A-Z folded to a-z; blank records come first.
    void sortByName();

    std::size_t count() const { return bytes_.size() / recordSize_; }
    ConstByteSpan record(std::size_t index) const;
    // The name of a record: the bytes up to its terminator, within the name field.
    ConstByteSpan name(ConstByteSpan record) const;
    ConstByteSpan bytes() const { return bytes_; }

private:
    static bool isBlank(ConstByteSpan record) { return record[0] == 0; }
    std::string key(ConstByteSpan record) const;
    void append(ConstByteSpan record);

    std::size_t recordSize_;
    std::size_t nameWidth_;
    ByteVector bytes_;
    std::unordered_map<std::string, std::size_t> firstByName_;
};

} // namespace keel
