// SPDX-License-Identifier: MIT
// The three slot pickers, driven through their windows: opened modally the way the object
// editor opens them, clicked in, and closed with Keep, Discard or the close box.
#include "pickers/ListFileEntries.h"
#include "pickers/SlotPickers.h"

#include "support/RecordBytes.h"
#include "support/WindowDriver.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <map>
#include <string>

using namespace keel;
using namespace keel::test;

namespace {

// The launcher editor's record list as the launcher picker sees it: lines as they stand, and a
// tally of the lines read.
class ListedEntries : public AvailableEntries {
public:
    explicit ListedEntries(QStringList lines) : lines(std::move(lines)) {}
    std::size_t count() const override { return static_cast<std::size_t>(lines.size()); }
    QString line(std::size_t value) const override {
        if (value < 1 || value > count()) {
            qFatal("line %zu asked of %zu entries", value, count());
        }
        ++linesRead;
        return lines[static_cast<qsizetype>(value - 1)];
    }
    // What follows "001: ", kept until the entry is asked for again.
    std::string_view name(std::size_t value) const override {
        const QString& text = lines[static_cast<qsizetype>(value - 1)];
        return names[value] = text.mid(text.indexOf(": ") + 2).toStdString();
    }
    QStringList lines;
    mutable int linesRead = 0;

private:
    mutable std::map<std::size_t, std::string> names;
};

// A launcher list too long to spell out: its lines are made as they are read.
class NumberedEntries : public AvailableEntries {
public:
    explicit NumberedEntries(std::size_t count) : count_(count) {}
    std::size_t count() const override { return count_; }
    QString line(std::size_t value) const override {
        ++linesRead;
        return QString("%1: Launcher %1").arg(value, 3, 10, QLatin1Char('0'));
    }
    std::string_view name(std::size_t value) const override {
        return names[value] = "Launcher " + std::to_string(value);
    }
    mutable int linesRead = 0;

private:
    std::size_t count_;
    mutable std::map<std::size_t, std::string> names;
};

// sensors.sdb or airstrip.adb holding records with these names; the bytes after each name are
// not zero, so a name read past its field would show them.
ByteVector listFile(std::size_t recordSize, const std::vector<std::string>& names) {
    ByteVector file;
    for (const std::string& name : names) {
        const ByteVector record = namedRecord(recordSize, name, 'x');
        file.insert(file.end(), record.begin(), record.end());
    }
    return file;
}

SlotValues emptySlots(std::size_t count) {
    return SlotValues(count, 0);
}

QStringList repeated(const QString& line, int times) {
    QStringList lines;
    for (int i = 0; i < times; ++i) {
        lines << line;
    }
    return lines;
}

int selectedRow(QListView* list) {
    const QModelIndexList selected = list->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void click(SlotPickerForm& picker, const char* button) {
    QTest::mouseClick(control<QPushButton>(picker, button), Qt::LeftButton);
}

struct Outcome {
    std::optional<SlotValues> kept;
    bool closedByUser = false;
};

// Opens the picker as the object editor does, and once it is up does what the user does in it.
// The user is expected to close it; if not, it is closed with Cancel so that the test goes on.
Outcome pick(SlotPickerForm& picker, const SlotValues& slotValues,
             const std::function<void()>& userActions) {
    Outcome outcome;
    QTimer::singleShot(0, &picker, [&] {
        [&] {
            QVERIFY(QApplication::activeModalWidget() == &picker);
            QVERIFY(QTest::qWaitForWindowExposed(&picker));
            userActions();
        }();
        outcome.closedByUser = !picker.isVisible();
        if (picker.isVisible()) {
            picker.reject();
        }
    });
    outcome.kept = picker.pickSlots(slotValues);
    return outcome;
}

} // namespace

class SlotPickerTest : public QObject {
    Q_OBJECT

private slots:
    void eachPickerHasItsNamesSlotsAndEmptySlotLine() {
        ListedEntries launchers({"001: 127mm Gun Mount"});
        const ByteVector noRecords;
        ListFileEntries sensors(sensorListFormat, noRecords);
        ListFileEntries airstrips(airstripListFormat, noRecords);
        TWeaponForm weapons(launchers);
        TSensorForm sensorPicker(sensors);
        TAirstripForm airstripPicker(airstrips);

        struct Expected {
            SlotPickerForm* picker;
            QString windowClass, caption, slotList, availableList, emptyLine;
            QStringList slotNumbers;
        };
        const QStringList oneToNine{"1", "2", "3", "4", "5", "6", "7", "8", "9"};
        QStringList oneToThirty;
        for (int slot = 1; slot <= 30; ++slot) {
            oneToThirty << QString("%1").arg(slot, 2, 10, QLatin1Char('0'));
        }
        const QList<Expected> pickers{
            {&weapons, "TWeaponForm", "Weapons (Launchers)", "SelectedWeapons", "LauncherList",
             "000: EMPTY SLOT", oneToThirty},
            {&sensorPicker, "TSensorForm", "Sensors", "SelectedSensors", "SensorList",
             "00: EMPTY SLOT", oneToNine},
            {&airstripPicker, "TAirstripForm", "Airstrips", "SelectedAirstrips", "AirstripList",
             "00: EMPTY SLOT", oneToThirty.mid(0, 10)},
        };
        for (const Expected& expected : pickers) {
            SlotPickerForm& picker = *expected.picker;
            const auto slotCount = static_cast<std::size_t>(expected.slotNumbers.size());
            picker.loadSlots(emptySlots(slotCount));
            QCOMPARE(picker.objectName(), expected.windowClass);
            QVERIFY(picker.windowFlags().testFlag(Qt::WindowSystemMenuHint));
            QCOMPARE(entries(control<QListView>(picker, "SlotNumbers")), expected.slotNumbers);
            auto* slotList = control<QListView>(picker, expected.slotList);
            QCOMPARE(entries(slotList), repeated(expected.emptyLine, expected.slotNumbers.size()));

            const Outcome outcome = pick(picker, emptySlots(slotCount), [&] {
                QCOMPARE(picker.windowHandle()->title(), expected.caption);
                QCOMPARE(picker.minimumSize(), picker.maximumSize());
                QCOMPARE(control<QPushButton>(picker, "KeepButton")->text(), QString("Keep"));
                QCOMPARE(control<QPushButton>(picker, "DiscardButton")->text(), QString("Discard"));
                // Every slot is in sight, each number level with its slot.
                const auto lastRow = [&](QListView* list) {
                    return list->visualRect(list->model()->index(list->model()->rowCount() - 1, 0));
                };
                auto* numbers = control<QListView>(picker, "SlotNumbers");
                QVERIFY(slotList->viewport()->rect().contains(lastRow(slotList)));
                QCOMPARE(numbers->viewport()->mapTo(&picker, lastRow(numbers).center()).y(),
                         slotList->viewport()->mapTo(&picker, lastRow(slotList).center()).y());
                QCOMPARE(entry(control<QListView>(picker, expected.availableList), 0),
                         expected.emptyLine);
                click(picker, "DiscardButton");
            });
            QVERIFY(outcome.closedByUser);
        }
    }

