// SPDX-License-Identifier: MIT
// The carrier editor, driven through its window beside the real nation editor whose data its
// lists offer.
#include "carriers/SbaDb.h"
#include "carriers/TSBAForm.h"
#include "nations/MissionDb.h"
#include "nations/TMissionForm.h"

#include "support/RecordBytes.h"
#include "support/ScriptedDialogService.h"
#include "support/TemporaryDirectory.h"
#include "support/WindowDriver.h"

#include <QComboBox>
#include <QMenu>
#include <QTest>

#include <memory>
#include <optional>
#include <random>

using namespace keel;
using namespace keel::test;
using Answer = DialogService::Answer;
using C = CarrierRecord;
using A = AircraftTypeRecord;

namespace {

NationClass nationClass(int type, const std::string& name, const std::string& designation,
                        std::initializer_list<std::pair<std::string, std::string>> platforms) {
    NationClass made = newNationClass();
    ClassRecord::ObjType.write(made.record, type);
    ClassRecord::ClassName.write(made.record, name, TextOverflow::Cut);
    ClassRecord::Designation.write(made.record, designation, TextOverflow::Cut);
    made.platforms.clear();
    for (const auto& [tag, shipName] : platforms) {
        Platform platform;
        PlatformRecord::Platform_TagName.write(platform.record, tag, TextOverflow::Cut);
        PlatformRecord::Name.write(platform.record, shipName, TextOverflow::Cut);
        made.platforms.push_back(platform);
    }
    return made;
}

Nation nation(const std::string& name, std::vector<NationClass> classes) {
    Nation made = newNation();
    NationRecord::CountryName.write(made.record, name, TextOverflow::Cut);
    made.classes = std::move(classes);
    return made;
}

// Aldermark has a sub, two surface classes (one without a designation) and an aircraft class;
// Corvasse only a sub and an aircraft class.
ByteVector missions() {
    const std::vector<Nation> nations{
        nation("Aldermark", {nationClass(1, "Pike", "SSK", {{"Pike SSK", "Pike"}}),
                             nationClass(2, "Halberd", "DDG", {{"Halberd DDG", "Partisan"}}),
                             nationClass(3, "Hornet", "", {{"Hornet A", "Wing 1"}, {"Hornet B", "Wing 2"}}),
                             nationClass(2, "Petrel", "", {{"Petrel LHA", "Petrel"}})}),
        nation("Corvasse", {nationClass(1, "Narwhal", "SSN", {{"Narwhal SSN", "Narwhal"}}),
                            nationClass(3, "Buzzard", "", {{"Buzzard A-6", "Buzzard"}})})};
    return writeMissionDatabase(nations);
}

Carrier carrier(const std::string& country, const std::string& shipClass,
                std::initializer_list<std::tuple<std::string, std::string, std::string, int>> types) {
    Carrier made = newCarrier();
    C::Country.write(made.record, country, TextOverflow::Cut);
    C::ObjectName.write(made.record, shipClass, TextOverflow::Cut);
    made.aircraftTypes.clear();
    for (const auto& [tag, display, className, count] : types) {
        AircraftType type = newAircraftType();
        A::TagName.write(type.record, tag, TextOverflow::Cut);
        A::DisplayName.write(type.record, display, TextOverflow::Cut);
        A::ClassName.write(type.record, className, TextOverflow::Cut);
        A::Num.write(type.record, count);
        made.aircraftTypes.push_back(type);
    }
    return made;
}

ByteVector carriers(std::vector<Carrier> list) { return writeCarrierDatabase(list); }

struct CarrierEditor {
    explicit CarrierEditor(ByteVector carrierFile, ByteVector missionFile = missions())
        : nationMaster(std::move(missionFile)), master(std::move(carrierFile)) {
        nations = std::make_unique<TMissionForm>(nationMaster, dialogs);
        form = std::make_unique<TSBAForm>(master, &nations->nations(), dialogs);
        nations->setCarrierLists(form.get());
        form->showEditor();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        if (!form->carriers().empty()) {
            doubleClickEntry(form->recordList(), 0);
        }
    }
    ~CarrierEditor() { nations->setCarrierLists(nullptr); }

