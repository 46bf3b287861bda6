// SPDX-License-Identifier: MIT
// What typing does to the record and to the box, in the editors whose boxes act at every
// keystroke: a refused text leaves the box showing what the record holds, and a count box that
// passes through a lower count on the way to a higher one loses no entry.
#include "carriers/SbaDb.h"
#include "carriers/TSBAForm.h"
#include "launchers/LauncherRecord.h"
#include "launchers/TLauncherForm.h"
#include "nations/MissionDb.h"
#include "nations/TMissionForm.h"

#include "../carriers/CarrierBytes.h"
#include "../nations/MissionBytes.h"
#include "support/RecordBytes.h"
#include "support/ScriptedDialogService.h"
#include "support/WindowDriver.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>

using namespace keel;
using namespace keel::test;
using L = LauncherRecord;

namespace {

// Aldermark: five classes named Class 1 .. Class 5, the first with three platforms.
ByteVector aldermark() {
    ByteVector block = nationRecordBytes("Aldermark", 5);
    for (int i = 1; i <= 5; ++i) {
        const int platforms = i == 1 ? 3 : 1;
        block = joined({block, classRecordBytes(2, "", "Class " + std::to_string(i), "", platforms)});
        for (int p = 1; p <= platforms; ++p) {
            block = joined({block, platformRecordBytes("", "Ship " + std::to_string(p), p)});
        }
    }
    return countedFile({block});
}

// Petrel LHA embarks two aircraft types, the second the Hornet SH-4.
ByteVector petrel() {
    return countedFile({joined({carrierRecordBytes("Aldermark", "Petrel LHA", 2),
                                aircraftTypeBytes("Osprey", "Osprey", "Wing", 4),
                                aircraftTypeBytes("Hornet SH-4", "Hornet", "Wing", 6)})});
}

struct Editors {
    Editors()
        : launcherMaster(namedRecord(L::Size, "Gun", 0)), nationMaster(aldermark()), carrierMaster(petrel()) {
        launchers = std::make_unique<TLauncherForm>(launcherMaster, dialogs);
        nations = std::make_unique<TMissionForm>(nationMaster, dialogs);
        carriers = std::make_unique<TSBAForm>(carrierMaster, &nations->nations(), dialogs);
        nations->setCarrierLists(carriers.get());
        for (RecordEditorForm* form : std::initializer_list<RecordEditorForm*>{launchers.get(), nations.get(), carriers.get()}) {
            form->showEditor();
            QVERIFY(QTest::qWaitForWindowExposed(form));
            doubleClickEntry(form->recordList(), 0);
        }
    }
    ~Editors() { nations->setCarrierLists(nullptr); }

    ConstByteSpan launcher() const { return launchers->records().record(0); }
    const Nation& nation() const { return nations->nations().nation(0); }
    const Carrier& carrier() const { return carriers->carriers().carrier(0); }
    QStringList classNames() const {
        QStringList names;
        for (const NationClass& shown : nation().classes) {
            names << QString::fromStdString(ClassRecord::ClassName.read(shown.record));
        }
        return names;
    }

    ByteVector launcherMaster;
    ByteVector nationMaster;
    ByteVector carrierMaster;
    ScriptedDialogService dialogs;
    std::unique_ptr<TLauncherForm> launchers;
    std::unique_ptr<TMissionForm> nations;
    std::unique_ptr<TSBAForm> carriers;
};

// Types each text over the box's selected content in turn, as a user who selects it all first.
void typeEach(QLineEdit* edit, const QStringList& texts) {
    for (const QString& text : texts) {
        typeInto(edit, text);
    }
}

} // namespace

class TypedValuesTest : public QObject {
    Q_OBJECT

private slots:
    void aRefusedTextLeavesTheBoxShowingWhatTheRecordHolds() {
        struct Case {
            const char* form;
            const char* box;
            QStringList typed;
            QString shown;
            std::function<std::int64_t(const Editors&)> stored;
            std::int64_t expected;
            int errors; // boxes that report their refusals
        };
        const std::vector<Case> cases{
            {"launchers", "tubes", {"40000"}, "4000", [](const Editors& e) { return L::tubes.read(e.launcher()); }, 4000, 1},
            {"launchers", "magazine", {"-3000000000"}, "-300000000",
             [](const Editors& e) { return L::magazine.read(e.launcher()); }, -300000000, 1},
            {"launchers", "pRel", {"12."}, "12", [](const Editors& e) { return L::pRel.read(e.launcher()); }, 12, 1},
            {"launchers", "rows", {"7", "abc"}, "7", [](const Editors& e) { return L::rows.read(e.launcher()); }, 7, 3},
            // A lone minus sign starts a negative number and is neither stored nor refused.
            {"launchers", "cols", {"-12"}, "-12", [](const Editors& e) { return L::cols.read(e.launcher()); }, -12, 0},
            {"launchers", "centx", {"25", "25x"}, "25", [](const Editors& e) { return L::centx.read(e.launcher()); }, 25, 1},
            {"nations", "numClasses", {"0"}, "5", [](const Editors& e) { return e.nation().classes.size(); }, 5, 0},
            {"nations", "HullNum", {"abc"}, "1",
             [](const Editors& e) { return PlatformRecord::HullNum.read(e.nation().classes[0].platforms[0].record); }, 1, 0},
            {"carriers", "Num", {"40000"}, "4000",
             [](const Editors& e) { return AircraftTypeRecord::Num.read(e.carrier().aircraftTypes[0].record); }, 4000, 0},
        };
        for (const Case& c : cases) {
            Editors editors;
            const QWidget& form = c.form == QString("launchers") ? static_cast<QWidget&>(*editors.launchers)
                                  : c.form == QString("nations") ? static_cast<QWidget&>(*editors.nations)
                                                                 : static_cast<QWidget&>(*editors.carriers);
            QLineEdit* edit = control<QLineEdit>(form, c.box);
            typeEach(edit, c.typed);
            QVERIFY2(edit->text() == c.shown, qPrintable(QString("%1 shows %2").arg(c.box, edit->text())));
            QVERIFY2(c.stored(editors) == c.expected, c.box);
            QVERIFY2(editors.dialogs.shown().size() == c.errors, c.box);
        }
    }

