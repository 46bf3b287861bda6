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
    const SlotValues& slotCopy() const { return slotCopy_; }
    bool changed() const { return changed_; }

public slots:
    void KeepChanges();

signals:
    // The window is about to be shown: the picker refreshes its lists.
    void opening();

protected:
    SlotPickerForm(SlotPickerTraits traits, const AvailableEntries& entries, QWidget* parent);

    // Builds the available list, loads the object's slots and clears the changed flag.
    void refreshLists();
    // Selects the available line that the clicked slot's value names, or none.
    void showInAvailableList(const QModelIndex& slot);
    // Puts the clicked entry's position into the selected slot, if any, and sets the changed
    // flag.
    void chooseEntry(const QModelIndex& entry);

    void showEvent(QShowEvent* event) override;

private:
    void loadSlotCopy(const SlotValues& slotValues);
    // Rebuilds the slot lines from the slot copy; the selected slot stays selected.
    void rebuildSlotList();
    std::optional<int> selectedSlot() const;
    void layOut();

    SlotPickerTraits traits_;
    SlotValues objectSlots_; // the slots of the object on screen, as the object editor holds them
    SlotValues slotCopy_;
    bool changed_ = false;

    AvailableListModel* availableModel_;
    SlotListModel* slotModel_;
    SlotNumberColumn* slotNumbers_;
    QListView* slotList_;
    QListView* availableList_;
    QPushButton* keepButton_;
    QPushButton* discardButton_;
};

} // namespace keel