    QComboBox* box(const QString& name) const { return control<QComboBox>(*form, name); }
    QLineEdit* edit(const QString& name) const { return control<QLineEdit>(*form, name); }
    ArrowControl* arrows(const QString& name) const { return control<ArrowControl>(*form, name); }
    const Carrier& shown() const { return form->carriers().carrier(*form->currentPosition()); }
    const AircraftType& entry() const { return shown().aircraftTypes[form->currentAircraftType()]; }
    void pick(const QString& boxName, int row) const {
        QComboBox* picked = box(boxName);
        picked->setCurrentIndex(row);
    }

    ByteVector nationMaster;
    ByteVector master;
    ScriptedDialogService dialogs;
    std::unique_ptr<TMissionForm> nations;
    std::unique_ptr<TSBAForm> form;
};

// Shows a record of an editor as a double click on its entry would, whether the window is
// shown or not.
void showEntry(RecordEditorForm& form, int row) {
    form.recordList()->setCurrentIndex(form.recordList()->model()->index(row, 0));
    form.FromListShowRecord();
}

QStringList nationNamesOf(const TMissionForm& nations) {
    QStringList names;
    for (const Nation& nation : nations.nations().nations()) {
        names << QString::fromStdString(NationRecord::CountryName.read(nation.record));
    }
    return names;
}

// The nation whose name is the country box's text, the last of several winning; none leaves
// the match where it was.
std::optional<std::size_t> lastNationNamed(const QStringList& names, const QString& name) {
    const qsizetype found = names.lastIndexOf(name);
    return found < 0 ? std::nullopt : std::optional<std::size_t>(static_cast<std::size_t>(found));
}

const Carrier albatross = carrier("Aldermark", "Halberd DDG", {{"Hornet A", "Wing 1", "Hornet", 4}, {"Hornet B", "Wing 2", "Hornet", 2}});

} // namespace

class CarrierEditorTest : public QObject {
    Q_OBJECT

private slots:
    void aNewCarrierShowsNewClassOfNoNation() {
        CarrierEditor editor(carriers({albatross}));
        QCOMPARE(editor.form->windowTitle(), QString("ShipBasedAircraft Records"));
        QCOMPARE(editor.form->recordList()->objectName(), QString("sbaList"));
        QVERIFY(editor.form->findChild<QAction*>("Action_SortRecord") == nullptr);
        trigger(*editor.form, "Action_AddRecord");
        QCOMPARE(entry(editor.form->recordList(), 1), QString("02: New Class"));
        QCOMPARE(editor.box("ObjectName")->currentText(), QString("New Class"));
        QCOMPARE(editor.box("Country")->currentText(), QString());
        QCOMPARE(editor.edit("NumPlatforms")->text(), QString("1"));
        QCOMPARE(editor.box("ClassName")->currentText(), QString());
        QCOMPARE(editor.box("TagName")->currentText(), QString());
        QCOMPARE(editor.edit("Num")->text(), QString("1"));
        QVERIFY(editor.form->setChanged());
    }

    // Showing a carrier offers the names of its nation: every nation, the nation's ship classes
    // that are neither subs nor aircraft as "ClassName Designation", its aircraft classes and
    // the aircraft of the carrier's class.
    void showingACarrierOffersItsNationsNames() {
        CarrierEditor editor(carriers({albatross}));
        QCOMPARE(editor.form->choices("Country"), QStringList({"Aldermark", "Corvasse"}));
        QCOMPARE(editor.form->choices("ObjectName"), QStringList({"Halberd DDG", "Petrel "}));
        QCOMPARE(editor.form->choices("ClassName"), QStringList({"Hornet"}));
        QCOMPARE(editor.form->choices("TagName"), QStringList({"Hornet A", "Hornet B"}));
        QCOMPARE(editor.box("ObjectName")->currentText(), QString("Halberd DDG"));
        QCOMPARE(editor.edit("DisplayName")->text(), QString("Wing 1"));
        QVERIFY(!editor.form->recordChanged());
    }

