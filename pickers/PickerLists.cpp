// SPDX-License-Identifier: MIT
#include "pickers/PickerLists.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <utility>

namespace keel {

AvailableListModel::AvailableListModel(const AvailableEntries& entries, EntryNaming naming,
                                       QObject* parent)
    : QAbstractListModel(parent), entries_(entries), naming_(std::move(naming)) {}

int AvailableListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : lineCount_;
}

QVariant AvailableListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= lineCount_) {
        return {};
    }
    return slotLine(index.row());
}

Qt::ItemFlags AvailableListModel::flags(const QModelIndex& index) const {
    if (index.row() > lastNameableLine) {
        return Qt::ItemNeverHasChildren;
    }
    return QAbstractListModel::flags(index) | Qt::ItemNeverHasChildren;
}

std::string_view AvailableListModel::entryName(int row) const {
    return row > 0 && names(row) ? entries_.name(static_cast<std::size_t>(row))
                                 : std::string_view();
}

void AvailableListModel::rebuild() {
    beginResetModel();
    const std::size_t entryCount = std::min<std::size_t>(
        entries_.count(), static_cast<std::size_t>(std::numeric_limits<int>::max() - 1));
    lineCount_ = 1 + static_cast<int>(entryCount);
    endResetModel();
}

bool AvailableListModel::names(int value) const {
    // The entries may have shrunk since the list was built (the launcher editor deletes while
    // the picker is hidden); a line is only read while its entry is still there.
    return value == 0 ||
           (value > 0 && value < lineCount_ && static_cast<std::size_t>(value) <= entries_.count());
}

QString AvailableListModel::slotLine(int value) const {
    if (value == 0) {
        return QStringLiteral("%1: EMPTY SLOT").arg(0, naming_.numberWidth, 10, QLatin1Char('0'));
    }
    if (names(value)) {
        return entries_.line(static_cast<std::size_t>(value));
    }
    // Numbered as the entries are, whatever the sign: "-001" beside "001", "-01" beside "01".
    const QString magnitude = QStringLiteral("%1").arg(std::abs(value), naming_.numberWidth, 10, QLatin1Char('0'));
    return QStringLiteral("%1%2: (no %3 %4 in the list)")
        .arg(value < 0 ? QStringLiteral("-") : QString(), magnitude, naming_.entryKind)
        .arg(value);
}

SlotListModel::SlotListModel(const SlotValues& slotValues, const AvailableListModel& available,
                             QObject* parent)
    : QAbstractListModel(parent), slotValues_(slotValues), available_(available) {}

int SlotListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(slotValues_.size());
}

QVariant SlotListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    return available_.slotLine(slotValues_[static_cast<std::size_t>(index.row())]);
}

void SlotListModel::rebuild() {
    beginResetModel();
    endResetModel();
}

} // namespace keel
