// SPDX-License-Identifier: MIT
#include "common/FieldText.h"

#include "common/TextField.h"
#include "common/WindowsCodePage.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace keel {
namespace {

constexpr std::uint32_t quietNan = 0x7FC00000u;
constexpr std::uint32_t signBit = 0x80000000u;

std::string quoted(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted += '"';
    quoted += text;
    quoted += '"';
    return quoted;
}

std::string floatText(float value) {
    const auto bits = std::bit_cast<std::uint32_t>(value);
    if (std::isnan(value)) {
        if ((bits & ~signBit) == quietNan) {
            return (bits & signBit) != 0 ? "-nan" : "nan";
        }
        char nan[24];
        std::snprintf(nan, sizeof nan, "nan(0x%08x)", static_cast<unsigned>(bits));
        return nan;
    }
    if (std::isinf(value)) {
        return value < 0 ? "-inf" : "inf";
    }
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::optional<float> parsedNan(std::string_view text) {
    if (text == "nan") {
        return std::bit_cast<float>(quietNan);
    }
    if (text == "-nan") {
        return std::bit_cast<float>(quietNan | signBit);
    }
    constexpr std::string_view open = "nan(0x";
    if (text.size() != open.size() + 9 || !text.starts_with(open) || text.back() != ')') {
        return std::nullopt;
    }
    std::uint32_t bits = 0;
    const char* digits = text.data() + open.size();
    const auto [end, error] = std::from_chars(digits, digits + 8, bits, 16);
    const float value = std::bit_cast<float>(bits);
    if (error != std::errc{} || end != digits + 8 || !std::isnan(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::string> storeFloat(ByteSpan element, std::string_view text) {
    const std::string_view value = trimmed(text);
    float number = 0;
    if (const std::optional<float> nan = parsedNan(value)) {
        number = *nan;
    } else if (value == "inf" || value == "-inf") {
        number = value == "inf" ? HUGE_VALF : -HUGE_VALF;
    } else if (value.find('(') != std::string_view::npos) {
        // The library would take any "nan(...)" as a NaN of its own bits; only ours are exact.
        return quoted(text) + " is not a number";
    } else {
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
        if (error == std::errc::result_out_of_range) {
            return quoted(text) + " is out of range for a float";
        }
        if (value.empty() || error != std::errc{} || end != value.data() + value.size()) {
            return quoted(text) + " is not a number";
        }
    }
    storeLittleEndian<float>(element, number);
    return std::nullopt;
}

std::optional<std::string> storeWholeNumber(const FieldInfo& field, ByteSpan record, std::size_t index,
                                            std::string_view text) {
    const std::string_view value = trimmed(text);
    std::int64_t number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    const auto outOfRange = [&] {
        return quoted(text) + " is out of range " + std::to_string(field.storedMinimum()) + ".." +
               std::to_string(field.storedMaximum());
    };
    if (error == std::errc::result_out_of_range) {
        return outOfRange();
    }
    if (value.empty() || error != std::errc{} || end != value.data() + value.size()) {
        return quoted(text) + " is not a whole number";
    }
    if (number < field.storedMinimum() || number > field.storedMaximum()) {
        return outOfRange();
    }
    field.integer(index).write(record, number);
    return std::nullopt;
}

std::optional<std::string> storeText(const FieldInfo& field, ByteSpan record, std::string_view text, TextRoom room) {
    std::string lacking;
    // ASCII is its own code page text, and most texts are ASCII.
    const bool ascii = std::all_of(text.begin(), text.end(), [](char c) { return static_cast<Byte>(c) < 0x80; });
    const std::optional<std::string> bytes = ascii ? std::optional<std::string>(text) : codePageFromUtf8(text, lacking);
    if (!bytes) {
        if (lacking.empty()) {
            return "the text is not well-formed UTF-8";
        }
        return quoted(text) + " holds " + quoted(lacking) + ", which the Windows-1252 code page lacks";
    }
    if (bytes->find('\0') != std::string::npos) {
        return quoted(text) + " holds a zero character, which ends a text";
    }
    const std::size_t limit = room == TextRoom::WholeField    ? field.elementWidth
                              : room == TextRoom::EditorLimit ? std::min(field.textLimit, field.storedTextLength())
                                                              : field.storedTextLength();
    if (bytes->size() > limit) {
        return quoted(text) + " is longer than " + std::to_string(limit) + " characters";
    }
    const ByteSpan bytesOfField = record.subspan(field.offset, field.elementWidth);
    std::copy(bytes->begin(), bytes->end(), bytesOfField.begin());
    if (bytes->size() < bytesOfField.size()) {
        bytesOfField[bytes->size()] = 0;
    }
    return std::nullopt;
}

} // namespace

std::string fieldValueText(const FieldInfo& field, ConstByteSpan record, std::size_t index) {
    std::string text;
    appendFieldValueText(field, record, index, text);
    return text;
}

void appendFieldValueText(const FieldInfo& field, ConstByteSpan record, std::size_t index, std::string& out) {
    check(index < field.count, "an index beyond the elements of a field");
    switch (field.kind) {
    case FieldKind::Signed:
    case FieldKind::Unsigned:
    case FieldKind::BitSet: {
        char digits[24];
        const auto result = std::to_chars(digits, digits + sizeof digits, field.integer(index).read(record));
        out.append(digits, result.ptr);
        return;
    }
    case FieldKind::Float:
        out += floatText(loadLittleEndian<float>(record.subspan(field.elementOffset(index), 4)));
        return;
    case FieldKind::Text:
        appendUtf8FromCodePage(textView(record.subspan(field.offset, field.elementWidth)), out);
        return;
    case FieldKind::Reserved:
        break;
    }
    reportBrokenCheck("a reserved field read as a value");
}

std::optional<std::string> storeFieldValueText(const FieldInfo& field, ByteSpan record, std::size_t index,
                                               std::string_view text, TextRoom room) {
    check(index < field.count, "an index beyond the elements of a field");
    switch (field.kind) {
    case FieldKind::Signed:
    case FieldKind::Unsigned:
    case FieldKind::BitSet:
        return storeWholeNumber(field, record, index, text);
    case FieldKind::Float:
        return storeFloat(record.subspan(field.elementOffset(index), 4), text);
    case FieldKind::Text:
        return storeText(field, record, text, room);
    case FieldKind::Reserved:
        break;
    }
    reportBrokenCheck("a reserved field given a value");
}

} // namespace keel