    void typingAShipClassRenamesTheEntryAndLeavesNoneSelected() {
        CarrierEditor editor(carriers({albatross, carrier("Corvasse", "Other", {{"", "", "", 1}})}));
        typeInto(editor.box("ObjectName")->lineEdit(), "Albatross CV");
        QCOMPARE(entry(editor.form->recordList(), 0), QString("01: Albatross CV"));
        QVERIFY(editor.form->recordList()->selectionModel()->selectedIndexes().isEmpty());
        trigger(*editor.form, "Action_CopyRecord");
        QCOMPARE(editor.form->carriers().count(), std::size_t(2)); // nothing selected, nothing copied
        QCOMPARE(C::ObjectName.read(editor.shown().record), std::string("Albatross CV"));
        QVERIFY(editor.form->recordChanged());
    }

    void choosingANationTakesItsFirstShipClass() {
        CarrierEditor editor(carriers({albatross}));
        editor.pick("Country", 1); // Corvasse: only a sub and aircraft
        QCOMPARE(editor.form->choices("ObjectName"), QStringList());
        QCOMPARE(C::Country.read(editor.shown().record), std::string("Corvasse"));
        editor.pick("Country", 0);
        QCOMPARE(editor.box("ObjectName")->currentText(), QString("Halberd DDG"));
        QCOMPARE(C::ObjectName.read(editor.shown().record), std::string("Halberd DDG"));
        editor.pick("ObjectName", 1); // no designation: the class name and one blank
        QCOMPARE(C::ObjectName.read(editor.shown().record), std::string("Petrel "));
        QCOMPARE(entry(editor.form->recordList(), 0), QString("01: Petrel "));
    }

    void choosingAnAircraftClassTakesItsFirstAircraft() {
        CarrierEditor editor(carriers({carrier("Aldermark", "Halberd DDG", {{"", "", "", 1}})}));
        editor.pick("ClassName", 0);
        QCOMPARE(editor.form->choices("TagName"), QStringList({"Hornet A", "Hornet B"}));
        QCOMPARE(editor.box("TagName")->currentText(), QString("Hornet A"));
        QCOMPARE(editor.edit("DisplayName")->text(), QString("Wing 1"));
        QCOMPARE(A::ClassName.read(editor.entry().record), std::string("Hornet"));
        QCOMPARE(A::TagName.read(editor.entry().record), std::string("Hornet A"));
        QCOMPARE(A::DisplayName.read(editor.entry().record), std::string("Wing 1"));
        // A typed aircraft that the class lacks keeps the display name as it was.
        typeInto(editor.box("TagName")->lineEdit(), "Nothing");
        QCOMPARE(A::DisplayName.read(editor.entry().record), std::string("Wing 1"));
    }

    void aircraftTypesAreAddedAndDroppedAtTheEnd() {
        CarrierEditor editor(carriers({albatross}));
        typeInto(editor.edit("NumPlatforms"), "3");
        QCOMPARE(editor.shown().aircraftTypes.size(), std::size_t(3));
        QCOMPARE(A::TagName.read(editor.shown().aircraftTypes[1].record), std::string("Hornet B"));
        QCOMPARE(A::Num.read(editor.shown().aircraftTypes[2].record), 1);
        // Show the third, then drop it: the last one that remains is shown.
        QTest::mouseClick(editor.arrows("UpDown_CurrentPlatform")->downButton(), Qt::LeftButton);
        QCOMPARE(editor.edit("CurrentPlatform")->text(), QString("3"));
        typeInto(editor.edit("NumPlatforms"), "2");
        QCOMPARE(editor.shown().aircraftTypes.size(), std::size_t(2));
        QCOMPARE(editor.edit("CurrentPlatform")->text(), QString("2"));
        QCOMPARE(editor.box("TagName")->currentText(), QString("Hornet B"));
        QCOMPARE(A::Num.read(editor.shown().aircraftTypes[0].record), 4);
    }

    void movingThroughTheAircraftTypesIsNoEdit() {
        CarrierEditor editor(carriers({albatross}));
        QTest::mouseClick(editor.arrows("UpDown_CurrentPlatform")->upButton(), Qt::LeftButton);
        QCOMPARE(editor.edit("CurrentPlatform")->text(), QString("2"));
        QCOMPARE(editor.edit("Num")->text(), QString("2"));
        QTest::mouseClick(editor.arrows("UpDown_CurrentPlatform")->upButton(), Qt::LeftButton);
        QCOMPARE(editor.edit("CurrentPlatform")->text(), QString("1")); // from the last to the first
        QVERIFY(!editor.form->recordChanged());
        QTest::mouseClick(editor.arrows("UpDown_Num")->upButton(), Qt::LeftButton);
        QCOMPARE(A::Num.read(editor.entry().record), 5);
        QVERIFY(editor.form->recordChanged());
    }

