// SPDX-License-Identifier: MIT
#include "editor/RecordEditorForm.h"

#include "common/NameCompare.h"
#include "editor/CodePage.h"
#include "editor/CodePageValidator.h"
#include "editor/DialogService.h"
#include "editor/FieldControls.h"
#include "editor/FlagScope.h"
#include "editor/NumberText.h"
#include "editor/RecordListModel.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QFile>
#include <QHBoxLayout>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <limits>
#include <cstring>

namespace keel {

RecordEditorForm::RecordEditorForm(RecordEditorTraits traits, std::unique_ptr<RecordCollection> records,
                                   ByteVector& master, DialogService& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      traits_(std::move(traits)), records_(std::move(records)), master_(master), dialogs_(dialogs),
      exchange_(dialogs, traits_.extension), model_(new RecordListModel(*records_, traits_.numberWidth, this)),
      filter_(new FindFilterModel(model_, *model_, this)), list_(new QListView(this)), stepper_(new ArrowControl(this)), menu_(new QMenu(this)),
      listColumn_(new QVBoxLayout), fields_(new QWidget(this)),
      saveButton_(new QPushButton(tr("Save Record"), this)),
      restoreAllButton_(new QPushButton(tr("Restore All"), this)) {
    setObjectName(traits_.windowClass);
    setWindowTitle(traits_.caption);

    list_->setObjectName(traits_.listName);
    list_->setModel(filter_);
    findBar_ = new FindBar(filter_, list_, this);
    list_->setUniformItemSizes(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    // Wide enough for an entry number and a name of some twenty average letters; longer
    // entries scroll.
    list_->setFixedWidth(list_->fontMetrics().averageCharWidth() * 26 +
                         list_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2 * list_->frameWidth());
    connect(list_, &QListView::doubleClicked, this, [this] { FromListShowRecord(); });
    connect(list_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { popUpRecordMenu(list_->viewport()->mapToGlobal(at)); });
    list_->installEventFilter(this);

    stepper_->setObjectName("UpDown_RecordNum");
    stepper_->setUpArrowLowers(true);
    stepper_->setRange(0, -1);
    connect(stepper_, &ArrowControl::stepped, this,
            [this](ArrowControl::Arrow arrow) { ChangeRecordNum(arrow); });

    addMenuAction("Action_AddRecord", tr("&Add Record"), &RecordEditorForm::AddRecord);
    addMenuAction("Action_CopyRecord", tr("&Copy Record"), &RecordEditorForm::CopyRecord);
    addMenuAction("Action_DelRecord", tr("&Delete Record"), &RecordEditorForm::DelRecord);
    menu_->addSeparator();
    addMenuAction("Action_ExportRecord", tr("&Export Record"), &RecordEditorForm::ExportRecord);
    addMenuAction("Action_ImportRecord", tr("&Import Records"), &RecordEditorForm::ImportRecord);
    if (traits_.sortable) {
        menu_->addSeparator();
        addMenuAction("Action_SortRecord", tr("&Sort Records"), &RecordEditorForm::SortRecords);
    }

    saveButton_->setObjectName("SaveButton");
    restoreAllButton_->setObjectName("RestoreAllButton");
    connect(saveButton_, &QPushButton::clicked, this, &RecordEditorForm::SaveRecord);
    connect(restoreAllButton_, &QPushButton::clicked, this, &RecordEditorForm::RestoreAllRecords);

    listColumn_->addWidget(findBar_);
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(list_);
    listRow->addWidget(stepper_, 0, Qt::AlignVCenter);
    listRow->addStretch(); // the list under the find box's start, however wide the box
    listColumn_->addLayout(listRow, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(saveButton_);
    buttons->addWidget(restoreAllButton_);
    // The fields scroll inside the fixed frame only on a screen too small for them.
    fieldScroll_ = new QScrollArea(this);
    fieldScroll_->setObjectName("FieldScroll");
    fieldScroll_->setFrameShape(QFrame::NoFrame);
    fieldScroll_->setWidgetResizable(true);
    fieldScroll_->setWidget(fields_);
    auto* fieldColumn = new QVBoxLayout;
    fieldColumn->addWidget(fieldScroll_, 1);
    fieldColumn->addLayout(buttons);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(listColumn_);
    layout->addLayout(fieldColumn, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

RecordEditorForm::~RecordEditorForm() = default;

QAction* RecordEditorForm::addMenuAction(const QString& name, const QString& caption,
                                         void (RecordEditorForm::*run)()) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    action->setProperty("category", "RecordActions");
    connect(action, &QAction::triggered, this, run);
    menu_->addAction(action);
    addAction(action);
    return action;
}

void RecordEditorForm::createFromMaster() {
    // The number boxes are the editable boxes without a code page: what is left in them
    // unfinished is refused when the user leaves them.
    for (QLineEdit* edit : fields_->findChildren<QLineEdit*>()) {
        if (edit->validator() == nullptr && !edit->isReadOnly() &&
            qobject_cast<QComboBox*>(edit->parentWidget()) == nullptr) {
            refuseUnfinishedNumberWhenLeft(edit);
        }
    }
    setTabOrderInReadingOrder();
    // Told once the keystroke or paste is over, not from inside the edit box's own work.
    for (CodePageValidator* validator : findChildren<CodePageValidator*>()) {
        connect(validator, &CodePageValidator::charactersLeftOut, this, &RecordEditorForm::reportCharactersLeftOut,
                Qt::QueuedConnection);
    }
    {
        FlagScope busy(busy_);
        takeMaster();
    }
    recordChanged_ = false;
    rememberedRecordChanged_ = false;
    setChanged_ = false;
}

// Find box, list, stepper, the fields as they were laid out (top to bottom, left to right),
// then the buttons.
void RecordEditorForm::setTabOrderInReadingOrder() {
    QList<QWidget*> chain{findBar_->box(), list_, stepper_};
    for (QWidget* field : fields_->findChildren<QWidget*>()) {
        const bool insideBox = qobject_cast<QComboBox*>(field->parentWidget()) != nullptr;
        if ((field->focusPolicy() & Qt::TabFocus) && !insideBox && field->window() == this) {
            chain << field;
        }
    }
    chain << saveButton_ << restoreAllButton_;
    for (qsizetype i = 1; i < chain.size(); ++i) {
        setTabOrder(chain[i - 1], chain[i]);
    }
}

void RecordEditorForm::takeMaster() {
    snapshot_.clear();
    current_.reset();
    records_->takeFrom(master_);
    if (traits_.sortable) {
        // Known now, while the window is made, rather than at the first save.
        records_->learnOrder();
    }
    buildRecordList();
    if (records_->empty()) {
        showNoRecord();
    } else {
        showRecord(0);
    }
}

QString RecordEditorForm::entryText(std::size_t index) const {
    return model_->entryText(static_cast<int>(index));
}

std::optional<int> RecordEditorForm::selectedRow() const {
    const QModelIndexList selected = list_->selectionModel()->selectedIndexes();
    if (selected.isEmpty()) {
        return std::nullopt;
    }
    return selected.first().row();
}

std::optional<std::size_t> RecordEditorForm::selectedEntry() const {
    const std::optional<int> row = selectedRow();
    if (!row) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(filter_->sourceRow(*row));
}

void RecordEditorForm::selectEntry(std::optional<std::size_t> index) {
    const std::optional<int> row =
        index && records_->contains(*index) ? filter_->rowOf(static_cast<int>(*index)) : std::nullopt;
    if (!row) {
        list_->selectionModel()->clearSelection();
        return;
    }
    const QModelIndex entry = filter_->index(*row, 0);
    list_->selectionModel()->setCurrentIndex(entry, QItemSelectionModel::ClearAndSelect);
    list_->scrollTo(entry);
}

void RecordEditorForm::buildRecordList() {
    model_->rebuild();
    list_->selectionModel()->clearSelection();
    stepper_->setRange(0, static_cast<int>(records_->count()) - 1);
    afterListBuilt();
}

void RecordEditorForm::rebuildListKeepingSelection() {
    if (current_) {
        // A changed entry of a list of rows of one size is repainted, not laid out again: the
        // list view lays out every row anew on any change of the model's data.
        list_->update(filter_->mapFromSource(model_->index(static_cast<int>(*current_))));
        afterEntryChanged(*current_);
        return;
    }
    afterListBuilt();
}

void RecordEditorForm::rebuildListWithoutSelection() {
    list_->selectionModel()->clearSelection();
    rebuildListKeepingSelection();
}

void RecordEditorForm::showRecord(std::size_t index) {
    if (!records_->contains(index)) {
        return;
    }
    snapshot_ = records_->snapshot(index);
    current_ = index;
    {
        FlagScope filling(filling_);
        showFields(index);
    }
    afterRecordShown();
    recordChanged_ = false;
    savedUnacceptedChanges_ = false;
}

void RecordEditorForm::showCurrentRecordAnew() {
    if (!current_ || !records_->contains(*current_)) {
        return;
    }
    const bool recordChanged = recordChanged_;
    {
        FlagScope filling(filling_);
        showFields(*current_);
    }
    afterRecordShown();
    recordChanged_ = recordChanged;
}

void RecordEditorForm::showNoRecord() {
    current_.reset();
    {
        FlagScope filling(filling_);
        clearFields();
    }
    recordChanged_ = false;
}

std::optional<std::size_t> RecordEditorForm::editablePosition() const {
    if (busy_ || filling_ || !current_ || !records_->contains(*current_)) {
        return std::nullopt;
    }
    return current_;
}

void RecordEditorForm::FromListShowRecord() {
    const std::optional<std::size_t> chosen = selectedEntry();
    if (!chosen) {
        return;
    }
    if (recordChanged_ && current_) {
        const QString name = textFromBytes(records_->nameText(*current_));
        const auto answer =
            dialogs_.ask(tr("Confirmation"), tr("Do you wish to retain changes made to ") + name + "?",
                         DialogService::Choice::YesNo);
        if (answer == DialogService::Answer::Yes) {
            setChanged_ = true;
            afterRecordAccepted();
        } else {
            records_->restore(*current_, snapshot_);
            if (savedUnacceptedChanges_) {
                setChanged_ = true; // the files hold the changes that were just undone
            }
            buildRecordList();
            afterRecordsChanged(RecordsChange::Undone);
        }
    }
    showAndSelect(*chosen);
}

void RecordEditorForm::showAndSelect(std::size_t index) {
    selectEntry(index);
    showRecord(index);
    stepper_->setPosition(static_cast<int>(index));
}

void RecordEditorForm::ChangeRecordNum(ArrowControl::Arrow arrow) {
    // The arrows step through the entries the list shows.
    const int shown = filter_->rowCount();
    if (shown == 0) {
        return;
    }
    int row = selectedRow().value_or(0);
    if (arrow == ArrowControl::Arrow::Down && row + 1 < shown) {
        ++row;
    } else if (arrow == ArrowControl::Arrow::Up && row > 0) {
        --row;
    }
    selectEntry(static_cast<std::size_t>(filter_->sourceRow(row)));
    FromListShowRecord();
}

void RecordEditorForm::SaveRecord() {
    if (recordChanged_ || traits_.saveRecordAlwaysAccepts) {
        setChanged_ = true;
    }
    recordChanged_ = false;
    afterRecordAccepted();
}

void RecordEditorForm::RestoreAllRecords() {
    const auto answer = dialogs_.ask(
        tr("Confirmation"),
        tr("Are you sure you wish to undo all changes made to all records in this session?"),
        DialogService::Choice::YesNo);
    if (answer != DialogService::Answer::Yes) {
        return;
    }
    setChanged_ = masterNotWritten_;
    {
        FlagScope busy(busy_);
        takeMaster();
        afterRecordsChanged(RecordsChange::Restored);
    }
    recordChanged_ = false;
    rememberedRecordChanged_ = false;
}

void RecordEditorForm::AddRecord() {
    const std::optional<std::string> name = bytesFromText(traits_.defaultName);
    const std::size_t added = records_->appendNamed(name.value_or(std::string()));
    buildRecordList();
    afterRecordsChanged(RecordsChange::Added);
    filter_->keepShown(static_cast<int>(added));
    showAndSelect(added);
    setChanged_ = true;
}

void RecordEditorForm::CopyRecord() {
    const std::optional<std::size_t> selected = selectedEntry();
    if (!selected) {
        return;
    }
    const std::size_t copy = records_->appendCopy(*selected);
    buildRecordList();
    afterRecordsChanged(RecordsChange::Copied);
    filter_->keepShown(static_cast<int>(copy));
    showAndSelect(copy);
    setChanged_ = true;
}

void RecordEditorForm::DelRecord() {
    const std::optional<std::size_t> selected = selectedEntry();
    if (!selected || !confirmDelete(*selected)) {
        return;
    }
    records_->remove(*selected);
    std::optional<std::size_t> stillShown = current_;
    if (current_ && *current_ > *selected) {
        stillShown = *current_ - 1;
    } else if (current_ && *current_ == *selected) {
        stillShown.reset();
    }
    buildRecordList();
    afterRecordsChanged(RecordsChange::Deleted);
    followMovedRecord(stillShown);
    setChanged_ = true;
}

// After records moved, the controls keep showing the record they showed, at its new place; a
// record that is gone gives way to the one that took its place, so that no edit and no undo
// can reach a record other than the one on screen.
void RecordEditorForm::followMovedRecord(std::optional<std::size_t> newPosition) {
    if (newPosition) {
        current_ = newPosition;
        stepper_->setPosition(static_cast<int>(*newPosition));
        return;
    }
    if (records_->empty()) {
        showNoRecord();
        return;
    }
    std::size_t replacement = std::min(current_.value_or(0), records_->count() - 1);
    if (traits_.deletingLastShowsFirst && current_ && *current_ >= records_->count()) {
        replacement = 0;
    }
    showRecord(replacement);
    stepper_->setPosition(static_cast<int>(replacement));
}

void RecordEditorForm::SortRecords() { showSorted(records_->sortByName()); }

void RecordEditorForm::showSorted(const std::vector<std::size_t>& previous) {
    std::optional<std::size_t> stillShown;
    if (current_) {
        const auto at = std::find(previous.begin(), previous.end(), *current_);
        stillShown = static_cast<std::size_t>(at - previous.begin());
    }
    buildRecordList();
    afterRecordsChanged(RecordsChange::Sorted);
    followMovedRecord(stillShown);
}

void RecordEditorForm::commit() {
    if (recordChanged_) {
        savedUnacceptedChanges_ = true;
    }
    if (traits_.sortable) {
        const std::vector<std::size_t> previous = records_->sortByName();
        // Records already in order, as at every save after the first, moved nowhere: the list
        // and the editors that follow it have nothing to catch up with.
        if (!leftInPlace(previous)) {
            showSorted(previous);
        }
    }
    records_->commitTo(master_);
}

std::optional<std::int64_t> RecordEditorForm::typedWholeNumber(const QString& text, const IntegerField& field) {
    const std::optional<std::int64_t> typed = parseWholeNumber(text);
    if (!typed) {
        reportNotInteger(text);
        return std::nullopt;
    }
    if (!field.holds(*typed)) {
        reportOutOfRange(text, field);
        return std::nullopt;
    }
    return typed;
}

std::optional<float> RecordEditorForm::typedFloat(const QString& text) {
    const std::optional<double> typed = parseDecimalNumber(text);
    if (!typed || !std::isfinite(*typed) || std::abs(*typed) > std::numeric_limits<float>::max()) {
        dialogs_.reportError(tr("'%1' is not a valid floating point value").arg(text));
        return std::nullopt;
    }
    return static_cast<float>(*typed);
}

void RecordEditorForm::reportCharactersLeftOut(const QString& characters) {
    dialogs_.reportError(tr("'%1' cannot be stored: the texts of the database files hold only the characters "
                            "of the Windows-1252 code page. The rest of the text was taken.")
                             .arg(characters));
}

void RecordEditorForm::reportNotInteger(const QString& text) {
    dialogs_.reportError(tr("'%1' is not a valid integer value").arg(text));
}

void RecordEditorForm::reportOutOfRange(const QString& text, const IntegerField& field) {
    dialogs_.reportError(tr("'%1' is out of range: this field holds whole numbers from %2 to %3")
                             .arg(text)
                             .arg(field.minimum())
                             .arg(field.maximum()));
}

void RecordEditorForm::fitFieldsToScreen() {
    const QSize wanted = fields_->sizeHint().expandedTo(fields_->minimumSizeHint());
    fieldScroll_->setFixedSize(wanted);
    layout()->activate();
    const QScreen* shownOn = screen();
    if (shownOn == nullptr) {
        return;
    }
    // What the rest of the window and a window manager's frame take beside the fields.
    const QSize frame(2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 8,
                      style()->pixelMetric(QStyle::PM_TitleBarHeight) + 16);
    const QSize room = shownOn->availableGeometry().size() - (sizeHint() - wanted) - frame;
    if (wanted.width() <= room.width() && wanted.height() <= room.height()) {
        return;
    }
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    QSize fit = wanted.boundedTo(room);
    // A scroll bar for one direction takes room from the other.
    if (fit.width() < wanted.width()) {
        fit.setHeight(std::min(wanted.height() + bar, room.height()));
    }
    if (fit.height() < wanted.height() + (fit.width() < wanted.width() ? bar : 0)) {
        fit.setWidth(std::min(wanted.width() + bar, room.width()));
    }
    fieldScroll_->setFixedSize(fit.expandedTo(QSize(bar * 4, bar * 4)));
}

void RecordEditorForm::showEditor() {
    recordChanged_ = rememberedRecordChanged_;
    fitFieldsToScreen();
    show();
    raise();
}

void RecordEditorForm::hideEditor() {
    rememberedRecordChanged_ = recordChanged_;
    hide();
}

void RecordEditorForm::popUpRecordMenu(const QPoint& at) { menu_->popup(at); }

bool RecordEditorForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched != list_ || event->type() != QEvent::KeyPress) {
        return QWidget::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if (key->key() == Qt::Key_Menu || (key->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier)) {
        const QModelIndex current = list_->currentIndex();
        const QRect place = current.isValid() ? list_->visualRect(current) : QRect();
        popUpRecordMenu(list_->viewport()->mapToGlobal(place.isValid() ? place.bottomLeft() : QPoint(0, 0)));
        return true;
    }
    if (modifiers != Qt::NoModifier) {
        return QWidget::eventFilter(watched, event);
    }
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        FromListShowRecord();
        return true;
    case Qt::Key_Delete:
        DelRecord();
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void RecordEditorForm::closeEvent(QCloseEvent* event) {
    event->ignore();
    emit toggleRequested();
}

void RecordEditorForm::ExportRecord() {
    const std::optional<std::size_t> selected = selectedEntry();
    if (!selected) {
        return;
    }
    exchange_.exportRecord(*records_, *selected);
}

void RecordEditorForm::ImportRecord() {
    // A record on screen that an imported one replaced is shown anew, so that the controls
    // and the snapshot hold what the working copy now holds.
    ByteVector shownBefore = current_ ? records_->snapshot(*current_) : ByteVector{};
    auto showReplacedRecordAnew = [&] {
        if (!current_) {
            return;
        }
        ByteVector shownNow = records_->snapshot(*current_);
        if (shownNow != shownBefore) {
            showRecord(*current_);
            shownBefore = std::move(shownNow);
        }
    };
    // After a file that could not be opened, the files before it are in the working copy: the
    // list and the mark are brought up to date for them too.
    if (exchange_.importInto(*records_, showReplacedRecordAnew) > 0) {
        buildRecordList();
        afterRecordsChanged(RecordsChange::Imported);
        setChanged_ = true;
    }
}

} // namespace keel
