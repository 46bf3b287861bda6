// SPDX-License-Identifier: MIT
#pragma once

#include "common/Bytes.h"

#include <array>
#include <cstdint>
#include <vector>

namespace keel {

class RecordTable;

// The names of the 3D object records, letter case folded, for the question whether an object
// has a 3D object: answered at once, whatever the number of records. The object editor asks it
// for every object at every keystroke in a name, so the table is a flat array of hashed slots
// that a look-up reaches in one step, each holding its folded name so that the check needs no
// second trip to memory.
class ThreeDIndex {
public:
    void rebuild(const RecordTable& threeDRecords);
    bool contains(ConstByteSpan name) const;
    // A number that no other rebuild of any index has had: what was learnt from one build is
    // known to be stale when it changes.
    std::uint64_t generation() const { return generation_; }

private:
    static constexpr std::size_t keyWidth = 20; // the name field of every 3D object record

    struct Slot {
        std::uint64_t hash = 0;
        std::uint8_t length = 0;
        bool used = false;
        std::array<Byte, keyWidth> key{};
    };

    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
    std::uint64_t generation_ = 0;
};

} // namespace keel
