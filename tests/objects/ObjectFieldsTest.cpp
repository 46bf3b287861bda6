// SPDX-License-Identifier: MIT
// The object editor's field controls: what each one shows, what it stores, and what it refuses.
#include "objects/ObjectRecord.h"
#include "objects/TObjectForm.h"

#include "common/NameCompare.h"
#include "support/RecordBytes.h"
#include "support/ScriptedDialogService.h"
#include "support/WindowDriver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QTest>

#include <memory>
#include <random>
#include <set>

using namespace keel;
using namespace keel::test;
using R = ObjectRecord;
using Kind = ScriptedDialogService::Shown::Kind;

namespace {

struct ObjectEditor {
    explicit ObjectEditor(ByteVector file, std::set<std::string> threeDNames = {}) : master(std::move(file)) {
        form = std::make_unique<TObjectForm>(master, dialogs);
        threeD = std::move(threeDNames);
        form->setThreeDObjectQuery([this](ConstByteSpan name) {
            return threeD.count(editorNameKey(name)) > 0;
        });
        form->showEditor();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        doubleClickEntry(form->recordList(), 0);
    }
    QLineEdit* edit(const QString& name) const { return control<QLineEdit>(*form, name); }
    ArrowControl* arrows(const QString& name) const { return control<ArrowControl>(*form, "UpDown_" + name); }
    ConstByteSpan record() const { return form->records().record(*form->currentPosition()); }
    bool enabled(const QString& name) const { return control<QWidget>(*form, name)->isEnabled(); }
    void chooseType(int code) const { control<QComboBox>(*form, "ObjType")->setCurrentIndex(code - 1); }

    ByteVector master;
    ScriptedDialogService dialogs;
    std::set<std::string> threeD; // upper-cased names of 3D objects
    std::unique_ptr<TObjectForm> form;
};

} // namespace

class ObjectFieldsTest : public QObject {
    Q_OBJECT

private slots:
    void showsEveryKindOfNumberAsTheFileHoldsIt() {
        ByteVector record = objectRecord("Frigate", 2);
        R::MastHeight.write(record, -5);
        R::MinBurn.write(record, 65535);
        R::MaxAlt.write(record, -100000);
        R::DragCoeff.write(record, 0.3f);
        R::MisPri.write(record, 3, 5);
        R::SimType.write(record, "ship", TextOverflow::Refuse);
        R::missileCaps.write(record, 0x21);
        ObjectEditor editor(record);
        QCOMPARE(editor.edit("MastHeight")->text(), QString("-5"));
        QCOMPARE(editor.edit("MinBurn")->text(), QString("65535"));
        QCOMPARE(editor.edit("MaxAlt")->text(), QString("-100000"));
        QCOMPARE(editor.edit("DragCoeff")->text(), QString("0.300000011920929"));
        QCOMPARE(editor.edit("MisPri3")->text(), QString("5"));
        QCOMPARE(control<QComboBox>(*editor.form, "SimType")->currentText(), QString("ship"));
        QCOMPARE(control<QComboBox>(*editor.form, "ObjType")->currentText(), QString("Surf"));
        QVERIFY(control<QCheckBox>(*editor.form, "missileCaps1")->isChecked());
        QVERIFY(control<QCheckBox>(*editor.form, "missileCaps32")->isChecked());
        QVERIFY(!control<QCheckBox>(*editor.form, "missileCaps2")->isChecked());
        QVERIFY(!editor.form->recordChanged());
    }

    void showingRecordsNeverChangesAByte() {
        // Records of random bytes, with names, are shown one after the other and committed:
        // every byte comes back as it was, whatever the controls made of it.
        std::mt19937 random(7);
        ByteVector file(20 * R::Size);
        for (Byte& byte : file) {
            byte = static_cast<Byte>(random());
        }
        for (int i = 0; i < 20; ++i) {
            const ByteSpan record = ByteSpan(file).subspan(static_cast<std::size_t>(i) * R::Size, R::Size);
            R::ObjectName.write(record, "Object " + std::string(1, char('A' + i)), TextOverflow::Refuse);
        }
        const ByteVector original = file;
        ObjectEditor editor(file);
        for (int i = 0; i < 20; ++i) {
            doubleClickEntry(editor.form->recordList(), i);
            QVERIFY(!editor.form->recordChanged());
        }
        QVERIFY(editor.dialogs.shown().isEmpty());
        // Looking at records copies none of them: the editor still reads them in the master.
        QVERIFY(editor.form->records().readsIn(editor.master));
        editor.form->commit();
        QCOMPARE(editor.master, original); // already in name order
        QVERIFY(editor.form->records().readsIn(editor.master));
    }

