// SPDX-License-Identifier: MIT
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <type_traits>
#include <vector>

namespace keel {

using Byte = std::uint8_t;
using ByteVector = std::vector<Byte>;
using ByteSpan = std::span<Byte>;
using ConstByteSpan = std::span<const Byte>;

// Little-endian loads and stores of integers and IEEE single-precision floats, assembled
// byte by byte so that they are correct whatever the host's byte order and alignment.
template <typename T>
concept StoredNumber = (std::is_integral_v<T> || std::is_same_v<T, float>) && sizeof(T) <= 8;

template <StoredNumber T> T loadLittleEndian(ConstByteSpan bytes) {
    using Unsigned = std::make_unsigned_t<
        std::conditional_t<std::is_same_v<T, float>, std::uint32_t, T>>;
    Unsigned value = 0;
    for (std::size_t i = sizeof(T); i-- > 0;) {
        value = static_cast<Unsigned>((value << 8) | bytes[i]);
    }
    return std::bit_cast<T>(value);
}

template <StoredNumber T> void storeLittleEndian(ByteSpan bytes, T number) {
    using Unsigned = std::make_unsigned_t<
        std::conditional_t<std::is_same_v<T, float>, std::uint32_t, T>>;
    auto value = std::bit_cast<Unsigned>(number);
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        bytes[i] = static_cast<Byte>(value & 0xFFu);
        value = static_cast<Unsigned>(value >> 8);
    }
}

} // namespace keel
