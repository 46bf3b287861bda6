#include "pickers/ListFiles.h"

#include "common/TextField.h"

#include <cassert>

namespace keel {

std::string NamedList::name(std::size_t index) const {
    assert(index < count());
    return readText(file_.subspan(index * format_.recordSize, format_.nameWidth));
}

} // namespace keel
