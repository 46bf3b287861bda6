// SPDX-License-Identifier: MIT
#pragma once

#include "common/Bytes.h"
#include "common/FieldTable.h"

#include <optional>
#include <string>
#include <string_view>

namespace keel {

// The value of one field, or of one element of an array field, as a person reads and writes it:
// whole numbers and bit sets in decimal, floats in the shortest form that reads back to the
// same bits, texts in UTF-8. Reading a text back and storing it gives the same bytes.
//
// Floats: "inf", "-inf", "nan" for the usual quiet NaN and "nan(0x7fa00001)" with the stored
// bits for any other, so that no float of a file is lost.

// The text of an element. A text field gives its characters up to the terminator, or the whole
// field when it holds none.
std::string fieldValueText(const FieldInfo& field, ConstByteSpan record, std::size_t index = 0);
// The same, appended to `out`, for those who write many values in one text.
void appendFieldValueText(const FieldInfo& field, ConstByteSpan record, std::size_t index, std::string& out);

// How long a text may be.
enum class TextRoom {
    WithTerminator, // at most the field's width less one, followed by its terminator
    WholeField,     // the whole width too, without terminator, as a file may hold it
    EditorLimit,    // at most what the field's editor lets a user enter (its textLimit)
};

// Stores a text into an element, or says why it cannot, as "\"40000\" is out of range
// -32768..32767": the record is then unchanged. A text is written with its terminator over
// the start of its field; the bytes after the terminator stay as they were. Reserved fields
// take no text.
std::optional<std::string> storeFieldValueText(const FieldInfo& field, ByteSpan record, std::size_t index,
                                               std::string_view text, TextRoom room = TextRoom::WithTerminator);

} // namespace keel
