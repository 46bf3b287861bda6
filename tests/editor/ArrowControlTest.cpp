// SPDX-License-Identifier: MIT
// The arrow control standing alone and attached to an edit box, and the code page of texts.
#include "editor/ArrowControl.h"
#include "editor/CodePage.h"
#include "editor/CodePageValidator.h"

#include "support/WindowDriver.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using namespace keel;

class ArrowControlTest : public QObject {
    Q_OBJECT

private slots:
    // The keys of the attached box: Up and Down step by one, Page Up and Page Down by a page,
    // which stops at the end of the range; only from the end does a wrapping control go round.
    void theKeysOfTheAttachedBoxStepIt() {
        QLineEdit edit;
        ArrowControl arrows;
        arrows.setRange(0, 12);
        arrows.setBuddy(&edit);
        edit.setText("5");
        QTest::keyClick(&edit, Qt::Key_Up);
        QCOMPARE(edit.text(), QString("6"));
        QTest::keyClick(&edit, Qt::Key_PageUp);
        QCOMPARE(edit.text(), QString("12"));
        QTest::keyClick(&edit, Qt::Key_PageUp);
        QCOMPARE(edit.text(), QString("12"));
        arrows.setWrap(true);
        QTest::keyClick(&edit, Qt::Key_PageUp);
        QCOMPARE(edit.text(), QString("0"));
        QTest::keyClick(&edit, Qt::Key_Down);
        QCOMPARE(edit.text(), QString("12"));
        QTest::keyClick(&edit, Qt::Key_PageDown);
        QCOMPARE(edit.text(), QString("2"));
        // Other keys still reach the box, and a disabled control steps nothing.
        QTest::keyClick(&edit, Qt::Key_End);
        QTest::keyClicks(&edit, "1");
        QCOMPARE(edit.text(), QString("21"));
        arrows.setEnabled(false);
        QTest::keyClick(&edit, Qt::Key_Up);
        QCOMPARE(edit.text(), QString("21"));
    }

    void stepsWithinItsRangeAndStopsOrWrapsAtTheEnds() {
        ArrowControl arrows;
        arrows.setRange(0, 2);
        arrows.setPosition(1);
        QSignalSpy stepped(&arrows, &ArrowControl::stepped);
        QTest::mouseClick(arrows.upButton(), Qt::LeftButton);
        QCOMPARE(arrows.position(), 2);
        QTest::mouseClick(arrows.upButton(), Qt::LeftButton);
        QCOMPARE(arrows.position(), 2);
        QCOMPARE(stepped.count(), 1); // an arrow that cannot move emits nothing

        arrows.setWrap(true);
        QTest::mouseClick(arrows.upButton(), Qt::LeftButton);
        QCOMPARE(arrows.position(), 0);
        QTest::mouseClick(arrows.downButton(), Qt::LeftButton);
        QCOMPARE(arrows.position(), 2);

        arrows.setPosition(99);
        QCOMPARE(arrows.position(), 2);
        arrows.setRange(5, 10);
        QCOMPARE(arrows.position(), 5);

        // An empty range, as a stepper over no records has, never moves.
        arrows.setRange(0, -1);
        QTest::mouseClick(arrows.downButton(), Qt::LeftButton);
        QTest::mouseClick(arrows.upButton(), Qt::LeftButton);
        QCOMPARE(stepped.count(), 3);
    }

    void attachedItTakesTheTypedValueAndWritesAPlainWholeNumber() {
        QLineEdit edit;
        ArrowControl arrows;
        arrows.setRange(-32767, 32767);
        arrows.setBuddy(&edit);
        QStringList written;
        connect(&edit, &QLineEdit::textChanged, [&](const QString& text) { written << text; });

        edit.setText("999");
        written.clear();
        QTest::mouseClick(arrows.upButton(), Qt::LeftButton);
        QCOMPARE(edit.text(), QString("1000")); // no grouping character
        QCOMPARE(written, QStringList({"1000"}));

        // A typed value beyond the limits counts from the limit.
        edit.setText("70000");
        QTest::mouseClick(arrows.downButton(), Qt::LeftButton);
        QCOMPARE(edit.text(), QString("32766"));
        // Text that is no number leaves the last position.
        edit.setText("abc");
        QTest::mouseClick(arrows.downButton(), Qt::LeftButton);
        QCOMPARE(edit.text(), QString("32765"));
    }

    void aStepperCanCountDownwardsWithItsUpperArrow() {
        ArrowControl stepper;
        stepper.setUpArrowLowers(true);
        stepper.setRange(0, 5);
        stepper.setPosition(3);
        QTest::mouseClick(stepper.upButton(), Qt::LeftButton);
        QCOMPARE(stepper.position(), 2);
        QTest::mouseClick(stepper.downButton(), Qt::LeftButton);
        QCOMPARE(stepper.position(), 3);
    }

    void everyByteSurvivesTheWayToTheScreenAndBack() {
        std::string all;
        for (int byte = 1; byte < 256; ++byte) {
            all.push_back(static_cast<char>(byte));
        }
        const QString text = textFromBytes(all);
        QCOMPARE(text.size(), 255);
        QCOMPARE(text.at(0x80 - 1), QChar(0x20AC)); // the euro sign
        QCOMPARE(text.at(0xE9 - 1), QChar(0xE9));
        QCOMPARE(bytesFromText(text), std::optional<std::string>(all));
        QCOMPARE(bytesFromText(QString::fromUtf8("\u65E5")), std::nullopt);
    }

    void editBoxesRefuseCharactersTheCodePageLacks() {
        QLineEdit edit;
        edit.setValidator(new CodePageValidator(&edit));
        edit.setMaxLength(19);
        for (QChar typed : QString::fromUtf8("Caf\u00E9 \u20AC\u65E5!")) {
            QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, QString(typed), Qt::NoModifier);
        }
        QCOMPARE(edit.text(), QString::fromUtf8("Caf\u00E9 \u20AC!"));
    }
};

QTEST_MAIN(ArrowControlTest)
#include "ArrowControlTest.moc"
