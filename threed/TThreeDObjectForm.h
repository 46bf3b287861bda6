// SPDX-License-Identifier: MIT
#pragma once

#include "editor/RecordExchange.h"
#include "editor/RecordTable.h"
#include "editor/SetEditor.h"
#include "threed/ThreeDIndex.h"

#include <QWidget>

#include <optional>
#include <vector>

class QListView;
class QMenu;
class QPushButton;

namespace keel {

class DialogService;
class FindFilterModel;
class LackingObjectsModel;
class RecordListModel;

// The editor of 3dobjects.3db: the objects that lack a 3D object beside the 3D object
// records, and a 3D object for an object made by copying another under the object's name.
class TThreeDObjectForm : public QWidget, public SetEditor {
    Q_OBJECT

public:
    TThreeDObjectForm(ByteVector& master, DialogService& dialogs, QWidget* parent = nullptr);
    ~TThreeDObjectForm() override;

    // The object editor's working copy, whose objects the left list shows.
    void setObjectRecords(const RecordTable* objects);

    bool HasThreeDObject(ConstByteSpan name) const { return index_.contains(name); }
    void RefreshObjectList();
    // The same as RefreshObjectList after the name or type of one object changed, at the cost
    // of that object alone.
    void RefreshObjectEntry(std::size_t object);

    bool changed() const { return changed_; }
    void clearChanged() { changed_ = false; }
    void markChanged() { changed_ = true; }
    // Sorts the working copy by name and makes it the master buffer's content.
    void commit() override;

    // Its one mark serves as both.
    bool holdsUnsavedWork() const override { return changed_; }
    bool holdsAcceptedChanges() const override { return changed_; }
    void clearAcceptedChanges() override { changed_ = false; }
    void markAcceptedChanges() override { changed_ = true; }

    const RecordTable& records() const { return records_; }
    QListView* objectList() const { return objectList_; }
    QListView* threeDList() const { return threeDList_; }
    // The object of each entry of the left list, in list order.
    const std::vector<std::size_t>& lackingObjects() const;

public slots:
    void CopyRecord();
    void DelRecord();
    void SortRecords();
    void RestoreRecords();
    void ExportRecord();
    void ImportRecords();

signals:
    void toggleRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void rebuildThreeDList();
    // The list of objects lacking a 3D object is kept up to date only while it can be seen.
    void markObjectListStale();
    void refillObjectList() const;
    std::optional<std::size_t> selectedRow(const QListView* list) const;

    ByteVector& master_;
    RecordTable records_;
    RecordExchange exchange_;
    ThreeDIndex index_;
    const RecordTable* objects_ = nullptr;
    bool changed_ = false;
    mutable bool objectListStale_ = false;

    RecordListModel* threeDModel_;
    LackingObjectsModel* objectModel_;
    FindFilterModel* objectFilter_;
    FindFilterModel* threeDFilter_;
    QListView* objectList_;
    QListView* threeDList_;
    QMenu* menu_;
    QPushButton* undoButton_;
};

} // namespace keel
