// SPDX-License-Identifier: MIT
#pragma once

#include "pickers/SlotPickerForm.h"

namespace keel {

// The three slot pickers. Each only names its handlers and wires its lists to them; what the
// handlers do is the shared picker's.

// The launchers of an object: 30 slots, offering the launcher editor's record list.
class TWeaponForm : public SlotPickerForm {
    Q_OBJECT

public:
    explicit TWeaponForm(const AvailableEntries& launchers, QWidget* parent = nullptr);

public slots:
    void RefreshLauncherLists() { refreshLists(); }
    void ShowInLauncherList(const QModelIndex& slot) { showInAvailableList(slot); }
    void ChooseLauncher(const QModelIndex& entry) { chooseEntry(entry); }
};

// The sensors of an object: 9 slots, offering the records of sensors.sdb.
class TSensorForm : public SlotPickerForm {
    Q_OBJECT

public:
    explicit TSensorForm(const AvailableEntries& sensors, QWidget* parent = nullptr);

public slots:
    void RefreshSensorLists() { refreshLists(); }
    void ShowInSensorList(const QModelIndex& slot) { showInAvailableList(slot); }
    void ChooseSensor(const QModelIndex& entry) { chooseEntry(entry); }
};

// The airstrips of an object: 10 slots, offering the records of airstrip.adb.
class TAirstripForm : public SlotPickerForm {
    Q_OBJECT

public:
    explicit TAirstripForm(const AvailableEntries& airstrips, QWidget* parent = nullptr);

public slots:
    void RefreshAirstripLists() { refreshLists(); }
    void ShowInAirstripList(const QModelIndex& slot) { showInAvailableList(slot); }
    void ChooseAirstrip(const QModelIndex& entry) { chooseEntry(entry); }
};

} // namespace keel
