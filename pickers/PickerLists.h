// SPDX-License-Identifier: MIT
#pragma once

#include "editor/FindFilter.h"
#include "objects/ObjectEditorLinks.h"
#include "pickers/AvailableEntries.h"

#include <QAbstractListModel>

namespace keel {

// How a picker writes the lines it makes itself: the empty-slot line and the line of a slot
// whose value names no entry. Both carry a number as wide as the entries' numbers.
struct EntryNaming {
    int numberWidth;   // 2 for "00: EMPTY SLOT", 3 for "000: EMPTY SLOT"
    QString entryKind; // "sensor", as in "12: (no sensor 12 in the list)"
};

// The entries a picker offers, with the empty-slot line before them so that a line's position
// is the slot value that names it. Lines are formatted when a view asks for them, so building
// the list costs nothing that grows with the number of entries. A find box reads each entry's
// name and its slot value as its number; the empty-slot line has no name and the number 0.
class AvailableListModel : public QAbstractListModel, public FindableEntries {
    Q_OBJECT

public:
    // Slot values are signed 16-bit numbers: no slot can name a line beyond this one.
    static constexpr int lastNameableLine = 32767;

    AvailableListModel(const AvailableEntries& entries, EntryNaming naming,
                       QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    std::string_view entryName(int row) const override;
    std::size_t entryNumber(int row) const override { return static_cast<std::size_t>(row); }
    int entryNumberWidth() const override { return naming_.numberWidth; }

    // Takes the entries as they now stand.
    void rebuild();
    // Whether a slot of this value names a line of the list.
    bool names(int value) const;
    // The line a slot of this value shows: the line it names, or a line of its own that says it
    // names none.
    QString slotLine(int value) const;

private:
    const AvailableEntries& entries_;
    EntryNaming naming_;
    int lineCount_ = 1;
};

// The slots of one kind of the object on screen, each shown as the line its value names.
class SlotListModel : public QAbstractListModel {
    Q_OBJECT

public:
    SlotListModel(const SlotValues& slotValues, const AvailableListModel& available,
                  QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    void rebuild();

private:
    const SlotValues& slotValues_;
    const AvailableListModel& available_;
};

} // namespace keel
