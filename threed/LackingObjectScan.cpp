// SPDX-License-Identifier: MIT
#include "threed/LackingObjectScan.h"

#include "editor/RecordTable.h"
#include "objects/ObjectRecord.h"
#include "objects/ObjectTypes.h"
#include "threed/ThreeDIndex.h"

#include <algorithm>
#include <cstring>

namespace keel {

const std::vector<std::size_t>& LackingObjectScan::scan(const RecordTable& objects, const ThreeDIndex& index) {
    using R = ObjectRecord;
    static_assert(R::ObjectName.width == std::tuple_size_v<decltype(Seen::name)>);
    if (index.generation() != indexGeneration_) {
        seen_.clear();
        indexGeneration_ = index.generation();
    }
    const std::size_t count = objects.count();
    const std::size_t known = std::min(seen_.size(), count);
    seen_.resize(count);
    lacking_.clear();
    for (std::size_t i = 0; i < count; ++i) {
        const ConstByteSpan record = objects.record(i);
        const ConstByteSpan name = R::ObjectName.bytes(record);
        const std::int16_t type = R::ObjType.read(record);
        Seen& seen = seen_[i];
        if (i >= known || seen.type != type || std::memcmp(seen.name.data(), name.data(), seen.name.size()) != 0) {
            std::memcpy(seen.name.data(), name.data(), seen.name.size());
            seen.type = type;
            seen.lacking = needsThreeDObject(type) && !index.contains(name);
        }
        if (seen.lacking) {
            lacking_.push_back(i);
        }
    }
    return lacking_;
}

} // namespace keel
