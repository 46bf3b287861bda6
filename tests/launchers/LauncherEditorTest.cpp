// SPDX-License-Identifier: MIT
// The launcher editor, driven through its window: its fields, its own Save Record, records that
// keep their order, and the ammunition lists the object editor fills.
#include "launchers/LauncherRecord.h"
#include "launchers/TLauncherForm.h"
#include "objects/TObjectForm.h"

#include "support/RecordBytes.h"
#include "support/ScriptedDialogService.h"
#include "support/TemporaryDirectory.h"
#include "support/WindowDriver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStringListModel>
#include <QTest>

#include <memory>
#include <random>

using namespace keel;
using namespace keel::test;
using L = LauncherRecord;
using Kind = ScriptedDialogService::Shown::Kind;

namespace {

ByteVector launcher(const std::string& name, Byte fill = 0) { return namedRecord(L::Size, name, fill); }

struct LauncherEditor {
    explicit LauncherEditor(ByteVector file) : master(std::move(file)) {
        form = std::make_unique<TLauncherForm>(master, dialogs);
        form->showEditor();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        if (!form->records().empty()) {
            doubleClickEntry(form->recordList(), 0);
        }
    }
    QLineEdit* edit(const QString& name) const { return control<QLineEdit>(*form, name); }
    QComboBox* ammunition(int i) const { return control<QComboBox>(*form, QString("weap%1").arg(i)); }
    ConstByteSpan record() const { return form->records().record(*form->currentPosition()); }
    QString lastMessage() const { return dialogs.shown().isEmpty() ? QString() : dialogs.shown().last().text; }

    ByteVector master;
    ScriptedDialogService dialogs;
    std::unique_ptr<TLauncherForm> form;
};

} // namespace

class LauncherEditorTest : public QObject {
    Q_OBJECT

private slots:
    void anEmptyFileGetsItsFirstLauncherByAdd() {
        LauncherEditor editor({});
        QCOMPARE(editor.form->windowTitle(), QString("Launcher Records"));
        QCOMPARE(editor.form->recordList()->objectName(), QString("LauncherList"));
        QStringList menu;
        for (QAction* action : editor.form->recordMenu()->actions()) {
            menu << (action->isSeparator() ? QString("-") : action->text());
        }
        QCOMPARE(menu, QStringList({"&Add Record", "&Copy Record", "&Delete Record", "-", "&Export Record",
                                    "&Import Records"}));
        QVERIFY(entries(editor.form->recordList()).isEmpty());
        trigger(*editor.form, "Action_AddRecord");
        QCOMPARE(entries(editor.form->recordList()), QStringList({"001: New Launcher"}));
        QCOMPARE(editor.edit("LauncherName")->text(), QString("New Launcher"));
        QVERIFY(editor.form->setChanged());
    }

    void showsEveryFieldAsTheFileHoldsIt() {
        ByteVector record = launcher("127mm Mount");
        L::weap2.write(record, "Shell 127", TextOverflow::Refuse);
        L::magazine.write(record, -70000);
        L::maxNumRdsGuideable.write(record, 0xFFFFFFFFu);
        L::centx.write(record, 0.1f);
        L::rows.write(record, -3);
        L::characteristics.write(record, 0x0004);
        LauncherEditor editor(record);
        QCOMPARE(editor.ammunition(2)->currentText(), QString("Shell 127"));
        QCOMPARE(editor.edit("magazine")->text(), QString("-70000"));
        QCOMPARE(editor.edit("maxNumRdsGuideable")->text(), QString("4294967295"));
        QCOMPARE(editor.edit("centx")->text(), QString("0.100000001490116"));
        QCOMPARE(editor.edit("rows")->text(), QString("-3"));
        QVERIFY(!control<QCheckBox>(*editor.form, "fixed1")->isChecked());
        QVERIFY(control<QCheckBox>(*editor.form, "fixed4")->isChecked());
        QCOMPARE(control<ArrowControl>(*editor.form, "UpDown_MaxNumRdsGuidable")->maximum(), 255);
        QVERIFY(!editor.form->recordChanged());
    }

    // Records of random bytes are shown one after the other and committed: every byte comes
    // back as it was, in the order it was in (launchers are never sorted).
    void showingAndCommittingNeverChangesAByteOrTheOrder() {
        std::mt19937 random(11);
        ByteVector file(12 * L::Size + 5);
        for (Byte& byte : file) {
            byte = static_cast<Byte>(random());
        }
        for (std::size_t i = 0; i < 12; ++i) {
            L::LauncherName.write(ByteSpan(file).subspan(i * L::Size, L::Size), "Mount " + std::string(1, char('Z' - i)),
                                  TextOverflow::Refuse);
        }
        const ByteVector wholeRecords(file.begin(), file.begin() + 12 * L::Size);
        LauncherEditor editor(file);
        for (int i = 0; i < 12; ++i) {
            doubleClickEntry(editor.form->recordList(), i);
            QVERIFY(!editor.form->recordChanged());
        }
        QVERIFY(editor.dialogs.shown().isEmpty());
        editor.form->commit();
        QCOMPARE(editor.master, wholeRecords);
    }

