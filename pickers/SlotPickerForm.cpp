// SPDX-License-Identifier: MIT
#include "pickers/SlotPickerForm.h"

#include "editor/FindFilter.h"
#include "pickers/PickerLists.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QStringListModel>
#include <QStyle>

#include <functional>
#include <utility>

namespace keel {
namespace {

QStringList slotNumberTexts(const SlotPickerTraits& traits) {
    QStringList numbers;
    for (std::size_t slot = 1; slot <= traits.slotCount; ++slot) {
        numbers << QString::number(slot).rightJustified(traits.slotNumberWidth, QLatin1Char('0'));
    }
    return numbers;
}

void makeChoiceList(QListView* list) {
    list->setUniformItemSizes(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
}

} // namespace

// The slot numbers beside the slot list: frameless, with the list's frame as margins so that
// every number stands level with its slot.
class SlotNumberColumn : public QListView {
public:
    SlotNumberColumn(const QStringList& numbers, QWidget* parent) : QListView(parent) {
        setModel(new QStringListModel(numbers, this));
        setUniformItemSizes(true);
        setSelectionMode(QAbstractItemView::NoSelection);
        setEditTriggers(QAbstractItemView::NoEditTriggers);
        setFocusPolicy(Qt::NoFocus);
        setFrameShape(QFrame::NoFrame);
        viewport()->setAutoFillBackground(false);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }

