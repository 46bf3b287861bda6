// SPDX-License-Identifier: MIT
#include "merge/NamePrefix.h"

#include "common/Checks.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace keel {
namespace {

constexpr bool littleEndian = std::endian::native == std::endian::little;

// Keeps the bytes of a word that lie before memory offset `count` within it.
std::uint64_t firstBytes(std::size_t count) {
    if (count >= 8) {
        return ~std::uint64_t{0};
    }
    const std::uint64_t ones = (std::uint64_t{1} << (8 * count)) - 1;
    return littleEndian ? ones : ~(~std::uint64_t{0} >> (8 * count));
}

// The offset of the first zero byte of a word in memory order, or 8. Adding 0x7F to a byte's
// low seven bits sets its high bit unless they are all zero; with the byte's own high bit that
// leaves the high bit clear exactly in the zero bytes, with no carry between bytes.
std::size_t firstZeroByte(std::uint64_t word) {
    constexpr std::uint64_t lowBits = 0x7F7F7F7F7F7F7F7Fu;
    const std::uint64_t zeros = ~(((word & lowBits) + lowBits) | word | lowBits);
    if (zeros == 0) {
        return 8;
    }
    const int bit = littleEndian ? std::countr_zero(zeros) : std::countl_zero(zeros);
    return static_cast<std::size_t>(bit) / 8;
}

} // namespace

NamePrefix::NamePrefix(std::size_t recordSize, std::size_t nameWidth)
    : nameWidth_(nameWidth), wholeWordsInRecord_(recordSize >= bytes) {
    check(nameWidth > 0 && nameWidth <= recordSize, "a record name lies within its record");
    for (std::size_t i = 0; i < withinField_.size(); ++i) {
        withinField_[i] = firstBytes(nameWidth > 8 * i ? nameWidth - 8 * i : 0);
    }
}

NamePrefix::Words NamePrefix::of(const Byte* record) const {
    Words words;
    if (wholeWordsInRecord_) {
        std::memcpy(words.data(), record, bytes);
    } else {
        std::array<Byte, bytes> padded{};
        std::memcpy(padded.data(), record, std::min(nameWidth_, bytes));
        std::memcpy(words.data(), padded.data(), bytes);
    }
    bool ended = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        std::uint64_t word = ended ? 0 : words[i] & withinField_[i];
        const std::size_t end = firstZeroByte(word);
        if (end < 8) {
            word &= firstBytes(end);
            ended = true;
        }
        words[i] = word;
    }
    return words;
}

} // namespace keel
