// SPDX-License-Identifier: MIT
// The behaviour every record editor shares, driven through the object editor's window.
#include "objects/ObjectRecord.h"
#include "objects/TObjectForm.h"

#include "support/ScriptedDialogService.h"
#include "support/TemporaryDirectory.h"
#include "support/WindowDriver.h"

#include <QPushButton>
#include <QTest>

#include <memory>

using namespace keel;
using namespace keel::test;
using Answer = DialogService::Answer;

namespace {

// An object file of records with the given names; each record's mast height is its number
// counting from 1, so that a test can tell where a record went.
ByteVector objectFile(const QStringList& names) {
    ByteVector file(static_cast<std::size_t>(names.size()) * ObjectRecord::Size, 0);
    for (int i = 0; i < names.size(); ++i) {
        const ByteSpan record = ByteSpan(file).subspan(static_cast<std::size_t>(i) * ObjectRecord::Size,
                                                       ObjectRecord::Size);
        ObjectRecord::ObjectName.write(record, names[i].toStdString(), TextOverflow::Refuse);
        ObjectRecord::MastHeight.write(record, static_cast<std::int16_t>(i + 1));
        record[20] = 0xA0 + static_cast<Byte>(i); // the reserved word, which nothing edits
    }
    return file;
}

QStringList numberedNames(int count) {
    QStringList names;
    for (int i = 0; i < count; ++i) {
        names << QString("Ship %1").arg(i + 1);
    }
    return names;
}

struct ObjectEditor {
    explicit ObjectEditor(const QStringList& names) : master(objectFile(names)) {
        form = std::make_unique<TObjectForm>(master, dialogs);
        form->showEditor();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    QListView* list() const { return form->recordList(); }
    QLineEdit* name() const { return control<QLineEdit>(*form, "ObjectName"); }
    std::string storedName(std::size_t index) const {
        return ObjectRecord::ObjectName.read(form->records().record(index));
    }
    std::int16_t mastHeight(std::size_t index) const {
        return ObjectRecord::MastHeight.read(form->records().record(index));
    }

    ByteVector master;
    ScriptedDialogService dialogs;
    std::unique_ptr<TObjectForm> form;
};

} // namespace

class RecordEditorTest : public QObject {
    Q_OBJECT

private slots:
    void createsFromTheMasterAndShowsTheFirstRecord() {
        ObjectEditor editor({"Frigate", "Destroyer"});
        QCOMPARE(editor.form->windowTitle(), QString("Object Records"));
        QCOMPARE(entries(editor.list()), QStringList({"001: Frigate", "002: Destroyer"}));
        QCOMPARE(editor.name()->text(), QString("Frigate"));
        QCOMPARE(editor.form->currentPosition(), std::optional<std::size_t>(0));
        QVERIFY(!editor.form->recordChanged());
        QVERIFY(!editor.form->setChanged());
        QVERIFY(editor.dialogs.shown().isEmpty());
    }

    void theRetainQuestionAnsweredNoRestoresTheRecordAndItsEntry() {
        ObjectEditor editor({"Frigate", "Destroyer"});
        typeInto(editor.name(), "Corvette");
        QCOMPARE(entry(editor.list(), 0), QString("001: Corvette"));
        QVERIFY(editor.form->recordChanged());

        editor.dialogs.answer(Answer::No);
        doubleClickEntry(editor.list(), 1);
        QCOMPARE(editor.dialogs.texts(), QStringList({"Do you wish to retain changes made to Corvette?"}));
        QCOMPARE(editor.dialogs.shown().first().caption, QString("Confirmation"));
        QCOMPARE(editor.storedName(0), std::string("Frigate"));
        QCOMPARE(entry(editor.list(), 0), QString("001: Frigate"));
        QCOMPARE(editor.name()->text(), QString("Destroyer"));
        QVERIFY(!editor.form->setChanged());
        QVERIFY(editor.dialogs.unexpected().isEmpty());
    }

    void theRetainQuestionAnsweredYesKeepsTheChangeAndMarksTheSet() {
        ObjectEditor editor({"Frigate", "Destroyer"});
        typeInto(editor.name(), "Corvette");
        editor.dialogs.answer(Answer::Yes);
        doubleClickEntry(editor.list(), 1);
        QCOMPARE(editor.storedName(0), std::string("Corvette"));
        QVERIFY(editor.form->setChanged());
        QVERIFY(!editor.form->recordChanged());

        // The record already on screen, unchanged, is shown again without a question.
        editor.dialogs.clear();
        doubleClickEntry(editor.list(), 1);
        QVERIFY(editor.dialogs.shown().isEmpty());
    }