    // Laptops of 1366 x 768 pixels are common among our users; the window, with its frame and
    // a task bar, has to fit.
    void theWindowFitsALaptopScreen() {
        ObjectEditor editor(objectRecord("Frigate", 2));
        const QSize size = editor.form->size();
        QVERIFY2(size.width() <= 1340 && size.height() <= 690,
                 qPrintable(QString("%1 x %2").arg(size.width()).arg(size.height())));
    }

    // The warning appearing and going neither resizes the window nor moves a control, and the
    // fifteen-digit floats fit their boxes.
    void theWindowKeepsItsSizeAndItsControlsTheirPlaces() {
        ByteVector wide = objectRecord("Frigate", 2);
        R::TurnRadius.write(wide, -12345.678f);
        R::SoundLevel.write(wide, 0.400000006f);
        ObjectEditor editor(concatenated({wide, objectRecord("Lacking", 2)}), {"FRIGATE"});
        QVERIFY(!editor.form->threeDWarningShown());
        const QSize size = editor.form->size();
        const QRect list = editor.form->recordList()->geometry();
        const QPoint name = editor.edit("ObjectName")->mapTo(editor.form.get(), QPoint());
        for (const char* field : {"TurnRadius", "SoundLevel", "DragCoeff"}) {
            QLineEdit* edit = editor.edit(field);
            edit->setText(edit->text()); // as shown, in full
            QVERIFY2(edit->fontMetrics().horizontalAdvance("-0.400000005960464") + 8 <= edit->width(), field);
        }
        doubleClickEntry(editor.form->recordList(), 1);
        QVERIFY(editor.form->threeDWarningShown());
        QTest::qWait(20);
        QCOMPARE(editor.form->size(), size);
        QCOMPARE(editor.form->recordList()->geometry(), list);
        QCOMPARE(editor.edit("ObjectName")->mapTo(editor.form.get(), QPoint()), name);
    }

    // Up and Down in a spin field step it as its arrows do, within the same limits; Page Up
    // and Page Down step it further.
    void theKeysStepASpinFieldAsItsArrowsDo() {
        ByteVector record = objectRecord("Frigate", 2);
        R::MaxSpeed.write(record, 30);
        R::MinSpeed.write(record, 25);
        R::maxPitch.write(record, 85);
        ObjectEditor editor(record);
        QLineEdit* minSpeed = editor.edit("MinSpeed");
        minSpeed->setFocus();
        QTest::keyClick(minSpeed, Qt::Key_Up);
        QCOMPARE(R::MinSpeed.read(editor.record()), std::int16_t(26));
        QCOMPARE(minSpeed->text(), QString("26"));
        QVERIFY(editor.form->recordChanged());
        QTest::keyClick(minSpeed, Qt::Key_PageUp);
        QCOMPARE(R::MinSpeed.read(editor.record()), std::int16_t(30)); // held by Max Speed
        QTest::keyClick(minSpeed, Qt::Key_Up);
        QCOMPARE(R::MinSpeed.read(editor.record()), std::int16_t(30));
        QTest::keyClick(minSpeed, Qt::Key_PageDown);
        QCOMPARE(R::MinSpeed.read(editor.record()), std::int16_t(20));
        QTest::keyClick(minSpeed, Qt::Key_Down);
        QCOMPARE(R::MinSpeed.read(editor.record()), std::int16_t(19));

        QLineEdit* pitch = editor.edit("maxPitch");
        pitch->setFocus();
        QTest::keyClick(pitch, Qt::Key_PageUp);
        QCOMPARE(R::maxPitch.read(editor.record()), 90);
        QTest::keyClick(pitch, Qt::Key_Down);
        QCOMPARE(R::maxPitch.read(editor.record()), 89);
        QTest::keyClick(pitch, Qt::Key_Up);
        QTest::keyClick(pitch, Qt::Key_Up);
        QCOMPARE(R::maxPitch.read(editor.record()), 90);
        // A float with arrows steps by whole numbers too.
        QLineEdit* turn = editor.edit("TurnRadius");
        turn->setFocus();
        QTest::keyClick(turn, Qt::Key_Up);
        QCOMPARE(R::TurnRadius.read(editor.record()), 1.0f);
        QVERIFY(editor.dialogs.shown().isEmpty());
    }

