// SPDX-License-Identifier: MIT
#pragma once

#include "common/Field.h"
#include "editor/ArrowControl.h"
#include "editor/RecordExchange.h"
#include "editor/RecordCollection.h"
#include "editor/SetEditor.h"

#include <QString>
#include <QWidget>

#include <memory>
#include <optional>

class QAction;
class QListView;
class QMenu;
class QPushButton;
class QScrollArea;
class QVBoxLayout;

namespace keel {

class DialogService;
class FindBar;
class FindFilterModel;
class RecordListModel;

// What sets one record editor apart from the others.
struct RecordEditorTraits {
    QString windowClass; // the window's name, "TObjectForm"
    QString caption;     // "Object Records"
    QString listName;    // the record list's name, "ObjectList"
    int numberWidth;     // digits of the entry numbers
    QString defaultName; // the name Add gives
    QString extension;   // of exchange files, without the dot: "odb"
    // Records that others refer to by position are never sorted: neither by a command nor on
    // commit.
    bool sortable = true;
    // Save Record counts the record as an accepted change even when nothing was changed.
    bool saveRecordAlwaysAccepts = false;
    // Deleting the record on screen when it is the last shows the first record; otherwise the
    // one before it.
    bool deletingLastShowsFirst = false;
};

// The behaviour every record editor shares, whatever the shape of its records: the working
// copy, the record on screen and its snapshot, the record list and its stepper, the two
// changed marks and the busy flag, the retain question, Save Record, Add, Copy, Delete, Sort,
// Restore All, export, import, and commit. How the records are held, named, matched on import
// and written to exchange files is the working copy's own (RecordCollection). An editor adds
// its field controls to fieldArea(), shows a record's fields in showFields(), and calls
// createFromMaster() at the end of its constructor.
class RecordEditorForm : public QWidget, public SetEditor {
    Q_OBJECT

public:
    RecordEditorForm(RecordEditorTraits traits, std::unique_ptr<RecordCollection> records, ByteVector& master,
                     DialogService& dialogs, QWidget* parent = nullptr);
    ~RecordEditorForm() override;

    const RecordEditorTraits& traits() const { return traits_; }
    const RecordCollection& collection() const { return *records_; }
    std::optional<std::size_t> currentPosition() const { return current_; }
    bool recordChanged() const { return recordChanged_; }
    bool setChanged() const { return setChanged_; }
    bool busy() const { return busy_; }
    void clearSetChanged() { setChanged_ = false; }
    void markSetChanged() { setChanged_ = true; }

    // Makes the working copy the master buffer's content, sorted by name first where the
    // editor's records may be sorted.
    void commit() override;

    bool holdsUnsavedWork() const override { return recordChanged_ || setChanged_; }
    bool holdsAcceptedChanges() const override { return setChanged_; }
    void clearAcceptedChanges() override {
        setChanged_ = false;
        masterNotWritten_ = false;
    }
    // After a save that could not write this editor's file: the master buffer then holds
    // changes that the file does not, and Restore All, which goes back to the master buffer,
    // leaves them unsaved.
    void markAcceptedChanges() override {
        setChanged_ = true;
        masterNotWritten_ = true;
    }

    // Showing and hiding through the main window's toggle; the record-changed mark of a
    // hidden editor is remembered until it is shown again.
    void showEditor();
    void hideEditor();

    QListView* recordList() const { return list_; }
    FindBar* findBar() const { return findBar_; }
    ArrowControl* recordStepper() const { return stepper_; }
    QMenu* recordMenu() const { return menu_; }
    QString entryText(std::size_t index) const;
    std::optional<std::size_t> selectedEntry() const;

public slots:
    void FromListShowRecord();
    void ChangeRecordNum(keel::ArrowControl::Arrow arrow);
    void SaveRecord();
    void RestoreAllRecords();
    void AddRecord();
    void CopyRecord();
    void DelRecord();
    void SortRecords();
    void ExportRecord();
    void ImportRecord();

signals:
    // The window's close box was used: the main window's toggle decides.
    void toggleRequested();

protected:
    // Fills the working copy from the master buffer and shows the first record, with the busy
    // flag set; clears both marks.
    void createFromMaster();

    QWidget* fieldArea() const { return fields_; }
    QVBoxLayout* listColumn() const { return listColumn_; }
    DialogService& dialogs() const { return dialogs_; }
    RecordCollection& collection() { return *records_; }

