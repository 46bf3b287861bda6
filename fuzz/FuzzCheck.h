// SPDX-License-Identifier: MIT
#pragma once

#include "common/Bytes.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

// What every fuzz target shares: a check that stops the run where a property breaks, so that
// libFuzzer keeps the input that broke it, and readers of the plain values the targets take
// from their input.

namespace keel::fuzz {

[[noreturn]] inline void propertyBroken(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: broken property: %s\n", file, line, what);
    std::abort();
}

#define KEEL_FUZZ_CHECK(condition)                                                                 \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            ::keel::fuzz::propertyBroken(#condition, __FILE__, __LINE__);                          \
        }                                                                                          \
    } while (false)

// A signed 32-bit little-endian number at a byte offset, read without the code under test.
inline std::int32_t int32At(ConstByteSpan bytes, std::size_t offset) {
    std::uint32_t bits = 0;
    for (std::size_t i = 4; i-- > 0;) {
        bits = (bits << 8) | bytes[offset + i];
    }
    return static_cast<std::int32_t>(bits);
}

inline bool endsWith(std::string_view text, std::string_view ending) {
    return text.size() >= ending.size() && text.substr(text.size() - ending.size()) == ending;
}

// Takes the fuzz input apart from its front: a few control bytes, then pieces of given
// lengths. Past the end of the input every byte reads as zero and every piece is empty.
class InputSplitter {
public:
    InputSplitter(const std::uint8_t* data, std::size_t size) : rest_(data, size) {}

    std::uint8_t byte() {
        if (rest_.empty()) {
            return 0;
        }
        const std::uint8_t value = rest_.front();
        rest_ = rest_.subspan(1);
        return value;
    }
    std::uint16_t uint16() {
        const std::uint16_t low = byte();
        return static_cast<std::uint16_t>(low | (byte() << 8));
    }
    // The next `length` bytes, or as many as are left.
    ConstByteSpan piece(std::size_t length) {
        const ConstByteSpan taken = rest_.first(std::min(length, rest_.size()));
        rest_ = rest_.subspan(taken.size());
        return taken;
    }
    ConstByteSpan rest() { return piece(rest_.size()); }

private:
    ConstByteSpan rest_;
};

} // namespace keel::fuzz
