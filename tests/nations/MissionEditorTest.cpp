// SPDX-License-Identifier: MIT
// The nation editor, driven through its window: nations, their classes and platforms, the
// tag-name lists it offers from the object editor, and what it tells the carrier editor.
#include "nations/MissionDb.h"
#include "nations/TMissionForm.h"
#include "objects/TObjectForm.h"

#include "nations/MissionBytes.h"
#include "support/RecordBytes.h"
#include "support/ScriptedDialogService.h"
#include "support/TemporaryDirectory.h"
#include "support/WindowDriver.h"

#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QTest>

#include <memory>

using namespace keel;
using namespace keel::test;
using Answer = DialogService::Answer;

namespace {

// What the carrier editor was told, in order.
class RecordedCarrierLists : public CarrierLists {
public:
    void RefreshNationList() override { calls << "nations"; }
    void RefreshShipClassList() override { calls << "ship classes"; }
    void RefreshAircraftClassList() override { calls << "aircraft classes"; }
    void RefreshAircraftNameList() override { calls << "aircraft names"; }
    QStringList take() { return std::exchange(calls, {}); }
    QStringList calls;
};

// A nation block with one class of the given type holding `platforms` platforms.
ByteVector nationBlock(std::string_view name, std::int32_t type = 2, std::int32_t platforms = 1,
                       std::string_view tag = "Halberd DDG") {
    ByteVector block = joined({nationRecordBytes(name, 1), classRecordBytes(type, tag, "Halberd", "DDG", platforms)});
    for (std::int32_t i = 0; i < platforms; ++i) {
        block = joined({block, platformRecordBytes(tag, "Ship " + std::to_string(i + 1), 100 + i)});
    }
    return block;
}

struct NationEditor {
    explicit NationEditor(ByteVector missions, ByteVector objectFile = {})
        : master(std::move(missions)), objects(std::move(objectFile)) {
        objectForm = std::make_unique<TObjectForm>(objects, dialogs);
        form = std::make_unique<TMissionForm>(master, dialogs);
        form->setObjectRecords(&objectForm->records());
        form->setCarrierLists(&carriers);
        objectForm->setTagNameChoices(form.get());
        form->showEditor();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        if (!form->nations().empty()) {
            doubleClickEntry(form->recordList(), 0);
        }
        carriers.take();
    }
    ~NationEditor() { objectForm->setTagNameChoices(nullptr); }

    QLineEdit* edit(const QString& name) const { return control<QLineEdit>(*form, name); }
    QComboBox* box(const QString& name) const { return control<QComboBox>(*form, name); }
    ArrowControl* arrows(const QString& name) const { return control<ArrowControl>(*form, name); }
    const Nation& shown() const { return form->nations().nation(*form->currentPosition()); }
    const NationClass& shownClass() const { return shown().classes[form->shownClass()]; }
    std::string classText(const TextFieldSpec& field) const { return field.read(shownClass().record); }

    ByteVector master;
    ByteVector objects;
    ScriptedDialogService dialogs;
    RecordedCarrierLists carriers;
    std::unique_ptr<TObjectForm> objectForm;
    std::unique_ptr<TMissionForm> form;
};

ByteVector someObjects() {
    return concatenated({objectRecord("Pike SSK", 1), objectRecord("Halberd DDG", 2), objectRecord("Hornet", 3),
                         objectRecord("Gull UH-2", 4), objectRecord("Pilot", 11), objectRecord("Mk 48", 7)});
}

} // namespace

class MissionEditorTest : public QObject {
    Q_OBJECT

private slots:
    void addGivesANewCountryWithOneClassAndOnePlatform() {
        ByteVector file = countBytes(8);
        for (int i = 0; i < 8; ++i) {
            const ByteVector block = nationBlock("Nation " + std::to_string(i + 1));
            file.insert(file.end(), block.begin(), block.end());
        }
        NationEditor editor(file);
        QCOMPARE(editor.form->windowTitle(), QString("Mission Records"));
        QStringList menu;
        for (QAction* action : editor.form->recordMenu()->actions()) {
            menu << (action->isSeparator() ? QString("-") : action->text());
        }
        QCOMPARE(menu, QStringList({"&Add Record", "&Copy Record", "&Delete Record", "-", "&Export Record",
                                    "&Import Records"}));
        QCOMPARE(entry(editor.form->recordList(), 6), QString("07: Nation 7"));
        trigger(*editor.form, "Action_AddRecord");
        QCOMPARE(entry(editor.form->recordList(), 8), QString("09: New Country"));
        QCOMPARE(editor.edit("CountryName")->text(), QString("New Country"));
        QCOMPARE(editor.box("ObjType")->currentText(), QString("Surf"));
        QCOMPARE(editor.edit("ClassName")->text(), QString("New Class"));
        QCOMPARE(editor.edit("numObjects")->text(), QString("1"));
        QCOMPARE(editor.edit("HullNum")->text(), QString("-1"));
        QVERIFY(editor.form->setChanged());
        QCOMPARE(editor.carriers.take(), QStringList({"nations"}));
    }

