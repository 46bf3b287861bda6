// SPDX-License-Identifier: MIT
#include "carriers/CarrierList.h"

#include "common/NameCompare.h"

namespace keel {

CountedFile<Carrier> CarrierShape::read(ConstByteSpan file, std::string_view fileName) {
    CarrierDatabase read = readCarrierDatabase(file, fileName);
    return {std::move(read.carriers), std::move(read.report)};
}

std::string CarrierShape::matchKey(const Carrier& carrier) {
    // No key of a name holds a zero byte, so the pair of keys is unambiguous.
    std::string key = editorNameKey(CarrierRecord::ObjectName.bytes(carrier.record));
    key += '\0';
    key += editorNameKey(CarrierRecord::Country.bytes(carrier.record));
    return key;
}

template class CountedBlockList<CarrierShape>;

} // namespace keel
