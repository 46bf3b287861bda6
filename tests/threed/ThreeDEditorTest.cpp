// SPDX-License-Identifier: MIT
// The 3D object editor beside the object editor, driven through their windows.
#include "common/NameCompare.h"
#include "objects/ObjectRecord.h"
#include "objects/TObjectForm.h"
#include "editor/FindFilter.h"
#include "threed/TThreeDObjectForm.h"
#include "threed/ThreeDRecord.h"

#include "support/RecordBytes.h"
#include "support/ScriptedDialogService.h"
#include "support/TemporaryDirectory.h"
#include "support/WindowDriver.h"

#include <QComboBox>
#include <QTest>

#include <memory>
#include <random>

using namespace keel;
using namespace keel::test;

namespace {

// A 3D object record whose presentation bytes are all `fill`.
ByteVector threeD(const std::string& name, Byte fill) { return namedRecord(ThreeDRecord::Size, name, fill); }

struct Editors {
    Editors(ByteVector objectFile, ByteVector threeDFile)
        : objects(std::move(objectFile)), threeDs(std::move(threeDFile)) {
        threeDForm = std::make_unique<TThreeDObjectForm>(threeDs, dialogs);
        objectForm = std::make_unique<TObjectForm>(objects, dialogs, ObjectEditorLinks{threeDForm.get()});
        threeDForm->show();
        objectForm->showEditor();
        QVERIFY(QTest::qWaitForWindowExposed(threeDForm.get()));
        QVERIFY(QTest::qWaitForWindowExposed(objectForm.get()));
    }
    QStringList lacking() const { return entries(threeDForm->objectList()); }
    QStringList threeDEntries() const { return entries(threeDForm->threeDList()); }
    Byte fillOf(std::size_t index) const { return threeDForm->records().record(index)[500]; }
    void copy(int objectRow, int threeDRow) const {
        clickEntry(threeDForm->objectList(), objectRow);
        doubleClickEntry(threeDForm->threeDList(), threeDRow);
    }

    ByteVector objects;
    ByteVector threeDs;
    ScriptedDialogService dialogs;
    std::unique_ptr<TThreeDObjectForm> threeDForm;
    std::unique_ptr<TObjectForm> objectForm;
};

} // namespace

class ThreeDEditorTest : public QObject {
    Q_OBJECT

private slots:
    void listsTheObjectsThatNeedA3DObjectAndHaveNone() {
        Editors editors(concatenated({objectRecord("Frigate", 2), objectRecord("Shell 5in", 9),
                                      objectRecord("Round", 10), objectRecord("Sub", 1),
                                      objectRecord("Seahawk", 4)}),
                        concatenated({threeD("FRIGATE", 1)}));
        QCOMPARE(editors.threeDForm->windowTitle(), QString("3DObjects"));
        QCOMPARE(editors.lacking(), QStringList({"004: Sub", "005: Seahawk"}));
        QCOMPARE(editors.threeDEntries(), QStringList({"001: FRIGATE"}));
        QVERIFY(!editors.objectForm->threeDWarningShown()); // Frigate has one, in other case
        doubleClickEntry(editors.objectForm->recordList(), 3);
        QVERIFY(editors.objectForm->threeDWarningShown());
        QVERIFY(!editors.threeDForm->changed());
    }

    void withNo3DObjectsNothingCanBeCopied() {
        Editors editors(concatenated({objectRecord("Frigate", 2), objectRecord("Mine", 6)}), {});
        QCOMPARE(editors.lacking(), QStringList({"001: Frigate", "002: Mine"}));
        clickEntry(editors.threeDForm->objectList(), 0);
        editors.threeDForm->CopyRecord();
        QCOMPARE(editors.threeDForm->records().count(), std::size_t(0));
        QVERIFY(!editors.threeDForm->changed());
    }

    void copyGivesTheObjectTheFirstRecordOfTheSelectedName() {
        Editors editors(concatenated({objectRecord("Corvette", 2), objectRecord("Sloop", 2)}),
                        concatenated({threeD("Boat", 1), threeD("Tug", 2), threeD("BOAT", 3)}));
        editors.copy(1, 2); // Sloop, modelled on the second "Boat"
        QCOMPARE(editors.threeDEntries().last(), QString("004: Sloop"));
        QCOMPARE(editors.fillOf(3), Byte(1)); // the first record of that name is the source
        QCOMPARE(editors.lacking(), QStringList({"001: Corvette"}));
        QVERIFY(editors.threeDForm->changed());
        // The object editor's warning follows at its next show.
        doubleClickEntry(editors.objectForm->recordList(), 1);
        QVERIFY(!editors.objectForm->threeDWarningShown());

        // Without a selection in either list nothing happens.
        editors.threeDForm->threeDList()->clearSelection();
        editors.threeDForm->CopyRecord();
        QCOMPARE(editors.threeDForm->records().count(), std::size_t(4));
    }

