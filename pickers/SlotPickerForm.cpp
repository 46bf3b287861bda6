#include "pickers/SlotPickerForm.h"

#include "pickers/PickerLists.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QStringListModel>
#include <QStyle>

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

SlotPickerForm::SlotPickerForm(SlotPickerTraits traits, const AvailableEntries& entries,
                               QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      traits_(std::move(traits)), objectSlots_(traits_.slotCount, 0),
      availableModel_(new AvailableListModel(
          entries, EntryNaming{traits_.entryNumberWidth, traits_.entryKind}, this)),
      slotModel_(new SlotListModel(slotCopy_, *availableModel_, this)),
      slotNumbers_(new SlotNumberColumn(slotNumberTexts(traits_), this)),
      slotList_(new QListView(this)), availableList_(new QListView(this)),
      keepButton_(new QPushButton(tr("Keep"), this)),
      discardButton_(new QPushButton(tr("Discard"), this)) {
    setObjectName(traits_.windowClass);
    setWindowTitle(traits_.caption);
    setModal(true);

    slotList_->setObjectName(traits_.slotListName);
    slotList_->setModel(slotModel_);
    makeChoiceList(slotList_);
    availableList_->setObjectName(traits_.availableListName);
    availableList_->setModel(availableModel_);
    makeChoiceList(availableList_);

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
    layout->addWidget(slotNumbers_, 0, 0, Qt::AlignTop);
    layout->addWidget(slotList_, 0, 1, Qt::AlignTop);
    layout->addLayout(buttons, 1, 1);
    layout->setRowStretch(2, 1);
    layout->addWidget(availableList_, 0, 2, 3, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);
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
    availableModel_->rebuild();
    loadSlotCopy(objectSlots_);
    changed_ = false;
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
    if (!availableModel_->names(value)) {
        availableList_->selectionModel()->clear();
        return;
    }
    const QModelIndex line = availableModel_->index(value);
    availableList_->selectionModel()->setCurrentIndex(line, QItemSelectionModel::ClearAndSelect);
    availableList_->scrollTo(line);
}

void SlotPickerForm::chooseEntry(const QModelIndex& entry) {
    if (!entry.isValid() || entry.row() > AvailableListModel::lastNameableLine) {
        return;
    }
    if (const std::optional<int> slot = selectedSlot()) {
        slotCopy_[static_cast<std::size_t>(*slot)] = static_cast<std::int16_t>(entry.row());
    }
    rebuildSlotList();
    changed_ = true;
}

void SlotPickerForm::KeepChanges() {
    if (changed_) {
        accept();
    } else {
        reject();
    }
}

} // namespace keel