    void theTypeSwitchesTheBoxes() {
        ObjectEditor editor(objectRecord("Frigate", 2));
        QVERIFY(editor.enabled("SoundLevel"));
        QVERIFY(editor.enabled("cmCaps1"));
        QVERIFY(!editor.enabled("DetProb"));
        QVERIFY(!editor.enabled("Range"));
        QVERIFY(!editor.enabled("missileCaps1"));

        editor.chooseType(8); // Missile
        QCOMPARE(R::ObjType.read(editor.record()), std::int16_t(8));
        QVERIFY(editor.form->recordChanged());
        QVERIFY(!editor.enabled("SoundLevel"));
        QVERIFY(!editor.enabled("cmCaps1"));
        QVERIFY(editor.enabled("DetProb"));
        QVERIFY(editor.enabled("missileCaps1"));
        QVERIFY(editor.enabled("targetCaps1"));
        QVERIFY(editor.enabled("Range"));
        QVERIFY(editor.enabled("RangeLabel"));

        editor.chooseType(3); // Air: the range stays, the weapon box goes
        QVERIFY(editor.enabled("Range"));
        QVERIFY(!editor.enabled("DetProb"));
        QVERIFY(editor.enabled("Fuel"));
        editor.chooseType(4); // Helo
        QVERIFY(editor.enabled("NumBuoys"));
        editor.chooseType(11); // DownedPilot: nothing of its own
        for (const char* name : {"Fuel", "SoundLevel", "NumBuoys", "DetProb", "Range", "cmCaps1", "targetCaps1"}) {
            QVERIFY2(!editor.enabled(name), name);
        }
        QVERIFY(editor.enabled("Points"));
        QVERIFY(editor.enabled("MisPri0"));
    }

    void theWarningFollowsTheTypeAndTheName() {
        ObjectEditor editor(concatenated({objectRecord("Frigate", 2), objectRecord("Shell 5in", 9),
                                    objectRecord("Bullet", 10), objectRecord("Seahawk", 4),
                                    objectRecord("Pilot", 11), objectRecord("Odd", 12), objectRecord("Zero", 0)}),
                            {"FRIGATE"});
        QVERIFY(!editor.form->threeDWarningShown());
        const std::vector<bool> expected{false, false, false, true, true, true, true};
        for (int i = 0; i < 7; ++i) {
            doubleClickEntry(editor.form->recordList(), i);
            QCOMPARE(editor.form->threeDWarningShown(), expected[static_cast<std::size_t>(i)]);
        }
        // Renaming to a 3D object's name in other letter case hides it at once.
        doubleClickEntry(editor.form->recordList(), 3);
        typeInto(editor.edit("ObjectName"), "frigate");
        QVERIFY(!editor.form->threeDWarningShown());
        // A shell needs none.
        editor.dialogs.answer(DialogService::Answer::Yes);
        doubleClickEntry(editor.form->recordList(), 4);
        QVERIFY(editor.form->threeDWarningShown());
        editor.chooseType(9);
        QVERIFY(!editor.form->threeDWarningShown());
    }

    void dragCoefficientIsBelowOne() {
        ObjectEditor editor(objectRecord("Frigate", 2));
        typeInto(editor.edit("DragCoeff"), "2");
        QCOMPARE(R::DragCoeff.read(editor.record()), 1.0f);
        QCOMPARE(editor.edit("DragCoeff")->text(), QString("1"));
        typeInto(editor.edit("DragCoeff"), "0.5");
        QCOMPARE(R::DragCoeff.read(editor.record()), 0.5f);
        pasteInto(editor.edit("DragCoeff"), "-3.25");
        QCOMPARE(R::DragCoeff.read(editor.record()), -3.25f);
        // However large, a number of 1 or more is 1, even beyond what a float holds.
        pasteInto(editor.edit("DragCoeff"), "1e39");
        QCOMPARE(R::DragCoeff.read(editor.record()), 1.0f);
        QCOMPARE(editor.edit("DragCoeff")->text(), QString("1"));
        QVERIFY(editor.dialogs.shown().isEmpty());
        pasteInto(editor.edit("DragCoeff"), "-1e39");
        QCOMPARE(editor.dialogs.shown().last().text, QString("'-1e39' is not a valid floating point value"));
        QCOMPARE(R::DragCoeff.read(editor.record()), 1.0f);
    }

