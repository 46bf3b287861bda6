// SPDX-License-Identifier: MIT
// What one keystroke in a name box and the showing of another record cost in the nation editor
// and the carrier editor, with both windows shown and linked as in the program: a nation set of
// N nations, each of ten classes of ten platforms, and a set of 5 N carriers that name those
// nations, their classes and their aircraft.
#include "carriers/SbaDb.h"
#include "carriers/TSBAForm.h"
#include "editor/ArrowControl.h"
#include "editor/DialogService.h"
#include "nations/MissionDb.h"
#include "nations/TMissionForm.h"
#include "objects/ObjectTypes.h"

#include "SilentDialogs.h"
#include "WindowBenchmarkMain.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>

#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

using keel::bench::SilentDialogs;

constexpr std::size_t classesPerNation = 10;
constexpr std::size_t platformsPerClass = 10;
// Of the ten classes of a nation, the first seven are surface ships, then one of subs, then two
// of aircraft.
constexpr std::size_t firstAirClass = 8;
constexpr std::size_t carriersPerNation = 5;

std::string numbered(const char* format, std::size_t a, std::size_t b = 0) {
    char text[64];
    std::snprintf(text, sizeof text, format, static_cast<unsigned>(a), static_cast<unsigned>(b));
    return text;
}

std::string nationName(std::size_t nation) { return numbered("Nation %04u", nation); }

keel::ByteVector nationFile(std::size_t count) {
    using namespace keel;
    std::vector<Nation> nations(count);
    for (std::size_t n = 0; n < count; ++n) {
        Nation& nation = nations[n];
        NationRecord::CountryName.write(nation.record, nationName(n), TextOverflow::Refuse);
        for (std::size_t c = 0; c < classesPerNation; ++c) {
            NationClass shipClass;
            const ObjectType type = c < 7 ? ObjectType::Surf : c < firstAirClass ? ObjectType::Sub : ObjectType::Air;
            ClassRecord::ObjType.write(shipClass.record, static_cast<int>(type));
            ClassRecord::ClassName.write(shipClass.record, numbered("Class %u", c), TextOverflow::Refuse);
            if (type != ObjectType::Air) {
                ClassRecord::Class_TagName.write(shipClass.record, numbered("Hull %u-%u", n, c), TextOverflow::Refuse);
                ClassRecord::Designation.write(shipClass.record, numbered("D%u", c), TextOverflow::Refuse);
            }
            for (std::size_t p = 0; p < platformsPerClass; ++p) {
                Platform platform;
                const std::string tag =
                    type == ObjectType::Air ? numbered("Aircraft %u-%u", c, p) : numbered("Hull %u-%u", n, c);
                PlatformRecord::Platform_TagName.write(platform.record, tag, TextOverflow::Refuse);
                PlatformRecord::Name.write(platform.record, numbered("Unit %u-%u", c, p), TextOverflow::Refuse);
                PlatformRecord::HullNum.write(platform.record, static_cast<std::int32_t>(p + 1));
                shipClass.platforms.push_back(platform);
            }
            nation.classes.push_back(std::move(shipClass));
        }
    }
    return writeMissionDatabase(nations);
}

// Carrier i belongs to nation i / 5, sails as one of its surface classes and carries two
// aircraft of its first aircraft class.
keel::ByteVector carrierFile(std::size_t count) {
    using namespace keel;
    std::vector<Carrier> carriers(count);
    for (std::size_t i = 0; i < count; ++i) {
        Carrier& carrier = carriers[i];
        CarrierRecord::Country.write(carrier.record, nationName(i / carriersPerNation), TextOverflow::Refuse);
        const std::size_t shipClass = i % carriersPerNation;
        CarrierRecord::ObjectName.write(carrier.record, numbered("Class %u D%u", shipClass, shipClass),
                                        TextOverflow::Refuse);
        for (std::size_t a = 0; a < 2; ++a) {
            AircraftType entry;
            AircraftTypeRecord::ClassName.write(entry.record, numbered("Class %u", firstAirClass), TextOverflow::Refuse);
            AircraftTypeRecord::TagName.write(entry.record, numbered("Aircraft %u-%u", firstAirClass, a),
                                              TextOverflow::Refuse);
            AircraftTypeRecord::DisplayName.write(entry.record, numbered("Unit %u-%u", firstAirClass, a),
                                                  TextOverflow::Refuse);
            AircraftTypeRecord::Num.write(entry.record, 4);
            carrier.aircraftTypes.push_back(entry);
        }
    }
    return writeCarrierDatabase(carriers);
}

