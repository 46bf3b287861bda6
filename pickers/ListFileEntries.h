// SPDX-License-Identifier: MIT
#pragma once

#include "common/Bytes.h"
#include "pickers/AvailableEntries.h"
#include "pickers/ListFiles.h"

namespace keel {

// The records of sensors.sdb or airstrip.adb as a picker offers them: "01: name" for the first,
// the number with a leading zero only below 10. They are read from the main window's master
// buffer whenever they are asked for, so a buffer that was refilled is seen as it now is.
class ListFileEntries : public AvailableEntries {
public:
    ListFileEntries(NamedListFormat format, const ByteVector& master)
        : format_(format), master_(master) {}

    std::size_t count() const override;
    QString line(std::size_t value) const override;
    std::string_view name(std::size_t value) const override { return list().nameView(value - 1); }

private:
    NamedList list() const { return NamedList(format_, master_); }

    NamedListFormat format_;
    const ByteVector& master_;
};

} // namespace keel
