// SPDX-License-Identifier: MIT
#pragma once

#include "common/Field.h"

#include <algorithm>

namespace keel {

// A text field of which the editor uses only the first `limit` characters and the terminator:
// a longer text is cut or refused at that limit, and the bytes past it are never written. A
// text read from a file may still fill the whole field.
struct LimitedTextField {
    std::size_t offset;
    std::size_t width;
    std::size_t limit;

    constexpr FieldExtent extent() const { return {offset, width}; }
    constexpr std::size_t maxLength() const { return std::min(limit, width - 1); }
    ConstByteSpan bytes(ConstByteSpan record) const { return record.subspan(offset, width); }
    std::string read(ConstByteSpan record) const { return readText(bytes(record)); }
    bool write(ByteSpan record, std::string_view text, TextOverflow overflow) const {
        return writeText(record.subspan(offset, maxLength() + 1), text, overflow);
    }
};

} // namespace keel