    // Loaded and committed without a change, the file comes back as it was, but for the link
    // slots, which carry nothing.
    void aNationSetThatWasOnlyShownIsWrittenBackAsRead() {
        const ByteVector file = countedFile({nationBlock("Aldermark", 1, 3, "Pike SSK"), nationBlock("Corvasse", 3, 2, "")});
        NationEditor editor(file);
        doubleClickEntry(editor.form->recordList(), 1);
        QTest::mouseClick(editor.arrows("UpDown_CurrentPlatform")->upButton(), Qt::LeftButton);
        QVERIFY(!editor.form->recordChanged());
        editor.form->commit();
        ByteVector expected = file;
        // The link slots: the nation's at 260 and the class's at 532 of each block.
        const std::size_t first = 4;
        const std::size_t second = 4 + 264 + 536 + 3 * 516;
        for (std::size_t slot : {first + 260, first + 264 + 532, second + 260, second + 264 + 532}) {
            std::fill_n(expected.begin() + static_cast<std::ptrdiff_t>(slot), 4, Byte{0});
        }
        QCOMPARE(editor.master, expected);
    }

    void theClassCountAddsAndDropsWholeClasses() {
        NationEditor editor(countedFile({nationBlock("Aldermark", 1, 2)}));
        typeInto(editor.edit("numClasses"), "3");
        QCOMPARE(editor.shown().classes.size(), std::size_t(3));
        for (std::size_t i = 1; i < 3; ++i) {
            const NationClass& added = editor.shown().classes[i];
            QCOMPARE(ClassRecord::ObjType.read(added.record), 2);
            QCOMPARE(ClassRecord::ClassName.read(added.record), std::string("New Class"));
            QCOMPARE(added.platforms.size(), std::size_t(1));
            QCOMPARE(PlatformRecord::HullNum.read(added.platforms[0].record), -1);
        }
        QVERIFY(editor.form->recordChanged());
        QCOMPARE(editor.carriers.calls.mid(editor.carriers.calls.size() - 2),
                 QStringList({"ship classes", "aircraft classes"}));
        // The class selector wraps from the last class to the first.
        QTest::mouseClick(editor.arrows("UpDown_CurrentClass")->downButton(), Qt::LeftButton);
        QCOMPARE(editor.edit("currentClass")->text(), QString("3"));
        QCOMPARE(editor.edit("ClassName")->text(), QString("New Class"));
        typeInto(editor.edit("numClasses"), "1");
        QCOMPARE(editor.shown().classes.size(), std::size_t(1));
        QCOMPARE(editor.edit("currentClass")->text(), QString("1"));
        QCOMPARE(editor.edit("ClassName")->text(), QString("Halberd"));
        QCOMPARE(editor.shownClass().platforms.size(), std::size_t(2));
        // Text that is no count within the range is ignored.
        typeInto(editor.edit("numClasses"), "0");
        QCOMPARE(editor.shown().classes.size(), std::size_t(1));
    }

    // Aircraft classes: each platform names its own object, and has no hull number.
    void airPlatformsGetNoObjectAndNoHull() {
        NationEditor editor(countedFile({nationBlock("Aldermark", 3, 1, "")}), someObjects());
        QVERIFY(!editor.box("Class_TagName")->isEnabled());
        QVERIFY(!editor.edit("Designation")->isEnabled());
        QVERIFY(!editor.edit("HullNum")->isEnabled());
        QVERIFY(editor.box("Platform_TagName")->isEnabled());
        QCOMPARE(editor.form->tagNameChoices("Platform_TagName"), QStringList({"Hornet", "Gull UH-2"}));
        typeInto(editor.edit("numObjects"), "3");
        QCOMPARE(editor.shownClass().platforms.size(), std::size_t(3));
        for (std::size_t i = 1; i < 3; ++i) {
            QCOMPARE(PlatformRecord::Platform_TagName.read(editor.shownClass().platforms[i].record), std::string());
            QCOMPARE(PlatformRecord::HullNum.read(editor.shownClass().platforms[i].record), -1);
        }
        QCOMPARE(editor.carriers.calls.last(), QString("aircraft names"));
    }

