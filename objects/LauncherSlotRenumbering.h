// SPDX-License-Identifier: MIT
#pragma once

#include "common/Bytes.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace keel {

// Object records name launchers by position: slot value n is the n-th launcher of
// launcher.ldb, counting from 1. Deleting a launcher moves every later one a place up, so a
// slot that named the deleted launcher or a later one would name another launcher afterwards.
// Only 1..launcher count name a launcher; 0 (empty), negative values and values beyond the
// list name none, and a delete leaves them alone.
class LauncherDelete {
public:
    // The launcher's number, counting from 1, among launcherCount launchers before the delete.
    LauncherDelete(std::size_t deleted, std::size_t launcherCount);

    std::size_t deleted() const { return deleted_; }
    std::size_t launcherCount() const { return launcherCount_; }

    // Whether the slot names the deleted launcher or a later one.
    bool moves(std::int16_t slot) const;
    // The value that names, after the delete, what the slot named before: 0 (empty) for the
    // deleted launcher, one less for a later one, and the slot's own value for any other.
    std::int16_t renumbered(std::int16_t slot) const;

private:
    std::size_t deleted_;
    std::size_t launcherCount_;
};

// The launcher slots of a set of objects that a launcher delete moves.
struct MovedLauncherSlots {
    std::size_t slotCount = 0;        // slots naming the deleted launcher or a later one
    std::size_t emptied = 0;          // those of them that name the deleted launcher
    std::vector<std::size_t> objects; // the objects holding such slots, by index, ascending

    bool any() const { return slotCount > 0; }
};

// Reads the launcher slots of every whole record of an object file once.
MovedLauncherSlots findMovedLauncherSlots(ConstByteSpan objectFile,
                                          const LauncherDelete& launcherDelete);

// Renumbers the launcher slots of one object record so that each names, after the delete, the
// launcher it named before; gives how many slots changed.
std::size_t renumberLauncherSlots(ByteSpan objectRecord, const LauncherDelete& launcherDelete);

} // namespace keel
