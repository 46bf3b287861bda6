// SPDX-License-Identifier: MIT
#pragma once

#include "common/Bytes.h"
#include "text/RecordKinds.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace keel {

// A record as its text form shows it: values a person reads, and the rest, the bytes no value
// covers, in hexadecimal. A value covers the bytes of a number, and of a text its characters
// and its terminator; a count of nested records is no value (it follows from the records).
// Everything else is rest: reserved bytes, link slots, the bytes after a text's terminator.

// One value of a record: a field, or one element of an array field.
struct ValueColumn {
    const FieldInfo* field;
    std::size_t index;
    std::string name; // "MaxSpeed"; an array's elements "LauncherSlots[1]" and on, from 1
};

// The values of a level's records in field order.
std::vector<ValueColumn> valueColumns(const RecordLevel& level);

// The record with every byte a value covers set to zero, without its trailing zero bytes: empty
// for a record whose every byte is a value's.
ByteVector restOf(const RecordLevel& level, ConstByteSpan record);
// The same into `rest`, whose room is used again.
void restInto(const RecordLevel& level, ConstByteSpan record, ByteVector& rest);

std::string hexText(ConstByteSpan bytes);
void appendHex(ConstByteSpan bytes, std::string& out);
// The bytes of a hexadecimal text, or why it is none.
std::variant<ByteVector, std::string> bytesOfHex(std::string_view hex);

// A record being made from text: it starts from its rest, else from the record of the same
// place in a base file, else from zeros, and takes its values over that. A text is written with
// its terminator over the start of its field and the bytes after the terminator stay.
class RecordMaker {
public:
    // `rest` is a record's rest or shorter; `base` a whole record of the level, or empty. With
    // a rest, which gives the record exactly as it was exported, a text may fill its whole
    // field without terminator, as a file may hold it; otherwise a text may be as long as the
    // field's editor allows, or else only the very text the base record holds.
    RecordMaker(const RecordLevel& level, const ByteVector* rest, ConstByteSpan base);

    // Takes one value, or says why it cannot: "\"40000\" is out of range -32768..32767".
    std::optional<std::string> store(const FieldInfo& field, std::size_t index, std::string_view text);

    ByteVector take() { return std::move(record_); }

private:
    ConstByteSpan base_;
    bool lossless_;
    ByteVector record_;
};

} // namespace keel
