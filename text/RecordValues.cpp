// SPDX-License-Identifier: MIT
#include "text/RecordValues.h"

#include "common/FieldText.h"
#include "common/TextField.h"

#include <algorithm>

namespace keel {
namespace {

// The bytes of a field that its value covers.
std::size_t coveredWidth(const FieldInfo& field, ConstByteSpan record) {
    if (field.kind == FieldKind::Text) {
        const std::size_t length = textView(record.subspan(field.offset, field.elementWidth)).size();
        return std::min(length + 1, field.elementWidth);
    }
    return field.width();
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

} // namespace

std::vector<ValueColumn> valueColumns(const RecordLevel& level) {
    std::vector<ValueColumn> columns;
    for (const FieldInfo& field : level.fields) {
        if (!level.isValue(field)) {
            continue;
        }
        if (!field.isArray()) {
            columns.push_back({&field, 0, std::string(field.name)});
            continue;
        }
        for (std::size_t i = 0; i < field.count; ++i) {
            columns.push_back({&field, i, std::string(field.name) + "[" + std::to_string(i + 1) + "]"});
        }
    }
    return columns;
}

ByteVector restOf(const RecordLevel& level, ConstByteSpan record) {
    ByteVector rest;
    restInto(level, record, rest);
    return rest;
}

void restInto(const RecordLevel& level, ConstByteSpan record, ByteVector& rest) {
    rest.assign(record.begin(), record.end());
    for (const FieldInfo& field : level.fields) {
        if (field.kind != FieldKind::Reserved) {
            const auto from = rest.begin() + static_cast<std::ptrdiff_t>(field.offset);
            std::fill(from, from + static_cast<std::ptrdiff_t>(coveredWidth(field, record)), Byte{0});
        }
    }
    const auto lastNonZero = std::find_if(rest.rbegin(), rest.rend(), [](Byte b) { return b != 0; });
    rest.erase(lastNonZero.base(), rest.end());
}

std::string hexText(ConstByteSpan bytes) {
    std::string hex;
    appendHex(bytes, hex);
    return hex;
}

void appendHex(ConstByteSpan bytes, std::string& out) {
    static constexpr char digits[] = "0123456789abcdef";
    for (const Byte byte : bytes) {
        const char pair[2] = {digits[byte >> 4], digits[byte & 0x0F]};
        out.append(pair, 2);
    }
}

std::variant<ByteVector, std::string> bytesOfHex(std::string_view hex) {
    if (hex.size() % 2 != 0) {
        return "an odd number of hexadecimal digits";
    }
    ByteVector bytes(hex.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const int high = hexDigit(hex[2 * i]);
        const int low = hexDigit(hex[2 * i + 1]);
        if (high < 0 || low < 0) {
            std::string wrong = "\"";
            wrong += hex[2 * i + (high < 0 ? 0 : 1)];
            return wrong + "\" is not a hexadecimal digit";
        }
        bytes[i] = static_cast<Byte>(high * 16 + low);
    }
    return bytes;
}

RecordMaker::RecordMaker(const RecordLevel& level, const ByteVector* rest, ConstByteSpan base)
    : base_(base), lossless_(rest != nullptr), record_(level.size, 0) {
    if (rest != nullptr) {
        check(rest->size() <= level.size, "a rest no longer than its record");
        std::copy(rest->begin(), rest->end(), record_.begin());
    } else if (!base.empty()) {
        check(base.size() == level.size, "a base record of its level's size");
        const ByteVector baseRest = restOf(level, base);
        std::copy(baseRest.begin(), baseRest.end(), record_.begin());
    }
}

std::optional<std::string> RecordMaker::store(const FieldInfo& field, std::size_t index, std::string_view text) {
    if (field.kind != FieldKind::Text) {
        return storeFieldValueText(field, record_, index, text);
    }
    if (lossless_) {
        return storeFieldValueText(field, record_, index, text, TextRoom::WholeField);
    }
    std::optional<std::string> problem = storeFieldValueText(field, record_, index, text, TextRoom::EditorLimit);
    if (problem && !base_.empty() && fieldValueText(field, base_) == text) {
        problem = storeFieldValueText(field, record_, index, text, TextRoom::WholeField);
    }
    return problem;
}

} // namespace keel