    void aChangeOfLetterCaseAloneIsNotStored() {
        LauncherEditor editor(concatenated({launcher("Mk 41 VLS"), launcher("Other")}));
        pasteInto(editor.edit("LauncherName"), "MK 41 vls");
        QCOMPARE(L::LauncherName.read(editor.record()), std::string("Mk 41 VLS"));
        QVERIFY(!editor.form->recordChanged());
        typeInto(editor.edit("LauncherName"), "Mk 57");
        QCOMPARE(L::LauncherName.read(editor.record()), std::string("Mk 57"));
        QCOMPARE(entry(editor.form->recordList(), 0), QString("001: Mk 57"));
        QVERIFY(editor.form->recordChanged());
    }

    void theFlagsChangeOnlyTheirOwnBits() {
        ByteVector record = launcher("Mount");
        LauncherEditor editor(concatenated({record, [] {
                                                ByteVector odd = launcher("Odd");
                                                L::characteristics.write(odd, 0x8002);
                                                return odd;
                                            }()}));
        auto* rotatable = control<QCheckBox>(*editor.form, "fixed1");
        auto* fcs = control<QCheckBox>(*editor.form, "fixed4");
        clickCheckBox(rotatable);
        clickCheckBox(fcs);
        QCOMPARE(L::characteristics.read(editor.record()), std::uint16_t(0x0005));
        clickCheckBox(rotatable);
        QCOMPARE(L::characteristics.read(editor.record()), std::uint16_t(0x0004));
        editor.dialogs.answer(DialogService::Answer::Yes);
        doubleClickEntry(editor.form->recordList(), 1);
        clickCheckBox(rotatable);
        QCOMPARE(L::characteristics.read(editor.record()), std::uint16_t(0x8003));
    }

    // Typed numbers are not held to the arrows' range, but to what their field can hold.
    void numbersAreStoredAsTypedWithinTheirFields() {
        LauncherEditor editor(launcher("Mount"));
        typeInto(editor.edit("magazine"), "70000");
        QCOMPARE(L::magazine.read(editor.record()), 70000);
        QVERIFY(editor.dialogs.shown().isEmpty());
        typeInto(editor.edit("cone"), "500");
        QCOMPARE(L::cone.read(editor.record()), std::int16_t(500));
        typeInto(editor.edit("maxNumRdsGuideable"), "4000000000");
        QCOMPARE(L::maxNumRdsGuideable.read(editor.record()), 4000000000u);
        QVERIFY(editor.dialogs.shown().isEmpty());
        editor.dialogs.answer(DialogService::Answer::Yes);
        doubleClickEntry(editor.form->recordList(), 0);
        QCOMPARE(editor.edit("magazine")->text(), QString("70000"));

        pasteInto(editor.edit("quant1"), "40000");
        QCOMPARE(editor.lastMessage(),
                 QString("'40000' is out of range: this field holds whole numbers from -32768 to 32767"));
        QCOMPARE(L::quant1.read(editor.record()), std::int16_t(0));
        pasteInto(editor.edit("maxNumRdsGuideable"), "-1");
        QCOMPARE(editor.lastMessage(),
                 QString("'-1' is out of range: this field holds whole numbers from 0 to 4294967295"));
        pasteInto(editor.edit("rows"), "");
        QCOMPARE(editor.lastMessage(), QString("'' is not a valid integer value"));
        pasteInto(editor.edit("y2"), "far");
        QCOMPARE(editor.lastMessage(), QString("'far' is not a valid floating point value"));
        pasteInto(editor.edit("y2"), "12.5");
        QCOMPARE(L::y2.read(editor.record()), 12.5f);
        QTest::mouseClick(control<ArrowControl>(*editor.form, "UpDown_y2")->upButton(), Qt::LeftButton);
        QCOMPARE(L::y2.read(editor.record()), 13.0f);
        QTest::mouseClick(control<ArrowControl>(*editor.form, "UpDown_hRel")->upButton(), Qt::LeftButton);
        QCOMPARE(L::hRel.read(editor.record()), std::int16_t(1));
    }

    void textsAreStoredOverTheirFieldsOnly() {
        ByteVector record = launcher("Mount", 0);
        std::fill(record.begin() + 34, record.begin() + 54, Byte('#'));
        record[53] = 0;
        LauncherEditor editor(record);
        typeInto(editor.ammunition(0)->lineEdit(), "Mk 48");
        QCOMPARE(L::weap0.read(editor.record()), std::string("Mk 48"));
        QCOMPARE(editor.record()[34 + 10], Byte('#'));
        typeInto(editor.edit("SoundFile"), "gun.wav");
        QCOMPARE(L::SoundFile.read(editor.record()), std::string("gun.wav"));
        QVERIFY(editor.form->recordChanged());
    }

