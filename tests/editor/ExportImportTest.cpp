// SPDX-License-Identifier: MIT
// Export of single records to exchange files and import of exchange files, driven through the
// object editor's window.
#include "objects/ObjectRecord.h"
#include "objects/TObjectForm.h"

#include "support/AsOrdinaryUser.h"
#include "support/RecordBytes.h"
#include "support/ScriptedDialogService.h"
#include "support/TemporaryDirectory.h"
#include "support/WindowDriver.h"

#include <QTest>

#include <memory>

#include <sys/stat.h>
#include <unistd.h>

using namespace keel;
using namespace keel::test;
using Kind = ScriptedDialogService::Shown::Kind;

namespace {

// A record of the given name whose last byte tells the records apart.
ByteVector object(const std::string& name, Byte mark) {
    ByteVector record = namedRecord(ObjectRecord::Size, name, 0);
    record[ObjectRecord::Size - 1] = mark;
    return record;
}

struct ObjectEditor {
    explicit ObjectEditor(ByteVector file) : master(std::move(file)) {
        form = std::make_unique<TObjectForm>(master, dialogs);
        form->showEditor();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    QString path(const std::string& name) const { return QString::fromStdString((directory / name).string()); }
    Byte markAt(std::size_t index) const { return form->records().record(index)[ObjectRecord::Size - 1]; }
    QListView* list() const { return form->recordList(); }

    TemporaryDirectory directory;
    ByteVector master;
    ScriptedDialogService dialogs;
    std::unique_ptr<TObjectForm> form;
};

} // namespace

class ExportImportTest : public QObject {
    Q_OBJECT

private slots:
    void exportAppendsTheSelectedRecordAndCountsTheFile() {
        ObjectEditor editor(concatenated({object("Frigate", 1), object("Sub", 2)}));
        const QString file = editor.path("frigates.odb");
        typeInto(control<QLineEdit>(*editor.form, "ObjectName"), "Frigate Mk2");
        clickEntry(editor.list(), 0);

        editor.dialogs.choose({file});
        trigger(*editor.form, "Action_ExportRecord");
        const auto& dialog = editor.dialogs.shown().first();
        QCOMPARE(dialog.kind, Kind::Files);
        QCOMPARE(dialog.request.kind, DialogService::FileRequest::Kind::Save);
        QCOMPARE(dialog.caption, QString("Select Export File"));
        QCOMPARE(dialog.text, QString("Import/Export Files (*.odb)"));
        QCOMPARE(editor.dialogs.shown().last().caption, QString("Record Exported"));
        QCOMPARE(editor.dialogs.shown().last().text,
                 "Frigate Mk2 has been exported to " + file + ", which now contains 1 record(s)");
        QCOMPARE(readFile(file.toStdString()), object("Frigate Mk2", 1)); // unsaved changes included

        clickEntry(editor.list(), 1);
        editor.dialogs.choose({file});
        trigger(*editor.form, "Action_ExportRecord");
        QVERIFY(editor.dialogs.shown().last().text.endsWith("which now contains 2 record(s)"));
        QCOMPARE(readFile(file.toStdString()), concatenated({object("Frigate Mk2", 1), object("Sub", 2)}));
        QVERIFY(!editor.form->setChanged());
        QVERIFY(editor.dialogs.unexpected().isEmpty());
    }

    void exportRefusesAFileItCannotExtendSafely() {
        ObjectEditor editor(object("Frigate", 1));
        clickEntry(editor.list(), 0);

        const ByteVector odd(ObjectRecord::Size + 3, 0x42);
        writeFile(editor.directory / "odd.odb", odd);
        editor.dialogs.choose({editor.path("odd.odb")});
        trigger(*editor.form, "Action_ExportRecord");
        QCOMPARE(editor.dialogs.shown().last().kind, Kind::Error);
        QCOMPARE(readFile(editor.directory / "odd.odb"), odd);

        const QString nowhere = editor.path("missing/x.odb");
        editor.dialogs.choose({nowhere});
        trigger(*editor.form, "Action_ExportRecord");
        QCOMPARE(editor.dialogs.shown().last().text, "Cannot create file " + nowhere);

        editor.dialogs.cancelFileDialog();
        const auto before = editor.dialogs.shown().size();
        trigger(*editor.form, "Action_ExportRecord");
        QCOMPARE(editor.dialogs.shown().size(), before + 1); // a cancelled dialog reports nothing
    }

