// SPDX-License-Identifier: MIT
#pragma once

#include "common/Bytes.h"
#include "common/Checks.h"
#include "common/TextField.h"

#include <array>
#include <initializer_list>
#include <string>
#include <string_view>

namespace keel {

// Field descriptors: where a field lies in its record and how its bytes are read. Every
// accessor works on the record's own bytes, so the bytes no descriptor touches stay as read.

struct FieldExtent {
    std::size_t offset;
    std::size_t width;
};

template <StoredNumber T> struct NumberField {
    using Value = T;
    static constexpr std::size_t width = sizeof(T);
    std::size_t offset;

    constexpr FieldExtent extent() const { return {offset, width}; }
    T read(ConstByteSpan record) const { return loadLittleEndian<T>(record.subspan(offset, width)); }
    void write(ByteSpan record, T value) const {
        storeLittleEndian<T>(record.subspan(offset, width), value);
    }
};

template <StoredNumber T, std::size_t Count> struct NumberArrayField {
    using Value = T;
    static constexpr std::size_t count = Count;
    static constexpr std::size_t width = sizeof(T) * Count;
    std::size_t offset;

    constexpr FieldExtent extent() const { return {offset, width}; }
    T read(ConstByteSpan record, std::size_t index) const {
        check(index < Count, "an index beyond the slots of a field");
        return loadLittleEndian<T>(record.subspan(offset + index * sizeof(T), sizeof(T)));
    }
    void write(ByteSpan record, std::size_t index, T value) const {
        check(index < Count, "an index beyond the slots of a field");
        storeLittleEndian<T>(record.subspan(offset + index * sizeof(T), sizeof(T)), value);
    }
};

// A bit set of one or more bytes. Changing one bit leaves every other bit as it was.
template <std::unsigned_integral T> struct BitSetField {
    using Value = T;
    static constexpr std::size_t width = sizeof(T);
    std::size_t offset;

    constexpr FieldExtent extent() const { return {offset, width}; }
    T read(ConstByteSpan record) const { return loadLittleEndian<T>(record.subspan(offset, width)); }
    void write(ByteSpan record, T value) const {
        storeLittleEndian<T>(record.subspan(offset, width), value);
    }
    bool has(ConstByteSpan record, T bit) const { return (read(record) & bit) == bit; }
    void set(ByteSpan record, T bit, bool on) const {
        const T old = read(record);
        write(record, static_cast<T>(on ? (old | bit) : (old & ~bit)));
    }
};

struct TextFieldSpec {
    std::size_t offset;
    std::size_t width;

    constexpr FieldExtent extent() const { return {offset, width}; }
    constexpr std::size_t maxLength() const { return width - 1; }
    ConstByteSpan bytes(ConstByteSpan record) const { return record.subspan(offset, width); }
    std::string read(ConstByteSpan record) const { return readText(bytes(record)); }
    bool write(ByteSpan record, std::string_view text, TextOverflow overflow) const {
        return writeText(record.subspan(offset, width), text, overflow);
    }
};

// A whole-number field whose type is known only at run time, for handlers that several
// controls of different widths share.
struct IntegerField {
    std::size_t offset;
    std::size_t width; // 1, 2 or 4
    bool isSigned;

    template <std::integral T>
    constexpr IntegerField(NumberField<T> field)
        : offset(field.offset), width(sizeof(T)), isSigned(std::is_signed_v<T>) {}
    constexpr IntegerField(std::size_t offset_, std::size_t width_, bool isSigned_)
        : offset(offset_), width(width_), isSigned(isSigned_) {}

    constexpr std::int64_t minimum() const {
        return isSigned ? -(std::int64_t{1} << (8 * width - 1)) : 0;
    }
    constexpr std::int64_t maximum() const {
        return isSigned ? (std::int64_t{1} << (8 * width - 1)) - 1 : (std::int64_t{1} << (8 * width)) - 1;
    }
    constexpr bool holds(std::int64_t value) const { return value >= minimum() && value <= maximum(); }

    std::int64_t read(ConstByteSpan record) const {
        const ConstByteSpan bytes = record.subspan(offset, width);
        switch (width) {
        case 1:
            return isSigned ? std::int64_t{loadLittleEndian<std::int8_t>(bytes)} : loadLittleEndian<std::uint8_t>(bytes);
        case 2:
            return isSigned ? std::int64_t{loadLittleEndian<std::int16_t>(bytes)} : loadLittleEndian<std::uint16_t>(bytes);
        default:
            return isSigned ? std::int64_t{loadLittleEndian<std::int32_t>(bytes)} : loadLittleEndian<std::uint32_t>(bytes);
        }
    }
    // Stores a value the field holds; the caller refuses any other.
    void write(ByteSpan record, std::int64_t value) const {
        check(holds(value), "a value the field does not hold");
        const ByteSpan bytes = record.subspan(offset, width);
        switch (width) {
        case 1:
            storeLittleEndian<std::uint8_t>(bytes, static_cast<std::uint8_t>(value));
            break;
        case 2:
            storeLittleEndian<std::uint16_t>(bytes, static_cast<std::uint16_t>(value));
            break;
        default:
            storeLittleEndian<std::uint32_t>(bytes, static_cast<std::uint32_t>(value));
            break;
        }
    }
};

// Bytes the format names but nobody interprets: kept as read.
struct ReservedField {
    std::size_t offset;
    std::size_t width;

    constexpr FieldExtent extent() const { return {offset, width}; }
};

} // namespace keel