    void sensorsAreOfferedByPositionAndAChoiceGoesIntoTheSelectedSlot() {
        const ByteVector file = listFile(152, {"A", "B", "C"});
        ListFileEntries sensors(sensorListFormat, file);
        TSensorForm picker(sensors);
        auto* slotList = control<QListView>(picker, "SelectedSensors");
        auto* sensorList = control<QListView>(picker, "SensorList");
        const SlotValues before{3, 0, 1, 0, 0, 0, 0, 0, 0};

        const Outcome outcome = pick(picker, before, [&] {
            QCOMPARE(entries(sensorList),
                     QStringList({"00: EMPTY SLOT", "01: A", "02: B", "03: C"}));
            QCOMPARE(entries(slotList).mid(0, 3),
                     QStringList({"03: C", "00: EMPTY SLOT", "01: A"}));
            // Clicking a slot shows what it holds.
            clickEntry(slotList, 0);
            QCOMPARE(selectedRow(sensorList), 3);
            clickEntry(slotList, 1);
            QCOMPARE(selectedRow(sensorList), 0);

            // Successive entries are tried in the same slot.
            clickEntry(sensorList, 3);
            QCOMPARE(entry(slotList, 1), QString("03: C"));
            QCOMPARE(selectedRow(slotList), 1);
            clickEntry(sensorList, 2);
            QCOMPARE(entry(slotList, 1), QString("02: B"));
            QCOMPARE(selectedRow(slotList), 1);
            // The empty-slot line empties a slot.
            clickEntry(slotList, 2);
            clickEntry(sensorList, 0);
            QCOMPARE(entry(slotList, 2), QString("00: EMPTY SLOT"));
            click(picker, "KeepButton");
        });
        QVERIFY(outcome.closedByUser);
        QCOMPARE(outcome.kept, std::optional<SlotValues>(SlotValues{3, 2, 0, 0, 0, 0, 0, 0, 0}));
    }

