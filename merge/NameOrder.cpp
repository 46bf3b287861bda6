// SPDX-License-Identifier: MIT
#include "merge/NameOrder.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <utility>

namespace keel {
namespace {

// Groups this small are left to a comparison sort.
constexpr std::size_t smallGroup = 32;

Byte foldToLower(Byte c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<Byte>(c - 'A' + 'a') : c;
}

// A-Z to a-z in each of the eight bytes of a word at once; every other byte is left alone.
std::uint64_t foldWordToLower(std::uint64_t word) {
    constexpr std::uint64_t ones = 0x0101010101010101u;
    constexpr std::uint64_t highBits = 0x8080808080808080u;
    // Each byte's low seven bits plus a bias carries into its own high bit only: 0x7F plus
    // either bias stays below 0x100.
    const std::uint64_t low = word & ~highBits;
    const std::uint64_t atLeastA = low + ones * (0x80 - 'A');
    const std::uint64_t pastZ = low + ones * (0x80 - 'Z' - 1);
    const std::uint64_t upper = atLeastA & ~pastZ & ~word & highBits;
    return word | (upper >> 2); // 0x80 >> 2 is the 0x20 between the two cases
}

std::uint64_t bigEndian(std::uint64_t word) {
    if constexpr (std::endian::native == std::endian::big) {
        return word;
    }
    return __builtin_bswap64(word);
}

ConstByteSpan nameOf(ConstByteSpan records, std::size_t recordSize, std::size_t nameWidth,
                     std::uint32_t record) {
    const ConstByteSpan field = records.subspan(record * recordSize, nameWidth);
    const auto end = std::find(field.begin(), field.end(), Byte{0});
    return field.first(static_cast<std::size_t>(end - field.begin()));
}

// Compares two names as folded text from byte `from` on; a name that ends first sorts first.
int compareFoldedFrom(std::size_t from, ConstByteSpan a, ConstByteSpan b) {
    for (std::size_t i = from; i < a.size() && i < b.size(); ++i) {
        const Byte x = foldToLower(a[i]);
        const Byte y = foldToLower(b[i]);
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

} // namespace

void NameOrder::add(const NamePrefix::Words& name) {
    if (keys_.size() > UINT32_MAX) {
        throw std::length_error("too many records to order");
    }
    SortKey key;
    for (std::size_t i = 0; i < key.words.size(); ++i) {
        key.words[i] = foldWordToLower(bigEndian(name[i]));
    }
    key.words[2] = (key.words[2] & ~std::uint64_t{UINT32_MAX}) | keys_.size();
    keys_.push_back(key);
}

// Gathers the record numbers of settled keys and hands them on a few thousand at a time.
class NameOrder::Settled {
public:
    explicit Settled(const Visitor& visit) : visit_(visit) {}

    bool add(const SortKey* keys, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            records_[held_++] = keys[i].record();
            if (held_ == records_.size() && !handOn()) {
                return false;
            }
        }
        return true;
    }
    bool handOn() {
        const std::size_t held = std::exchange(held_, 0);
        return held == 0 || visit_(std::span<const std::uint32_t>(records_.data(), held));
    }

private:
    const Visitor& visit_;
    std::array<std::uint32_t, 4096> records_;
    std::size_t held_ = 0;
};

// The first byte of the key's name, from `byte` on, in which the keys differ, or keyNameBytes
// when they agree in all of them; the keys agree in every byte before `byte`.
std::size_t NameOrder::firstDifference(const SortKey* keys, std::size_t count, std::size_t byte) {
    std::array<std::uint64_t, 3> differ{};
    const SortKey& first = keys[0];
    for (std::size_t i = 1; i < count; ++i) {
        for (std::size_t word = 0; word < differ.size(); ++word) {
            differ[word] |= keys[i].words[word] ^ first.words[word];
        }
    }
    differ[2] &= ~std::uint64_t{UINT32_MAX}; // the record numbers are no part of the name
    for (std::size_t word = byte / 8; word < differ.size(); ++word) {
        if (differ[word] != 0) {
            const auto bit = static_cast<std::size_t>(std::countl_zero(differ[word]));
            return std::max(byte, 8 * word + bit / 8);
        }
    }
    return keyNameBytes;
}

// A most-significant-byte-first radix sort of keys that arrive in record order. The keys are
// in `data`; the sorted keys end up in `home`, which is `data` or `other`, the two buffers
// taking turns. Each byte spreads a group stably into the other buffer over the digits it holds;
// where all keys of a group share a byte, one pass finds the next byte that sets any of them
// apart, and a small group goes to `less`. A group whose names agree in every byte of the key
// stays in record order unless the names go on past the key. The groups are settled in name
// order, and each is handed to `settled` once it is.
template <typename Less>
bool NameOrder::radixSort(SortKey* data, SortKey* other, std::size_t count, std::size_t byte,
                          bool dataIsHome, const Less& less, bool pastKey, Settled& settled) {
    std::array<std::size_t, 256> counts;
    unsigned low = 0;
    unsigned high = 0;
    for (;;) {
        if (count <= smallGroup || byte == keyNameBytes) {
            if (byte < keyNameBytes || pastKey) {
                std::sort(data, data + count, less);
            }
            if (!dataIsHome) {
                std::memcpy(other, data, count * sizeof(SortKey));
            }
            return settled.add(data, count);
        }
        counts.fill(0);
        low = 255;
        high = 0;
        for (std::size_t i = 0; i < count; ++i) {
            const unsigned digit = data[i].byte(byte);
            ++counts[digit];
            low = std::min(low, digit);
            high = std::max(high, digit);
        }
        if (low != high) {
            break;
        }
        // A byte all keys share: one pass finds the next byte that sets any of them apart.
        byte = firstDifference(data, count, byte + 1);
    }
    std::array<std::size_t, 256> next;
    std::size_t start = 0;
    for (unsigned digit = low; digit <= high; ++digit) {
        next[digit] = start;
        start += counts[digit];
    }
    for (std::size_t i = 0; i < count; ++i) {
        other[next[data[i].byte(byte)]++] = data[i];
    }
    start = 0;
    for (unsigned digit = low; digit <= high; ++digit) {
        if (counts[digit] > 0 && !radixSort(other + start, data + start, counts[digit], byte + 1,
                                            !dataIsHome, less, pastKey, settled)) {
            return false;
        }
        start += counts[digit];
    }
    return true;
}

bool NameOrder::sort(ConstByteSpan records, std::size_t recordSize, const Visitor& visit) {
    // Keys already in order, followed by keys added since, still hold every name of equal
    // prefix in record order, as the radix sort needs them.
    LargeBuffer<SortKey> scratch(keys_.size());
    Settled settled(visit);
    bool complete = false;
    if (prefix_.nameWidth() > keyNameBytes) {
        // Names longer than the key are told apart by their remaining bytes before their
        // records' numbers.
        const std::size_t width = prefix_.nameWidth();
        auto less = [&](const SortKey& a, const SortKey& b) {
            if (!a.samePrefix(b)) {
                return a < b;
            }
            const int past =
                compareFoldedFrom(keyNameBytes, nameOf(records, recordSize, width, a.record()),
                                  nameOf(records, recordSize, width, b.record()));
            return past != 0 ? past < 0 : a.record() < b.record();
        };
        complete =
            radixSort(keys_.data(), scratch.data(), keys_.size(), 0, true, less, true, settled);
    } else {
        complete = radixSort(keys_.data(), scratch.data(), keys_.size(), 0, true,
                             std::less<SortKey>(), false, settled);
    }
    return complete && settled.handOn();
}

} // namespace keel
