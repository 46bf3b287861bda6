// SPDX-License-Identifier: MIT
#pragma once

#include "common/Bytes.h"
#include "common/FileIo.h"
#include "merge/LargeBuffer.h"
#include "merge/NameOrder.h"
#include "merge/RecordNameIndex.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace keel {

// The records of one database while keelmerge merges into it: whole records one after another,
// each kept byte for byte, with an index from each name to the first non-blank record that
// carries it, so that a merge costs the same whatever the size of the table.
class MergeTable {
public:
    enum class Outcome { Ignored, Replaced, Added };
    // The order the records are written in: as they stand in the table, or by name (see
    // NameOrder).
    enum class Order { AsMerged, ByName };

    MergeTable(std::size_t recordSize, std::size_t nameWidth, Order order = Order::AsMerged);

    // The buffer the records are kept in.
    using Buffer = LargeBuffer<Byte>;

    // Takes the whole records of a master file; a trailing partial record is dropped. The
    // buffer is kept as it is, so room reserved behind its bytes takes the appended records
    // without the master being copied.
    void loadMaster(Buffer file);
    void loadMaster(ConstByteSpan file) { loadMaster(Buffer(file.data(), file.size())); }

    // Loads the master while it is being read, as loadMaster does at once: beginMaster before its
    // bytes come (with how many are expected and how many the buffer has room for), indexMaster
    // each time more have come (with all of them so far, wherever they are now), endMaster with
    // the buffer once the file is read whole.
    void beginMaster(std::size_t expectedBytes, std::size_t roomBytes);
    void indexMaster(ConstByteSpan arrived);
    void endMaster(Buffer file);

    // A blank record (first byte zero) is ignored. Otherwise the first non-blank record of
    // exactly the same name, letter case counting, is overwritten, or the record is appended.
    Outcome merge(ConstByteSpan record);
    // Merges the whole records of a file in order, as merge does, and tells `report` the
    // outcome of each; a trailing partial record is ignored.
    void mergeAll(ConstByteSpan records,
                  const std::function<void(Outcome, ConstByteSpan record)>& report);

    // The record numbers in name order; only for a table ordered by name.
    std::vector<std::uint32_t> orderByName();

    // Hands every record to `write` in the table's order, in pieces of about `pieceSize`
    // bytes: on a thread of their own, one at a time, while the next piece is gathered. Returns
    // false once `write` does, which is then called no more.
    bool writeTo(const ContentSink& write, std::size_t pieceSize = 256 * 1024);

    std::size_t count() const { return bytes_.size() / recordSize_; }
    ConstByteSpan record(std::size_t index) const;
    // The name of a record: the bytes up to its terminator, within the name field.
    ConstByteSpan name(ConstByteSpan record) const;
    ConstByteSpan bytes() const { return bytes_; }

private:
    static bool isBlank(ConstByteSpan record) { return record[0] == 0; }
    Outcome merge(ConstByteSpan record, const RecordNameIndex::Key& key);

    std::size_t recordSize_;
    std::size_t nameWidth_;
    Buffer bytes_;
    RecordNameIndex firstByName_;
    std::optional<NameOrder> byName_; // the names of all records, when ordered by name
    std::size_t masterIndexed_ = 0;   // the records of a master being loaded indexed so far
    bool masterBegun_ = false;
};

} // namespace keel
