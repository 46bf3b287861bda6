// SPDX-License-Identifier: MIT
// Every window of keelbook on a laptop's screen of 1280 x 720, and on a screen too small for the
// object editor, where its fields scroll inside the fixed frame.
#include "carriers/TSBAForm.h"
#include "launchers/TLauncherForm.h"
#include "nations/TMissionForm.h"
#include "objects/TObjectForm.h"
#include "pickers/SlotPickers.h"
#include "threed/TThreeDObjectForm.h"
#include "shell/TMainForm.h"
#include "tools/SampleSet.h"

#include "support/ScriptedDialogService.h"
#include "support/TemporaryDirectory.h"
#include "support/WindowDriver.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include <cstdlib>

using namespace keel;
using namespace keel::test;

namespace {

QList<QWidget*> everyWindow(const TMainForm& main) {
    return {main.objectForm(),     main.threeDObjectForm(), main.launcherForm(), main.missionForm(),
            main.carrierForm(),    main.launcherPicker(),   main.sensorPicker(), main.airstripPicker()};
}

bool scrolls(const QWidget& window) {
    const auto* area = window.findChild<QScrollArea*>("FieldScroll");
    return area != nullptr &&
           (area->horizontalScrollBar()->maximum() > 0 || area->verticalScrollBar()->maximum() > 0);
}

} // namespace

class ScreenFitTest : public QObject {
    Q_OBJECT

private slots:
    void everyWindowFitsTheScreenItOpensOn() {
        TemporaryDirectory directory;
        QVERIFY(!writeSampleSet(directory.path()));
        ScriptedDialogService dialogs;
        QString error;
        std::optional<StartupSet> startup = loadStartupSet(dialogs, directory.path(), error);
        QVERIFY(startup);
        TMainForm main(std::move(*startup), dialogs);
        main.show();
        const QList<QScreen*> screens = QGuiApplication::screens();
        QCOMPARE(screens.size(), 2);
        const QStringList toggles{"Action_Toggle_Objects", "Action_Toggle_3Ds", "Action_Toggle_Launchers",
                                  "Action_Toggle_Missions", "Action_Toggle_SBAs"};
        for (QScreen* screen : screens) {
            const bool laptop = screen->size() == QSize(1280, 720);
            for (QWidget* window : everyWindow(main)) {
                window->setScreen(screen);
                window->move(screen->availableGeometry().topLeft());
            }
            for (const QString& toggle : toggles) {
                trigger(main, toggle); // shown, as the user shows them
            }
            for (QWidget* window : everyWindow(main)) {
                window->show();
                QVERIFY(QTest::qWaitForWindowExposed(window));
                const QRect frame = window->frameGeometry();
                QVERIFY2(screen->availableGeometry().contains(frame), qPrintable(window->objectName()));
                // Where a window fits, nothing scrolls.
                QVERIFY2(!laptop || !scrolls(*window), qPrintable(window->objectName()));
            }
            QVERIFY(laptop || scrolls(*main.objectForm()));
            for (const QString& toggle : toggles) {
                trigger(main, toggle); // hidden again
            }
            for (QWidget* window : everyWindow(main)) {
                window->hide();
            }
        }
    }
};

// The offscreen platform, with a screen of 1280 x 720 and a smaller one beside it.
int main(int argc, char** argv) {
    const QString config = QDir::temp().filePath("keel-screens.json");
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)) {
        return 2;
    }
    file.write(R"({"screens": [
        {"name": "laptop", "x": 0, "y": 0, "width": 1280, "height": 720, "logicalDpi": 96, "dpr": 1},
        {"name": "small", "x": 1280, "y": 0, "width": 900, "height": 560, "logicalDpi": 96, "dpr": 1}]})");
    file.close();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toUtf8());
    QApplication app(argc, argv);
    ScreenFitTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ScreenFitTest.moc"
