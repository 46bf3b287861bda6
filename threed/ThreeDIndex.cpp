#include "threed/ThreeDIndex.h"

#include "common/NameCompare.h"
#include "editor/RecordTable.h"

namespace keel {

void ThreeDIndex::rebuild(const RecordTable& threeDRecords) {
    countByName_.clear();
    countByName_.reserve(threeDRecords.count());
    for (std::size_t i = 0; i < threeDRecords.count(); ++i) {
        ++countByName_[editorNameKey(threeDRecords.name(i))];
    }
}

bool ThreeDIndex::contains(ConstByteSpan name) const { return countByName_.count(editorNameKey(name)) > 0; }

} // namespace keel
