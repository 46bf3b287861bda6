// SPDX-License-Identifier: MIT
#pragma once

#include "common/Bytes.h"

#include <array>
#include <cstdint>

namespace keel {

// The first bytes of the names of fixed-size records, read a word at a time: the index hashes
// and compares them, the sort orders by them. A name is the record's bytes up to its first
// zero byte, within the name field.
class NamePrefix {
public:
    static constexpr std::size_t bytes = 24;
    // The name's first bytes as memory holds them, eight to a word, with every byte from the
    // name's end on zero. Names hold no zero byte, so two names of at most `bytes` bytes are
    // equal exactly when their words are.
    using Words = std::array<std::uint64_t, bytes / 8>;

    NamePrefix(std::size_t recordSize, std::size_t nameWidth);

    Words of(const Byte* record) const;
    // Whether a name can be longer than the prefix, so that equal prefixes need not mean equal
    // names.
    bool namesCanBeLonger() const { return nameWidth_ > bytes; }
    std::size_t nameWidth() const { return nameWidth_; }

private:
    std::size_t nameWidth_;
    bool wholeWordsInRecord_; // the record is long enough to read the prefix's words from
    Words withinField_;       // keeps the bytes of the name field
};

} // namespace keel
