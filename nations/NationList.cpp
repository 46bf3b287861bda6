// SPDX-License-Identifier: MIT
#include "nations/NationList.h"

#include "common/NameCompare.h"

namespace keel {

CountedFile<Nation> NationShape::read(ConstByteSpan file, std::string_view fileName) {
    MissionDatabase read = readMissionDatabase(file, fileName);
    return {std::move(read.nations), std::move(read.report)};
}

std::string NationShape::matchKey(const Nation& nation) {
    return editorNameKey(nameField.bytes(nation.record));
}

template class CountedBlockList<NationShape>;

} // namespace keel