    void listFileEntriesAreNumberedWithALeadingZeroOnlyBelowTen() {
        std::vector<std::string> names;
        for (int n = 1; n <= 100; ++n) {
            names.push_back("Sensor " + std::to_string(n));
        }
        names[9] = std::string(39, 'W') + "\x80"; // fills the name field: no terminator
        ByteVector file = listFile(152, names);
        file[9 * 152 + 40] = 'x';
        file.push_back(0); // an incomplete record is no record
        ListFileEntries sensors(sensorListFormat, file);
        TSensorForm picker(sensors);
        auto* sensorList = control<QListView>(picker, "SensorList");

        QCOMPARE(sensorList->model()->rowCount(), 101);
        QCOMPARE(entry(sensorList, 9), QString("09: Sensor 9"));
        QCOMPARE(entry(sensorList, 10), QString("10: ") + QString(39, 'W') + QChar(0x20AC));
        QCOMPARE(entry(sensorList, 11), QString("11: Sensor 11"));
        QCOMPARE(entry(sensorList, 100), QString("100: Sensor 100"));
    }

    void anAirstripFileIsReadAsItStandsAtEachOpening() {
        ByteVector file; // airstrip.adb of 0 bytes
        ListFileEntries airstrips(airstripListFormat, file);
        TAirstripForm picker(airstrips);
        auto* airstripList = control<QListView>(picker, "AirstripList");
        QCOMPARE(entries(airstripList), QStringList({"00: EMPTY SLOT"}));

        file = listFile(116, {"Deck"});
        file.resize(115); // shorter than one record
        pick(picker, emptySlots(10), [&] {
            QCOMPARE(entries(airstripList), QStringList({"00: EMPTY SLOT"}));
            click(picker, "DiscardButton");
        });

        file = listFile(116, {"Deck", "Helipad"});
        pick(picker, emptySlots(10), [&] {
            QCOMPARE(entries(airstripList),
                     QStringList({"00: EMPTY SLOT", "01: Deck", "02: Helipad"}));
            click(picker, "DiscardButton");
        });
    }

    void onlyAChoiceMakesKeepGiveTheSlotsBack() {
        ListedEntries launchers({"001: 127mm Gun Mount", "002: Mk 41 VLS"});
        TWeaponForm picker(launchers);
        auto* launcherList = control<QListView>(picker, "LauncherList");
        SlotValues before = emptySlots(30);
        before[0] = 2;

        Outcome outcome = pick(picker, before, [&] { click(picker, "KeepButton"); });
        QVERIFY(outcome.closedByUser);
        QVERIFY(!outcome.kept);

        // A choice with no slot selected changes no slot, yet Keep gives the slots back.
        outcome = pick(picker, before, [&] {
            clickEntry(launcherList, 1);
            QCOMPARE(entry(control<QListView>(picker, "SelectedWeapons"), 0),
                     QString("002: Mk 41 VLS"));
            click(picker, "KeepButton");
        });
        QVERIFY(outcome.closedByUser);
        QCOMPARE(outcome.kept, std::optional<SlotValues>(before));

        // The changed flag is the opening's own: a choice that was discarded does not carry over.
        pick(picker, before, [&] {
            clickEntry(launcherList, 1);
            click(picker, "DiscardButton");
        });
        outcome = pick(picker, before, [&] { click(picker, "KeepButton"); });
        QVERIFY(!outcome.kept);
    }