    void saveRecordDoesNotRenewTheSnapshot() {
        ObjectEditor editor({"Frigate", "Destroyer"});
        typeInto(editor.name(), "Sloop");
        QTest::mouseClick(control<QPushButton>(*editor.form, "SaveButton"), Qt::LeftButton);
        QVERIFY(editor.form->setChanged());
        QVERIFY(!editor.form->recordChanged());
        typeInto(editor.name(), "Cutter");
        editor.dialogs.answer(Answer::No);
        doubleClickEntry(editor.list(), 1);
        QCOMPARE(editor.storedName(0), std::string("Frigate"));
    }

    void aChangeOfLetterCaseAloneIsNotStored() {
        ObjectEditor editor({"Frigate"});
        pasteInto(editor.name(), "FRIGATE");
        QCOMPARE(editor.storedName(0), std::string("Frigate"));
        QVERIFY(!editor.form->recordChanged());
        QCOMPARE(entry(editor.list(), 0), QString("001: Frigate"));
    }

    void theStepperStepsFromTheSelectedEntryAndStopsAtEitherEnd() {
        ObjectEditor editor({"A", "B", "C", "D"});
        ArrowControl* stepper = editor.form->recordStepper();
        clickEntry(editor.list(), 2); // selected, not shown
        QCOMPARE(editor.form->currentPosition(), std::optional<std::size_t>(0));
        QTest::mouseClick(stepper->downButton(), Qt::LeftButton);
        QCOMPARE(editor.form->currentPosition(), std::optional<std::size_t>(3));
        QCOMPARE(editor.name()->text(), QString("D"));

        // The last record is shown: the lower arrow does nothing.
        QTest::mouseClick(stepper->downButton(), Qt::LeftButton);
        QCOMPARE(editor.form->currentPosition(), std::optional<std::size_t>(3));

        for (int i = 0; i < 3; ++i) {
            QTest::mouseClick(stepper->upButton(), Qt::LeftButton);
        }
        QCOMPARE(editor.form->currentPosition(), std::optional<std::size_t>(0));
        QCOMPARE(editor.form->selectedEntry(), std::optional<std::size_t>(0));
        // The first record is shown: the upper arrow does nothing, and asks nothing.
        typeInto(editor.name(), "Changed");
        QTest::mouseClick(stepper->upButton(), Qt::LeftButton);
        QVERIFY(editor.dialogs.shown().isEmpty());
        QVERIFY(editor.form->recordChanged());
    }

    void addListsTheNewRecordWithItsNumberWritenWhole() {
        ObjectEditor editor(numberedNames(999));
        trigger(*editor.form, "Action_AddRecord");
        QCOMPARE(editor.form->records().count(), std::size_t(1000));
        QCOMPARE(entry(editor.list(), 998), QString("999: Ship 999"));
        QCOMPARE(entry(editor.list(), 999), QString("1000: New Object"));
        QCOMPARE(entry(editor.list(), 6), QString("007: Ship 7"));
        QCOMPARE(editor.name()->text(), QString("New Object"));
        QCOMPARE(editor.form->selectedEntry(), std::optional<std::size_t>(999));
        QVERIFY(editor.form->setChanged());
        const ConstByteSpan added = editor.form->records().record(999);
        QVERIFY(std::all_of(added.begin() + 11, added.end(), [](Byte b) { return b == 0; }));
    }

    void copyAndSortPlaceSameNamedRecordsSideBySide() {
        ObjectEditor editor({"Frigate", "Corvette", "Tanker"});
        clickEntry(editor.list(), 0);
        trigger(*editor.form, "Action_CopyRecord");
        QCOMPARE(editor.storedName(3), std::string("Frigate"));
        QVERIFY(std::equal(editor.form->records().record(0).begin(), editor.form->records().record(0).end(),
                           editor.form->records().record(3).begin()));
        QVERIFY(editor.form->setChanged());

        editor.form->clearSetChanged();
        trigger(*editor.form, "Action_SortRecord");
        QCOMPARE(entries(editor.list()),
                 QStringList({"001: Corvette", "002: Frigate", "003: Frigate", "004: Tanker"}));
        QVERIFY(!editor.form->setChanged());
        // The record on screen (the copy) is still the one the controls show and edit.
        QCOMPARE(editor.storedName(*editor.form->currentPosition()), std::string("Frigate"));
        typeInto(editor.name(), "Frigate B");
        QCOMPARE(editor.storedName(0), std::string("Corvette"));
    }

