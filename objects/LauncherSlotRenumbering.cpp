// SPDX-License-Identifier: MIT
#include "objects/LauncherSlotRenumbering.h"

#include "common/Checks.h"
#include "objects/ObjectRecord.h"

namespace keel {

LauncherDelete::LauncherDelete(std::size_t deleted, std::size_t launcherCount)
    : deleted_(deleted), launcherCount_(launcherCount) {
    check(deleted >= 1 && deleted <= launcherCount, "a deleted launcher outside the list");
}

bool LauncherDelete::moves(std::int16_t slot) const {
    return slot >= 1 && static_cast<std::size_t>(slot) >= deleted_ &&
           static_cast<std::size_t>(slot) <= launcherCount_;
}

std::int16_t LauncherDelete::renumbered(std::int16_t slot) const {
    if (!moves(slot)) {
        return slot;
    }
    return static_cast<std::size_t>(slot) == deleted_ ? std::int16_t{0}
                                                      : static_cast<std::int16_t>(slot - 1);
}

MovedLauncherSlots findMovedLauncherSlots(ConstByteSpan objectFile,
                                          const LauncherDelete& launcherDelete) {
    constexpr auto launcherSlots = ObjectRecord::LauncherSlots;
    MovedLauncherSlots moved;
    for (std::size_t index = 0; index < ObjectFile::count(objectFile); ++index) {
        const ConstByteSpan object = ObjectFile::record(objectFile, index);
        bool holdsMoved = false;
        for (std::size_t slot = 0; slot < launcherSlots.count; ++slot) {
            const std::int16_t value = launcherSlots.read(object, slot);
            if (launcherDelete.moves(value)) {
                holdsMoved = true;
                ++moved.slotCount;
                if (static_cast<std::size_t>(value) == launcherDelete.deleted()) {
                    ++moved.emptied;
                }
            }
        }
        if (holdsMoved) {
            moved.objects.push_back(index);
        }
    }
    return moved;
}

std::size_t renumberLauncherSlots(ByteSpan objectRecord, const LauncherDelete& launcherDelete) {
    constexpr auto launcherSlots = ObjectRecord::LauncherSlots;
    std::size_t changed = 0;
    for (std::size_t slot = 0; slot < launcherSlots.count; ++slot) {
        const std::int16_t value = launcherSlots.read(objectRecord, slot);
        if (launcherDelete.moves(value)) {
            launcherSlots.write(objectRecord, slot, launcherDelete.renumbered(value));
            ++changed;
        }
    }
    return changed;
}

} // namespace keel