    void noToTheRetainQuestionPutsTheCarrierBackWithItsCount() {
        CarrierEditor editor(carriers({albatross, carrier("Corvasse", "Other", {{"", "", "", 1}})}));
        typeInto(editor.edit("NumPlatforms"), "5");
        editor.form->hideEditor();
        editor.form->showEditor();
        editor.dialogs.answer(Answer::No);
        doubleClickEntry(editor.form->recordList(), 1);
        QCOMPARE(editor.dialogs.shown().last().text, QString("Do you wish to retain changes made to Halberd DDG?"));
        QCOMPARE(editor.form->carriers().carrier(0).aircraftTypes.size(), std::size_t(2));
        doubleClickEntry(editor.form->recordList(), 0);
        QCOMPARE(editor.edit("NumPlatforms")->text(), QString("2"));
    }

    // A carrier matches one of the set when both its ship class and its nation are equal,
    // ignoring the case of ASCII letters.
    void importMatchesOnShipClassAndNation() {
        const Carrier first = carrier("Aldermark", "Halberd DDG", {{"Hornet A", "", "Hornet", 1}});
        const Carrier second = carrier("Corvasse", "Kestrel FFG", {{"", "", "", 1}});
        CarrierEditor editor(carriers({first, second}));
        TemporaryDirectory directory;
        const auto import = [&](const std::string& name, std::vector<Carrier> file) {
            writeFile(directory / name, carriers(std::move(file)));
            editor.dialogs.choose({QString::fromStdString((directory / name).string())});
            trigger(*editor.form, "Action_ImportRecord");
        };
        import("case.db", {carrier("ALDERMARK", "halberd ddg", {{"Hornet B", "", "Hornet", 7}})});
        QCOMPARE(entries(editor.form->recordList()), QStringList({"01: halberd ddg", "02: Kestrel FFG"}));
        QCOMPARE(editor.dialogs.shown().last().text, QString("The following 1 record(s) were imported:\nhalberd ddg\n"));
        QCOMPARE(A::Num.read(editor.form->carriers().carrier(0).aircraftTypes[0].record), 7);

        import("second.db", {carrier("Aldermark", "New One", {{"", "", "", 1}}), carrier("corvasse", "KESTREL FFG", {{"", "", "", 3}})});
        QCOMPARE(entries(editor.form->recordList()), QStringList({"01: halberd ddg", "02: KESTREL FFG", "03: New One"}));

        import("three.db", {carrier("aldermark", "HALBERD DDG", {{"", "", "", 2}}), carrier("Corvasse", "kestrel ffg", {{"", "", "", 2}}),
                            carrier("Corvasse", "Halberd DDG", {{"", "", "", 2}})});
        QCOMPARE(entries(editor.form->recordList()),
                 QStringList({"01: HALBERD DDG", "02: kestrel ffg", "03: New One", "04: Halberd DDG"}));
        QVERIFY(editor.form->setChanged());
    }