    void aLoneMinusSignLeftInABoxIsRefusedThen() {
        Editors editors;
        QLineEdit* rows = control<QLineEdit>(*editors.launchers, "rows");
        typeInto(rows, "-");
        QCOMPARE(editors.dialogs.shown().size(), 0);
        QTest::keyClick(rows, Qt::Key_Return);
        QCOMPARE(rows->text(), QString("0"));
        QCOMPARE(editors.dialogs.texts(), QStringList{"'-' is not a valid integer value"});
    }

    void countsLoseNoEntryOnTheWayToTheirValue() {
        Editors editors;
        const QStringList fiveClasses{"Class 1", "Class 2", "Class 3", "Class 4", "Class 5"};
        QLineEdit* classes = control<QLineEdit>(*editors.nations, "numClasses");
        typeInto(classes, "15"); // passes through 1
        QCOMPARE(editors.classNames().mid(0, 5), fiveClasses);
        QCOMPARE(editors.classNames().size(), 15);
        QCOMPARE(editors.classNames()[5], QString("New Class"));
        QTest::keyClick(classes, Qt::Key_PageDown);
        QTest::keyClick(classes, Qt::Key_PageDown);
        QCOMPARE(editors.classNames(), QStringList{"Class 1"});
        typeInto(classes, "5");
        QCOMPARE(editors.classNames(), fiveClasses);
        QCOMPARE(editors.nation().classes[0].platforms.size(), std::size_t(3));

        QLineEdit* platforms = control<QLineEdit>(*editors.nations, "numObjects");
        typeInto(platforms, "1");
        typeInto(platforms, "3");
        QCOMPARE(PlatformRecord::Name.read(editors.nation().classes[0].platforms[2].record), std::string("Ship 3"));
        QCOMPARE(NationRecord::numClasses.read(editors.nation().record), 5);

        QLineEdit* aircraftTypes = control<QLineEdit>(*editors.carriers, "NumPlatforms");
        typeInto(aircraftTypes, "12");
        typeInto(aircraftTypes, "2");
        QCOMPARE(AircraftTypeRecord::TagName.read(editors.carrier().aircraftTypes[1].record), std::string("Hornet SH-4"));

        // Once the record is accepted, what a lower count drops is gone.
        typeInto(aircraftTypes, "1");
        QTest::mouseClick(control<QPushButton>(*editors.carriers, "SaveButton"), Qt::LeftButton);
        typeInto(aircraftTypes, "2");
        QCOMPARE(AircraftTypeRecord::TagName.read(editors.carrier().aircraftTypes[1].record), std::string());
        QCOMPARE(editors.dialogs.shown().size(), 0);
    }

    void textBoxesHoldWhatTheirFieldsStoreAndSayWhatTheyLeaveOut() {
        Editors editors;
        QLineEdit* country = control<QLineEdit>(*editors.nations, "CountryName");
        pasteInto(country, QString(300, 'x'));
        QCOMPARE(country->text(), QString(255, 'x'));
        QCOMPARE(NationRecord::CountryName.read(editors.nation().record), std::string(255, 'x'));

        QLineEdit* aircraft = control<QComboBox>(*editors.carriers, "TagName")->lineEdit();
        pasteInto(aircraft, QString::fromUtf8("Hornet \u0126\u0141 SH-5"));
        QCOMPARE(aircraft->text(), QString("Hornet  SH-5"));
        QCOMPARE(AircraftTypeRecord::TagName.read(editors.carrier().aircraftTypes[0].record), std::string("Hornet  SH-5"));
        QTRY_COMPARE(editors.dialogs.shown().size(), 1);
        QVERIFY(editors.dialogs.texts().first().startsWith(QString::fromUtf8("'\u0126\u0141' cannot be stored")));
    }
};

QTEST_MAIN(TypedValuesTest)
#include "TypedValuesTest.moc"
