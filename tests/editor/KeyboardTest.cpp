// SPDX-License-Identifier: MIT
// A record editor worked from the keyboard alone: the find box, the record list's keys, the
// stepper and the order of Tab.
#include "editor/FindFilter.h"
#include "launchers/LauncherRecord.h"
#include "launchers/TLauncherForm.h"

#include "support/RecordBytes.h"
#include "support/ScriptedDialogService.h"
#include "support/WindowDriver.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace keel;
using namespace keel::test;
using Answer = DialogService::Answer;
using L = LauncherRecord;

namespace {

struct Launchers {
    Launchers()
        : master(concatenated({namedRecord(L::Size, "127mm Gun", 0), namedRecord(L::Size, "SAM VLS", 0),
                               namedRecord(L::Size, "Twin SAM Rail", 0), namedRecord(L::Size, "Torpedo Tube", 0)})) {
        form = std::make_unique<TLauncherForm>(master, dialogs);
        form->showEditor();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QApplication::setActiveWindow(form.get());
        QTRY_VERIFY(form->isActiveWindow());
    }
    QLineEdit* findBox() const { return form->findBar()->box(); }
    QString shownName() const { return control<QLineEdit>(*form, "LauncherName")->text(); }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }

    ByteVector master;
    ScriptedDialogService dialogs;
    std::unique_ptr<TLauncherForm> form;
};

} // namespace

class KeyboardTest : public QObject {
    Q_OBJECT

private slots:
    void findShowsTheMatchingEntriesWithTheirOwnLines() {
        Launchers editor;
        editor.key(Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(QApplication::focusWidget(), editor.findBox());
        QTest::keyClicks(editor.findBox(), "sam");
        QCOMPARE(entries(editor.form->recordList()), QStringList({"002: SAM VLS", "003: Twin SAM Rail"}));
        QCOMPARE(editor.form->findBar()->countText(), QString("2 of 4"));
        // Down moves to the first entry shown, Down again to the next, Enter shows it.
        editor.key(Qt::Key_Down);
        editor.key(Qt::Key_Down);
        editor.key(Qt::Key_Return);
        QCOMPARE(editor.shownName(), QString("Twin SAM Rail"));
        QCOMPARE(editor.form->currentPosition(), std::optional<std::size_t>(2));
        // The stepper steps through the entries shown.
        QTest::mouseClick(editor.form->recordStepper()->upButton(), Qt::LeftButton);
        QCOMPARE(editor.shownName(), QString("SAM VLS"));
        // A record added while a text is there is shown, matching or not, until the text changes.
        trigger(*editor.form, "Action_AddRecord");
        QCOMPARE(entries(editor.form->recordList()).last(), QString("005: New Launcher"));
        QTest::keyClick(editor.findBox(), Qt::Key_Escape);
        QCOMPARE(editor.findBox()->text(), QString());
        QCOMPARE(editor.form->recordList()->model()->rowCount(), 5);
    }

    void theRecordListAnswersEnterSpaceDeleteAndTheMenuKeys() {
        Launchers editor;
        QListView* list = editor.form->recordList();
        list->setFocus();
        list->setCurrentIndex(list->model()->index(1, 0));
        editor.key(Qt::Key_Space);
        QCOMPARE(editor.shownName(), QString("SAM VLS"));
        typeInto(control<QLineEdit>(*editor.form, "LauncherName"), "SAM VLS 32");
        list->setFocus();
        list->setCurrentIndex(list->model()->index(0, 0));
        editor.dialogs.answer(Answer::No);
        editor.key(Qt::Key_Enter);
        QCOMPARE(editor.dialogs.texts(), QStringList({"Do you wish to retain changes made to SAM VLS 32?"}));
        QCOMPARE(editor.shownName(), QString("127mm Gun"));
        QCOMPARE(editor.form->entryText(1), QString("002: SAM VLS"));

        for (const Qt::Key menuKey : {Qt::Key_Menu, Qt::Key_F10}) {
            editor.key(menuKey, menuKey == Qt::Key_F10 ? Qt::ShiftModifier : Qt::NoModifier);
            QTRY_VERIFY(editor.form->recordMenu()->isVisible());
            editor.form->recordMenu()->hide();
        }
        list->setFocus();
        list->setCurrentIndex(list->model()->index(3, 0));
        editor.key(Qt::Key_Delete);
        QCOMPARE(entries(list), QStringList({"001: 127mm Gun", "002: SAM VLS", "003: Twin SAM Rail"}));
    }

    void tabGoesInReadingOrderAndTheStepperStepsWithTheArrowKeys() {
        Launchers editor;
        editor.findBox()->setFocus();
        QCOMPARE(QApplication::focusWidget(), editor.findBox());
        QStringList visited;
        for (int i = 0; i < 5; ++i) {
            editor.key(Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, QStringList({"LauncherList", "UpDown_RecordNum", "LauncherName", "weap0", "quant0"}));
        QWidget* stepper = editor.form->recordStepper();
        stepper->setFocus();
        editor.key(Qt::Key_Down);
        QCOMPARE(editor.shownName(), QString("SAM VLS"));
        editor.key(Qt::Key_Up);
        QCOMPARE(editor.shownName(), QString("127mm Gun"));
    }
};

QTEST_MAIN(KeyboardTest)
#include "KeyboardTest.moc"
