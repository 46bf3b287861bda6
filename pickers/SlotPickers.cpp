// SPDX-License-Identifier: MIT
#include "pickers/SlotPickers.h"

#include <QListView>

namespace keel {

TWeaponForm::TWeaponForm(const AvailableEntries& launchers, QWidget* parent)
    : SlotPickerForm({"TWeaponForm", tr("Weapons (Launchers)"), 30, 2, "SelectedWeapons",
                      "LauncherList", 3, tr("launcher")},
                     launchers, parent) {
    connect(this, &SlotPickerForm::opening, this, &TWeaponForm::RefreshLauncherLists);
    connect(slotList(), &QListView::clicked, this, &TWeaponForm::ShowInLauncherList);
    connect(availableList(), &QListView::clicked, this, &TWeaponForm::ChooseLauncher);
    connect(this, &SlotPickerForm::slotReachedByKey, this, &TWeaponForm::ShowInLauncherList);
    connect(this, &SlotPickerForm::entryChosenByKey, this, &TWeaponForm::ChooseLauncher);
}

TSensorForm::TSensorForm(const AvailableEntries& sensors, QWidget* parent)
    : SlotPickerForm(
          {"TSensorForm", tr("Sensors"), 9, 1, "SelectedSensors", "SensorList", 2, tr("sensor")},
          sensors, parent) {
    connect(this, &SlotPickerForm::opening, this, &TSensorForm::RefreshSensorLists);
    connect(slotList(), &QListView::clicked, this, &TSensorForm::ShowInSensorList);
    connect(availableList(), &QListView::clicked, this, &TSensorForm::ChooseSensor);
    connect(this, &SlotPickerForm::slotReachedByKey, this, &TSensorForm::ShowInSensorList);
    connect(this, &SlotPickerForm::entryChosenByKey, this, &TSensorForm::ChooseSensor);
}

TAirstripForm::TAirstripForm(const AvailableEntries& airstrips, QWidget* parent)
    : SlotPickerForm({"TAirstripForm", tr("Airstrips"), 10, 2, "SelectedAirstrips", "AirstripList",
                      2, tr("airstrip")},
                     airstrips, parent) {
    connect(this, &SlotPickerForm::opening, this, &TAirstripForm::RefreshAirstripLists);
    connect(slotList(), &QListView::clicked, this, &TAirstripForm::ShowInAirstripList);
    connect(availableList(), &QListView::clicked, this, &TAirstripForm::ChooseAirstrip);
    connect(this, &SlotPickerForm::slotReachedByKey, this, &TAirstripForm::ShowInAirstripList);
    connect(this, &SlotPickerForm::entryChosenByKey, this, &TAirstripForm::ChooseAirstrip);
}

} // namespace keel
