// SPDX-License-Identifier: MIT
#pragma once

#include "editor/RecordTable.h"

#include <QAbstractListModel>
#include <QComboBox>

#include <vector>

namespace keel {

// The objects that a class of one type may name, read from the object editor's records in
// their order: subs for Sub; surface ships and downed pilots for Surf (and Shell); aircraft
// and helicopters for Air. Any other type offers the two guidance lines instead, one for each
// of the first two objects. The list is read from the objects only when it is looked at after
// they or the type changed, so that a keystroke in an object's name costs nothing here.
class TagNameList : public QAbstractListModel {
    Q_OBJECT

public:
    explicit TagNameList(QObject* parent = nullptr) : QAbstractListModel(parent) {}

    void setObjects(const RecordTable* objects);
    void setClassType(int type);
    // The objects' names or types changed.
    void markStale() { stale_ = true; }
    // Reads the objects again if they or the type changed since the list was last read.
    void refreshIfStale();

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    const RecordTable* objects_ = nullptr;
    int type_ = 0;
    bool stale_ = true;
    std::vector<std::size_t> offered_; // object indices, or 0 and 1 for the guidance lines
    bool guidance_ = false;
};

// An editable box over a tag-name list of its own: it accepts any typed text, completes
// nothing, and reads its list when the user opens it. Reading the list never changes the box's
// text. (A list shared by two boxes would empty the other box's text when it is read.)
class TagNameBox : public QComboBox {
    Q_OBJECT

public:
    explicit TagNameBox(QWidget* parent = nullptr);

    TagNameList* list() const { return list_; }

    // What the list offers now, read as the drop-down would read it.
    QStringList choices();
    void showPopup() override;

private:
    void refreshKeepingText();

    TagNameList* list_;
};

} // namespace keel