    // A file with values the editor never writes is imported repaired, and its report lists
    // every repair after the names, all twelve of them, not only the first ten.
    void importListsEveryRepairAfterTheNames() {
        CarrierEditor editor(carriers({albatross}));
        Carrier damaged = carrier("Aldermark", "Halberd DDG", {});
        for (int count : {0, -5, 99999, 0, 0, 0, 0, 0, 0, 0, 0}) {
            AircraftType type = newAircraftType();
            A::Num.write(type.record, count);
            damaged.aircraftTypes.push_back(type);
        }
        ByteVector file = carriers({damaged});
        std::fill_n(file.begin() + 4 + 520, 256, Byte{'T'}); // the first aircraft name, unended
        TemporaryDirectory directory;
        writeFile(directory / "damaged.db", file);
        editor.dialogs.choose({QString::fromStdString((directory / "damaged.db").string())});
        trigger(*editor.form, "Action_ImportRecord");

        const QString owner = " of carrier 1 (\"Halberd DDG\" of \"Aldermark\")";
        const QString raised = " carries 0 aircraft (Num); the number was raised to 1, the fewest it may be.";
        QString expected = "The following 1 record(s) were imported:\nHalberd DDG\n\nThis file: the aircraft name (TagName) "
                           "of aircraft type 1" + owner + " is 256 characters long, more than the 255 it may have; it "
                           "was cut to its first 255 characters.\nThis file: aircraft type 1" + owner + raised +
                           "\nThis file: aircraft type 2" + owner +
                           " carries -5 aircraft (Num); the number was raised to 1, the fewest it may be.\nThis file: "
                           "aircraft type 3" + owner +
                           " carries 99999 aircraft (Num); the number was lowered to 32767, the most it may be.";
        for (int type = 4; type <= 11; ++type) {
            expected += "\nThis file: aircraft type " + QString::number(type) + owner + raised;
        }
        QCOMPARE(editor.dialogs.shown().last().caption, QString::fromStdString((directory / "damaged.db").string()));
        QCOMPARE(editor.dialogs.shown().last().text, expected);
        QCOMPARE(editor.shown().aircraftTypes.size(), std::size_t(11));
        QCOMPARE(editor.box("TagName")->currentText(), QString(255, 'T'));
        QCOMPARE(editor.edit("Num")->text(), QString("1"));
        QCOMPARE(A::Num.read(editor.shown().aircraftTypes[2].record), 32767);
    }

    void exportCountsTheCarriersOfTheFile() {
        CarrierEditor editor(carriers({albatross}));
        TemporaryDirectory directory;
        const QString file = QString::fromStdString((directory / "out.db").string());
        for (const char* count : {"1", "2"}) {
            editor.dialogs.choose({file});
            clickEntry(editor.form->recordList(), 0);
            trigger(*editor.form, "Action_ExportRecord");
            QCOMPARE(editor.dialogs.shown().last().text,
                     "Halberd DDG has been exported to " + file + ", which now contains " + count + " record(s)");
        }
        QCOMPARE(readCarrierDatabase(readFile(directory / "out.db"), "out.db").carriers.size(), std::size_t(2));
    }

    // An export into a damaged carrier file writes nothing and says what is wrong with the
    // file, not what a reading of it would have kept.
    void exportIntoADamagedFileSaysWhatIsWrongAndWritesNothing() {
        CarrierEditor editor(carriers({albatross}));
        TemporaryDirectory directory;
        const std::string path = (directory / "damaged.db").string();
        const ByteVector one = carriers({albatross});
        const ByteVector block(one.begin() + 4, one.end());
        const std::pair<ByteVector, std::string> damaged[] = {
            {concatenated({ByteVector{3, 0, 0, 0}, block}),
             path + " says it holds 3 carriers, but its data ends at byte 2068, after carrier 1."},
            {ByteVector(one.begin(), one.end() - 1),
             path + ": carrier 1 of 1 (\"Halberd DDG\" of \"Aldermark\") ends early at byte 2067, in "
                    "aircraft type 2 of 2."},
            {concatenated({one, ByteVector(5, 1)}),
             path + " holds 5 bytes beyond its 1 carrier, from byte 2068, that belong to no carrier."},
        };
        for (const auto& [bytes, damage] : damaged) {
            writeFile(directory / "damaged.db", bytes);
            editor.dialogs.choose({QString::fromStdString(path)});
            clickEntry(editor.form->recordList(), 0);
            trigger(*editor.form, "Action_ExportRecord");
            QCOMPARE(editor.dialogs.shown().last().kind, ScriptedDialogService::Shown::Kind::Error);
            QCOMPARE(editor.dialogs.shown().last().text,
                     QString::fromStdString("Nothing was written to " + path + ", because it is damaged:\n" + damage));
            QCOMPARE(readFile(directory / "damaged.db"), bytes);
        }
    }

