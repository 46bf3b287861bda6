// SPDX-License-Identifier: MIT
#include "common/TextField.h"

#include <algorithm>

namespace keel {

std::string readText(ConstByteSpan field) {
    const auto end = std::find(field.begin(), field.end(), Byte{0});
    return std::string(field.begin(), end);
}

std::string_view textView(ConstByteSpan field) {
    const auto end = std::find(field.begin(), field.end(), Byte{0});
    return std::string_view(reinterpret_cast<const char*>(field.data()), static_cast<std::size_t>(end - field.begin()));
}

bool writeText(ByteSpan field, std::string_view text, TextOverflow overflow) {
    if (field.empty()) {
        return text.empty();
    }
    const std::size_t capacity = field.size() - 1;
    std::size_t length = std::min(text.find('\0'), text.size());
    const bool fits = length == text.size() && length <= capacity;
    if (!fits && overflow == TextOverflow::Refuse) {
        return false;
    }
    length = std::min(length, capacity);
    std::copy_n(text.begin(), length, field.begin());
    field[length] = 0;
    return fits;
}

} // namespace keel
