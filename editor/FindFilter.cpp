// SPDX-License-Identifier: MIT
#include "editor/FindFilter.h"

#include "editor/CodePage.h"

#include <QAction>
#include <QFontMetrics>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QLocale>

#include <algorithm>

namespace keel {

FindFilterModel::FindFilterModel(QAbstractItemModel* source, const FindableEntries& entries, QObject* parent)
    : QAbstractProxyModel(parent), entries_(entries) {
    setSourceModel(source);
    shownCount_ = source->rowCount();
    connect(source, &QAbstractItemModel::modelAboutToBeReset, this, [this] { beginResetModel(); });
    connect(source, &QAbstractItemModel::modelReset, this, [this] { followSourceReset(); });
    // Rows come and go one at a time (an object that gains or loses its 3D object): passed
    // on as they are while every entry is shown, as a new reading of the list otherwise.
    connect(source, &QAbstractItemModel::rowsAboutToBeInserted, this, [this](const QModelIndex&, int first, int last) {
        filtering() ? beginResetModel() : beginInsertRows({}, first, last);
    });
    connect(source, &QAbstractItemModel::rowsInserted, this, [this] { followRowsChanged(&FindFilterModel::endInsertRows); });
    connect(source, &QAbstractItemModel::rowsAboutToBeRemoved, this, [this](const QModelIndex&, int first, int last) {
        filtering() ? beginResetModel() : beginRemoveRows({}, first, last);
    });
    connect(source, &QAbstractItemModel::rowsRemoved, this, [this] { followRowsChanged(&FindFilterModel::endRemoveRows); });
    connect(source, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                for (int row = topLeft.row(); row <= bottomRight.row(); ++row) {
                    if (const std::optional<int> shown = rowOf(row)) {
                        emit dataChanged(index(*shown, 0), index(*shown, 0));
                    }
                }
            });
}

void FindFilterModel::setSearchText(const QString& text) {
    // A character the files' code page lacks is in no name: nothing is found.
    const std::optional<std::string> bytes = bytesFromText(text);
    EntrySearch search(bytes.value_or(std::string(1, '\0')));
    const bool narrowing = filtering() && keptShown_.empty() && search.narrows(search_);
    search_ = std::move(search);
    keptShown_.clear();
    refilter(narrowing);
}

void FindFilterModel::refilter(bool narrowing) {
    beginResetModel();
    readRows(narrowing);
    endResetModel();
}

void FindFilterModel::followSourceReset() {
    const int count = sourceModel()->rowCount();
    keptShown_.erase(std::remove_if(keptShown_.begin(), keptShown_.end(), [count](int row) { return row >= count; }),
                     keptShown_.end());
    readRows(false);
    endResetModel();
}

void FindFilterModel::followRowsChanged(void (FindFilterModel::*endPassedOn)()) {
    if (filtering()) {
        followSourceReset();
    } else {
        readRows(false);
        (this->*endPassedOn)();
    }
}

void FindFilterModel::readRows(bool narrowing) {
    const int count = sourceModel()->rowCount();
    const int width = entries_.entryNumberWidth();
    auto shown = [&](int row) {
        return search_.matches(entries_.entryName(row), entries_.entryNumber(row), width) ||
               std::find(keptShown_.begin(), keptShown_.end(), row) != keptShown_.end();
    };
    if (!filtering()) {
        rows_.clear();
        rows_.shrink_to_fit();
    } else if (narrowing) {
        rows_.erase(std::remove_if(rows_.begin(), rows_.end(), [&](int row) { return !shown(row); }), rows_.end());
    } else {
        rows_.clear();
        for (int row = 0; row < count; ++row) {
            if (shown(row)) {
                rows_.push_back(row);
            }
        }
    }
    shownCount_ = filtering() ? static_cast<int>(rows_.size()) : count;
}

void FindFilterModel::keepShown(int sourceRow) {
    if (!filtering() || sourceRow < 0 || sourceRow >= sourceModel()->rowCount() || rowOf(sourceRow)) {
        return;
    }
    keptShown_.push_back(sourceRow);
    const auto at = std::lower_bound(rows_.begin(), rows_.end(), sourceRow);
    const int row = static_cast<int>(at - rows_.begin());
    beginInsertRows({}, row, row);
    rows_.insert(at, sourceRow);
    shownCount_ = static_cast<int>(rows_.size());
    endInsertRows();
}

std::optional<int> FindFilterModel::rowOf(int sourceRow) const {
    if (sourceRow < 0 || sourceRow >= sourceModel()->rowCount()) {
        return std::nullopt;
    }
    if (!filtering()) {
        return sourceRow;
    }
    const auto at = std::lower_bound(rows_.begin(), rows_.end(), sourceRow);
    if (at == rows_.end() || *at != sourceRow) {
        return std::nullopt;
    }
    return static_cast<int>(at - rows_.begin());
}