    void spinFieldsKeepTheirLastValidValue() {
        ObjectEditor editor(objectRecord("Frigate", 2));
        typeInto(editor.edit("maxPitch"), "45");
        QCOMPARE(R::maxPitch.read(editor.record()), 45);
        typeInto(editor.edit("maxPitch"), "100");
        QCOMPARE(R::maxPitch.read(editor.record()), 10); // "1" and "10" were valid on the way
        typeInto(editor.edit("maxPitch"), "x");
        QCOMPARE(R::maxPitch.read(editor.record()), 10);
        QVERIFY(editor.dialogs.shown().isEmpty());
        typeInto(editor.edit("MisPri2"), "9");
        QCOMPARE(R::MisPri.read(editor.record(), 2), std::uint8_t(0));
        typeInto(editor.edit("MisPri2"), "6");
        QCOMPARE(R::MisPri.read(editor.record(), 2), std::uint8_t(6));
    }

    void arrowsWritePlainNumbersThatAreStored() {
        ByteVector record = objectRecord("Frigate", 2);
        R::MastHeight.write(record, 998);
        ObjectEditor editor(record);
        QTest::mouseClick(editor.arrows("MastHeight")->upButton(), Qt::LeftButton);
        QTest::mouseClick(editor.arrows("MastHeight")->upButton(), Qt::LeftButton);
        QCOMPARE(editor.edit("MastHeight")->text(), QString("1000"));
        QCOMPARE(R::MastHeight.read(editor.record()), std::int16_t(1000));
        QVERIFY(editor.form->recordChanged());
    }

    void minimumAndMaximumBoundEachOthersArrows() {
        ObjectEditor editor(objectRecord("Frigate", 2));
        typeInto(editor.edit("MaxSpeed"), "300");
        typeInto(editor.edit("MinSpeed"), "299");
        QTest::mouseClick(editor.arrows("MinSpeed")->upButton(), Qt::LeftButton);
        QTest::mouseClick(editor.arrows("MinSpeed")->upButton(), Qt::LeftButton);
        QCOMPARE(R::MinSpeed.read(editor.record()), std::int16_t(300));
        // Typed, a number beyond the partner is stored as typed.
        typeInto(editor.edit("MinSpeed"), "500");
        QCOMPARE(R::MinSpeed.read(editor.record()), std::int16_t(500));
        // And the maximum's arrows cannot go below the minimum.
        QCOMPARE(editor.arrows("MaxSpeed")->minimum(), 300);

        typeInto(editor.edit("MinAlt"), "-200");
        QCOMPARE(editor.arrows("MaxAlt")->minimum(), -200);
        QCOMPARE(R::MinAlt.read(editor.record()), -200);
    }