    void discardAndTheCloseBoxLeaveTheSlotsAsTheyWere() {
        const ByteVector file = listFile(116, {"Deck", "Helipad", "Hangar"});
        ListFileEntries airstrips(airstripListFormat, file);
        TAirstripForm picker(airstrips);
        auto* slotList = control<QListView>(picker, "SelectedAirstrips");
        auto* airstripList = control<QListView>(picker, "AirstripList");
        const SlotValues before{2, 1, 3, 0, 0, 0, 0, 0, 0, 0};
        const QStringList beforeLines{"02: Helipad", "01: Deck", "03: Hangar"};

        for (const char* way : {"DiscardButton", "close box"}) {
            const Outcome outcome = pick(picker, before, [&] {
                QCOMPARE(entries(slotList).mid(0, 3), beforeLines);
                clickEntry(slotList, 0);
                clickEntry(airstripList, 0);
                clickEntry(slotList, 2);
                clickEntry(airstripList, 1);
                clickEntry(slotList, 9);
                clickEntry(airstripList, 3);
                QCOMPARE(picker.slotCopy(), SlotValues({0, 1, 1, 0, 0, 0, 0, 0, 0, 3}));
                if (QString(way) == "close box") {
                    picker.close();
                } else {
                    click(picker, way);
                }
            });
            QVERIFY(outcome.closedByUser);
            QVERIFY(!outcome.kept);
        }
        // Reopened, it shows the object's slots again.
        pick(picker, before, [&] {
            QCOMPARE(entries(slotList).mid(0, 3), beforeLines);
            QCOMPARE(entry(slotList, 9), QString("00: EMPTY SLOT"));
            click(picker, "DiscardButton");
        });
    }

    void theLauncherPickerOffersTheLauncherListAsItStandsAtEachOpening() {
        ListedEntries launchers({"001: 127mm Gun Mount", "002: Mk 41 VLS"});
        TWeaponForm picker(launchers);
        auto* slotList = control<QListView>(picker, "SelectedWeapons");
        auto* launcherList = control<QListView>(picker, "LauncherList");
        QCOMPARE(entries(launcherList),
                 QStringList({"000: EMPTY SLOT", "001: 127mm Gun Mount", "002: Mk 41 VLS"}));

        // Added and renamed in the launcher editor, not saved.
        launchers.lines[0] = "001: 76mm Gun Mount";
        launchers.lines << "003: Harpoon Quad";
        const Outcome outcome = pick(picker, emptySlots(30), [&] {
            QCOMPARE(entries(launcherList), QStringList({"000: EMPTY SLOT", "001: 76mm Gun Mount",
                                                         "002: Mk 41 VLS", "003: Harpoon Quad"}));
            clickEntry(slotList, 29);
            clickEntry(launcherList, 3);
            QCOMPARE(entry(slotList, 29), QString("003: Harpoon Quad"));
            click(picker, "KeepButton");
        });
        SlotValues expected = emptySlots(30);
        expected[29] = 3;
        QCOMPARE(outcome.kept, std::optional<SlotValues>(expected));
    }

    void aSlotThatNamesNoEntryIsShownAndKeptAsItIs() {
        ListedEntries launchers({"001: 127mm Gun Mount", "002: Mk 41 VLS", "003: Harpoon Quad"});
        TWeaponForm picker(launchers);
        auto* slotList = control<QListView>(picker, "SelectedWeapons");
        auto* launcherList = control<QListView>(picker, "LauncherList");
        SlotValues before = emptySlots(30);
        before[0] = 7;
        before[1] = 1;
        before[2] = -2;
        before[4] = 4; // the list holds three launchers and the empty-slot line: four lines
        const QStringList beforeLines{"007: (no launcher 7 in the list)", "001: 127mm Gun Mount",
                                      "-002: (no launcher -2 in the list)", "000: EMPTY SLOT",
                                      "004: (no launcher 4 in the list)"};

        // Shown while the object editor shows the object, the picker hidden.
        picker.loadSlots(before);
        QCOMPARE(entries(slotList).mid(0, 5), beforeLines);
        QCOMPARE(picker.slotCopy(), before);

        const Outcome outcome = pick(picker, before, [&] {
            QCOMPARE(entries(slotList).mid(0, 5), beforeLines);
            clickEntry(slotList, 1);
            QCOMPARE(selectedRow(launcherList), 1);
            clickEntry(slotList, 0);
            QCOMPARE(selectedRow(launcherList), -1);
            clickEntry(slotList, 2);
            QCOMPARE(selectedRow(launcherList), -1);
            clickEntry(slotList, 3);
            clickEntry(launcherList, 2);
            QCOMPARE(entries(slotList).mid(0, 5),
                     QStringList({beforeLines[0], beforeLines[1], beforeLines[2], "002: Mk 41 VLS",
                                  beforeLines[4]}));
            click(picker, "KeepButton");
        });
        SlotValues expected = before;
        expected[3] = 2;
        QCOMPARE(outcome.kept, std::optional<SlotValues>(expected));

        // Launchers deleted in the launcher editor while the picker is hidden: the next object
        // shown names one that the list, as last built, still held.
        launchers.lines = launchers.lines.mid(0, 1);
        picker.loadSlots(expected);
        QCOMPARE(entries(slotList).mid(0, 4),
                 QStringList({beforeLines[0], beforeLines[1], beforeLines[2],
                              "002: (no launcher 2 in the list)"}));

        // A sensor file that shrank leaves a slot naming a sensor it no longer holds.
        const ByteVector file = listFile(152, {"A"});
        ListFileEntries sensors(sensorListFormat, file);
        TSensorForm sensorPicker(sensors);
        sensorPicker.loadSlots({12, 1, 0, 0, 0, 0, 0, 0, -3});
        QCOMPARE(entry(control<QListView>(sensorPicker, "SelectedSensors"), 0),
                 QString("12: (no sensor 12 in the list)"));
        QCOMPARE(entry(control<QListView>(sensorPicker, "SelectedSensors"), 8),
                 QString("-03: (no sensor -3 in the list)"));
    }

