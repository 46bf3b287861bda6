// SPDX-License-Identifier: MIT
#include "merge/RecordNameIndex.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <stdexcept>

namespace keel {
namespace {

constexpr std::size_t smallestSlotCount = 16;

std::size_t nameLength(const Byte* record, std::size_t nameWidth) {
    const void* end = std::memchr(record, 0, nameWidth);
    return end ? static_cast<std::size_t>(static_cast<const Byte*>(end) - record) : nameWidth;
}

} // namespace

RecordNameIndex::RecordNameIndex(std::size_t recordSize, std::size_t nameWidth)
    : recordSize_(recordSize), prefix_(recordSize, nameWidth) {}

RecordNameIndex::Key RecordNameIndex::keyOf(const Byte* record) const {
    Key key{prefix_.of(record), 0};
    std::uint64_t hash = key.prefix[0] * 0x9E3779B97F4A7C15u;
    hash = (hash ^ (hash >> 29) ^ key.prefix[1]) * 0xBF58476D1CE4E5B9u;
    hash = (hash ^ (hash >> 29) ^ key.prefix[2]) * 0x94D049BB133111EBu;
    key.tag = static_cast<std::uint32_t>(hash >> 32);
    return key;
}

std::size_t RecordNameIndex::likelyMatch(const Key& key) const {
    if (slots_.empty()) {
        return none;
    }
    const Slot& slot = slots_[home(key.tag)];
    return slot.record != emptySlot && slot.tag == key.tag ? slot.record : none;
}

void RecordNameIndex::reserve(std::size_t names) {
    if (names > maxRecords) {
        throw std::length_error("too many records to index");
    }
    const std::size_t slotCount = std::bit_ceil(std::max(smallestSlotCount, 2 * names));
    if (slotCount > slots_.size()) {
        grow(slotCount);
    }
}

bool RecordNameIndex::sameName(const Byte* indexed, const Byte* record, const Key& key) const {
    if (prefix_.of(indexed) != key.prefix) {
        return false;
    }
    if (!prefix_.namesCanBeLonger()) {
        return true;
    }
    const std::size_t length = nameLength(record, prefix_.nameWidth());
    return length == nameLength(indexed, prefix_.nameWidth()) &&
           std::memcmp(indexed, record, length) == 0;
}

std::size_t RecordNameIndex::slotFor(ConstByteSpan records, const Byte* record,
                                     const Key& key) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = home(key.tag);; at = (at + 1) & mask) {
        const Slot& slot = slots_[at];
        if (slot.record == emptySlot ||
            (slot.tag == key.tag &&
             sameName(records.data() + std::size_t{slot.record} * recordSize_, record, key))) {
            return at;
        }
    }
}

std::size_t RecordNameIndex::find(ConstByteSpan records, const Byte* record, const Key& key) const {
    if (slots_.empty()) {
        return none;
    }
    const Slot& slot = slots_[slotFor(records, record, key)];
    return slot.record == emptySlot ? none : slot.record;
}

bool RecordNameIndex::insert(ConstByteSpan records, std::size_t index, const Key& key) {
    reserve(size_ + 1);
    Slot& slot = slots_[slotFor(records, records.data() + index * recordSize_, key)];
    if (slot.record != emptySlot) {
        return false;
    }
    slot = {key.tag, static_cast<std::uint32_t>(index)};
    ++size_;
    return true;
}

std::size_t RecordNameIndex::findOrInsert(ConstByteSpan records, const Byte* record, const Key& key,
                                          std::size_t index) {
    reserve(size_ + 1);
    Slot& slot = slots_[slotFor(records, record, key)];
    if (slot.record != emptySlot) {
        return slot.record;
    }
    slot = {key.tag, static_cast<std::uint32_t>(index)};
    ++size_;
    return none;
}

void RecordNameIndex::grow(std::size_t slotCount) {
    LargeBuffer<Slot> old(slotCount);
    std::fill(old.begin(), old.end(), Slot{0, emptySlot});
    std::swap(old, slots_);
    shift_ = 32 - std::countr_zero(slotCount);
    const std::size_t mask = slotCount - 1;
    for (const Slot& slot : old) {
        if (slot.record != emptySlot) {
            std::size_t at = home(slot.tag);
            while (slots_[at].record != emptySlot) {
                at = (at + 1) & mask;
            }
            slots_[at] = slot;
        }
    }
}

} // namespace keel
