// SPDX-License-Identifier: MIT
#pragma once

#include "common/Bytes.h"
#include "merge/LargeBuffer.h"
#include "merge/NamePrefix.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace keel {

// Orders records by name: A-Z compare as a-z, every other byte by its value, a name sorts
// before every longer name it begins, and of names equal so the earlier record comes first.
// Blank records, whose names are empty, come first. The names are handed in as the records are
// taken, while they are at hand, so that ordering needs no second pass over the records.
class NameOrder {
public:
    explicit NameOrder(const NamePrefix& prefix) : prefix_(prefix) {}

    void reserve(std::size_t records) { keys_.reserve(records); }
    // Takes the name of the next record, as NamePrefix::of gives it; the records are numbered
    // in the order their names are added.
    void add(const NamePrefix::Words& name);
    std::size_t size() const { return keys_.size(); }

    // Takes the next record numbers in name order; returns false to stop the sort.
    using Visitor = std::function<bool(std::span<const std::uint32_t> records)>;

    // Hands the record numbers to `visit` in name order, a part at a time, each part as soon as
    // the sort has settled it, so that the records can be on their way to a file while the rest
    // is sorted. Returns false when `visit` stopped it. `records` holds the records, one after
    // another; their bytes are read only where names are longer than the prefix. The names are
    // sorted where they are kept, which leaves their order as it was: names can be added and
    // sorted again.
    bool sort(ConstByteSpan records, std::size_t recordSize, const Visitor& visit);

private:
    // The first bytes of a folded name as a key that compares as three numbers: bytes 0-19 of
    // the folded name, zero-padded, big-endian, then the record's number in the low 32 bits, so
    // that equal names keep the order of their records.
    struct SortKey {
        std::array<std::uint64_t, 3> words;

        std::uint32_t record() const { return static_cast<std::uint32_t>(words[2]); }
        unsigned byte(std::size_t at) const {
            return (words[at / 8] >> (56 - 8 * (at % 8))) & 0xFF;
        }
        bool samePrefix(const SortKey& other) const {
            return words[0] == other.words[0] && words[1] == other.words[1] &&
                   (words[2] >> 32) == (other.words[2] >> 32);
        }
        friend bool operator<(const SortKey& a, const SortKey& b) { return a.words < b.words; }
    };
    static constexpr std::size_t keyNameBytes = 20;

    class Settled;
    static std::size_t firstDifference(const SortKey* keys, std::size_t count, std::size_t byte);
    template <typename Less>
    static bool radixSort(SortKey* data, SortKey* other, std::size_t count, std::size_t byte,
                          bool dataIsHome, const Less& less, bool pastKey, Settled& settled);

    NamePrefix prefix_;
    LargeBuffer<SortKey> keys_;
};

} // namespace keel
