// SPDX-License-Identifier: MIT
#include "editor/RecordListModel.h"

#include "editor/CodePage.h"

namespace keel {

RecordListModel::RecordListModel(const RecordCollection& records, int numberWidth, QObject* parent)
    : QAbstractListModel(parent), records_(records), numberWidth_(numberWidth) {}

int RecordListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(records_.count());
}

QString RecordListModel::entryText(int row) const {
    return QStringLiteral("%1: %2")
        .arg(row + 1, numberWidth_, 10, QLatin1Char('0'))
        .arg(textFromBytes(records_.nameText(static_cast<std::size_t>(row))));
}

QVariant RecordListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    return entryText(index.row());
}

void RecordListModel::rebuild() {
    beginResetModel();
    endResetModel();
}

} // namespace keel
