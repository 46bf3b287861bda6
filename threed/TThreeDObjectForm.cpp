// SPDX-License-Identifier: MIT
#include "threed/TThreeDObjectForm.h"

#include "common/NameCompare.h"
#include "editor/CodePage.h"
#include "editor/FindFilter.h"
#include "editor/RecordListModel.h"
#include "objects/ObjectRecord.h"
#include "objects/ObjectTypes.h"
#include "threed/LackingObjectScan.h"
#include "threed/ThreeDRecord.h"

#include <QAbstractListModel>
#include <QAction>
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPushButton>

#include <algorithm>

namespace keel {

// The objects that need a 3D object and have none, each shown with its own record number.
class LackingObjectsModel : public QAbstractListModel, public FindableEntries {
public:
    using QAbstractListModel::QAbstractListModel;

    // Gives whether the entries are the same objects as before, whose texts alone may read
    // differently: the view then only has to paint them again.
    bool refill(const RecordTable* objects, const ThreeDIndex& index) {
        static const std::vector<std::size_t> none;
        const std::vector<std::size_t>& lacking = objects != nullptr ? scan_.scan(*objects, index) : none;
        if (objects == objects_ && lacking == lacking_) {
            return true;
        }
        beginResetModel();
        objects_ = objects;
        lacking_ = lacking;
        endResetModel();
        return false;
    }

    const std::vector<std::size_t>& lacking() const { return lacking_; }

    // After the name or type of one object changed: its entry comes or goes, or stays and
    // only its text may read differently (then false: nothing was inserted or removed).
    bool refillOne(std::size_t object, const ThreeDIndex& index) {
        if (objects_ == nullptr || !objects_->contains(object)) {
            return false;
        }
        const ConstByteSpan record = objects_->record(object);
        const bool lacks = needsThreeDObject(ObjectRecord::ObjType.read(record)) &&
                           !index.contains(ObjectRecord::ObjectName.bytes(record));
        const auto at = std::lower_bound(lacking_.begin(), lacking_.end(), object);
        const bool listed = at != lacking_.end() && *at == object;
        const int row = static_cast<int>(at - lacking_.begin());
        if (lacks && !listed) {
            beginInsertRows({}, row, row);
            lacking_.insert(at, object);
            endInsertRows();
            return true;
        }
        if (!lacks && listed) {
            beginRemoveRows({}, row, row);
            lacking_.erase(at);
            endRemoveRows();
            return true;
        }
        return false;
    }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(lacking_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid() || objects_ == nullptr ||
            static_cast<std::size_t>(index.row()) >= lacking_.size()) {
            return {};
        }
        const std::size_t object = lacking_[static_cast<std::size_t>(index.row())];
        return QStringLiteral("%1: %2")
            .arg(object + 1, 3, 10, QLatin1Char('0'))
            .arg(textFromBytes(objects_->nameText(object)));
    }

    std::string_view entryName(int row) const override {
        return objects_->nameView(lacking_[static_cast<std::size_t>(row)]);
    }
    std::size_t entryNumber(int row) const override { return lacking_[static_cast<std::size_t>(row)] + 1; }
    int entryNumberWidth() const override { return 3; }

private:
    const RecordTable* objects_ = nullptr;
    LackingObjectScan scan_;
    std::vector<std::size_t> lacking_;
};

TThreeDObjectForm::TThreeDObjectForm(ByteVector& master, DialogService& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      master_(master), records_(ThreeDRecord::Size, ThreeDRecord::Name),
      exchange_(dialogs, "3db"),
      threeDModel_(new RecordListModel(records_, 3, this)), objectModel_(new LackingObjectsModel(this)),
      objectFilter_(new FindFilterModel(objectModel_, *objectModel_, this)),
      threeDFilter_(new FindFilterModel(threeDModel_, *threeDModel_, this)), objectList_(new QListView(this)),
      threeDList_(new QListView(this)), menu_(new QMenu(this)),
      undoButton_(new QPushButton(tr("Undo Changes"), this)) {
    setObjectName("TThreeDObjectForm");
    setWindowTitle(tr("3DObjects"));

    objectList_->setObjectName("ObjectList");
    objectList_->setModel(objectFilter_);
    threeDList_->setObjectName("ThreeDList");
    threeDList_->setModel(threeDFilter_);
    for (QListView* list : {objectList_, threeDList_}) {
        list->setUniformItemSizes(true);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setEditTriggers(QAbstractItemView::NoEditTriggers);
        list->setMinimumSize(230, 320);
    }
    threeDList_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(threeDList_, &QListView::doubleClicked, this, &TThreeDObjectForm::CopyRecord);
    connect(threeDList_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { menu_->popup(threeDList_->viewport()->mapToGlobal(at)); });

    auto addAction = [this](const QString& name, const QString& caption, void (TThreeDObjectForm::*run)()) {
        auto* action = new QAction(caption, this);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, run);
        menu_->addAction(action);
        QWidget::addAction(action);
    };
    addAction("Action_DelRecord", tr("&Delete Record"), &TThreeDObjectForm::DelRecord);
    menu_->addSeparator();
    addAction("Action_ExportRecord", tr("&Export Record"), &TThreeDObjectForm::ExportRecord);
    addAction("Action_ImportRecord", tr("&Import Records"), &TThreeDObjectForm::ImportRecords);
    menu_->addSeparator();
    addAction("Action_SortRecord", tr("&Sort Records"), &TThreeDObjectForm::SortRecords);

    undoButton_->setObjectName("RestoreAllButton");
    connect(undoButton_, &QPushButton::clicked, this, &TThreeDObjectForm::RestoreRecords);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(tr("Objects lacking a 3DObject"), this), 0, 0);
    layout->addWidget(new QLabel(tr("3D Objects:"), this), 0, 1);
    layout->addWidget(new FindBar(objectFilter_, objectList_, this, false), 1, 0);
    layout->addWidget(new FindBar(threeDFilter_, threeDList_, this), 1, 1);
    layout->addWidget(objectList_, 2, 0);
    layout->addWidget(threeDList_, 2, 1);
    layout->addWidget(undoButton_, 3, 1, Qt::AlignRight);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    records_.takeFrom(master_);
    // Known now, while the window is made, rather than at the first save.
    records_.learnOrder();
    rebuildThreeDList();
}

