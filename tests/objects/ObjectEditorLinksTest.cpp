// SPDX-License-Identifier: MIT
// The windows the object editor keeps up to date: the launcher editor's ammunition lists, the
// nation editor's tag-name lists, and the three slot pickers.
#include "objects/ObjectRecord.h"
#include "objects/ObjectTypes.h"
#include "objects/TObjectForm.h"

#include "support/RecordBytes.h"
#include "support/ScriptedDialogService.h"
#include "support/TemporaryDirectory.h"
#include "support/WindowDriver.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>
#include <random>
#include <string>

using namespace keel;
using namespace keel::test;
using R = ObjectRecord;

namespace {

ByteVector objectWithSlots(const std::string& name, std::int16_t first) {
    ByteVector record = objectRecord(name, 2);
    for (std::size_t i = 0; i < R::LauncherSlots.count; ++i) {
        R::LauncherSlots.write(record, i, static_cast<std::int16_t>(first + i));
    }
    for (std::size_t i = 0; i < R::AirstripSlots.count; ++i) {
        R::AirstripSlots.write(record, i, static_cast<std::int16_t>(first + 100 + i));
    }
    for (std::size_t i = 0; i < R::SensorSlots.count; ++i) {
        R::SensorSlots.write(record, i, static_cast<std::int16_t>(first + 200 + i));
    }
    return record;
}

SlotValues slotsOf(ConstByteSpan record, std::size_t offset, std::size_t count) {
    SlotValues values;
    for (std::size_t i = 0; i < count; ++i) {
        values.push_back(loadLittleEndian<std::int16_t>(record.subspan(offset + 2 * i, 2)));
    }
    return values;
}

// Notes the whole list after every change it is told of.
class RecordedAmmunitionLists : public AmmunitionChoices {
public:
    void refillAmmunitionLists(const QStringList& weaponNames) override { fills.append(weaponNames); }
    void renameAmmunition(std::size_t entry, const QString& name) override {
        QStringList names = fills.last();
        names[static_cast<qsizetype>(entry)] = name;
        fills.append(names);
    }
    void insertAmmunition(std::size_t entry, const QString& name) override {
        QStringList names = fills.last();
        names.insert(static_cast<qsizetype>(entry), name);
        fills.append(names);
    }
    void removeAmmunition(std::size_t entry) override {
        QStringList names = fills.last();
        names.removeAt(static_cast<qsizetype>(entry));
        fills.append(names);
    }
    QList<QStringList> fills;
};

// Notes, at every refill, the names and types it would offer, read from the object editor as
// the nation editor reads them.
class RecordedTagNameLists : public TagNameChoices {
public:
    void refillTagNameLists() override {
        QStringList seen;
        for (std::size_t i = 0; i < form->records().count(); ++i) {
            const ConstByteSpan record = form->records().record(i);
            seen.append(QString::fromLatin1(R::ObjectName.read(record).c_str()) + "/" +
                        QString::number(R::ObjType.read(record)));
        }
        refills.append(seen);
    }
    const TObjectForm* form = nullptr;
    QList<QStringList> refills;
};

class ScriptedPicker : public SlotPicker {
public:
    void loadSlots(const SlotValues& values) override { loaded.push_back(values); }
    std::optional<SlotValues> pickSlots(const SlotValues& values) override {
        opened.push_back(values);
        return kept;
    }
    std::vector<SlotValues> loaded;
    std::vector<SlotValues> opened;
    std::optional<SlotValues> kept; // what the user keeps when the picker opens next
};

struct LinkedObjectEditor {
    explicit LinkedObjectEditor(ByteVector file, bool withPickers = true) : master(std::move(file)) {
        ObjectEditorLinks links;
        links.ammunition = &ammunition;
        if (withPickers) {
            links.launcherPicker = &launchers;
            links.sensorPicker = &sensors;
            links.airstripPicker = &airstrips;
        }
        form = std::make_unique<TObjectForm>(master, dialogs, links);
        tagNames.form = form.get();
        form->setTagNameChoices(&tagNames);
        form->showEditor();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    ConstByteSpan record() const { return form->records().record(*form->currentPosition()); }
    QPushButton* button(const QString& name) const { return control<QPushButton>(*form, name); }

    ByteVector master;
    ScriptedDialogService dialogs;
    RecordedAmmunitionLists ammunition;
    RecordedTagNameLists tagNames;
    ScriptedPicker launchers, sensors, airstrips;
    std::unique_ptr<TObjectForm> form;
};

} // namespace

class ObjectEditorLinksTest : public QObject {
    Q_OBJECT

private slots:
    void ammunitionListsOfferTheWeaponLikeObjectsInRecordOrder() {
        // Every type code, and two outside the known ones, in an order that is not sorted.
        LinkedObjectEditor editor(concatenated(
            {objectRecord("Torpedo", 7), objectRecord("Frigate", 2), objectRecord("Flare", 0),
             objectRecord("Mine", 6), objectRecord("Shell", 9), objectRecord("Pilot", 11),
             objectRecord("Bullet", 10), objectRecord("Harrier", 3), objectRecord("Odd", 12),
             objectRecord("Missile", 8), objectRecord("Seahawk", 4), objectRecord("Sub", 1),
             objectRecord("Radar", 5)}));
        QVERIFY(!editor.ammunition.fills.isEmpty());
        QCOMPARE(editor.ammunition.fills.last(), QStringList({"Torpedo", "Mine", "Shell", "Bullet", "Missile"}));
    }