    // The limits the partners set are this record's, whichever record was shown before and
    // however it came to be shown: from the list, by the stepper, or undone by No.
    void theArrowLimitsFollowTheRecordOnScreen() {
        struct Pair {
            const char* maximum;
            const char* minimum;
            IntegerField maximumField;
            IntegerField minimumField;
        };
        for (const Pair& pair : {Pair{"MaxSpeed", "MinSpeed", R::MaxSpeed, R::MinSpeed},
                                 Pair{"MaxAlt", "MinAlt", R::MaxAlt, R::MinAlt},
                                 Pair{"MaxBurn", "MinBurn", R::MaxBurn, R::MinBurn}}) {
            ByteVector fast = objectRecord("Fast", 3); // aircraft, whose burn rates are enabled
            ByteVector slow = objectRecord("Slow", 3);
            pair.maximumField.write(fast, 300);
            pair.minimumField.write(fast, 100);
            pair.maximumField.write(slow, 50);
            pair.minimumField.write(slow, 10);
            ObjectEditor editor(concatenated({fast, slow})); // Fast is on screen
            QTest::mouseClick(editor.form->recordStepper()->downButton(), Qt::LeftButton); // Slow
            for (int click = 0; click < 60; ++click) {
                QTest::mouseClick(editor.arrows(pair.minimum)->upButton(), Qt::LeftButton);
            }
            QCOMPARE(pair.minimumField.read(editor.record()), std::int64_t(50));
            for (int click = 0; click < 60; ++click) {
                QTest::mouseClick(editor.arrows(pair.maximum)->downButton(), Qt::LeftButton);
            }
            QCOMPARE(pair.maximumField.read(editor.record()), std::int64_t(50)); // not below 50
            QCOMPARE(pair.minimumField.read(editor.record()), std::int64_t(50));

            // Undone by No, the record is shown as it was, and so are its limits; then the way
            // back to the fast record gives its own.
            editor.dialogs.answer(DialogService::Answer::No);
            doubleClickEntry(editor.form->recordList(), 1);
            QCOMPARE(pair.minimumField.read(editor.record()), std::int64_t(10));
            QCOMPARE(editor.arrows(pair.minimum)->maximum(), 50);
            QCOMPARE(editor.arrows(pair.maximum)->minimum(), 10);
            doubleClickEntry(editor.form->recordList(), 0);
            QCOMPARE(editor.arrows(pair.minimum)->maximum(), 300);
            for (int click = 0; click < 250; ++click) {
                QTest::mouseClick(editor.arrows(pair.maximum)->downButton(), Qt::LeftButton);
            }
            QCOMPARE(pair.maximumField.read(editor.record()), std::int64_t(100));
            QVERIFY(editor.dialogs.unexpected().isEmpty());
        }
    }

    // A priority byte is shown whole; the one-character limit is for typing, and an arrow
    // steps from the stored value, never from its first digit.
    void prioritiesOfSeveralDigitsShowWhole() {
        ByteVector record = objectRecord("Frigate", 2);
        R::MisPri.write(record, 0, 12);
        R::MisPri.write(record, 1, 200);
        ObjectEditor editor(record);
        QCOMPARE(editor.edit("MisPri0")->text(), QString("12"));
        QCOMPARE(editor.edit("MisPri1")->text(), QString("200"));
        QTest::mouseClick(editor.arrows("MisPri0")->upButton(), Qt::LeftButton);
        QCOMPARE(R::MisPri.read(editor.record(), 0), std::uint8_t(12)); // beyond 6: no step up
        QTest::mouseClick(editor.arrows("MisPri0")->downButton(), Qt::LeftButton);
        QCOMPARE(R::MisPri.read(editor.record(), 0), std::uint8_t(5));
        QCOMPARE(editor.edit("MisPri0")->text(), QString("5"));
        // Typing is held to one character again.
        typeInto(editor.edit("MisPri1"), "34");
        QCOMPARE(editor.edit("MisPri1")->text(), QString("3"));
        QCOMPARE(R::MisPri.read(editor.record(), 1), std::uint8_t(3));
    }

    void simTypeStoresWhatIsTypedWithoutCompletingIt() {
        ObjectEditor editor(objectRecord("Frigate", 2));
        auto* simType = control<QComboBox>(*editor.form, "SimType");
        typeInto(simType->lineEdit(), "s");
        QCOMPARE(simType->currentText(), QString("s"));
        QCOMPARE(R::SimType.read(editor.record()), std::string("s"));
        QTest::keyClicks(simType->lineEdit(), "ub");
        QCOMPARE(R::SimType.read(editor.record()), std::string("sub"));
    }

    // Numbers are read in the user's own format only: in a German locale "1.000" is no number,
    // "1,5" is one and a half, and numbers show with a comma.
    void floatsAreReadInTheUsersFormatOnly() {
        const QLocale previous;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        ByteVector record = objectRecord("Frigate", 2);
        R::TurnRadius.write(record, 0.3f);
        {
            ObjectEditor editor(record);
            QCOMPARE(editor.edit("TurnRadius")->text(), QString("0,300000011920929"));
            pasteInto(editor.edit("TurnRadius"), "1.000");
            QCOMPARE(editor.dialogs.shown().size(), 1);
            QCOMPARE(editor.dialogs.shown().last().text, QString("'1.000' is not a valid floating point value"));
            QCOMPARE(R::TurnRadius.read(editor.record()), 0.3f);
            pasteInto(editor.edit("TurnRadius"), "1,5");
            QCOMPARE(R::TurnRadius.read(editor.record()), 1.5f);
            pasteInto(editor.edit("DragCoeff"), "0,25");
            QCOMPARE(R::DragCoeff.read(editor.record()), 0.25f);
        }
        QLocale::setDefault(previous);
    }