    // Save Record accepts the record on screen even when nothing was changed.
    void saveRecordAlwaysCountsAsAChange() {
        LauncherEditor editor(launcher("Mount"));
        QVERIFY(!editor.form->setChanged());
        QTest::mouseClick(control<QPushButton>(*editor.form, "SaveButton"), Qt::LeftButton);
        QVERIFY(editor.form->setChanged());
        QVERIFY(editor.form->holdsUnsavedWork());
    }

    // Imported launchers that match none are appended, and the commit keeps the list's order.
    void importKeepsTheOrderOfTheRecordList() {
        LauncherEditor editor(concatenated({launcher("Zulu", 1), launcher("Alpha", 2)}));
        TemporaryDirectory directory;
        writeFile(directory / "more.ldb", concatenated({launcher("Mike", 3), launcher("ALPHA", 4)}));
        editor.dialogs.choose({QString::fromStdString((directory / "more.ldb").string())});
        trigger(*editor.form, "Action_ImportRecord");
        QCOMPARE(editor.dialogs.shown().first().text, QString("Import/Export Files (*.ldb)"));
        QCOMPARE(entries(editor.form->recordList()), QStringList({"001: Zulu", "002: ALPHA", "003: Mike"}));
        editor.form->commit();
        QCOMPARE(editor.master, concatenated({launcher("Zulu", 1), launcher("ALPHA", 4), launcher("Mike", 3)}));
    }

    // The four boxes offer the weapon-like objects; a refill changes neither their texts nor the
    // record, and the object editor refills them as its records change.
    void theAmmunitionListsFollowTheObjectEditor() {
        ByteVector master = launcher("Mount");
        L::weap1.write(master, "Old Torpedo", TextOverflow::Refuse);
        LauncherEditor editor(master);
        ByteVector objects = concatenated({objectRecord("Frigate", 2), objectRecord("Mk 48", 7),
                                           objectRecord("Harpoon", 8), objectRecord("Mine", 6)});
        TObjectForm objectForm(objects, editor.dialogs, ObjectEditorLinks{.ammunition = editor.form.get()});
        QCOMPARE(editor.form->ammunitionChoices()->stringList(), QStringList({"Mk 48", "Harpoon", "Mine"}));
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(editor.ammunition(i)->model(), editor.form->ammunitionChoices());
        }
        QCOMPARE(editor.ammunition(1)->currentText(), QString("Old Torpedo"));
        QCOMPARE(editor.ammunition(0)->currentText(), QString(""));
        QVERIFY(!editor.form->recordChanged());

        objectForm.showEditor();
        doubleClickEntry(objectForm.recordList(), 0);
        control<QComboBox>(objectForm, "ObjType")->setCurrentIndex(7); // Frigate becomes a missile
        QCOMPARE(editor.form->ammunitionChoices()->stringList(), QStringList({"Frigate", "Mk 48", "Harpoon", "Mine"}));
        QCOMPARE(editor.ammunition(1)->currentText(), QString("Old Torpedo"));
        QCOMPARE(L::weap1.read(editor.record()), std::string("Old Torpedo"));
        QVERIFY(!editor.form->recordChanged());

        // Renaming a weapon renames its choice; a ship's name and a ship made of a weapon
        // follow too.
        control<QComboBox>(objectForm, "ObjType")->setCurrentIndex(1); // Frigate is a ship again
        QCOMPARE(editor.form->ammunitionChoices()->stringList(), QStringList({"Mk 48", "Harpoon", "Mine"}));
        typeInto(control<QLineEdit>(objectForm, "ObjectName"), "Frigate II");
        QCOMPARE(editor.form->ammunitionChoices()->stringList(), QStringList({"Mk 48", "Harpoon", "Mine"}));
        editor.dialogs.answer(DialogService::Answer::Yes);
        doubleClickEntry(objectForm.recordList(), 2);
        typeInto(control<QLineEdit>(objectForm, "ObjectName"), "Harpoon II");
        QCOMPARE(editor.form->ammunitionChoices()->stringList(), QStringList({"Mk 48", "Harpoon II", "Mine"}));
        // The choices changed one by one, and the boxes kept their texts all along.
        QCOMPARE(editor.ammunition(1)->currentText(), QString("Old Torpedo"));
        QCOMPARE(editor.ammunition(0)->currentText(), QString(""));
        QVERIFY(!editor.form->recordChanged());

        // Picking a choice stores it like typed text.
        editor.ammunition(3)->setCurrentIndex(1);
        QCOMPARE(L::weap3.read(editor.record()), std::string("Harpoon II"));
        QVERIFY(editor.form->recordChanged());
    }
};

QTEST_MAIN(LauncherEditorTest)
#include "LauncherEditorTest.moc"