    // With both lists filtered, a copy pairs the entries the user sees, whatever their rows.
    void aCopyFromFilteredListsPairsTheEntriesShown() {
        Editors editors(concatenated({objectRecord("Corvette", 2), objectRecord("Sloop", 2), objectRecord("Tender", 2)}),
                        concatenated({threeD("Boat", 1), threeD("Tug", 2)}));
        const QList<FindBar*> bars = editors.threeDForm->findChildren<FindBar*>();
        QCOMPARE(bars.size(), 2);
        QTest::keyClicks(bars[0]->box(), "te"); // Tender, and Corvette
        QTest::keyClicks(bars[1]->box(), "tu");
        QCOMPARE(editors.lacking(), QStringList({"001: Corvette", "003: Tender"}));
        QCOMPARE(editors.threeDEntries(), QStringList({"002: Tug"}));
        editors.copy(1, 0);
        QCOMPARE(ThreeDRecord::Name.read(editors.threeDForm->records().record(2)), std::string("Tender"));
        QCOMPARE(editors.fillOf(2), Byte(2));
    }

    void deleteSortAndUndo() {
        Editors editors(concatenated({objectRecord("Shell", 9), objectRecord("Frigate", 2)}),
                        concatenated({threeD("Shell", 1), threeD("Frigate", 2), threeD("Alpha", 3)}));
        clickEntry(editors.threeDForm->threeDList(), 0);
        trigger(*editors.threeDForm, "Action_DelRecord");
        QCOMPARE(editors.threeDEntries(), QStringList({"001: Frigate", "002: Alpha"}));
        QVERIFY(editors.lacking().isEmpty()); // a shell needs none
        clickEntry(editors.threeDForm->threeDList(), 0);
        trigger(*editors.threeDForm, "Action_DelRecord");
        QCOMPARE(editors.lacking(), QStringList({"002: Frigate"}));

        editors.threeDForm->RestoreRecords();
        QVERIFY(!editors.threeDForm->changed());
        QCOMPARE(editors.threeDForm->records().count(), std::size_t(3));
        QVERIFY(editors.dialogs.shown().isEmpty()); // Undo Changes asks nothing

        trigger(*editors.threeDForm, "Action_SortRecord");
        QVERIFY(editors.threeDForm->changed());
        QCOMPARE(editors.threeDEntries(), QStringList({"001: Alpha", "002: Frigate", "003: Shell"}));
        QCOMPARE(editors.fillOf(0), Byte(3));
    }

    void commitSortsAndReplacesTheMaster() {
        Editors editors(objectRecord("Sub", 1), concatenated({threeD("Zulu", 1), threeD("Alpha", 2)}));
        editors.copy(0, 0);
        editors.threeDForm->commit();
        QCOMPARE(editors.threeDEntries(), QStringList({"001: Alpha", "002: Sub", "003: Zulu"}));
        QCOMPARE(editors.threeDs.size(), 3 * ThreeDRecord::Size);
        QCOMPARE(ThreeDRecord::Name.read(ConstByteSpan(editors.threeDs).subspan(ThreeDRecord::Size)),
                 std::string("Sub"));
        QCOMPARE(editors.threeDs[ThreeDRecord::Size + 500], Byte(1));
    }

    void importReplacesRecordsInPlace() {
        Editors editors(objectRecord("Sub", 1), concatenated({threeD("Boat", 1), threeD("Sub", 2)}));
        TemporaryDirectory directory;
        writeFile(directory / "in.3db", concatenated({threeD("SUB", 9)}));
        editors.dialogs.choose({QString::fromStdString((directory / "in.3db").string())});
        trigger(*editors.threeDForm, "Action_ImportRecord");
        QCOMPARE(editors.threeDForm->records().count(), std::size_t(2));
        QCOMPARE(editors.threeDEntries(), QStringList({"001: Boat", "002: SUB"}));
        QCOMPARE(editors.fillOf(1), Byte(9));
        QCOMPARE(editors.dialogs.shown().last().text, QString("The following 1 record(s) were imported:\nSUB\n"));
        QVERIFY(editors.threeDForm->changed());
    }

    void renamingAnObjectListsItWhenNo3DObjectCarriesTheNewName() {
        Editors editors(objectRecord("Frigate", 2), threeD("Frigate", 1));
        QVERIFY(editors.lacking().isEmpty());
        typeInto(control<QLineEdit>(*editors.objectForm, "ObjectName"), "Frigate II");
        QCOMPARE(editors.lacking(), QStringList({"001: Frigate II"}));
        QVERIFY(editors.objectForm->threeDWarningShown());
        QCOMPARE(editors.threeDEntries(), QStringList({"001: Frigate"}));
    }

