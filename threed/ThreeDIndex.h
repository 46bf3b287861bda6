#pragma once

#include "common/Bytes.h"

#include <string>
#include <unordered_map>

namespace keel {

class RecordTable;

// The names of the 3D object records, letter case folded, for the question whether an object
// has a 3D object: answered at once, whatever the number of records.
class ThreeDIndex {
public:
    void rebuild(const RecordTable& threeDRecords);
    bool contains(ConstByteSpan name) const;

private:
    std::unordered_map<std::string, std::size_t> countByName_;
};

} // namespace keel
