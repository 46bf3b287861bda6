// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <cstddef>
#include <string_view>

namespace keel {

// What a slot picker offers: the entries that slot values 1 to count() name, in the order of
// their list. The empty-slot line is the picker's own and is not one of them.
class AvailableEntries {
public:
    virtual ~AvailableEntries() = default;
    virtual std::size_t count() const = 0;
    // The line of the entry that slot value `value` names, 1 <= value <= count().
    virtual QString line(std::size_t value) const = 0;
    // The name of that entry as its file holds it, in the files' code page, for a find box to
    // look in. The view lasts until the entries change.
    virtual std::string_view name(std::size_t value) const = 0;
};

} // namespace keel