    void aTypeChangeToAWeaponOffersItAsAmmunitionAndRefreshesTheNations() {
        LinkedObjectEditor editor(concatenated({objectRecord("Torpedo", 7), objectRecord("Frigate", 2)}));
        doubleClickEntry(editor.form->recordList(), 1);
        const qsizetype refillsBefore = editor.tagNames.refills.size();

        control<QComboBox>(*editor.form, "ObjType")->setCurrentIndex(7); // Missile
        QCOMPARE(editor.ammunition.fills.last(), QStringList({"Torpedo", "Frigate"}));
        QCOMPARE(editor.tagNames.refills.size(), refillsBefore + 1);
        // The nation editor reads the records after the new type is stored.
        QCOMPARE(editor.tagNames.refills.last(), QStringList({"Torpedo/7", "Frigate/8"}));

        // Choosing the type it already has stores nothing and tells no one.
        const qsizetype fillsBefore = editor.ammunition.fills.size();
        control<QComboBox>(*editor.form, "ObjType")->setCurrentIndex(7);
        QCOMPARE(editor.ammunition.fills.size(), fillsBefore);
        QCOMPARE(editor.tagNames.refills.size(), refillsBefore + 1);
    }

    void aRenameReachesBothListsButALetterCaseChangeDoesNot() {
        LinkedObjectEditor editor(concatenated({objectRecord("Torpedo", 7), objectRecord("Frigate", 2)}));
        doubleClickEntry(editor.form->recordList(), 0);
        const qsizetype refillsBefore = editor.tagNames.refills.size();
        auto* name = control<QLineEdit>(*editor.form, "ObjectName");

        pasteInto(name, "Mk48");
        QCOMPARE(editor.ammunition.fills.last(), QStringList({"Mk48"}));
        QCOMPARE(editor.tagNames.refills.size(), refillsBefore + 1);
        QCOMPARE(editor.tagNames.refills.last().first(), QString("Mk48/7"));

        const qsizetype fillsBefore = editor.ammunition.fills.size();
        pasteInto(name, "MK48");
        QCOMPARE(editor.ammunition.fills.size(), fillsBefore);
        QCOMPARE(editor.tagNames.refills.size(), refillsBefore + 1);

        // A ship's new name changes nothing the launcher editor offers: its lists are left alone.
        editor.dialogs.answer(DialogService::Answer::Yes); // retain the weapon's new name
        doubleClickEntry(editor.form->recordList(), 1);
        pasteInto(name, "Frigate II");
        QCOMPARE(editor.ammunition.fills.size(), fillsBefore);
        QCOMPARE(editor.tagNames.refills.size(), refillsBefore + 2);
        QCOMPARE(editor.tagNames.refills.last().last(), QString("Frigate II/2"));
    }