    // The position of the record on screen, for a field handler to store into; empty while the
    // editor is busy, while it fills its own controls, and when no record is shown.
    std::optional<std::size_t> editablePosition() const;
    void markRecordChanged() { recordChanged_ = true; }
    // The list after the name or type of the record on screen changed, and the work that
    // follows every build of the list. Only that record's entry reads differently, so only its
    // row is repainted; the selection stays as it was, or goes.
    void rebuildListKeepingSelection();
    void rebuildListWithoutSelection();
    void selectEntry(std::optional<std::size_t> index);

    // The number typed into a box for a whole-number field; nothing, once the user was told
    // why, for text that is no whole number or a number that the field cannot hold.
    std::optional<std::int64_t> typedWholeNumber(const QString& text, const IntegerField& field);
    // The number typed into a box for a single-precision field, in the user's number format;
    // nothing, once the user was told, for anything else.
    std::optional<float> typedFloat(const QString& text);
    void reportNotInteger(const QString& text);
    void reportCharactersLeftOut(const QString& characters);
    void reportOutOfRange(const QString& text, const IntegerField& field);

    // Puts every field of a record into its control; the handlers store nothing meanwhile.
    virtual void showFields(std::size_t index) = 0;
    // Empties the controls when no record is shown.
    virtual void clearFields() {}
    virtual void afterRecordShown() {}
    // The changes of the record on screen were accepted, by Save Record or the retain question.
    virtual void afterRecordAccepted() {}
    virtual void afterListBuilt() {}
    // After the entry of one record changed in place, which counts as a build of the list; an
    // editor may do for that record alone what it does for all after a build.
    virtual void afterEntryChanged(std::size_t /*index*/) { afterListBuilt(); }
    // What changed the records, for the work an editor does after it.
    enum class RecordsChange { Added, Copied, Deleted, Imported, Sorted, Restored, Undone };
    virtual void afterRecordsChanged(RecordsChange /*change*/) {}
    // Asked with the selected entry before Delete removes it: an editor whose records others
    // refer to may ask the user first, and refuse.
    virtual bool confirmDelete(std::size_t /*index*/) { return true; }
    // The record on screen as it was shown, for a change made from outside the field
    // handlers that an undo must not take back; such a change then shows the record anew,
    // keeping its record-changed mark.
    ByteSpan recordSnapshot() { return snapshot_; }
    void showCurrentRecordAnew();

    void closeEvent(QCloseEvent* event) override;
    // The record list's keys: Enter and Space show the selected entry's record, Delete deletes
    // it, Shift+F10 and the Menu key open the pop-up menu.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Shows the records after a sort: `previous` gives, for each new position, the old one.
    void showSorted(const std::vector<std::size_t>& previous);

    void buildRecordList();
    // The row of the list's selected entry, among the entries the list shows.
    std::optional<int> selectedRow() const;
    void showRecord(std::size_t index);
    // Shows a record and puts the list's selection and the stepper on it.
    void showAndSelect(std::size_t index);
    void showNoRecord();
    void popUpRecordMenu(const QPoint& at);
    void setTabOrderInReadingOrder();
    // The field area at its full size where the screen has room for it, else as much as fits,
    // scrolling.
    void fitFieldsToScreen();
    void takeMaster();
    void followMovedRecord(std::optional<std::size_t> newPosition);
    QAction* addMenuAction(const QString& name, const QString& caption, void (RecordEditorForm::*run)());

    RecordEditorTraits traits_;
    std::unique_ptr<RecordCollection> records_;
    ByteVector& master_;
    DialogService& dialogs_;
    RecordExchange exchange_;
    ByteVector snapshot_;
    std::optional<std::size_t> current_;
    bool recordChanged_ = false;
    bool rememberedRecordChanged_ = false;
    bool setChanged_ = false;
    // A save wrote the record on screen with changes not yet accepted: putting its snapshot
    // back then makes the working copy differ from the files.
    bool savedUnacceptedChanges_ = false;
    bool masterNotWritten_ = false;
    bool busy_ = false;
    bool filling_ = false;

    RecordListModel* model_;
    FindFilterModel* filter_;
    QListView* list_;
    FindBar* findBar_ = nullptr;
    ArrowControl* stepper_;
    QMenu* menu_;
    QVBoxLayout* listColumn_;
    QWidget* fields_;
    QScrollArea* fieldScroll_ = nullptr;
    QPushButton* saveButton_;
    QPushButton* restoreAllButton_;
};

} // namespace keel
