// SPDX-License-Identifier: MIT
#include "threed/ThreeDIndex.h"

#include "editor/RecordTable.h"

#include <algorithm>
#include <bit>

namespace keel {
namespace {

struct FoldedName {
    std::array<Byte, 20> key{};
    std::uint8_t length = 0;
    std::uint64_t hash = 0xcbf29ce484222325ull;
};

// The name up to its terminator with a-z folded to A-Z, and its hash.
FoldedName fold(ConstByteSpan name) {
    FoldedName folded;
    for (std::size_t i = 0; i < name.size() && i < folded.key.size() && name[i] != 0; ++i) {
        Byte c = name[i];
        if (c >= 'a' && c <= 'z') {
            c = static_cast<Byte>(c - 'a' + 'A');
        }
        folded.key[i] = c;
        folded.length = static_cast<std::uint8_t>(i + 1);
        folded.hash = (folded.hash ^ c) * 0x100000001b3ull;
    }
    // The low bits of FNV-1a depend only on the low bits of the letters, and names that differ
    // in their last digits crowd together in the table; a final mix spreads them.
    folded.hash ^= folded.hash >> 33;
    folded.hash *= 0xff51afd7ed558ccdull;
    folded.hash ^= folded.hash >> 33;
    return folded;
}

} // namespace

void ThreeDIndex::rebuild(const RecordTable& threeDRecords) {
    static std::uint64_t lastGeneration = 0;
    generation_ = ++lastGeneration;
    const std::size_t capacity = std::bit_ceil(std::max<std::size_t>(16, threeDRecords.count() * 2));
    slots_.assign(capacity, Slot{});
    mask_ = capacity - 1;
    for (std::size_t i = 0; i < threeDRecords.count(); ++i) {
        const FoldedName name = fold(threeDRecords.name(i));
        std::size_t slot = name.hash & mask_;
        while (slots_[slot].used && !(slots_[slot].length == name.length && slots_[slot].key == name.key)) {
            slot = (slot + 1) & mask_;
        }
        slots_[slot] = {name.hash, name.length, true, name.key};
    }
}

bool ThreeDIndex::contains(ConstByteSpan name) const {
    if (slots_.empty()) {
        return false;
    }
    const FoldedName folded = fold(name);
    for (std::size_t slot = folded.hash & mask_; slots_[slot].used; slot = (slot + 1) & mask_) {
        if (slots_[slot].length == folded.length && slots_[slot].key == folded.key) {
            return true;
        }
    }
    return false;
}

} // namespace keel
