// SPDX-License-Identifier: MIT
#pragma once

#include "common/Bytes.h"

#include <string>
#include <string_view>

namespace keel {

// What to do with a text that does not fit its field with its terminator.
enum class TextOverflow {
    Refuse, // leave the field untouched and report the text as not written
    Cut,    // write as many characters as fit, then the terminator
};

// The text of a fixed-width field: the bytes up to the first zero byte, never beyond the
// field. A field without a zero byte is text of the field's whole width.
std::string readText(ConstByteSpan field);
// The same text as a view of the field's bytes, without a copy.
std::string_view textView(ConstByteSpan field);

// Writes the text and its terminator over the start of the field and keeps every byte after
// the terminator. A text holds at most field.size() - 1 characters and no zero byte; a text
// that breaks either rule is refused or cut as asked. Returns whether the text was written
// whole (true) or refused or cut (false).
bool writeText(ByteSpan field, std::string_view text, TextOverflow overflow);

} // namespace keel