// Both editors on their sets, linked and shown as the program shows them, each with a record
// in the middle of its list on screen.
struct LinkedEditors {
    explicit LinkedEditors(std::size_t nationCount)
        : missions(nationFile(nationCount)), carriers(carrierFile(nationCount * carriersPerNation)) {
        nationForm = std::make_unique<keel::TMissionForm>(missions, dialogs);
        nationForm->setObjectRecords(nullptr);
        carrierForm = std::make_unique<keel::TSBAForm>(carriers, &nationForm->nations(), dialogs);
        nationForm->setCarrierLists(carrierForm.get());
        nationForm->showEditor();
        carrierForm->showEditor();
        QApplication::processEvents();
        show(*nationForm, nationCount / 2);
        show(*carrierForm, nationCount * carriersPerNation / 2);
    }
    ~LinkedEditors() { nationForm->setCarrierLists(nullptr); }
    LinkedEditors(const LinkedEditors&) = delete;
    LinkedEditors& operator=(const LinkedEditors&) = delete;

    [[gnu::noinline]] static void show(keel::RecordEditorForm& form, std::size_t row) {
        form.recordList()->setCurrentIndex(form.recordList()->model()->index(static_cast<int>(row), 0));
        form.FromListShowRecord();
        QApplication::processEvents();
    }

    SilentDialogs dialogs;
    keel::ByteVector missions;
    keel::ByteVector carriers;
    std::unique_ptr<keel::TMissionForm> nationForm;
    std::unique_ptr<keel::TSBAForm> carrierForm;
};

QLineEdit* textBox(QWidget& window, const QString& name) {
    if (auto* box = window.findChild<QComboBox*>(name)) {
        return box->lineEdit();
    }
    return window.findChild<QLineEdit*>(name);
}

keel::ArrowControl* arrows(QWidget& window, const QString& name) {
    return window.findChild<keel::ArrowControl*>(name);
}

// The events measured (stepUp, keystroke and LinkedEditors::show) are kept out of line, so
// that a profile gives the cost of one.

// A click on the upper arrow of a class or platform selector, and the window catching up.
[[gnu::noinline]] void stepUp(keel::ArrowControl* selector) {
    selector->step(keel::ArrowControl::Arrow::Up);
    QApplication::processEvents();
}

// A keystroke: the box's text changes and the windows catch up. A platform's object name
// is stored only when the user edits it, which setText is not: there the text is typed over
// the selection.
[[gnu::noinline]] void keystroke(QLineEdit* edit, const QString& text, bool typed) {
    if (typed) {
        edit->selectAll();
        edit->insert(text);
    } else {
        edit->setText(text);
    }
    QApplication::processEvents();
}

// The text boxes of the nation editor: the nation's, the class's and the platform's.
const std::array<const char*, 6> nationBoxes{"CountryName", "Class_TagName", "ClassName",
                                             "Designation", "Platform_TagName", "Name"};

void BM_NationKeystroke(benchmark::State& state) {
    const auto nations = static_cast<std::size_t>(state.range(0));
    const QString boxName = nationBoxes[static_cast<std::size_t>(state.range(1))];
    LinkedEditors editors(nations);
    keel::TMissionForm& form = *editors.nationForm;
    const bool platformObject = boxName == "Platform_TagName";
    if (platformObject) {
        // An aircraft class, whose platforms each name their own object.
        while (form.shownClass() != firstAirClass) {
            arrows(form, "UpDown_CurrentClass")->step(keel::ArrowControl::Arrow::Up);
        }
        QApplication::processEvents();
    }
    QLineEdit* edit = textBox(form, boxName);
    bool flip = false;
    for (auto _ : state) {
        keystroke(edit, flip ? "Renamed A" : "Renamed B", platformObject);
        flip = !flip;
    }
    state.SetLabel(boxName.toStdString());
    state.counters["nations"] = static_cast<double>(nations);
}

