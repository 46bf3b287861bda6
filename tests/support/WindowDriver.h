// SPDX-License-Identifier: MIT
#pragma once

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <QToolButton>
#include <QWidget>

namespace keel::test {

// Drives windows the way a user does: by the names of their controls.
template <typename Control> Control* control(const QWidget& window, const QString& name) {
    auto* found = window.findChild<Control*>(name);
    if (found == nullptr) {
        qFatal("no control named %s in %s", qPrintable(name), qPrintable(window.objectName()));
    }
    return found;
}

inline void clickEntry(QListView* list, int row) {
    const QModelIndex index = list->model()->index(row, 0);
    list->scrollTo(index);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
}

inline void doubleClickEntry(QListView* list, int row) {
    const QModelIndex index = list->model()->index(row, 0);
    list->scrollTo(index);
    const QPoint at = list->visualRect(index).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

inline QString entry(QListView* list, int row) {
    return list->model()->index(row, 0).data().toString();
}

inline QStringList entries(QListView* list) {
    QStringList all;
    for (int row = 0; row < list->model()->rowCount(); ++row) {
        all << entry(list, row);
    }
    return all;
}

// Replaces an edit box's text by typing, as a user who selected it all would.
inline void typeInto(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    if (text.isEmpty()) {
        QTest::keyClick(edit, Qt::Key_Delete);
    } else {
        QTest::keyClicks(edit, text);
    }
}

// Replaces an edit box's text in one change, as pasting over a selection does.
inline void pasteInto(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    edit->insert(text);
}

// Clicks a check box on its indicator, which a short caption may not reach the middle of.
inline void clickCheckBox(QCheckBox* check) {
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(6, check->height() / 2));
}

inline void trigger(const QWidget& window, const QString& actionName) {
    control<QAction>(window, actionName)->trigger();
}

} // namespace keel::test