    void alignWith(const QListView& slotList) {
        const int frame = slotList.frameWidth();
        setViewportMargins(0, frame, 0, frame);
        setFixedHeight(slotList.height());
    }
};

// The slot list, telling when a key moved it to another slot: Up, Down, Page Up and the like,
// or a typed letter. Selections the picker makes itself are not the user's and are not told.
class SlotListView : public QListView {
public:
    SlotListView(std::function<void(const QModelIndex&)> reachedByKey, QWidget* parent)
        : QListView(parent), reachedByKey_(std::move(reachedByKey)) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const QPersistentModelIndex before = currentIndex();
        QListView::keyPressEvent(event);
        if (currentIndex().isValid() && currentIndex() != before) {
            reachedByKey_(currentIndex());
        }
    }

private:
    std::function<void(const QModelIndex&)> reachedByKey_;
};

SlotPickerForm::SlotPickerForm(SlotPickerTraits traits, const AvailableEntries& entries,
                               QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      traits_(std::move(traits)), objectSlots_(traits_.slotCount, 0),
      availableModel_(new AvailableListModel(
          entries, EntryNaming{traits_.entryNumberWidth, traits_.entryKind}, this)),
      filter_(new FindFilterModel(availableModel_, *availableModel_, this)),
      slotModel_(new SlotListModel(slotCopy_, *availableModel_, this)),
      slotNumbers_(new SlotNumberColumn(slotNumberTexts(traits_), this)),
      slotList_(
          new SlotListView([this](const QModelIndex& slot) { emit slotReachedByKey(slot); }, this)),
      availableList_(new QListView(this)), findBar_(new FindBar(filter_, availableList_, this)),
      keepButton_(new QPushButton(tr("Keep"), this)),
      discardButton_(new QPushButton(tr("Discard"), this)) {
    setObjectName(traits_.windowClass);
    setWindowTitle(traits_.caption);
    setModal(true);

    slotList_->setObjectName(traits_.slotListName);
    slotList_->setModel(slotModel_);
    makeChoiceList(slotList_);
    availableList_->setObjectName(traits_.availableListName);
    availableList_->setModel(filter_);
    makeChoiceList(availableList_);
    availableList_->installEventFilter(this);

    slotNumbers_->setObjectName("SlotNumbers");
    // The numbers stay beside their slots should the slot list ever scroll.
    connect(slotList_->verticalScrollBar(), &QScrollBar::valueChanged,
            slotNumbers_->verticalScrollBar(), &QScrollBar::setValue);

    keepButton_->setObjectName("KeepButton");
    discardButton_->setObjectName("DiscardButton");
    connect(keepButton_, &QPushButton::clicked, this, &SlotPickerForm::KeepChanges);
    connect(discardButton_, &QPushButton::clicked, this, &QDialog::reject);

    availableModel_->rebuild();
    loadSlotCopy(objectSlots_);
    layOut();
    setTabOrderForWork();
}

SlotPickerForm::~SlotPickerForm() = default;

void SlotPickerForm::layOut() {
    // Every slot in sight at once, each number level with its slot; wide enough for an entry
    // number and a name of some thirty average letters, longer lines scroll.
    const int frame = 2 * slotList_->frameWidth();
    const int rowHeight = slotList_->sizeHintForRow(0);
    const int slotRows = static_cast<int>(traits_.slotCount);
    const int lineWidth = fontMetrics().averageCharWidth() * 34;
    slotList_->setFixedSize(lineWidth + frame, rowHeight * slotRows + frame);
    slotNumbers_->alignWith(*slotList_);
    slotNumbers_->setFixedWidth(
        fontMetrics().horizontalAdvance(QString(traits_.slotNumberWidth, QLatin1Char('0'))) +
        fontMetrics().averageCharWidth() * 2);
    availableList_->setFixedWidth(lineWidth + frame +
                                  style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    availableList_->setMinimumHeight(rowHeight * 16 + frame);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(keepButton_);
    buttons->addWidget(discardButton_);
    buttons->addStretch();

    auto* layout = new QGridLayout(this);
    // The find box sits over the entries alone; the two lists start level.
    layout->addWidget(findBar_, 0, 2);
    layout->addWidget(slotNumbers_, 1, 0, Qt::AlignTop);
    layout->addWidget(slotList_, 1, 1, Qt::AlignTop);
    layout->addLayout(buttons, 2, 1);
    layout->setRowStretch(3, 1);
    layout->addWidget(availableList_, 1, 2, 3, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

// In the order of the work: a slot, the entry for it (found, then chosen), then Keep or Discard.
void SlotPickerForm::setTabOrderForWork() {
    const QList<QWidget*> chain{slotList_, findBar_->box(), availableList_, keepButton_,
                                discardButton_};
    for (qsizetype i = 1; i < chain.size(); ++i) {
        setTabOrder(chain[i - 1], chain[i]);
    }
}

void SlotPickerForm::loadSlots(const SlotValues& slotValues) {
    objectSlots_ = slotValues;
    loadSlotCopy(objectSlots_);
}

std::optional<SlotValues> SlotPickerForm::pickSlots(const SlotValues& slotValues) {
    objectSlots_ = slotValues;
    if (exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return slotCopy_;
}

void SlotPickerForm::showEvent(QShowEvent* event) {
    // A window given back after being minimised is no new opening.
    if (!event->spontaneous()) {
        emit opening();
    }
    QDialog::showEvent(event);
}

void SlotPickerForm::refreshLists() {
    // Each opening is a new choice: every entry shown, the slots first.
    findBar_->box()->clear();
    availableModel_->rebuild();
    loadSlotCopy(objectSlots_);
    changed_ = false;
    slotList_->setFocus(Qt::OtherFocusReason);
}

void SlotPickerForm::loadSlotCopy(const SlotValues& slotValues) {
    slotCopy_ = slotValues;
    rebuildSlotList();
}

void SlotPickerForm::rebuildSlotList() {
    const std::optional<int> selected = selectedSlot();
    slotModel_->rebuild();
    if (selected && *selected < slotModel_->rowCount()) {
        slotList_->selectionModel()->setCurrentIndex(slotModel_->index(*selected),
                                                     QItemSelectionModel::ClearAndSelect);
    }
}

std::optional<int> SlotPickerForm::selectedSlot() const {
    const QModelIndexList selected = slotList_->selectionModel()->selectedIndexes();
    if (selected.isEmpty()) {
        return std::nullopt;
    }
    return selected.first().row();
}

void SlotPickerForm::showInAvailableList(const QModelIndex& slot) {
    if (!slot.isValid() || static_cast<std::size_t>(slot.row()) >= slotCopy_.size()) {
        return;
    }
    const int value = slotCopy_[static_cast<std::size_t>(slot.row())];
    const std::optional<int> row =
        availableModel_->names(value) ? filter_->rowOf(value) : std::nullopt;
    if (!row) {
        availableList_->selectionModel()->clear();
        return;
    }
    const QModelIndex line = filter_->index(*row, 0);
    availableList_->selectionModel()->setCurrentIndex(line, QItemSelectionModel::ClearAndSelect);
    availableList_->scrollTo(line);
}

void SlotPickerForm::chooseEntry(const QModelIndex& entry) {
    const QModelIndex line = filter_->mapToSource(entry);
    if (!line.isValid() || line.row() > AvailableListModel::lastNameableLine) {
        return;
    }
    if (const std::optional<int> slot = selectedSlot()) {
        slotCopy_[static_cast<std::size_t>(*slot)] = static_cast<std::int16_t>(line.row());
    }
    rebuildSlotList();
    changed_ = true;
}

bool SlotPickerForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched != availableList_ || event->type() != QEvent::KeyPress) {
        return QDialog::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        return QDialog::eventFilter(watched, event);
    }
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        // Taken here, so that Enter chooses the entry rather than pressing Keep.
        if (availableList_->currentIndex().isValid()) {
            emit entryChosenByKey(availableList_->currentIndex());
        }
        return true;
    default:
        return QDialog::eventFilter(watched, event);
    }
}

void SlotPickerForm::KeepChanges() {
    if (changed_) {
        accept();
    } else {
        reject();
    }
}

} // namespace keel