    void importReplacesByNameIgnoringCaseAndReportsEachFile() {
        ObjectEditor editor(concatenated({object("Frigate", 1), object("Tanker", 2)}));
        writeFile(editor.directory / "one.odb", concatenated({object("frigate", 7), object("Oiler", 8)}));

        editor.dialogs.choose({editor.path("one.odb")});
        trigger(*editor.form, "Action_ImportRecord");
        const auto& dialog = editor.dialogs.shown().first();
        QCOMPARE(dialog.request.kind, DialogService::FileRequest::Kind::OpenMany);
        QCOMPARE(dialog.caption, QString("Select Import Files"));
        QCOMPARE(editor.dialogs.shown().last().caption, editor.path("one.odb"));
        QCOMPARE(editor.dialogs.shown().last().text,
                 QString("The following 2 record(s) were imported:\nfrigate\nOiler\n"));
        QCOMPARE(entries(editor.list()), QStringList({"001: frigate", "002: Tanker", "003: Oiler"}));
        QCOMPARE(editor.markAt(0), 7);
        QVERIFY(editor.form->setChanged());
        // The record on screen was replaced: the controls show what the working copy holds.
        QCOMPARE(control<QLineEdit>(*editor.form, "ObjectName")->text(), QString("frigate"));
    }

    void aLaterFileReplacesWhatAnEarlierOneBroughtIn() {
        ObjectEditor editor(object("Frigate", 1));
        writeFile(editor.directory / "a.odb", object("Carrier", 2));
        writeFile(editor.directory / "b.odb", concatenated({object("CARRIER", 3), object("carrier", 4)}));
        editor.dialogs.choose({editor.path("a.odb"), editor.path("b.odb")});
        trigger(*editor.form, "Action_ImportRecord");
        QCOMPARE(editor.form->records().count(), std::size_t(2));
        QCOMPARE(editor.markAt(1), 4);
        QCOMPARE(editor.dialogs.shown().size(), 3); // the file dialog and one report per file
    }

    void aFileThatCannotBeOpenedStopsTheImportButKeepsWhatCameBefore() {
        ObjectEditor editor(object("Frigate", 1));
        writeFile(editor.directory / "a.odb", object("Carrier", 2));
        writeFile(editor.directory / "c.odb", object("Cruiser", 3));
        const QString missing = editor.path("b.odb");
        editor.dialogs.choose({editor.path("a.odb"), missing, editor.path("c.odb")});
        trigger(*editor.form, "Action_ImportRecord");
        QCOMPARE(editor.dialogs.shown().last().kind, Kind::Error);
        QCOMPARE(editor.dialogs.shown().last().text, "Cannot open file " + missing);
        QCOMPARE(entries(editor.list()), QStringList({"001: Frigate", "002: Carrier"}));
        QVERIFY(editor.form->setChanged());
    }

    void aShortFileImportsNothingButIsStillReported() {
        ObjectEditor editor(object("Frigate", 1));
        writeFile(editor.directory / "short.odb", ByteVector(100, 'x'));
        editor.dialogs.choose({editor.path("short.odb")});
        trigger(*editor.form, "Action_ImportRecord");
        QCOMPARE(editor.dialogs.shown().last().text, QString("The following 0 record(s) were imported:\n"));
        QCOMPARE(editor.form->records().count(), std::size_t(1));
    }

    void importingTheOwnDatabaseMakesSameNamedRecordsIdentical() {
        const ByteVector file = concatenated({object("Sub", 1), object("SUB", 2), object("Boat", 3)});
        ObjectEditor editor(file);
        writeFile(editor.directory / "objects.odb", file);
        editor.dialogs.choose({editor.path("objects.odb")});
        trigger(*editor.form, "Action_ImportRecord");
        QCOMPARE(editor.form->records().count(), std::size_t(3));
        QCOMPARE(editor.markAt(0), 2);
        QCOMPARE(editor.markAt(1), 2);
        QCOMPARE(editor.markAt(2), 3);
    }

    // An ordinary user may not write a write-protected exchange file: the export says so and
    // leaves the file as it was, however the directory's permissions stand.
    void exportNeverReplacesAFileTheUserMayNotWrite() {
        ObjectEditor editor(concatenated({object("Frigate", 1)}));
        const std::filesystem::path file = editor.directory / "protected.odb";
        const ByteVector before = object("Theirs", 9);
        writeFile(file, before);
        ::chmod(file.c_str(), 0444);
        QCOMPARE(::chown(editor.directory.path().c_str(), ordinaryUserId, ordinaryGroupId), 0);
        const int outcome = runAsOrdinaryUser([&] {
            editor.dialogs.choose({editor.path("protected.odb")});
            clickEntry(editor.list(), 0);
            trigger(*editor.form, "Action_ExportRecord");
            const auto& shown = editor.dialogs.shown();
            if (shown.isEmpty() || shown.last().kind != Kind::Error) {
                return 1;
            }
            return shown.last().text == "Cannot create file " + editor.path("protected.odb") ? 0 : 2;
        });
        if (outcome == couldNotBecomeOrdinaryUser) {
            QSKIP("this process cannot act as an ordinary user");
        }
        QCOMPARE(outcome, 0);
        QCOMPARE(readFile(file), before);
    }
};

QTEST_MAIN(ExportImportTest)
#include "ExportImportTest.moc"