// Showing another nation from the list, another class or another platform of the one shown.
void BM_NationShow(benchmark::State& state) {
    const auto nations = static_cast<std::size_t>(state.range(0));
    const auto what = state.range(1);
    LinkedEditors editors(nations);
    keel::TMissionForm& form = *editors.nationForm;
    keel::ArrowControl* stepper =
        arrows(form, what == 1 ? "UpDown_CurrentClass" : "UpDown_CurrentPlatform");
    bool flip = false;
    for (auto _ : state) {
        if (what == 0) {
            LinkedEditors::show(form, nations / 2 + (flip ? 1 : 0));
        } else {
            stepUp(stepper);
        }
        flip = !flip;
    }
    state.SetLabel(what == 0 ? "nation" : what == 1 ? "class" : "platform");
    state.counters["nations"] = static_cast<double>(nations);
}

// The name boxes of the carrier editor: the ship class, the nation, the aircraft class and
// the aircraft. Each keystroke gives one of two names that the nation editor holds.
struct CarrierBox {
    const char* name;
    std::array<QString, 2> texts;
};

void BM_CarrierKeystroke(benchmark::State& state) {
    const auto nations = static_cast<std::size_t>(state.range(0));
    const std::array<CarrierBox, 4> boxes{{
        {"ObjectName", {"Class 1 D1", "Class 2 D2"}},
        {"Country", {QString::fromStdString(nationName(nations / 2)), QString::fromStdString(nationName(nations / 2 + 1))}},
        {"ClassName", {"Class 8", "Class 9"}},
        {"TagName", {"Aircraft 8-1", "Aircraft 8-2"}},
    }};
    const CarrierBox& box = boxes[static_cast<std::size_t>(state.range(1))];
    LinkedEditors editors(nations);
    QLineEdit* edit = textBox(*editors.carrierForm, box.name);
    bool flip = false;
    for (auto _ : state) {
        keystroke(edit, box.texts[flip ? 1 : 0], false);
        flip = !flip;
    }
    state.SetLabel(box.name);
    state.counters["carriers"] = static_cast<double>(nations * carriersPerNation);
}

// Showing another carrier from the list, or another aircraft type of the one shown.
void BM_CarrierShow(benchmark::State& state) {
    const auto nations = static_cast<std::size_t>(state.range(0));
    const bool aircraftType = state.range(1) != 0;
    LinkedEditors editors(nations);
    keel::TSBAForm& form = *editors.carrierForm;
    const std::size_t middle = nations * carriersPerNation / 2;
    bool flip = false;
    for (auto _ : state) {
        if (aircraftType) {
            stepUp(arrows(form, "UpDown_CurrentPlatform"));
        } else {
            // The next carrier, of another ship class of the same nation or of the next nation.
            LinkedEditors::show(form, middle + (flip ? carriersPerNation - 1 : 0));
        }
        flip = !flip;
    }
    state.SetLabel(aircraftType ? "aircraft type" : "carrier");
    state.counters["carriers"] = static_cast<double>(nations * carriersPerNation);
}

// The first argument is the number of nations: the carriers are five times as many.
BENCHMARK(BM_NationKeystroke)
    ->ArgsProduct({{100, 1'000}, {0, 1, 2, 3, 4, 5}})
    ->ArgNames({"nations", "box"})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NationShow)
    ->ArgsProduct({{100, 1'000}, {0, 1, 2}})
    ->ArgNames({"nations", "part"})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CarrierKeystroke)
    ->ArgsProduct({{100, 1'000}, {0, 1, 2, 3}})
    ->ArgNames({"nations", "box"})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CarrierShow)
    ->ArgsProduct({{100, 1'000}, {0, 1}})
    ->ArgNames({"nations", "part"})
    ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) { return runWindowBenchmarks(argc, argv); }
