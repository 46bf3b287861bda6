// SPDX-License-Identifier: MIT
#pragma once

#include "common/EntrySearch.h"

#include <QAbstractProxyModel>
#include <QWidget>

#include <optional>
#include <string_view>
#include <vector>

class QLabel;
class QLineEdit;
class QListView;

namespace keel {

// What a find box reads of a list's entries: the name's bytes in the files' code page and the
// number the entry is written with.
class FindableEntries {
public:
    virtual ~FindableEntries() = default;
    virtual std::string_view entryName(int row) const = 0;
    virtual std::size_t entryNumber(int row) const = 0;
    virtual int entryNumberWidth() const = 0;
};

// The entries of a list that a find box leaves shown, each with its own line: a filtered list
// never changes which record an entry names. Without a text every entry is shown at no cost;
// with one, the entries are read once per keystroke, and a text typed on from the last reads
// only those still shown. An entry the user has just added stays shown, matching or not,
// until the text changes.
class FindFilterModel : public QAbstractProxyModel {
    Q_OBJECT

public:
    FindFilterModel(QAbstractItemModel* source, const FindableEntries& entries, QObject* parent = nullptr);

    void setSearchText(const QString& text);
    bool filtering() const { return !search_.empty(); }
    int entryCount() const { return sourceModel()->rowCount(); }
    void keepShown(int sourceRow);

    // The entry of a row of this list, and the row of an entry when it is shown.
    int sourceRow(int row) const { return filtering() ? rows_[static_cast<std::size_t>(row)] : row; }
    std::optional<int> rowOf(int sourceRow) const;

    QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex& sourceIndex) const override;
    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex&) const override { return {}; }
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 1; }

private:
    void refilter(bool narrowing);
    void followSourceReset();
    // Rows that came or went one at a time: passed on as they are while every entry is shown.
    void followRowsChanged(void (FindFilterModel::*endPassedOn)());
    // The entries shown for the text, from those shown before when the text narrows it.
    void readRows(bool narrowing);

    const FindableEntries& entries_;
    EntrySearch search_;
    std::vector<int> rows_;      // the entries shown, in list order, while filtering
    std::vector<int> keptShown_; // entries shown whatever the text, until it changes
    int shownCount_ = 0;         // the rows of this list
};

// "Find:", its box and the count of the entries shown, above a list. Ctrl+F in the window
// puts the cursor in the box; Escape empties it; Down or Enter moves to the first entry shown.
class FindBar : public QWidget {
    Q_OBJECT

public:
    // Where a window has two find bars, one takes Ctrl+F.
    FindBar(FindFilterModel* filter, QListView* list, QWidget* parent, bool takesFindShortcut = true);

    QLineEdit* box() const { return box_; }
    QString countText() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showCount();

    FindFilterModel* filter_;
    QListView* list_;
    QLineEdit* box_;
    QLabel* count_;
};

} // namespace keel