    // Renames in the nation editor change one entry of the country list each. Through random
    // renames (to names that other nations bear too), nations added and deleted, countries
    // typed or picked here and carriers shown, the list, the box's text and the matched nation
    // stay what a walk over the nations gives, and what a rebuild of the list leaves.
    void theCountryListFollowsRenamesAsARebuildWouldLeaveIt() {
        const std::vector<std::string> pool{"Aldermark", "Corvasse", "Tessaly", "", "aldermark", "Aldermark "};
        std::vector<Nation> nationSet;
        for (const std::string name : {"Aldermark", "Corvasse", "Aldermark", "Tessaly", "Corvasse"}) {
            nationSet.push_back(nation(name, {nationClass(2, "Kestrel " + name, "FFG", {{"Kestrel", "One"}}),
                                              nationClass(3, "Hawk", "", {{"Hawk A", "Wing"}})}));
        }
        CarrierEditor editor(carriers({carrier("Corvasse", "Kestrel Corvasse FFG", {{"Hawk A", "Wing", "Hawk", 1}}),
                                       carrier("Aldermark", "Kestrel Aldermark FFG", {{"", "", "", 1}}),
                                       carrier("Nowhere", "Other", {{"", "", "", 1}})}),
                             writeMissionDatabase(nationSet));
        TMissionForm& nations = *editor.nations;
        QComboBox* country = editor.box("Country");
        std::mt19937 random(20240611);
        const auto below = [&](std::size_t count) {
            return std::uniform_int_distribution<std::size_t>(0, count - 1)(random);
        };
        const auto poolName = [&] { return QString::fromStdString(pool[below(pool.size())]); };
        std::size_t expectedMatch = editor.form->matchedNation();

        for (int step = 0; step < 300; ++step) {
            const std::size_t nationCount = nations.nations().count();
            QString boxText = country->currentText();
            bool picked = false; // else no entry is current, as a rebuild of the list leaves it
            switch (below(10)) {
            case 0: // a nation added or copied, or one deleted
                showEntry(nations, static_cast<int>(below(nationCount)));
                if (nationCount > 2 && below(2) == 0) {
                    trigger(nations, "Action_DelRecord");
                } else {
                    trigger(nations, below(2) == 0 ? "Action_AddRecord" : "Action_CopyRecord");
                }
                break;
            case 1: // a country typed over the box's text
                pasteInto(country->lineEdit(), poolName());
                editor.form->SaveRecord();
                boxText = country->currentText();
                picked = country->currentIndex() >= 0;
                break;
            case 2: // a country picked from the list
                editor.pick("Country", static_cast<int>(below(nationCount)));
                editor.form->SaveRecord();
                boxText = country->currentText();
                picked = true;
                break;
            case 3: // another carrier
                showEntry(*editor.form, static_cast<int>(below(editor.form->carriers().count())));
                boxText = country->currentText();
                break;
            default: // a nation renamed
                showEntry(nations, static_cast<int>(below(nationCount)));
                pasteInto(control<QLineEdit>(nations, "CountryName"), poolName());
                nations.SaveRecord();
                break;
            }
            const QStringList names = nationNamesOf(nations);
            expectedMatch = lastNationNamed(names, boxText).value_or(expectedMatch);
            QCOMPARE(editor.form->choices("Country"), names);
            QCOMPARE(country->currentText(), boxText);
            if (!picked) {
                QCOMPARE(country->currentIndex(), -1);
            }
            QCOMPARE(editor.form->matchedNation(), expectedMatch);
            if (step % 10 == 0) {
                editor.form->RefreshNationList();
                QCOMPARE(editor.form->choices("Country"), names);
                QCOMPARE(country->currentText(), boxText);
                QCOMPARE(country->currentIndex(), -1);
                QCOMPARE(editor.form->matchedNation(), expectedMatch);
            }
        }
        QVERIFY(editor.dialogs.unexpected().isEmpty());
    }

    // The nation editor tells the carrier editor what changed; a nation deleted there leaves
    // empty lists here, never a reach into a nation that is gone.
    void theListsFollowTheNationEditor() {
        CarrierEditor editor(carriers({carrier("Corvasse", "Narwhal SSN", {{"Buzzard A-6", "Buzzard", "Buzzard", 1}})}));
        QCOMPARE(editor.form->matchedNation(), std::size_t(1));
        QCOMPARE(editor.form->choices("TagName"), QStringList({"Buzzard A-6"}));
        editor.nations->showEditor();
        doubleClickEntry(editor.nations->recordList(), 0);
        typeInto(control<QLineEdit>(*editor.nations, "CountryName"), "Aldermark Union");
        QCOMPARE(editor.form->choices("Country"), QStringList({"Aldermark Union", "Corvasse"}));

        clickEntry(editor.nations->recordList(), 1);
        trigger(*editor.nations, "Action_DelRecord"); // Corvasse, which the carrier names
        QCOMPARE(editor.form->choices("Country"), QStringList({"Aldermark Union"}));
        clickEntry(editor.nations->recordList(), 0);
        trigger(*editor.nations, "Action_DelRecord");
        editor.form->RefreshShipClassList();
        editor.form->RefreshAircraftClassList();
        editor.form->RefreshAircraftNameList();
        QCOMPARE(editor.form->choices("ObjectName"), QStringList());
        QCOMPARE(editor.form->choices("ClassName"), QStringList());
        QCOMPARE(editor.form->choices("TagName"), QStringList());
        typeInto(editor.box("ClassName")->lineEdit(), "Buzzard");
        QCOMPARE(A::ClassName.read(editor.entry().record), std::string("Buzzard"));
    }

