// SPDX-License-Identifier: MIT
#pragma once

#include "common/Bytes.h"
#include "merge/LargeBuffer.h"
#include "merge/NamePrefix.h"

#include <cstdint>
#include <vector>

namespace keel {

// An index from a record name to the first record that carries it, over fixed-size records
// held elsewhere in one buffer. It keeps only record numbers, in one flat open-addressed array,
// and reads the names from the records when it needs them, so that indexing a record allocates
// nothing. The buffer is passed in with each call and may move between calls; the records it
// indexes must keep their names.
class RecordNameIndex {
public:
    static constexpr std::size_t none = static_cast<std::size_t>(-1);
    // Record numbers and the array's positions are kept in 32 bits, the array at most half full.
    static constexpr std::size_t maxRecords = std::size_t{1} << 31;

    // A record's name as the index looks it up: worked out once, used by several calls.
    struct Key {
        NamePrefix::Words prefix;
        std::uint32_t tag; // the top bits of the prefix's hash
    };

    RecordNameIndex(std::size_t recordSize, std::size_t nameWidth);

    Key keyOf(const Byte* record) const;
    // Asks for the part of the array where the key's search begins, so that it is at hand when
    // the key is looked up a little later.
    void prefetch(const Key& key) const {
        if (!slots_.empty()) {
            __builtin_prefetch(&slots_[home(key.tag)]);
        }
    }
    // The record in the key's first slot if its tag is the key's, or none: most often the
    // record find will give, worked out without reading a name.
    std::size_t likelyMatch(const Key& key) const;

    // Makes room for this many names, so that indexing that many does not grow the array.
    void reserve(std::size_t names);

    // The indexed record of `records` whose name is that of `record` (which need not be one of
    // them), or none.
    std::size_t find(ConstByteSpan records, const Byte* record, const Key& key) const;
    std::size_t find(ConstByteSpan records, const Byte* record) const {
        return find(records, record, keyOf(record));
    }

    // Indexes record `index` of `records` under its name unless a record of that name is
    // indexed already, so that of several records of one name the first indexed keeps it.
    // Returns whether it was indexed.
    bool insert(ConstByteSpan records, std::size_t index, const Key& key);
    bool insert(ConstByteSpan records, std::size_t index) {
        return insert(records, index, keyOf(records.data() + index * recordSize_));
    }

    // As find, but where no record of the name is indexed, indexes record `index` under it
    // (the record about to be put at that place, whose name is that of `record`) and gives none.
    std::size_t findOrInsert(ConstByteSpan records, const Byte* record, const Key& key,
                             std::size_t index);

    std::size_t size() const { return size_; }

private:
    struct Slot {
        // The key's tag: it chooses the slot where the search starts, so the array grows
        // without reading a name, and it is compared before the name itself.
        std::uint32_t tag;
        std::uint32_t record; // emptySlot where there is none
    };
    static constexpr std::uint32_t emptySlot = UINT32_MAX;

    std::size_t home(std::uint32_t tag) const { return tag >> shift_; }
    bool sameName(const Byte* indexed, const Byte* record, const Key& key) const;
    // The slot that holds the key's name, or the empty slot where it would go.
    std::size_t slotFor(ConstByteSpan records, const Byte* record, const Key& key) const;
    void grow(std::size_t slotCount);

    std::size_t recordSize_;
    NamePrefix prefix_;
    std::size_t size_ = 0;
    int shift_ = 32; // 32 less the bits of a slot's position
    LargeBuffer<Slot> slots_;
};

} // namespace keel