    void loadingSlotsWhileHiddenKeepsTheSelectedSlot() {
        const ByteVector file = listFile(152, {"A", "B", "C"});
        ListFileEntries sensors(sensorListFormat, file);
        TSensorForm picker(sensors);
        auto* slotList = control<QListView>(picker, "SelectedSensors");
        auto* sensorList = control<QListView>(picker, "SensorList");
        pick(picker, emptySlots(9), [&] {
            clickEntry(slotList, 2);
            click(picker, "DiscardButton");
        });

        // The object editor shows another object.
        const SlotValues other{1, 2, 3, 0, 0, 0, 0, 0, 0};
        picker.loadSlots(other);
        QCOMPARE(entries(slotList).mid(0, 3), QStringList({"01: A", "02: B", "03: C"}));
        QCOMPARE(selectedRow(slotList), 2);

        // Opened on it, an entry goes into that slot without a slot being clicked.
        const Outcome outcome = pick(picker, other, [&] {
            QCOMPARE(selectedRow(slotList), 2);
            clickEntry(sensorList, 1);
            click(picker, "KeepButton");
        });
        QCOMPARE(outcome.kept, std::optional<SlotValues>(SlotValues{1, 2, 1, 0, 0, 0, 0, 0, 0}));
    }

    // Every picker from the keyboard over a narrowed list: the slot list's keys show each slot's
    // entry, Enter or Space chooses the last line found, and each line names its own entry.
    void eachPickerIsWorkedFromTheKeyboardThroughItsFindBox() {
        ListedEntries launchers(
            {"001: 127mm Gun Mount", "002: Mk 41 VLS", "003: Harpoon Quad", "004: 76mm Gun Mount"});
        const ByteVector sensorFile = listFile(152, {"Search Radar", "Sonar", "Fire Radar", "ESM"});
        const ByteVector airstripFile = listFile(116, {"Helipad", "Flight Deck", "Hangar", "Ski"});
        ListFileEntries sensors(sensorListFormat, sensorFile);
        ListFileEntries airstrips(airstripListFormat, airstripFile);
        TWeaponForm weapons(launchers);
        TSensorForm sensorPicker(sensors);
        TAirstripForm airstripPicker(airstrips);
        struct Case {
            SlotPickerForm* picker;
            QString findText;
            Qt::Key chooseKey;
            QStringList found;
        };
        const QList<Case> cases{
            {&weapons, "gun", Qt::Key_Return, {"001: 127mm Gun Mount", "004: 76mm Gun Mount"}},
            {&sensorPicker, "RADAR", Qt::Key_Space, {"01: Search Radar", "03: Fire Radar"}},
            {&airstripPicker, "03", Qt::Key_Enter, {"03: Hangar"}},
        };
        for (const Case& c : cases) {
            SlotPickerForm& picker = *c.picker;
            auto* slotList = control<QListView>(picker, picker.traits().slotListName);
            auto* available = control<QListView>(picker, picker.traits().availableListName);
            auto* box = control<QLineEdit>(picker, "FindBox");
            const auto numberOf = [](const QString& line) {
                return line.section(':', 0, 0).toInt();
            };
            SlotValues before = emptySlots(picker.traits().slotCount);
            before[0] = 2;
            before[2] = 1;
            const Outcome outcome = pick(picker, before, [&] {
                QCOMPARE(QApplication::focusWidget(), slotList);
                for (QWidget* next :
                     QList<QWidget*>{box, available, control<QWidget>(picker, "KeepButton"),
                                     control<QWidget>(picker, "DiscardButton"), slotList}) {
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                    QCOMPARE(QApplication::focusWidget(), next);
                }
                clickEntry(slotList, 2);
                for (const auto& [key, shownRow] : QList<std::pair<Qt::Key, int>>{
                         {Qt::Key_Up, 0}, {Qt::Key_Up, 2}, {Qt::Key_Down, 0}}) {
                    QTest::keyClick(slotList, key);
                    QCOMPARE(selectedRow(available), shownRow);
                }
                QTest::keyClick(slotList, Qt::Key_F, Qt::ControlModifier);
                QTest::keyClicks(box, c.findText);
                QCOMPARE(entries(available), c.found);
                QTest::keyClick(box, Qt::Key_Down);
                QTest::keyClick(available, Qt::Key_End);
                QTest::keyClick(available, c.chooseKey);
                QCOMPARE(picker.slotCopy()[1], numberOf(c.found.last()));
                QCOMPARE(entry(slotList, 1), c.found.last());

                // Back in the slots: a slot whose entry is not found shows nothing.
                slotList->setFocus();
                QTest::keyClick(slotList, Qt::Key_Up);
                QCOMPARE(selectedRow(available), -1);
                QTest::keyClick(slotList, Qt::Key_Down);
                QCOMPARE(selectedRow(available), c.found.size() - 1);
                clickEntry(slotList, 2);
                clickEntry(available, 0);
                QCOMPARE(picker.slotCopy()[2], numberOf(c.found.first()));

                // Escape empties the find box and leaves the picker open; then it discards.
                QTest::keyClick(available, Qt::Key_F, Qt::ControlModifier);
                QTest::keyClick(box, Qt::Key_Escape);
                QVERIFY(picker.isVisible());
                QCOMPARE(available->model()->rowCount(), 5);
                QTest::keyClick(box, Qt::Key_Escape);
            });
            QVERIFY(outcome.closedByUser);
            QVERIFY(!outcome.kept);
        }
    }

