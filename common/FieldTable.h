// SPDX-License-Identifier: MIT
#pragma once

#include "common/Field.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string_view>

namespace keel {

// One description of a record's fields, read by everything that shows, checks, converts or
// compares them: the editors' controls, keelcheck and keeltext. Each record kind keeps one
// table of these beside its format; a new field or a corrected limit is one line there.

enum class FieldKind {
    Signed,   // a signed whole number of 1, 2 or 4 bytes
    Unsigned, // an unsigned whole number of 1, 2 or 4 bytes
    Float,    // an IEEE single-precision float
    BitSet,   // an unsigned whole number read as a set of bits
    Text,     // a zero-terminated text in the Windows-1252 code page
    Reserved, // bytes the format names but nobody interprets
};

struct FieldInfo {
    std::string_view name;
    std::size_t offset = 0;
    std::size_t elementWidth = 0; // of one element; the field's width for all but arrays
    std::size_t count = 1;        // elements of an array field, 1 for any other
    FieldKind kind = FieldKind::Reserved;
    // What the editor lets a user enter: a number from `lowest` to `highest`, or a text of at
    // most `textLimit` characters. Where the editor sets no limit of its own they are those of
    // the stored value.
    std::int64_t lowest = 0;
    std::int64_t highest = 0;
    std::size_t textLimit = 0;

    constexpr std::size_t width() const { return elementWidth * count; }
    constexpr FieldExtent extent() const { return {offset, width()}; }
    constexpr bool isArray() const { return count > 1; }
    constexpr bool isWholeNumber() const {
        return kind == FieldKind::Signed || kind == FieldKind::Unsigned || kind == FieldKind::BitSet;
    }
    // The offset of one element of an array, or of the field itself.
    constexpr std::size_t elementOffset(std::size_t index) const { return offset + index * elementWidth; }

    // The range of a whole number as stored, whatever the editor allows.
    constexpr std::int64_t storedMinimum() const {
        return kind == FieldKind::Signed ? -(std::int64_t{1} << (8 * elementWidth - 1)) : 0;
    }
    constexpr std::int64_t storedMaximum() const {
        return kind == FieldKind::Signed ? (std::int64_t{1} << (8 * elementWidth - 1)) - 1
                                         : (std::int64_t{1} << (8 * elementWidth)) - 1;
    }
    // The longest text the field stores with its terminator.
    constexpr std::size_t storedTextLength() const { return elementWidth - 1; }

    // One element of a whole-number field, by its run-time width.
    constexpr IntegerField integer(std::size_t index = 0) const {
        return IntegerField(elementOffset(index), elementWidth, kind == FieldKind::Signed);
    }
    constexpr TextFieldSpec text() const { return {offset, elementWidth}; }
};

using FieldTable = std::span<const FieldInfo>;

// Descriptions made from the typed accessors of a format, so that the table and the accessors
// cannot disagree on where a field lies.
namespace describe {

template <StoredNumber T> constexpr FieldKind numberKind() {
    if constexpr (std::is_same_v<T, float>) {
        return FieldKind::Float;
    } else if constexpr (std::is_signed_v<T>) {
        return FieldKind::Signed;
    } else {
        return FieldKind::Unsigned;
    }
}

// A float's limits are those of its editor's arrows; where it has none, every whole number.
template <StoredNumber T> constexpr std::int64_t lowestOf() {
    if constexpr (std::is_same_v<T, float>) {
        return std::numeric_limits<std::int64_t>::min();
    } else {
        return static_cast<std::int64_t>(std::numeric_limits<T>::min());
    }
}

template <StoredNumber T> constexpr std::int64_t highestOf() {
    if constexpr (std::is_same_v<T, float>) {
        return std::numeric_limits<std::int64_t>::max();
    } else {
        return static_cast<std::int64_t>(std::numeric_limits<T>::max());
    }
}

template <StoredNumber T>
constexpr FieldInfo number(std::string_view name, NumberField<T> field, std::int64_t lowest = lowestOf<T>(),
                           std::int64_t highest = highestOf<T>()) {
    return {name, field.offset, sizeof(T), 1, numberKind<T>(), lowest, highest, 0};
}

template <StoredNumber T, std::size_t N>
constexpr FieldInfo numbers(std::string_view name, NumberArrayField<T, N> field, std::int64_t lowest = lowestOf<T>(),
                            std::int64_t highest = highestOf<T>()) {
    return {name, field.offset, sizeof(T), N, numberKind<T>(), lowest, highest, 0};
}

template <std::unsigned_integral T> constexpr FieldInfo bits(std::string_view name, BitSetField<T> field) {
    return {name, field.offset, sizeof(T), 1, FieldKind::BitSet, 0, highestOf<T>(), 0};
}

constexpr FieldInfo text(std::string_view name, TextFieldSpec field) {
    return {name, field.offset, field.width, 1, FieldKind::Text, 0, 0, field.maxLength()};
}

// A text field of which the editor uses fewer characters than the field holds.
constexpr FieldInfo text(std::string_view name, TextFieldSpec field, std::size_t editorLimit) {
    return {name, field.offset, field.width, 1, FieldKind::Text, 0, 0, std::min(editorLimit, field.maxLength())};
}

constexpr FieldInfo reserved(std::string_view name, ReservedField field) {
    return {name, field.offset, field.width, 1, FieldKind::Reserved, 0, 0, 0};
}

} // namespace describe

// True when the fields, in the order given, follow one another without gap or overlap from
// byte 0 and the last one ends exactly at the record size.
constexpr bool fieldsArePacked(FieldTable fields, std::size_t recordSize) {
    std::size_t next = 0;
    for (const FieldInfo& field : fields) {
        if (field.offset != next || field.width() == 0) {
            return false;
        }
        next = field.offset + field.width();
    }
    return next == recordSize;
}

// The field of a name, or none.
constexpr const FieldInfo* findField(FieldTable fields, std::string_view name) {
    const auto found =
        std::find_if(fields.begin(), fields.end(), [name](const FieldInfo& field) { return field.name == name; });
    return found == fields.end() ? nullptr : &*found;
}

// The field of a name that the caller knows is there; a name missing from the table stops the
// build where it is used in a constant expression.
constexpr const FieldInfo& fieldNamed(FieldTable fields, std::string_view name) {
    for (const FieldInfo& field : fields) {
        if (field.name == name) {
            return field;
        }
    }
    reportBrokenCheck("a field name that the record's table lacks");
}

} // namespace keel
