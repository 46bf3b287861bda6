// SPDX-License-Identifier: MIT
// What one keystroke in the object editor's find box costs with large working copies: the key
// goes to the box as the user types it, the list is filtered, and the window lays out and
// paints what the list now shows.
#include "objects/TObjectForm.h"

#include "LargeSet.h"
#include "SilentDialogs.h"
#include "WindowBenchmarkMain.h"

#include <benchmark/benchmark.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QListView>
#include <QTest>

#include <array>

namespace {

using keel::bench::objectFile;
using keel::bench::SilentDialogs;

// Counts the paintings of a widget, to tell that the keystroke's painting was measured.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* watched) { watched->installEventFilter(this); }
    long paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
        }
        return false;
    }
};

// Lets the window do all that a keystroke left it to do: the list's layout, which waits for
// a timer, and the painting, which a pass of the event loop may leave posted.
void settle() {
    QApplication::processEvents();
    QApplication::sendPostedEvents();
    QApplication::processEvents();
}

// One keystroke: the text in the box before it, and the key.
struct Keystroke {
    const char* before;
    Qt::Key key;
    char letter; // the character typed, or 0 for a key that types none
};

// The names are "Object 0000000" onwards and the entries are numbered from 001.
// Letters: every name holds "obje", so every entry is shown at every step (the most a step can
// read and show). Digits: "7" is in 36% (5k) to 48% (200k) of the names or numbers, "72" in 3%
// to 5%.
constexpr std::array<std::array<Keystroke, 4>, 2> keystrokes{{
    {{{"", Qt::Key_O, 'o'}, {"obj", Qt::Key_E, 'e'}, {"obje", Qt::Key_Backspace, 0}, {"o", Qt::Key_Backspace, 0}}},
    {{{"", Qt::Key_7, '7'}, {"7", Qt::Key_2, '2'}, {"72", Qt::Key_Backspace, 0}, {"7", Qt::Key_Backspace, 0}}},
}};

void BM_FindKeystroke(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    const Keystroke& keystroke =
        keystrokes.at(static_cast<std::size_t>(state.range(1))).at(static_cast<std::size_t>(state.range(2)));
    keel::ByteVector master = objectFile(count);
    SilentDialogs dialogs;
    keel::TObjectForm form(master, dialogs);
    form.showEditor();
    form.activateWindow();
    QApplication::processEvents();
    auto* box = form.findChild<QLineEdit*>("FindBox");
    QListView* list = form.recordList();
    if (box == nullptr || list == nullptr) {
        state.SkipWithError("no find box");
        return;
    }
    box->setFocus(Qt::OtherFocusReason);
    PaintCounter painted(list->viewport());

    long shown = 0;
    for (auto _ : state) {
        state.PauseTiming();
        box->setText(QString::fromLatin1(keystroke.before));
        settle();
        painted.paints = 0;
        state.ResumeTiming();

        if (keystroke.letter != 0) {
            QTest::keyClick(box, keystroke.letter);
        } else {
            QTest::keyClick(box, keystroke.key);
        }
        settle();

        state.PauseTiming();
        shown = list->model()->rowCount();
        if (painted.paints == 0) {
            state.SkipWithError("the list was not painted within the keystroke");
            break;
        }
        state.ResumeTiming();
    }
    state.counters["records"] = static_cast<double>(count);
    state.counters["shown"] = static_cast<double>(shown);
    state.counters["shown_pct"] = 100.0 * static_cast<double>(shown) / static_cast<double>(count);
}

// The second argument is the text typed (0: letters of "obje", 1: the digits "72"); the third
// the keystroke: 0 the first character into an empty box, 1 a character typed onto a text,
// 2 a Backspace that widens the text, 3 a Backspace that empties the box.
BENCHMARK(BM_FindKeystroke)
    ->ArgsProduct({{5'000, 50'000, 200'000}, {0, 1}, {0, 1, 2, 3}})
    ->ArgNames({"records", "text", "step"})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) { return runWindowBenchmarks(argc, argv); }