    void everyChangeOfTheRecordsRefillsTheTagNamesOnce() {
        LinkedObjectEditor editor(concatenated({objectRecord("Tanker", 2), objectRecord("Alpha", 1)}));
        doubleClickEntry(editor.form->recordList(), 0);
        auto refillsAfter = [&](auto operation) {
            const qsizetype before = editor.tagNames.refills.size();
            operation();
            return editor.tagNames.refills.size() - before;
        };
        clickEntry(editor.form->recordList(), 0);
        QCOMPARE(refillsAfter([&] { trigger(*editor.form, "Action_AddRecord"); }), 1);
        QCOMPARE(editor.tagNames.refills.last().last(), QString("New Object/0"));
        clickEntry(editor.form->recordList(), 0);
        QCOMPARE(refillsAfter([&] { trigger(*editor.form, "Action_CopyRecord"); }), 1);
        QCOMPARE(editor.tagNames.refills.last().size(), 4);
        QCOMPARE(refillsAfter([&] { trigger(*editor.form, "Action_SortRecord"); }), 1);
        QCOMPARE(editor.tagNames.refills.last().first(), QString("Alpha/1"));
        clickEntry(editor.form->recordList(), 0);
        QCOMPARE(refillsAfter([&] { trigger(*editor.form, "Action_DelRecord"); }), 1);
        QCOMPARE(editor.tagNames.refills.last().size(), 3);

        TemporaryDirectory directory;
        writeFile(directory / "in.odb", objectRecord("Oiler", 2));
        editor.dialogs.choose({QString::fromStdString((directory / "in.odb").string())});
        QCOMPARE(refillsAfter([&] { trigger(*editor.form, "Action_ImportRecord"); }), 1);
        QCOMPARE(editor.tagNames.refills.last().last(), QString("Oiler/2"));

        editor.dialogs.answer(DialogService::Answer::Yes);
        QCOMPARE(refillsAfter([&] { QTest::mouseClick(control<QPushButton>(*editor.form, "RestoreAllButton"),
                                                      Qt::LeftButton); }),
                 1);
        QCOMPARE(editor.tagNames.refills.last(), QStringList({"Tanker/2", "Alpha/1"}));

        // A field that is neither name nor type is no news for the nation editor.
        doubleClickEntry(editor.form->recordList(), 0);
        QCOMPARE(refillsAfter([&] { pasteInto(control<QLineEdit>(*editor.form, "Mass"), "12"); }), 0);
        QVERIFY(editor.dialogs.unexpected().isEmpty());
    }

    void showingAnObjectHandsItsSlotsToThePickers() {
        LinkedObjectEditor editor(concatenated({objectWithSlots("Frigate", 1), objectWithSlots("Tanker", 7)}));
        QCOMPARE(editor.sensors.loaded.back(), slotsOf(editor.record(), 208, 9));
        QCOMPARE(editor.airstrips.loaded.back(), slotsOf(editor.record(), 184, 10));
        QCOMPARE(editor.launchers.loaded.back(), slotsOf(editor.record(), 124, 30));
        QCOMPARE(editor.sensors.loaded.back().front(), std::int16_t(201));

        doubleClickEntry(editor.form->recordList(), 1);
        QCOMPARE(editor.sensors.loaded.back().front(), std::int16_t(207));
        QCOMPARE(editor.airstrips.loaded.back().back(), std::int16_t(116));
        QCOMPARE(editor.launchers.loaded.back().back(), std::int16_t(36));
        QVERIFY(editor.sensors.opened.empty());
    }

    void aKeptChoiceIsWrittenIntoTheObjectAndMarksIt() {
        LinkedObjectEditor editor(objectWithSlots("Frigate", 1));
        const ByteVector before(editor.record().begin(), editor.record().end());
        SlotValues chosen = slotsOf(editor.record(), 208, 9);
        chosen[1] = 0;
        chosen[8] = 42;
        editor.sensors.kept = chosen;

        QVERIFY(editor.button("SensorButton")->isEnabled());
        QTest::mouseClick(editor.button("SensorButton"), Qt::LeftButton);
        QCOMPARE(editor.sensors.opened.size(), std::size_t(1));
        QCOMPARE(editor.sensors.opened.back(), slotsOf(before, 208, 9));
        QCOMPARE(slotsOf(editor.record(), 208, 9), chosen);
        QVERIFY(editor.form->recordChanged());
        // Only the sensor slots changed.
        ByteVector expected = before;
        for (std::size_t i = 0; i < chosen.size(); ++i) {
            storeLittleEndian<std::int16_t>(ByteSpan(expected).subspan(208 + 2 * i, 2), chosen[i]);
        }
        QVERIFY(std::equal(expected.begin(), expected.end(), editor.record().begin()));

        // The snapshot still undoes it: No to the retain question brings the old slots back.
        editor.dialogs.answer(DialogService::Answer::No);
        doubleClickEntry(editor.form->recordList(), 0);
        QVERIFY(std::equal(before.begin(), before.end(), editor.form->records().record(0).begin()));
    }