    void anInvalidTypeEmptiesTheClassAndOffersOnlyGuidance() {
        NationEditor editor(countedFile({nationBlock("Aldermark", 2, 1)}), someObjects());
        QCOMPARE(editor.form->tagNameChoices("Class_TagName"), QStringList({"Halberd DDG", "Pilot"}));
        editor.box("ObjType")->setCurrentIndex(5); // "N/A: Mine"
        QCOMPARE(ClassRecord::ObjType.read(editor.shownClass().record), 6);
        QCOMPARE(editor.classText(ClassRecord::Class_TagName), std::string());
        QCOMPARE(ClassRecord::Designation.read(editor.shownClass().record), std::string());
        QCOMPARE(editor.box("Class_TagName")->currentText(), QString());
        QCOMPARE(editor.edit("Designation")->text(), QString());
        const QStringList guidance{"This type is invalid", "Choose a valid (not N/A) one"};
        QCOMPARE(editor.form->tagNameChoices("Class_TagName"), guidance);
        QCOMPARE(editor.form->tagNameChoices("Platform_TagName"), guidance);
        QCOMPARE(editor.carriers.take(), QStringList({"ship classes", "aircraft classes"}));

        NationEditor single(countedFile({nationBlock("Aldermark", 6, 1, "")}), objectRecord("Only", 2));
        QCOMPARE(single.form->tagNameChoices("Class_TagName"), QStringList({"This type is invalid"}));
        NationEditor none(countedFile({nationBlock("Aldermark", 6, 1, "")}));
        QCOMPARE(none.form->tagNameChoices("Class_TagName"), QStringList());
    }

    // Types outside the known ones show no entry, offer the guidance and leave the boxes as
    // the class before them left them.
    void aClassOfAnUnknownTypeLeavesTheBoxesAsTheyWere() {
        ByteVector block = joined({nationRecordBytes("Aldermark", 3), classRecordBytes(3, "", "Air", "", 1),
                                   platformRecordBytes("", "", -1), classRecordBytes(0, "", "Zero", "", 1),
                                   platformRecordBytes("", "", 5), classRecordBytes(12, "", "Twelve", "", 1),
                                   platformRecordBytes("", "", 6)});
        NationEditor editor(joined({countBytes(1), block}), someObjects());
        QVERIFY(!editor.edit("HullNum")->isEnabled()); // the Air class
        QTest::mouseClick(editor.arrows("UpDown_CurrentClass")->upButton(), Qt::LeftButton);
        QCOMPARE(editor.edit("ClassName")->text(), QString("Zero"));
        QCOMPARE(editor.box("ObjType")->currentIndex(), -1);
        QVERIFY(!editor.edit("HullNum")->isEnabled());
        QCOMPARE(editor.form->tagNameChoices("Class_TagName"),
                 QStringList({"This type is invalid", "Choose a valid (not N/A) one"}));
        QTest::mouseClick(editor.arrows("UpDown_CurrentClass")->upButton(), Qt::LeftButton);
        QCOMPARE(editor.edit("ClassName")->text(), QString("Twelve"));
        QCOMPARE(editor.box("ObjType")->currentIndex(), -1);
        QVERIFY(!editor.form->recordChanged());
    }

    // A sub or surface class's object goes to all its platforms, whose own box is then closed.
    void aClassObjectNameIsCopiedToItsPlatforms() {
        NationEditor editor(countedFile({nationBlock("Aldermark", 1, 3, "")}), someObjects());
        QVERIFY(editor.box("Platform_TagName")->isEnabled());
        typeInto(editor.box("Class_TagName")->lineEdit(), "Pike SSK");
        for (const Platform& platform : editor.shownClass().platforms) {
            QCOMPARE(PlatformRecord::Platform_TagName.read(platform.record), std::string("Pike SSK"));
        }
        QCOMPARE(editor.box("Platform_TagName")->currentText(), QString("Pike SSK"));
        QVERIFY(!editor.box("Platform_TagName")->isEnabled());
        typeInto(editor.box("Class_TagName")->lineEdit(), "");
        QVERIFY(editor.box("Platform_TagName")->isEnabled());
        QVERIFY(editor.form->recordChanged());
    }

