// SPDX-License-Identifier: MIT
#pragma once

#include "objects/LauncherSlotRenumbering.h"

#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace keel {

class TThreeDObjectForm;

// The launcher editor's side of the object editor: its ammunition lists offer the names of the
// weapon-like objects.
class AmmunitionChoices {
public:
    virtual ~AmmunitionChoices() = default;
    // Empties the ammunition lists and fills them with these names, in object record order.
    virtual void refillAmmunitionLists(const QStringList& weaponNames) = 0;
    // One weapon's entry, counted among the weapons in record order, has a new name.
    virtual void renameAmmunition(std::size_t entry, const QString& name) = 0;
    // An object became a weapon: its name becomes this entry, the later ones move down.
    virtual void insertAmmunition(std::size_t entry, const QString& name) = 0;
    // A weapon is one no more: its entry goes.
    virtual void removeAmmunition(std::size_t entry) = 0;
};

// The nation editor's side: its tag-name lists offer object names by type, read from the
// object editor's records whenever they are refilled.
class TagNameChoices {
public:
    virtual ~TagNameChoices() = default;
    virtual void refillTagNameLists() = 0;
};

// The object editor's side for the launcher editor: object slots name launchers by position,
// so a launcher delete concerns the slots of the object editor's working copy.
class LauncherSlotHolder {
public:
    virtual ~LauncherSlotHolder() = default;
    // The slots that the delete would make name another launcher, found in one pass.
    virtual MovedLauncherSlots launcherSlotsMovedBy(const LauncherDelete& launcherDelete) const = 0;
    // After the delete, with what launcherSlotsMovedBy found just before it: every such slot
    // names again the launcher it named, or none when that one is gone. An accepted change of
    // the object set.
    virtual void renumberLauncherSlotsAfterDelete(const MovedLauncherSlots& moved,
                                                  const LauncherDelete& launcherDelete) = 0;
};

using SlotValues = std::vector<std::int16_t>;

// One slot picker: the launchers, sensors or airstrips of the object on screen.
class SlotPicker {
public:
    virtual ~SlotPicker() = default;
    // The slotValues of the object the editor has just shown, while the picker is hidden.
    virtual void loadSlots(const SlotValues& slotValues) = 0;
    // Opens modally on these slotValues; gives the slotValues the user kept, or nothing when the user
    // closed the picker without keeping a choice.
    virtual std::optional<SlotValues> pickSlots(const SlotValues& slotValues) = 0;
};

// The other windows the object editor keeps up to date. Each may be missing: a window that is
// not there is simply not told.
struct ObjectEditorLinks {
    TThreeDObjectForm* threeD = nullptr;
    AmmunitionChoices* ammunition = nullptr;
    SlotPicker* launcherPicker = nullptr;
    SlotPicker* sensorPicker = nullptr;
    SlotPicker* airstripPicker = nullptr;
};

} // namespace keel