    // Renaming an aircraft class in the nation editor renames the choice here at once; the
    // carrier's own text stays as it was, and the class it matched, the same class, still
    // offers its aircraft.
    // The aircraft classes and aircraft offered after a change of nation are that nation's:
    // a class left from another nation must not stand for a class of the new one by position.
    void aNewNationOffersOnlyItsOwnAircraft() {
        CarrierEditor editor(carriers({carrier("Corvasse", "Narwhal SSN", {{"Buzzard A-6", "Buzzard", "Buzzard", 2}})}));
        QCOMPARE(editor.form->choices("ClassName"), QStringList({"Buzzard"}));
        trigger(*editor.form, "Action_AddRecord");
        editor.pick("Country", 0); // Aldermark
        QCOMPARE(editor.form->choices("ClassName"), QStringList({"Hornet"}));
        typeInto(editor.box("ClassName")->lineEdit(), "Buzzard");
        QCOMPARE(editor.form->choices("TagName"), QStringList());
        QCOMPARE(A::TagName.read(editor.entry().record), std::string());
        editor.pick("ClassName", 0);
        QCOMPARE(A::TagName.read(editor.entry().record), std::string("Hornet A"));
    }

    // Deleting the last nation or carrier while it is shown shows the first.
    void deletingTheLastShownRecordShowsTheFirst() {
        CarrierEditor editor(carriers({albatross, carrier("Corvasse", "Narwhal SSN", {{"Buzzard A-6", "Buzzard", "Buzzard", 1}})}));
        editor.nations->showEditor();
        for (RecordEditorForm* form : std::initializer_list<RecordEditorForm*>{editor.form.get(), editor.nations.get()}) {
            doubleClickEntry(form->recordList(), 1);
            trigger(*form, "Action_DelRecord");
            QCOMPARE(form->currentPosition(), std::optional<std::size_t>(0));
        }
        QCOMPARE(editor.box("ObjectName")->currentText(), QString("Halberd DDG"));
        QCOMPARE(control<QLineEdit>(*editor.nations, "CountryName")->text(), QString("Aldermark"));
    }

    void renamingAnAircraftClassRenamesItsChoice() {
        CarrierEditor editor(carriers({carrier("Corvasse", "Narwhal SSN", {{"Buzzard A-6", "Buzzard", "Buzzard", 1}})}));
        QCOMPARE(editor.form->choices("ClassName"), QStringList({"Buzzard"}));
        editor.nations->showEditor();
        doubleClickEntry(editor.nations->recordList(), 1);
        QTest::mouseClick(control<ArrowControl>(*editor.nations, "UpDown_CurrentClass")->upButton(), Qt::LeftButton);
        QCOMPARE(control<QLineEdit>(*editor.nations, "ClassName")->text(), QString("Buzzard"));

        typeInto(control<QLineEdit>(*editor.nations, "ClassName"), "Harrier");
        QCOMPARE(editor.form->choices("ClassName"), QStringList({"Harrier"}));
        QCOMPARE(editor.box("ClassName")->currentText(), QString("Buzzard"));
        QCOMPARE(editor.form->choices("TagName"), QStringList({"Buzzard A-6"}));

        typeInto(editor.box("ClassName")->lineEdit(), "Harrier");
        QCOMPARE(editor.form->choices("TagName"), QStringList({"Buzzard A-6"}));
        QCOMPARE(A::ClassName.read(editor.entry().record), std::string("Harrier"));
    }
};

QTEST_MAIN(CarrierEditorTest)
#include "CarrierEditorTest.moc"
