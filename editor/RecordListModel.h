// SPDX-License-Identifier: MIT
#pragma once

#include "editor/FindFilter.h"
#include "editor/RecordCollection.h"

#include <QAbstractListModel>

namespace keel {

// The entries of a record list, formatted when the view asks for them: the record's number
// counting from 1, zero-padded to the editor's width, ": " and the record's name. Rebuilding
// costs nothing that grows with the number of records.
class RecordListModel : public QAbstractListModel, public FindableEntries {
    Q_OBJECT

public:
    RecordListModel(const RecordCollection& records, int numberWidth, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    QString entryText(int row) const;
    // Tells the views that the records changed as a whole.
    void rebuild();

    std::string_view entryName(int row) const override { return records_.nameView(static_cast<std::size_t>(row)); }
    std::size_t entryNumber(int row) const override { return static_cast<std::size_t>(row) + 1; }
    int entryNumberWidth() const override { return numberWidth_; }

private:
    const RecordCollection& records_;
    int numberWidth_;
};

} // namespace keel
