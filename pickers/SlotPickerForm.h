// SPDX-License-Identifier: MIT
#pragma once

#include "objects/ObjectEditorLinks.h"
#include "pickers/AvailableEntries.h"

#include <QDialog>
#include <QString>

#include <optional>

class QListView;
class QModelIndex;
class QPushButton;

namespace keel {

class AvailableListModel;
class FindBar;
class FindFilterModel;
class SlotListModel;
class SlotNumberColumn;

// What sets one slot picker apart from the others.
struct SlotPickerTraits {
    QString windowClass;       // "TSensorForm"
    QString caption;           // "Sensors"
    std::size_t slotCount;     // slots of an object: 9
    int slotNumberWidth;       // digits of the slot numbers beside the slot list: 1 for 1 to 9
    QString slotListName;      // "SelectedSensors"
    QString availableListName; // "SensorList"
    int entryNumberWidth;      // digits of the entry numbers: 2, or 3 for launchers
    QString entryKind;         // "sensor"
};

// The behaviour the three slot pickers share. The object's slots are on the left, each shown as
// the line its value names; the entries that can go into a slot are on the right, after the
// empty-slot line. Clicking a slot shows its entry; clicking an entry puts it into the selected
// slot. Keep gives the slots back when an entry was chosen; Discard and the close box give
// nothing.
//
// From the keyboard: Up and Down in the slot list show each slot's entry, Enter or Space on an
// entry chooses it, Escape discards. A find box above the entries narrows them to those whose
// name or number holds its text; every line keeps naming its own entry.
//
// Each picker names its own handlers and wires its lists to them; they call the shared steps
// below.
class SlotPickerForm : public QDialog, public SlotPicker {
    Q_OBJECT

public:
    ~SlotPickerForm() override;

    void loadSlots(const SlotValues& slotValues) override;
    std::optional<SlotValues> pickSlots(const SlotValues& slotValues) override;

    const SlotPickerTraits& traits() const { return traits_; }
    QListView* slotList() const { return slotList_; }
    QListView* availableList() const { return availableList_; }
    FindBar* findBar() const { return findBar_; }
    const SlotValues& slotCopy() const { return slotCopy_; }
    bool changed() const { return changed_; }

public slots:
    void KeepChanges();

signals:
    // The window is about to be shown: the picker refreshes its lists.
    void opening();
    // The keyboard's clicks: the slot list's current slot moved by a key, and Enter or Space on
    // a line of the available list.
    void slotReachedByKey(const QModelIndex& slot);
    void entryChosenByKey(const QModelIndex& entry);

protected:
    SlotPickerForm(SlotPickerTraits traits, const AvailableEntries& entries, QWidget* parent);

    // Empties the find box, builds the available list, loads the object's slots and clears the
    // changed flag.
    void refreshLists();
    // Selects the available line that the clicked slot's value names, or none when the find box
    // hides it or the value names no line.
    void showInAvailableList(const QModelIndex& slot);
    // Puts the clicked entry's position into the selected slot, if any, and sets the changed
    // flag. The entry is a line of the available list as it is shown.
    void chooseEntry(const QModelIndex& entry);

    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void loadSlotCopy(const SlotValues& slotValues);
    // Rebuilds the slot lines from the slot copy; the selected slot stays selected.
    void rebuildSlotList();
    std::optional<int> selectedSlot() const;
    void layOut();
    void setTabOrderForWork();

    SlotPickerTraits traits_;
    SlotValues objectSlots_; // the slots of the object on screen, as the object editor holds them
    SlotValues slotCopy_;
    bool changed_ = false;

    AvailableListModel* availableModel_;
    FindFilterModel* filter_;
    SlotListModel* slotModel_;
    SlotNumberColumn* slotNumbers_;
    QListView* slotList_;
    QListView* availableList_;
    FindBar* findBar_;
    QPushButton* keepButton_;
    QPushButton* discardButton_;
};

} // namespace keel
