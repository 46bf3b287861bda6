// SPDX-License-Identifier: MIT
#include "pickers/ListFiles.h"

#include "common/Checks.h"
#include "common/TextField.h"


namespace keel {

std::string NamedList::name(std::size_t index) const {
    check(index < count(), "a line beyond the end of the list");
    return std::string(nameView(index));
}

std::string_view NamedList::nameView(std::size_t index) const {
    check(index < count(), "a line beyond the end of the list");
    return textView(file_.subspan(index * format_.recordSize, format_.nameWidth));
}

} // namespace keel
