// SPDX-License-Identifier: MIT
#pragma once

#include "common/Bytes.h"

#include <array>
#include <cstdint>
#include <vector>

namespace keel {

class RecordTable;
class ThreeDIndex;

// Finds the objects that need a 3D object and have none. The answer for one object depends
// only on its name, its type and the 3D names, so the scan remembers them for every position:
// after a keystroke in one name, the next scan reads the names in order and looks up only the
// one that changed. A rebuilt index makes it look up every name again.
class LackingObjectScan {
public:
    // The positions, in record order, of the objects lacking a 3D object.
    const std::vector<std::size_t>& scan(const RecordTable& objects, const ThreeDIndex& index);

private:
    struct Seen {
        std::array<Byte, 20> name{};
        std::int16_t type = 0;
        bool lacking = false;
    };

    std::vector<Seen> seen_;
    std::uint64_t indexGeneration_ = 0;
    std::vector<std::size_t> lacking_;
};

} // namespace keel