    // Choosing another object for a platform clears its display name; showing it does not.
    void anotherObjectForAPlatformClearsItsName() {
        NationEditor editor(countedFile({nationBlock("Aldermark", 3, 2, "")}), someObjects());
        const auto name = [&](std::size_t i) {
            return PlatformRecord::Name.read(editor.shownClass().platforms[i].record);
        };
        QCOMPARE(name(0), std::string("Ship 1"));
        QTest::mouseClick(editor.arrows("UpDown_CurrentPlatform")->upButton(), Qt::LeftButton);
        QCOMPARE(editor.edit("Name")->text(), QString("Ship 2"));
        QVERIFY(!editor.form->recordChanged());
        editor.carriers.take();
        typeInto(editor.box("Platform_TagName")->lineEdit(), "Hornet");
        QCOMPARE(PlatformRecord::Platform_TagName.read(editor.shownClass().platforms[1].record), std::string("Hornet"));
        QCOMPARE(name(1), std::string());
        QCOMPARE(editor.edit("Name")->text(), QString());
        QCOMPARE(name(0), std::string("Ship 1"));
        QCOMPARE(editor.carriers.calls.last(), QString("aircraft names"));
        // Picked from the list, the same.
        typeInto(editor.edit("Name"), "Wing 2");
        QCOMPARE(editor.form->tagNameChoices("Platform_TagName"), QStringList({"Hornet", "Gull UH-2"}));
        editor.box("Platform_TagName")->setCurrentIndex(1);
        emit editor.box("Platform_TagName")->activated(1);
        QCOMPARE(PlatformRecord::Platform_TagName.read(editor.shownClass().platforms[1].record), std::string("Gull UH-2"));
        QCOMPARE(name(1), std::string());
    }

    void noToTheRetainQuestionPutsTheWholeNationBack() {
        NationEditor editor(countedFile({nationBlock("Aldermark"), nationBlock("Corvasse")}));
        typeInto(editor.edit("CountryName"), "Renamed");
        typeInto(editor.edit("numClasses"), "4");
        QCOMPARE(entry(editor.form->recordList(), 0), QString("01: Renamed"));
        // Hidden and shown again, the change is still asked about.
        editor.form->hideEditor();
        editor.form->showEditor();
        editor.dialogs.answer(Answer::No);
        doubleClickEntry(editor.form->recordList(), 1);
        QCOMPARE(editor.dialogs.shown().last().text, QString("Do you wish to retain changes made to Renamed?"));
        QCOMPARE(entry(editor.form->recordList(), 0), QString("01: Aldermark"));
        QCOMPARE(editor.form->nations().nation(0).classes.size(), std::size_t(1));
        QVERIFY(!editor.form->setChanged());
        doubleClickEntry(editor.form->recordList(), 0);
        QCOMPARE(editor.edit("CountryName")->text(), QString("Aldermark"));
        QCOMPARE(editor.edit("numClasses")->text(), QString("1"));
    }

    // After a delete no edit and no undo reaches a nation other than the one on screen.
    void deletingTheShownNationShowsTheOneInItsPlace() {
        NationEditor editor(countedFile({nationBlock("Aldermark"), nationBlock("Corvasse"), nationBlock("Tessaly")}));
        doubleClickEntry(editor.form->recordList(), 1);
        typeInto(editor.edit("ClassName"), "Changed");
        editor.carriers.take();
        trigger(*editor.form, "Action_DelRecord");
        QCOMPARE(editor.carriers.take(), QStringList({"nations"}));
        QCOMPARE(entries(editor.form->recordList()), QStringList({"01: Aldermark", "02: Tessaly"}));
        QCOMPARE(editor.edit("CountryName")->text(), QString("Tessaly"));
        typeInto(editor.edit("Name"), "Renamed Hull");
        QCOMPARE(PlatformRecord::Name.read(editor.form->nations().nation(1).classes[0].platforms[0].record),
                 std::string("Renamed Hull"));
        editor.dialogs.answer(Answer::No);
        doubleClickEntry(editor.form->recordList(), 0);
        QCOMPARE(PlatformRecord::Name.read(editor.form->nations().nation(1).classes[0].platforms[0].record),
                 std::string("Ship 1"));
        QCOMPARE(NationRecord::CountryName.read(editor.form->nations().nation(0).record), std::string("Aldermark"));
        QCOMPARE(editor.carriers.calls.first(), QString("nations"));
    }