    // A pick made before a rebuild could name another object after it (a sort moves the
    // objects under the same entries): every rebuild leaves no entry selected, and a copy then
    // does nothing until the user picks again.
    void aRebuiltListHasNoEntrySelected() {
        Editors editors(concatenated({objectRecord("Sub", 1), objectRecord("Frigate", 2), objectRecord("Seahawk", 4)}),
                        threeD("Frigate", 1));
        clickEntry(editors.threeDForm->objectList(), 1);
        doubleClickEntry(editors.objectForm->recordList(), 0);
        typeInto(control<QLineEdit>(*editors.objectForm, "ObjectName"), "Sub II");
        QCOMPARE(editors.lacking(), QStringList({"001: Sub II", "003: Seahawk"}));
        QVERIFY(editors.threeDForm->objectList()->selectionModel()->selectedIndexes().isEmpty());
        doubleClickEntry(editors.threeDForm->threeDList(), 0);
        QCOMPARE(editors.threeDForm->records().count(), std::size_t(1));
        QVERIFY(!editors.threeDForm->changed());

        editors.copy(1, 0);
        QCOMPARE(editors.threeDEntries().last(), QString("002: Seahawk"));
    }

    void entriesFromRecord1000OnStillNameTheirObject() {
        ByteVector objects;
        ByteVector threeDs;
        for (int i = 1; i <= 1005; ++i) {
            const std::string name = "Object " + std::to_string(i);
            const ByteVector record = objectRecord(name, 2);
            objects.insert(objects.end(), record.begin(), record.end());
            if (i != 1003) {
                const ByteVector presentation = threeD(name, 1);
                threeDs.insert(threeDs.end(), presentation.begin(), presentation.end());
            }
        }
        Editors editors(objects, threeDs);
        QCOMPARE(editors.lacking(), QStringList({"1003: Object 1003"}));
        editors.copy(0, 0);
        QCOMPARE(editors.threeDEntries().last(), QString("1005: Object 1003"));
        QVERIFY(editors.lacking().isEmpty());
    }

    // The list kept up to date one object at a time, after every keystroke in a name and every
    // change of type, is the list a plain scan of all objects gives.
    void theListKeptUpToDateIsTheListAPlainScanGives() {
        const std::vector<std::string> pool{"Frigate", "FRIGATE", "frigatE", "Sub", "Tanker", "Pilot", "Hawk"};
        std::mt19937 random(2026);
        ByteVector objects;
        for (int i = 0; i < 40; ++i) {
            const ByteVector record = objectRecord(pool[random() % pool.size()], static_cast<std::int16_t>(random() % 12));
            objects.insert(objects.end(), record.begin(), record.end());
        }
        Editors editors(objects, concatenated({threeD("frigate", 1), threeD("Hawk", 2)}));
        const auto plainScan = [&] {
            std::vector<std::size_t> lacking;
            for (std::size_t i = 0; i < editors.objectForm->records().count(); ++i) {
                const ConstByteSpan record = editors.objectForm->records().record(i);
                const std::string name = editorNameKey(ObjectRecord::ObjectName.bytes(record));
                const int type = ObjectRecord::ObjType.read(record);
                if (type != 9 && type != 10 && name != "FRIGATE" && name != "HAWK") {
                    lacking.push_back(i);
                }
            }
            return lacking;
        };
        auto* name = control<QLineEdit>(*editors.objectForm, "ObjectName");
        auto* type = control<QComboBox>(*editors.objectForm, "ObjType");
        for (int edit = 0; edit < 150; ++edit) {
            editors.dialogs.answer(DialogService::Answer::Yes);
            doubleClickEntry(editors.objectForm->recordList(), static_cast<int>(random() % 40));
            editors.dialogs.clear();
            if (random() % 3 == 0) {
                type->setCurrentIndex(static_cast<int>(random() % 11));
            } else {
                typeInto(name, QString::fromStdString(pool[random() % pool.size()]));
            }
            QCOMPARE(editors.threeDForm->lackingObjects(), plainScan());
            QCOMPARE(editors.threeDForm->objectList()->model()->rowCount(), static_cast<int>(plainScan().size()));
        }
        // A full rebuild agrees with what was kept up to date.
        trigger(*editors.objectForm, "Action_SortRecord");
        QCOMPARE(editors.threeDForm->lackingObjects(), plainScan());
    }
};

QTEST_MAIN(ThreeDEditorTest)
#include "ThreeDEditorTest.moc"
