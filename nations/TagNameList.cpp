// SPDX-License-Identifier: MIT
#include "nations/TagNameList.h"

#include "editor/CodePage.h"
#include "editor/CodePageValidator.h"
#include "nations/ClassTypes.h"
#include "nations/MissionRecords.h"
#include "objects/ObjectRecord.h"

#include <QLineEdit>
#include <QSignalBlocker>

namespace keel {
void TagNameList::setObjects(const RecordTable* objects) {
    objects_ = objects;
    stale_ = true;
}

void TagNameList::setClassType(int type) {
    if (type != type_) {
        type_ = type;
        stale_ = true;
    }
}

void TagNameList::refreshIfStale() {
    if (!stale_) {
        return;
    }
    beginResetModel();
    offered_.clear();
    guidance_ = !classTypeOffersObjects(type_);
    const std::size_t objects = objects_ != nullptr ? objects_->count() : 0;
    if (guidance_) {
        for (std::size_t line = 0; line < std::min<std::size_t>(2, objects); ++line) {
            offered_.push_back(line);
        }
    } else {
        for (std::size_t i = 0; i < objects; ++i) {
            if (classTypeOffers(type_, ObjectRecord::ObjType.read(objects_->record(i)))) {
                offered_.push_back(i);
            }
        }
    }
    stale_ = false;
    endResetModel();
}

int TagNameList::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(offered_.size());
}

QVariant TagNameList::data(const QModelIndex& index, int role) const {
    if ((role != Qt::DisplayRole && role != Qt::EditRole) || !index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const std::size_t entry = offered_[static_cast<std::size_t>(index.row())];
    if (guidance_) {
        return entry == 0 ? tr("This type is invalid") : tr("Choose a valid (not N/A) one");
    }
    // The objects may have shrunk since the list was read; the list is read anew when it is
    // next opened.
    if (objects_ == nullptr || !objects_->contains(entry)) {
        return {};
    }
    return textFromBytes(objects_->nameText(entry));
}

TagNameBox::TagNameBox(QWidget* parent) : QComboBox(parent), list_(new TagNameList(this)) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr); // what is typed is stored as typed, never completed
    setModel(list_);
    // A width of its own, so that reading a list of thousands of names lays nothing out again.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(24);
    lineEdit()->setValidator(new CodePageValidator(this));
    // What the box shows is what its field can store.
    lineEdit()->setMaxLength(static_cast<int>(ClassRecord::Class_TagName.maxLength()));
}

void TagNameBox::refreshKeepingText() {
    const QString text = currentText();
    const QSignalBlocker quiet(this);
    list_->refreshIfStale();
    setCurrentIndex(-1);
    setEditText(text);
}

QStringList TagNameBox::choices() {
    refreshKeepingText();
    QStringList all;
    for (int row = 0; row < count(); ++row) {
        all << itemText(row);
    }
    return all;
}

void TagNameBox::showPopup() {
    refreshKeepingText();
    QComboBox::showPopup();
}

} // namespace keel
