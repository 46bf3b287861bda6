// SPDX-License-Identifier: MIT
#pragma once

#include "common/FieldTable.h"

#include <string>
#include <string_view>

namespace keel {

// sensors.sdb and airstrip.adb are only ever read, and only for the name that opens each
// record. A record is referred to by its position, counting from 1.
struct NamedListFormat {
    std::size_t recordSize;
    std::size_t nameWidth;
};

inline constexpr NamedListFormat sensorListFormat{152, 40};
inline constexpr NamedListFormat airstripListFormat{116, 40};

// The fields of the two lists: a name that may fill its field without terminator, then bytes
// of the simulation that this system never reads.
inline constexpr std::array sensorFields{
    describe::text("Name", TextFieldSpec{0, sensorListFormat.nameWidth}),
    describe::reserved("Rest", ReservedField{sensorListFormat.nameWidth,
                                             sensorListFormat.recordSize - sensorListFormat.nameWidth}),
};
inline constexpr std::array airstripFields{
    describe::text("Name", TextFieldSpec{0, airstripListFormat.nameWidth}),
    describe::reserved("Rest", ReservedField{airstripListFormat.nameWidth,
                                             airstripListFormat.recordSize - airstripListFormat.nameWidth}),
};

static_assert(fieldsArePacked(sensorFields, sensorListFormat.recordSize));
static_assert(fieldsArePacked(airstripFields, airstripListFormat.recordSize));

class NamedList {
public:
    NamedList(NamedListFormat format, ConstByteSpan file) : format_(format), file_(file) {}

    std::size_t count() const { return file_.size() / format_.recordSize; }
    // The name of the record at a 0-based position: up to its first zero byte, and all of the
    // name field when it holds none.
    std::string name(std::size_t index) const;
    // The same name as a view of the file's bytes, without a copy.
    std::string_view nameView(std::size_t index) const;

private:
    NamedListFormat format_;
    ConstByteSpan file_;
};

} // namespace keel