QModelIndex FindFilterModel::mapToSource(const QModelIndex& proxyIndex) const {
    if (!proxyIndex.isValid() || proxyIndex.row() >= rowCount()) {
        return {};
    }
    return sourceModel()->index(sourceRow(proxyIndex.row()), proxyIndex.column());
}

QModelIndex FindFilterModel::mapFromSource(const QModelIndex& sourceIndex) const {
    if (!sourceIndex.isValid()) {
        return {};
    }
    const std::optional<int> row = rowOf(sourceIndex.row());
    return row ? index(*row, sourceIndex.column()) : QModelIndex();
}

QModelIndex FindFilterModel::index(int row, int column, const QModelIndex& parent) const {
    // Asked for every row whenever the view lays the list out: nothing here reads the source.
    if (parent.isValid() || row < 0 || row >= shownCount_ || column != 0) {
        return {};
    }
    return createIndex(row, column);
}

int FindFilterModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shownCount_;
}

FindBar::FindBar(FindFilterModel* filter, QListView* list, QWidget* parent, bool takesFindShortcut)
    : QWidget(parent), filter_(filter), list_(list), box_(new QLineEdit(this)), count_(new QLabel(this)) {
    auto* label = new QLabel(tr("Find:"), this);
    label->setBuddy(box_);
    box_->setObjectName("FindBox");
    box_->setClearButtonEnabled(true);
    box_->installEventFilter(this);
    count_->setObjectName("FindCount");
    count_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // The count has a line of its own under the box, so that the bar is no wider than the list
    // under it.
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setVerticalSpacing(1);
    layout->addWidget(label, 0, 0);
    layout->addWidget(box_, 0, 1);
    layout->addWidget(count_, 1, 1, Qt::AlignRight);
    layout->setColumnStretch(1, 1);
    box_->setMinimumWidth(box_->fontMetrics().averageCharWidth() * 8);

    if (takesFindShortcut) {
        auto* find = new QAction(tr("Find"), this);
        find->setObjectName("Action_Find");
        find->setShortcut(QKeySequence::Find);
        find->setShortcutContext(Qt::WindowShortcut);
        addAction(find);
        connect(find, &QAction::triggered, this, [this] {
            box_->setFocus(Qt::ShortcutFocusReason);
            box_->selectAll();
        });
    }

    connect(box_, &QLineEdit::textChanged, filter_, &FindFilterModel::setSearchText);
    connect(filter_, &QAbstractItemModel::modelReset, this, &FindBar::showCount);
    connect(filter_, &QAbstractItemModel::rowsInserted, this, &FindBar::showCount);
    connect(filter_, &QAbstractItemModel::rowsRemoved, this, &FindBar::showCount);
    showCount();
}

QString FindBar::countText() const {
    const QLocale locale;
    return tr("%1 of %2").arg(locale.toString(filter_->rowCount()), locale.toString(filter_->entryCount()));
}

void FindBar::showCount() {
    // The count keeps the width of the widest count of this many entries, so that a keystroke
    // changes the text of one label and never the layout of the window around it.
    const QLocale locale;
    const QFontMetrics metrics = count_->fontMetrics();
    QChar widestDigit = u'0';
    for (char16_t digit = u'1'; digit <= u'9'; ++digit) {
        if (metrics.horizontalAdvance(QChar(digit)) > metrics.horizontalAdvance(widestDigit)) {
            widestDigit = QChar(digit);
        }
    }
    QString widest = tr("%1 of %2").arg(locale.toString(filter_->entryCount()), locale.toString(filter_->entryCount()));
    for (QChar& c : widest) {
        if (c.isDigit()) {
            c = widestDigit;
        }
    }
    const QMargins margins = count_->contentsMargins();
    const QSize size(metrics.horizontalAdvance(widest) + margins.left() + margins.right() + 2 * count_->margin(),
                     count_->sizeHint().height());
    count_->setText(countText());
    if (count_->minimumSize() != size || count_->maximumSize() != size) {
        count_->setFixedSize(size);
    }
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched != box_ || event->type() != QEvent::KeyPress) {
        return QWidget::eventFilter(watched, event);
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Escape:
        if (box_->text().isEmpty()) {
            return false; // the window's own Escape, a picker's Discard
        }
        box_->clear();
        return true;
    case Qt::Key_Down:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (filter_->rowCount() > 0) {
            list_->setFocus(Qt::TabFocusReason);
            list_->setCurrentIndex(filter_->index(0, 0));
        }
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

} // namespace keel
