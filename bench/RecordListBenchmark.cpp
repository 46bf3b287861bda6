// SPDX-License-Identifier: MIT
// What one keystroke in an object's name costs with large working copies: the name is stored,
// the record list is rebuilt and its entry selected again, and the window lays out and paints
// the list anew.
#include "objects/ObjectRecord.h"
#include "objects/TObjectForm.h"

#include "editor/DialogService.h"
#include "launchers/LauncherRecord.h"
#include "launchers/TLauncherForm.h"
#include "nations/MissionDb.h"
#include "nations/TMissionForm.h"
#include "threed/TThreeDObjectForm.h"
#include "threed/ThreeDRecord.h"

#include "LargeSet.h"
#include "SilentDialogs.h"
#include "WindowBenchmarkMain.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QListView>

#include <cstdio>

namespace {

using keel::bench::SilentDialogs;

using keel::bench::objectFile;
using keel::bench::threeDFile;

// The nation editor's side does nothing.
class IdleTagNames : public keel::TagNameChoices {
public:
    void refillTagNameLists() override {}
};

// A mission database of one nation with one surface class of one platform.
keel::ByteVector nationFile() {
    std::vector<keel::Nation> nations{keel::newNation()};
    return keel::writeMissionDatabase(nations);
}

void BM_NameKeystroke(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    const bool withThreeD = state.range(1) != 0;
    const bool withAmmunition = state.range(2) != 0;
    const bool editWeapon = state.range(3) != 0;
    const bool withNations = state.range(4) != 0;
    const bool togglingWarning = state.range(5) != 0;
    keel::ByteVector master = objectFile(count);
    keel::ByteVector threeDs = withThreeD ? threeDFile(master) : keel::ByteVector{};
    SilentDialogs dialogs;
    keel::TThreeDObjectForm threeDForm(threeDs, dialogs);
    // The real launcher editor, shown, with a launcher on screen: its four ammunition boxes
    // share the list of weapons that a weapon's keystroke refills.
    keel::ByteVector launchers(4 * keel::LauncherRecord::Size, 0);
    keel::TLauncherForm launcherForm(launchers, dialogs);
    if (withAmmunition) {
        launcherForm.showEditor();
    }
    IdleTagNames idleTagNames;
    // The real nation editor, shown on a nation whose class offers surface ships: it is told
    // at every stored name change, and reads its lists only when they are looked at.
    keel::ByteVector missions = nationFile();
    keel::TMissionForm nationForm(missions, dialogs);
    nationForm.setObjectRecords(nullptr);
    keel::ObjectEditorLinks links;
    links.threeD = withThreeD ? &threeDForm : nullptr;
    links.ammunition = withAmmunition ? &launcherForm : nullptr;
    keel::TObjectForm form(master, dialogs, links);
    nationForm.setObjectRecords(&form.records());
    form.setTagNameChoices(withNations ? static_cast<keel::TagNameChoices*>(&nationForm) : &idleTagNames);
    if (withNations) {
        nationForm.showEditor();
    }
    if (withThreeD) {
        threeDForm.show();
    }
    form.showEditor();
    QApplication::processEvents();
    // Edit a record in the middle of the list, which the view has to scroll to: a weapon, whose
    // new name goes to the launcher editor, or a ship.
    const std::size_t edited = count / 2 / 5 * 5 + (editWeapon ? 0 : 1);
    const QModelIndex middle = form.recordList()->model()->index(static_cast<int>(edited), 0);
    form.recordList()->setCurrentIndex(middle);
    form.FromListShowRecord();
    QApplication::processEvents();
    auto* name = form.findChild<QLineEdit*>("ObjectName");
    // The object's own name has a 3D object: going back and forth between it and another
    // name makes the warning appear and disappear.
    const QString first = togglingWarning ? name->text() : "Renamed A";
    const QString second = togglingWarning ? "Renamed" : "Renamed B";

    bool flip = false;
    for (auto _ : state) {
        name->setText(flip ? first : second);
        QApplication::processEvents();
        flip = !flip;
    }
    state.counters["records"] = static_cast<double>(count);
    form.setTagNameChoices(nullptr);
}

// The second argument links the 3D object editor, whose list of objects lacking a 3D object
// is refreshed and whose index answers the warning at every keystroke; the third the
// launcher editor, whose ammunition lists get the names of the weapons when they changed; the
// fourth edits a weapon's name rather than a ship's; the fifth links the nation editor; the
// sixth makes the 3D warning appear and disappear.
// Every editor linked, as in the program.
BENCHMARK(BM_NameKeystroke)
    ->ArgsProduct({{5'000, 50'000, 200'000}, {1}, {1}, {0, 1}, {1}, {0, 1}})
    ->ArgNames({"records", "threeD", "ammunition", "weapon", "nations", "warning"})
    ->Unit(benchmark::kMicrosecond);
// The object editor alone.
BENCHMARK(BM_NameKeystroke)
    ->ArgsProduct({{5'000, 50'000, 200'000}, {0}, {0}, {0}, {0}, {0}})
    ->ArgNames({"records", "threeD", "ammunition", "weapon", "nations", "warning"})
    ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) { return runWindowBenchmarks(argc, argv); }