    void badNumbersAreRefusedAndTheFieldKeepsItsValue() {
        ByteVector record = objectRecord("Frigate", 2);
        R::Mass.write(record, 4000);
        R::MaxSpeed.write(record, 30);
        ObjectEditor editor(record);

        pasteInto(editor.edit("Mass"), "heavy");
        QCOMPARE(editor.dialogs.shown().last().kind, Kind::Error);
        QCOMPARE(editor.dialogs.shown().last().text, QString("'heavy' is not a valid integer value"));
        QCOMPARE(R::Mass.read(editor.record()), 4000);
        QVERIFY(!editor.form->recordChanged());

        pasteInto(editor.edit("TurnRadius"), "wide");
        QCOMPARE(editor.dialogs.shown().last().text, QString("'wide' is not a valid floating point value"));
        pasteInto(editor.edit("SoundLevel"), "1e39");
        QCOMPARE(editor.dialogs.shown().last().text, QString("'1e39' is not a valid floating point value"));

        // A 16-bit field does not wrap a number it cannot hold.
        pasteInto(editor.edit("MaxSpeed"), "70000");
        QCOMPARE(editor.dialogs.shown().last().text,
                 QString("'70000' is out of range: this field holds whole numbers from -32768 to 32767"));
        QCOMPARE(R::MaxSpeed.read(editor.record()), std::int16_t(30));
        pasteInto(editor.edit("MaxBurn"), "-1");
        QVERIFY(editor.dialogs.shown().last().text.contains("from 0 to 65535"));
        QVERIFY(!editor.form->recordChanged());

        pasteInto(editor.edit("Mass"), "-12");
        QCOMPARE(R::Mass.read(editor.record()), -12);
        QVERIFY(editor.form->recordChanged());
    }

    void checkBoxesChangeOnlyTheirOwnBit() {
        ByteVector record = objectRecord("Missile", 8);
        R::missileCaps.write(record, 0x10);
        R::targetCaps.write(record, 0x60);
        ObjectEditor editor(record);
        auto* terrain = control<QCheckBox>(*editor.form, "missileCaps32");
        clickCheckBox(terrain);
        QCOMPARE(R::missileCaps.read(editor.record()), std::uint8_t(0x30));
        clickCheckBox(terrain);
        QCOMPARE(R::missileCaps.read(editor.record()), std::uint8_t(0x10));
        auto* missileTarget = control<QCheckBox>(*editor.form, "targetCaps128");
        clickCheckBox(missileTarget);
        QCOMPARE(R::targetCaps.read(editor.record()), std::uint8_t(0xE0));
        QVERIFY(editor.form->recordChanged());
    }

    void textsAreStoredOverTheirFieldsOnly() {
        ByteVector record = objectRecord("Frigate", 2);
        std::fill(record.begin() + 22, record.begin() + 62, Byte('#'));
        record[61] = 0;
        ObjectEditor editor(record);
        typeInto(editor.edit("DisplayName"), "HMS Example");
        QCOMPARE(R::DisplayName.read(editor.record()), std::string("HMS Example"));
        QCOMPARE(editor.record()[22 + 12], Byte('#'));
        QCOMPARE(editor.record()[62], Byte(2)); // the type after it
        auto* simType = control<QComboBox>(*editor.form, "SimType");
        simType->setCurrentIndex(simType->findText("torp"));
        QCOMPARE(R::SimType.read(editor.record()), std::string("torp"));
        pasteInto(simType->lineEdit(), "sonar");
        QCOMPARE(R::SimType.read(editor.record()), std::string("sonar"));
    }
};

QTEST_MAIN(ObjectFieldsTest)
#include "ObjectFieldsTest.moc"