    // The launcher list can hold tens of thousands of lines: opening formats only what is
    // seen, and a line beyond what a 16-bit slot value can name cannot be chosen.
    void aLongLauncherListIsReadOnlyWhereItIsSeen() {
        NumberedEntries launchers(40000);
        TWeaponForm picker(launchers);
        auto* slotList = control<QListView>(picker, "SelectedWeapons");
        auto* launcherList = control<QListView>(picker, "LauncherList");
        const Outcome outcome = pick(picker, emptySlots(30), [&] {
            QCOMPARE(launcherList->model()->rowCount(), 40001);
            QVERIFY2(launchers.linesRead < 1000, qPrintable(QString::number(launchers.linesRead)));
            QCOMPARE(entry(launcherList, 40000), QString("40000: Launcher 40000"));

            clickEntry(slotList, 0);
            clickEntry(launcherList, 32768);
            QCOMPARE(selectedRow(launcherList), 0); // still the empty slot's line
            clickEntry(launcherList, 40000);
            QCOMPARE(entry(slotList, 0), QString("000: EMPTY SLOT"));
            QVERIFY(!picker.changed());
            clickEntry(launcherList, 32767);
            QCOMPARE(entry(slotList, 0), QString("32767: Launcher 32767"));
            click(picker, "KeepButton");
        });
        SlotValues expected = emptySlots(30);
        expected[0] = 32767;
        QCOMPARE(outcome.kept, std::optional<SlotValues>(expected));
    }
};

QTEST_MAIN(SlotPickerTest)
#include "SlotPickerTest.moc"