TThreeDObjectForm::~TThreeDObjectForm() = default;

void TThreeDObjectForm::setObjectRecords(const RecordTable* objects) { objects_ = objects; }

const std::vector<std::size_t>& TThreeDObjectForm::lackingObjects() const {
    if (objectListStale_) {
        refillObjectList();
    }
    return objectModel_->lacking();
}

void TThreeDObjectForm::rebuildThreeDList() {
    index_.rebuild(records_);
    threeDModel_->rebuild();
}

void TThreeDObjectForm::RefreshObjectEntry(std::size_t object) {
    if (objectListStale_ || !isVisible()) {
        markObjectListStale();
        return;
    }
    if (!objectModel_->refillOne(object, index_)) {
        objectList_->viewport()->update();
    }
    objectList_->selectionModel()->clear();
}

void TThreeDObjectForm::RefreshObjectList() {
    if (!isVisible()) {
        markObjectListStale();
        return;
    }
    refillObjectList();
}

// A hidden list is filled when it is shown or asked about, and until then has no entry selected,
// as a refilled one.
void TThreeDObjectForm::markObjectListStale() {
    objectListStale_ = true;
    objectList_->selectionModel()->clear();
}

void TThreeDObjectForm::refillObjectList() const {
    objectListStale_ = false;
    if (objectModel_->refill(objects_, index_)) {
        // Repainted, not laid out again: a list view lays out every row on a change of data.
        objectList_->viewport()->update();
    }
    // A rebuilt list has no entry selected, even where it lists the same objects as before: a
    // kept selection could name an object the user never picked.
    objectList_->selectionModel()->clear();
}

void TThreeDObjectForm::showEvent(QShowEvent* event) {
    if (objectListStale_) {
        refillObjectList();
    }
    QWidget::showEvent(event);
}

std::optional<std::size_t> TThreeDObjectForm::selectedRow(const QListView* list) const {
    const QModelIndexList selected = list->selectionModel()->selectedIndexes();
    if (selected.isEmpty()) {
        return std::nullopt;
    }
    // The entry's own position, whatever the find box shows.
    const auto* filter = static_cast<const FindFilterModel*>(list->model());
    return static_cast<std::size_t>(filter->sourceRow(selected.first().row()));
}

void TThreeDObjectForm::CopyRecord() {
    const std::optional<std::size_t> threeD = selectedRow(threeDList_);
    const std::optional<std::size_t> lackingRow = selectedRow(objectList_);
    if (!threeD || !lackingRow || objects_ == nullptr || *lackingRow >= lackingObjects().size()) {
        return;
    }
    const std::size_t object = lackingObjects()[*lackingRow];
    if (!objects_->contains(object)) {
        return;
    }
    // The source is the first record of the selected record's name.
    std::size_t source = *threeD;
    for (std::size_t i = 0; i < *threeD; ++i) {
        if (equalEditorNames(records_.name(i), records_.name(*threeD))) {
            source = i;
            break;
        }
    }
    const std::size_t copy = records_.appendCopy(source);
    ThreeDRecord::Name.write(records_.record(copy), objects_->nameText(object), TextOverflow::Cut);
    rebuildThreeDList();
    RefreshObjectList();
    changed_ = true;
}

void TThreeDObjectForm::DelRecord() {
    const std::optional<std::size_t> selected = selectedRow(threeDList_);
    if (!selected) {
        return;
    }
    records_.remove(*selected);
    rebuildThreeDList();
    RefreshObjectList();
    changed_ = true;
}

void TThreeDObjectForm::SortRecords() {
    changed_ = true;
    records_.sortByName();
    // The same names in another order: the index of names stands.
    threeDModel_->rebuild();
}

void TThreeDObjectForm::RestoreRecords() {
    changed_ = false;
    records_.takeFrom(master_);
    records_.learnOrder();
    rebuildThreeDList();
    RefreshObjectList();
}

void TThreeDObjectForm::commit() {
    const std::vector<std::size_t> previous = records_.sortByName();
    records_.commitTo(master_);
    if (!leftInPlace(previous)) {
        threeDModel_->rebuild();
    }
}

void TThreeDObjectForm::ExportRecord() {
    const std::optional<std::size_t> selected = selectedRow(threeDList_);
    if (!selected) {
        return;
    }
    exchange_.exportRecord(records_, *selected);
}

void TThreeDObjectForm::ImportRecords() {
    if (exchange_.importInto(records_) > 0) {
        rebuildThreeDList();
        RefreshObjectList();
        changed_ = true;
    }
}

void TThreeDObjectForm::closeEvent(QCloseEvent* event) {
    event->ignore();
    emit toggleRequested();
}

} // namespace keel