    void deleteAsksNothingAndRenumbers() {
        ObjectEditor editor({"A", "B", "C"});
        doubleClickEntry(editor.list(), 2);
        clickEntry(editor.list(), 0);
        trigger(*editor.form, "Action_DelRecord");
        QVERIFY(editor.dialogs.shown().isEmpty());
        QCOMPARE(entries(editor.list()), QStringList({"001: B", "002: C"}));
        QVERIFY(editor.form->setChanged());
        QCOMPARE(editor.form->selectedEntry(), std::nullopt);
        // The record on screen moved one place up and is still the one edited.
        QCOMPARE(editor.form->currentPosition(), std::optional<std::size_t>(1));
        typeInto(editor.name(), "Z");
        QCOMPARE(editor.storedName(1), std::string("Z"));

        // Deleting the record on screen shows the one that took its place.
        clickEntry(editor.list(), 1);
        trigger(*editor.form, "Action_DelRecord");
        QCOMPARE(editor.form->currentPosition(), std::optional<std::size_t>(0));
        QCOMPARE(editor.name()->text(), QString("B"));

        // Without a selection Delete and Copy do nothing.
        trigger(*editor.form, "Action_DelRecord");
        trigger(*editor.form, "Action_CopyRecord");
        QCOMPARE(editor.form->records().count(), std::size_t(1));
    }

    void restoreAllReturnsToTheLastCommit() {
        ObjectEditor editor({"B", "A"});
        typeInto(editor.name(), "C");
        editor.dialogs.answer(Answer::No);
        trigger(*editor.form, "Action_AddRecord");
        QTest::mouseClick(control<QPushButton>(*editor.form, "RestoreAllButton"), Qt::LeftButton);
        QCOMPARE(editor.form->records().count(), std::size_t(3)); // answered No: nothing happens

        editor.form->commit();
        QCOMPARE(editor.master.size(), 3 * ObjectRecord::Size);
        QCOMPARE(ObjectRecord::ObjectName.read(ConstByteSpan(editor.master)), std::string("A"));

        trigger(*editor.form, "Action_AddRecord");
        editor.dialogs.answer(Answer::Yes);
        QTest::mouseClick(control<QPushButton>(*editor.form, "RestoreAllButton"), Qt::LeftButton);
        QCOMPARE(entries(editor.list()), QStringList({"001: A", "002: C", "003: New Object"}));
        QCOMPARE(editor.dialogs.shown().last().text,
                 QString("Are you sure you wish to undo all changes made to all records in this session?"));
        QVERIFY(!editor.form->setChanged());
        QVERIFY(!editor.form->recordChanged());
        QCOMPARE(editor.name()->text(), QString("A"));
    }

    void hidingAndShowingKeepsTheRetainQuestion() {
        ObjectEditor editor({"Frigate", "Destroyer"});
        typeInto(editor.name(), "Renamed");
        editor.form->close(); // the close box asks the main window's toggle
        QVERIFY(editor.form->isVisible());
        editor.form->hideEditor();
        editor.form->showEditor();
        QVERIFY(editor.form->recordChanged());
        editor.dialogs.answer(Answer::Yes);
        doubleClickEntry(editor.list(), 1);
        QCOMPARE(editor.dialogs.texts(), QStringList({"Do you wish to retain changes made to Renamed?"}));
    }

    void anEmptyWorkingCopyShowsNothingAndAddStillWorks() {
        ObjectEditor editor(QStringList{});
        QCOMPARE(editor.form->currentPosition(), std::nullopt);
        QTest::mouseClick(editor.form->recordStepper()->downButton(), Qt::LeftButton);
        typeInto(editor.name(), "Nothing");
        QCOMPARE(editor.form->records().count(), std::size_t(0));
        trigger(*editor.form, "Action_CopyRecord");
        trigger(*editor.form, "Action_ExportRecord");
        QVERIFY(editor.dialogs.shown().isEmpty());
        trigger(*editor.form, "Action_AddRecord");
        QCOMPARE(entries(editor.list()), QStringList({"001: New Object"}));
        typeInto(editor.name(), "First");
        QCOMPARE(editor.storedName(0), std::string("First"));
    }

    void aTrailingPartialRecordIsNotARecord() {
        ByteVector master = objectFile({"Only"});
        master.resize(master.size() + 100, 0x55);
        ScriptedDialogService dialogs;
        TObjectForm form(master, dialogs);
        QCOMPARE(form.records().count(), std::size_t(1));
        form.commit();
        QCOMPARE(master.size(), ObjectRecord::Size);
    }
};

QTEST_MAIN(RecordEditorTest)
#include "RecordEditorTest.moc"
