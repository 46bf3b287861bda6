// SPDX-License-Identifier: MIT
#pragma once

#include "common/FieldTable.h"
#include "common/RecordFile.h"

namespace keel {

// One record of 3dobjects.3db: the presentation of the object of the same name. Only the
// name is ours; the rest belongs to the simulation and is carried byte for byte.
struct ThreeDRecord {
    static constexpr std::size_t Size = 956;

    static constexpr TextFieldSpec Name{0, 20};
    static constexpr ReservedField Presentation{20, 936};
};

inline constexpr std::array threeDFields{
    describe::text("Name", ThreeDRecord::Name),
    describe::reserved("Presentation", ThreeDRecord::Presentation),
};

static_assert(fieldsArePacked(threeDFields, ThreeDRecord::Size));

using ThreeDFile = FixedRecords<ThreeDRecord::Size>;

} // namespace keel