    void aPickerClosedWithoutKeepingChangesNothing() {
        LinkedObjectEditor editor(objectWithSlots("Frigate", 1));
        const ByteVector before(editor.record().begin(), editor.record().end());
        editor.launchers.kept.reset();
        editor.airstrips.kept.reset();
        QTest::mouseClick(editor.button("WeaponButton"), Qt::LeftButton);
        QTest::mouseClick(editor.button("AirstripButton"), Qt::LeftButton);
        QCOMPARE(editor.launchers.opened.back(), slotsOf(before, 124, 30));
        QCOMPARE(editor.airstrips.opened.back(), slotsOf(before, 184, 10));
        QVERIFY(!editor.form->recordChanged());
        QVERIFY(std::equal(before.begin(), before.end(), editor.record().begin()));
    }

    void withoutPickersTheButtonsAreDisabled() {
        LinkedObjectEditor editor(objectWithSlots("Frigate", 1), false);
        for (const char* name : {"WeaponButton", "SensorButton", "AirstripButton"}) {
            QVERIFY(!editor.button(name)->isEnabled());
        }
    }

    // The launcher editor's lists are kept by telling it what changed; whatever the user does,
    // they hold what a refill from scratch would give: every weapon's name, in record order.
    void theAmmunitionListsFollowRandomEditsAsAFullRefillWould() {
        std::mt19937 random(1208);
        std::vector<ByteVector> records;
        for (int i = 0; i < 6; ++i) {
            records.push_back(objectRecord("Object " + std::to_string(i), static_cast<std::int16_t>(random() % 12)));
        }
        ByteVector file;
        for (const ByteVector& record : records) {
            file.insert(file.end(), record.begin(), record.end());
        }
        LinkedObjectEditor editor(file);
        auto* name = control<QLineEdit>(*editor.form, "ObjectName");
        auto* type = control<QComboBox>(*editor.form, "ObjType");
        const auto weaponNames = [&] {
            QStringList names;
            for (std::size_t i = 0; i < editor.form->records().count(); ++i) {
                const ConstByteSpan record = editor.form->records().record(i);
                if (isAmmunitionType(R::ObjType.read(record))) {
                    names.append(QString::fromLatin1(R::ObjectName.read(record).c_str()));
                }
            }
            return names;
        };
        for (int step = 0; step < 400; ++step) {
            const int count = static_cast<int>(editor.form->records().count());
            if (count > 0) {
                // Leaving a changed record asks whether to retain it: mostly yes; no undoes it.
                if (editor.form->recordChanged()) {
                    editor.dialogs.answer(random() % 4 != 0 ? DialogService::Answer::Yes : DialogService::Answer::No);
                }
                doubleClickEntry(editor.form->recordList(), static_cast<int>(random() % static_cast<unsigned>(count)));
            }
            // Mostly edits of the record on screen, which are handed over alone, between rarer
            // changes of the records, which are handed over whole.
            for (unsigned edits = 1 + random() % 3; edits > 0; --edits) {
                const unsigned choice = random() % 16;
                if (choice < 6) {
                    pasteInto(name, "Name " + QString::number(random() % 40));
                } else if (choice < 13) {
                    // Any type, but mostly a weapon or a ship, which come and go from the lists.
                    const unsigned code = random() % 4 == 0 ? 1 + random() % 11 : (random() % 2 ? 7 : 2);
                    type->setCurrentIndex(static_cast<int>(code) - 1);
                } else if (choice == 13) {
                    trigger(*editor.form, random() % 2 ? "Action_AddRecord" : "Action_CopyRecord");
                } else if (choice == 14) {
                    trigger(*editor.form, "Action_DelRecord");
                } else {
                    trigger(*editor.form, "Action_SortRecord");
                }
                QCOMPARE(editor.ammunition.fills.last(), weaponNames());
            }
        }
    }
};

QTEST_MAIN(ObjectEditorLinksTest)
#include "ObjectEditorLinksTest.moc"