    // The box reports the object it names as picked whenever it loses the focus, also after
    // its drop-down was only opened and closed: that must change nothing.
    void openingAndClosingAnObjectListChangesNothing() {
        NationEditor editor(countedFile({joined({nationRecordBytes("Aldermark", 1),
                                                 classRecordBytes(3, "", "Carrier Air Wing", "", 1),
                                                 platformRecordBytes("Hornet", "Falcon", -1)})}),
                            someObjects());
        QApplication::setActiveWindow(editor.form.get());
        QComboBox* box = editor.box("Platform_TagName");
        box->lineEdit()->setFocus();
        box->showPopup();
        box->hidePopup();
        editor.edit("Name")->setFocus();
        QTRY_VERIFY(editor.edit("Name")->hasFocus());
        QCOMPARE(editor.edit("Name")->text(), QString("Falcon"));
        QCOMPARE(PlatformRecord::Name.read(editor.shownClass().platforms[0].record), std::string("Falcon"));
        QVERIFY(!editor.form->recordChanged());
    }

    void importMatchesNationsByNameIgnoringCase() {
        NationEditor editor(countedFile({nationBlock("FRANCE", 2, 1, "Old"), nationBlock("Aldermark")}));
        TemporaryDirectory directory;
        writeFile(directory / "in.db", countedFile({nationBlock("France", 3, 2, ""), nationBlock("Chile")}));
        editor.dialogs.choose({QString::fromStdString((directory / "in.db").string())});
        trigger(*editor.form, "Action_ImportRecord");
        QCOMPARE(entries(editor.form->recordList()), QStringList({"01: France", "02: Aldermark", "03: Chile"}));
        QCOMPARE(editor.dialogs.shown().first().text, QString("Import/Export Files (*.db)"));
        QCOMPARE(editor.dialogs.shown().last().text, QString("The following 2 record(s) were imported:\nFrance\nChile\n"));
        // The nation on screen was overwritten: it is shown as it now is.
        QCOMPARE(editor.box("ObjType")->currentText(), QString("Air"));
        QCOMPARE(editor.shown().classes[0].platforms.size(), std::size_t(2));
        QVERIFY(editor.form->setChanged());
        QCOMPARE(editor.carriers.take(), QStringList({"nations"}));

        // Both nations of a file match: nothing is added.
        writeFile(directory / "both.db", countedFile({nationBlock("chile"), nationBlock("ALDERMARK")}));
        editor.dialogs.choose({QString::fromStdString((directory / "both.db").string())});
        trigger(*editor.form, "Action_ImportRecord");
        QCOMPARE(entries(editor.form->recordList()), QStringList({"01: France", "02: ALDERMARK", "03: chile"}));
    }


    void exportAppendsTheNationToAnExchangeFile() {
        NationEditor editor(countedFile({nationBlock("Aldermark")}));
        TemporaryDirectory directory;
        const QString file = QString::fromStdString((directory / "out.db").string());
        for (int i = 0; i < 2; ++i) {
            editor.dialogs.choose({file});
            clickEntry(editor.form->recordList(), 0);
            trigger(*editor.form, "Action_ExportRecord");
        }
        QCOMPARE(editor.dialogs.shown().last().text,
                 "Aldermark has been exported to " + file + ", which now contains 2 record(s)");
        const ByteVector written = readFile(directory / "out.db");
        QCOMPARE(int32At(written, 0), 2);
        QCOMPARE(readMissionDatabase(written, "out.db").nations.size(), std::size_t(2));
    }

    // The object editor's changes reach the tag-name lists when they are next looked at.
    void theTagNameListsFollowTheObjects() {
        NationEditor editor(countedFile({nationBlock("Aldermark", 1, 1, "")}), someObjects());
        QCOMPARE(editor.form->tagNameChoices("Class_TagName"), QStringList({"Pike SSK"}));
        editor.objectForm->showEditor();
        doubleClickEntry(editor.objectForm->recordList(), 1); // Halberd DDG becomes a sub
        control<QComboBox>(*editor.objectForm, "ObjType")->setCurrentIndex(0);
        QCOMPARE(editor.form->tagNameChoices("Class_TagName"), QStringList({"Pike SSK", "Halberd DDG"}));
        typeInto(control<QLineEdit>(*editor.objectForm, "ObjectName"), "Barracuda");
        QCOMPARE(editor.form->tagNameChoices("Platform_TagName"), QStringList({"Pike SSK", "Barracuda"}));
        QVERIFY(!editor.form->recordChanged());
    }
};

QTEST_MAIN(MissionEditorTest)
#include "MissionEditorTest.moc"
