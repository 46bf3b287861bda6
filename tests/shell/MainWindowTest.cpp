// SPDX-License-Identifier: MIT
// The main window: start-up, its menu and tool bar, the editor toggles, and the database set
// it loads, saves and replaces.
#include "carriers/SbaDb.h"
#include "carriers/TSBAForm.h"
#include "launchers/TLauncherForm.h"
#include "nations/MissionDb.h"
#include "nations/TMissionForm.h"
#include "objects/ObjectRecord.h"
#include "objects/TObjectForm.h"
#include "pickers/SlotPickerForm.h"
#include "pickers/SlotPickers.h"
#include "editor/QtDialogService.h"
#include "shell/ProgramSetup.h"
#include "shell/TAboutBox.h"
#include "shell/TMainForm.h"
#include "threed/TThreeDObjectForm.h"
#include "threed/ThreeDRecord.h"

#include "support/AsOrdinaryUser.h"
#include "support/FailingFileCalls.h"
#include "support/RecordBytes.h"
#include "support/ScriptedDialogService.h"
#include "support/TemporaryDirectory.h"
#include "support/WindowDriver.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QScreen>
#include <QStyleOptionMenuItem>
#include <QWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <functional>
#include <memory>

#include <sys/stat.h>
#include <unistd.h>

using namespace keel;
using namespace keel::test;
using Answer = DialogService::Answer;
using Kind = ScriptedDialogService::Shown::Kind;
namespace fs = std::filesystem;

namespace {

const ByteVector noBlocks{0, 0, 0, 0}; // a structured file of no nations or carriers

ByteVector objects(std::initializer_list<std::string> names) {
    ByteVector file;
    for (const std::string& name : names) {
        const ByteVector record = namedRecord(ObjectRecord::Size, name, 0);
        file.insert(file.end(), record.begin(), record.end());
    }
    return file;
}

// Writes a whole database set; `leaveOut` names a file that is not written.
void writeSet(const fs::path& directory, const ByteVector& objectFile, const std::string& leaveOut = {},
              const ByteVector& threeDFile = {}) {
    fs::create_directories(directory);
    const std::vector<std::pair<std::string, ByteVector>> files{
        {"objects.odb", objectFile},        {"launcher.ldb", namedRecord(196, "GUN", 0)},
        {"shipbasedaircraft.db", noBlocks}, {"mission.db", noBlocks},
        {"3dobjects.3db", threeDFile},      {"sensors.sdb", ByteVector(152, 0)},
        {"airstrip.adb", ByteVector(116, 0)}};
    for (const auto& [name, bytes] : files) {
        if (name != leaveOut) {
            writeFile(directory / name, bytes);
        }
    }
}

QString chosenFile(const fs::path& directory) { return QString::fromStdString((directory / "objects.odb").string()); }

std::vector<std::string> objectNames(const ByteVector& file) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < ObjectFile::count(file); ++i) {
        names.push_back(ObjectRecord::ObjectName.read(ObjectFile::record(ConstByteSpan(file), i)));
    }
    return names;
}

struct Session {
    explicit Session(const fs::path& start) {
        QString error;
        std::optional<StartupSet> startup = loadStartupSet(dialogs, start, error);
        QVERIFY2(startup.has_value(), qPrintable(error));
        window = std::make_unique<TMainForm>(std::move(*startup), dialogs);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    QAction* action(const QString& name) const { return control<QAction>(*window, name); }
    QLineEdit* objectName() const { return control<QLineEdit>(*window->objectForm(), "ObjectName"); }

    ScriptedDialogService dialogs;
    std::unique_ptr<TMainForm> window;
};

QStringList captionsOf(const QList<QAction*>& actions) {
    QStringList captions;
    for (QAction* action : actions) {
        captions << (action->isSeparator() ? QString("-") : action->text());
    }
    return captions;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void theMenusAndTheToolBarCarryTheCommandsInOrder() {
        TemporaryDirectory directory;
        writeSet(directory.path(), objects({"Frigate"}));
        Session session(directory.path());
        TMainForm& window = *session.window;
        QCOMPARE(window.windowTitle(), QString("Brinewatch Database Editor"));
        QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(session.dialogs.shown().isEmpty());

        const QList<QAction*> menus = window.menuBar()->actions();
        QCOMPARE(captionsOf(menus), QStringList({"&File", "&View", "&Help"}));
        QCOMPARE(captionsOf(menus[0]->menu()->actions()),
                 QStringList({"Select &Directory...", "&Save Databases", "Save Databases &To...", "-", "&Exit"}));
        QCOMPARE(captionsOf(menus[1]->menu()->actions()),
                 QStringList({"&Toolbar", "-", "&Objects...", "&3DObjects...", "&Launchers...", "&Nations...",
                              "&Aircraft Carrying Ships...", "-", "&Find..."}));
        QCOMPARE(menus[0]->menu()->actions()[1]->shortcut(), QKeySequence(QKeySequence::Save));
        QCOMPARE(menus[0]->menu()->actions()[4]->shortcut(), QKeySequence("Ctrl+Q"));
        QCOMPARE(captionsOf(menus[2]->menu()->actions()), QStringList({"&About..."}));

        auto* toolBar = control<QToolBar>(window, "ToolBar");
        QStringList tools;
        for (QAction* action : toolBar->actions()) {
            tools << (action->isSeparator() ? QString("-") : action->objectName());
        }
        QCOMPARE(tools, QStringList({"Action_Select_DBDir", "Action_SaveDBs", "Action_SaveDBsTo", "-",
                                     "Action_Toggle_Objects", "Action_Toggle_3Ds", "Action_Toggle_Launchers",
                                     "Action_Toggle_Missions", "Action_Toggle_SBAs", "-", "Action_Show_About"}));
        QCOMPARE(session.action("Action_SaveDBsTo")->toolTip(), QString("Save Databaes to another directory"));
        QCOMPARE(session.action("Action_Toggle_3Ds")->toolTip(), QString("View 3DObject Records"));
        QCOMPARE(session.action("Action_Select_DBDir")->property("category").toString(), QString("DatabaseIO"));
        QCOMPARE(session.action("Action_Toggle_Objects")->property("category").toString(), QString("Toggles"));
        QVERIFY(session.action("Action_Toggle_ToolBar")->isChecked());
        for (QAction* action : toolBar->actions()) {
            QVERIFY2(action->isEnabled(), qPrintable(action->objectName())); // every editor is in
        }
        for (QAction* action : toolBar->actions()) {
            QVERIFY(action->isSeparator() || !action->icon().isNull());
        }
    }

    void theTogglesFollowTheEditorsAndTheirCloseBoxes() {
        TemporaryDirectory directory;
        writeSet(directory.path(), objects({"Frigate"}));
        Session session(directory.path());
        QAction* toggle = session.action("Action_Toggle_Objects");
        QVERIFY(!session.window->objectForm()->isVisible());
        toggle->trigger();
        QVERIFY(session.window->objectForm()->isVisible());
        QVERIFY(toggle->isChecked());
        auto* button = qobject_cast<QToolButton*>(control<QToolBar>(*session.window, "ToolBar")->widgetForAction(toggle));
        QVERIFY(button->isChecked()); // the tool button shows pressed

        session.window->objectForm()->close();
        QVERIFY(!session.window->objectForm()->isVisible());
        QVERIFY(!toggle->isChecked());
        QVERIFY(!button->isChecked());
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(session.window->objectForm()->isVisible());
        QVERIFY(toggle->isChecked());

        session.action("Action_Toggle_3Ds")->trigger();
        QVERIFY(session.window->threeDObjectForm()->isVisible());
        session.window->threeDObjectForm()->close();
        QVERIFY(!session.action("Action_Toggle_3Ds")->isChecked());
    }

    // Hiding the tool bar hides only the tool bar: the window keeps its width and every menu
    // of the menu bar stays within reach.
    void theToolBarCanBeHiddenAndBroughtBack() {
        TemporaryDirectory directory;
        writeSet(directory.path(), objects({"Frigate"}));
        Session session(directory.path());
        TMainForm& window = *session.window;
        QAction* toolBarToggle = session.action("Action_Toggle_ToolBar");
        toolBarToggle->trigger();
        QTest::qWait(50);
        QVERIFY(!toolBarToggle->isChecked());
        QVERIFY(!control<QToolBar>(window, "ToolBar")->isVisible());
        QVERIFY(window.isVisible());
        QMenuBar* menus = window.menuBar();
        QVERIFY(menus->isVisible());
        for (QAction* menu : menus->actions()) {
            QVERIFY2(!menus->actionGeometry(menu).isEmpty() && menus->rect().contains(menus->actionGeometry(menu)),
                     qPrintable(menu->text()));
        }
        toolBarToggle->trigger();
        QTest::qWait(50);
        QVERIFY(control<QToolBar>(window, "ToolBar")->isVisible());
        QVERIFY(toolBarToggle->isChecked());
    }

    // The View menu's toggles show a check mark, which the style draws only for an entry that
    // shows no image; the tool bar keeps their images.
    void theViewMenuShowsCheckMarks() {
        struct MenuLooks : QMenu {
            QStyleOptionMenuItem looksOf(QAction* action) {
                QStyleOptionMenuItem option;
                initStyleOption(&option, action);
                return option;
            }
        };
        TemporaryDirectory directory;
        writeSet(directory.path(), objects({"Frigate"}));
        Session session(directory.path());
        session.action("Action_Toggle_Objects")->trigger();
        auto* view = static_cast<MenuLooks*>(control<QMenu>(*session.window, "Menu_View"));
        for (const char* name : {"Action_Toggle_ToolBar", "Action_Toggle_Objects", "Action_Toggle_3Ds"}) {
            const QStyleOptionMenuItem looks = view->looksOf(session.action(name));
            QVERIFY2(looks.icon.isNull(), name);
            QCOMPARE(looks.checkType, QStyleOptionMenuItem::NonExclusive);
        }
        QVERIFY(view->looksOf(session.action("Action_Toggle_Objects")).checked);
        QVERIFY(!view->looksOf(session.action("Action_Toggle_3Ds")).checked);
        auto* toolBar = control<QToolBar>(*session.window, "ToolBar");
        auto* button = qobject_cast<QToolButton*>(toolBar->widgetForAction(session.action("Action_Toggle_Objects")));
        QVERIFY(!button->icon().isNull());
        QVERIFY(button->isChecked());
    }

    // The window system shows each window's own caption, with nothing of the program's added.
    void everyWindowShowsExactlyItsCaption() {
        setUpProgram();
        TemporaryDirectory directory;
        writeSet(directory.path(), objects({"Frigate"}));
        Session session(directory.path());
        session.action("Action_Toggle_Objects")->trigger();
        session.action("Action_Toggle_3Ds")->trigger();
        QCOMPARE(session.window->windowHandle()->title(), QString("Brinewatch Database Editor"));
        QCOMPARE(session.window->objectForm()->windowHandle()->title(), QString("Object Records"));
        QCOMPARE(session.window->threeDObjectForm()->windowHandle()->title(), QString("3DObjects"));

        // The program's own boxes: each is closed as soon as it is up, and its title noted.
        QtDialogService dialogs(programTitle());
        QStringList titles;
        auto noteAndClose = [&titles] {
            QTimer::singleShot(0, [&titles] {
                QWidget* box = QApplication::activeModalWidget();
                QVERIFY(box != nullptr);
                titles << box->windowHandle()->title();
                box->close();
            });
        };
        noteAndClose();
        dialogs.ask("Confirmation", "Do you wish to retain changes made to Frigate?", DialogService::Choice::YesNo);
        noteAndClose();
        dialogs.inform("/data/in.odb", "The following 0 record(s) were imported:\n");
        noteAndClose();
        dialogs.reportError("Cannot open file objects.odb");
        noteAndClose();
        dialogs.chooseFiles({DialogService::FileRequest::Kind::OpenMany, "Select Import Files", {},
                             "Import/Export Files (*.odb)", {}});
        noteAndClose();
        TAboutBox about(dialogs, session.window.get());
        about.exec();
        QCOMPARE(titles, QStringList({"Confirmation", "/data/in.odb", "Brinewatch Database Editor",
                                      "Select Import Files", "About"}));
    }

    // keelbook's own start: the window is built while the set is read, shown at its fixed size
    // before the editors are made, and the editors come after its first frame, or at once when
    // something needs them first. The damage of the files loaded is told once either way, and a
    // save then writes what it always did: the objects in name order, the damaged file kept.
    void theEditorsComeAfterTheFirstFrameOrWhenFirstNeeded() {
        const std::vector<std::pair<const char*, std::function<void(TMainForm&)>>> firstNeeds{
            {"the first frame",
             [](TMainForm& window) {
                 window.show();
                 QTRY_VERIFY(window.editorsMade());
             }},
            {"Save Databases", [](TMainForm& window) { trigger(window, "Action_SaveDBs"); }},
            {"the object editor's toggle",
             [](TMainForm& window) {
                 trigger(window, "Action_Toggle_Objects");
                 QVERIFY(window.objectForm()->isVisible());
                 QVERIFY(window.findChild<QAction*>("Action_Toggle_Objects")->isChecked());
             }},
            {"Find", [](TMainForm& window) { trigger(window, "Action_Find"); }},
        };
        for (const auto& [need, meet] : firstNeeds) {
            TemporaryDirectory directory;
            writeSet(directory.path(), objects({"Frigate", "Corvette"}));
            const ByteVector damaged{1, 0, 0, 0}; // a nation promised
            writeFile(directory / "mission.db", damaged);
            ScriptedDialogService dialogs;
            TMainForm window(dialogs, TMainForm::EditorsMade::AfterFirstFrame);
            const QSize fixed = window.size();
            QString error;
            std::optional<StartupSet> startup = loadStartupSet(dialogs, directory.path(), error);
            QVERIFY(startup.has_value());
            window.openSet(std::move(*startup));
            QVERIFY2(!window.editorsMade() && window.objectForm() == nullptr, need);
            QVERIFY2(!fixed.isEmpty() && fixed == window.minimumSize() && fixed == window.maximumSize(), need);

            meet(window);
            QVERIFY2(window.editorsMade() && window.objectForm() != nullptr, need);
            QTest::qWait(20); // a first frame asked for the editors too: they are not made twice
            QCOMPARE(std::count_if(dialogs.shown().begin(), dialogs.shown().end(),
                                   [](const auto& shown) { return shown.caption == "Databases Loaded"; }),
                     1);
            dialogs.answer(Answer::No); // the damaged file is kept
            QVERIFY2(window.SaveDatabases(), need);
            QCOMPARE(objectNames(readFile(directory / "objects.odb")),
                     std::vector<std::string>({"Corvette", "Frigate"}));
            QCOMPARE(readFile(directory / "mission.db"), damaged);
        }
    }

    // A file of the set that is no regular file (here a named pipe, which no program writes
    // to) is a file that cannot be read: the directory dialog comes up, nothing waits on it.
    void aNamedPipeInTheSetIsAFileThatCannotBeRead() {
        TemporaryDirectory directory;
        writeSet(directory.path(), objects({"Frigate"}), "sensors.sdb");
        QCOMPARE(::mkfifo((directory / "sensors.sdb").c_str(), 0644), 0);
        ScriptedDialogService dialogs;
        dialogs.cancelFileDialog();
        QString error;
        ::alarm(20); // a read that waits on the pipe ends the test instead of hanging it
        std::optional<StartupSet> partial = loadStartupSet(dialogs, directory.path(), error);
        ::alarm(0);
        QVERIFY(partial.has_value());
        QCOMPARE(dialogs.shown().size(), 1);
        QCOMPARE(dialogs.shown().first().caption, QString("Select Database Directory"));
        QVERIFY(partial->set.wasRead(DatabaseFile::ThreeDObjects));
        QVERIFY(!partial->set.wasRead(DatabaseFile::Sensors));
    }

    // Ctrl+S saves from an editor window, and the status bar tells what was saved and what
    // is still unsaved.
    void ctrlSSavesFromAnEditorAndTheStatusBarTellsIt() {
        TemporaryDirectory directory;
        writeSet(directory.path(), objects({"Frigate"}));
        Session session(directory.path());
        TObjectForm& objectForm = *session.window->objectForm();
        trigger(*session.window, "Action_Toggle_Objects");
        QApplication::setActiveWindow(&objectForm);
        typeInto(session.objectName(), "Corvette");
        QTRY_COMPARE(session.window->statusLine(), QString(" | Unsaved: Objects"));
        QTest::keyClick(session.objectName(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(objectNames(readFile(directory / "objects.odb")), std::vector<std::string>({"Corvette"}));
        const QString saved = "Saved 5 files into " + QString::fromStdString(directory.path().string()) + " at ";
        QVERIFY2(session.window->statusLine().startsWith(saved), qPrintable(session.window->statusLine()));
        // The record on screen was not accepted: still unsaved.
        QVERIFY(session.window->statusLine().endsWith(" | Unsaved: Objects"));
    }

    // A change still on screen when the set was saved is on disk: undoing it with No leaves
    // the working copy unlike the files, so the set counts as unsaved.
    void aSavedChangeUndoneByNoIsStillToBeSaved() {
        TemporaryDirectory directory;
        writeSet(directory.path(), objects({"Frigate"}));
        Session session(directory.path());
        TLauncherForm& launchers = *session.window->launcherForm();
        trigger(*session.window, "Action_Toggle_Launchers");
        typeInto(control<QLineEdit>(launchers, "LauncherName"), "GUNXY");
        trigger(*session.window, "Action_SaveDBs");
        QCOMPARE(readFile(directory / "launcher.ldb"), namedRecord(196, "GUNXY", 0));
        session.dialogs.answer(Answer::No);
        doubleClickEntry(launchers.recordList(), 0);
        QCOMPARE(launchers.entryText(0), QString("001: GUN"));
        session.dialogs.answer(Answer::Yes);
        session.window->close();
        QCOMPARE(session.dialogs.texts().last(),
                 QString("You have not saved your database changes to disk.Do you wish to save them now?"));
        QCOMPARE(readFile(directory / "launcher.ldb"), namedRecord(196, "GUN", 0));
    }

    // Started where objects.odb is missing and the directory dialog cancelled, no file was read:
    // what the user adds is written where no file stands, and nothing that stands is replaced.
    void anIncompleteSetWritesWhatNoFileStandsForAndKeepsTheRest() {
        TemporaryDirectory directory;
        writeSet(directory.path(), objects({"Unused"}), "objects.odb");
        const ByteVector threeDBefore = readFile(directory / "3dobjects.3db");
        ScriptedDialogService dialogs;
        dialogs.cancelFileDialog();
        QString error;
        std::optional<StartupSet> partial = loadStartupSet(dialogs, directory.path(), error);
        QVERIFY(partial.has_value());
        TMainForm window(std::move(*partial), dialogs);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        TObjectForm& objectForm = *window.objectForm();
        trigger(window, "Action_Toggle_Objects");
        trigger(objectForm, "Action_AddRecord");
        typeInto(control<QLineEdit>(objectForm, "ObjectName"), "Corvette");
        QTest::mouseClick(control<QPushButton>(objectForm, "SaveButton"), Qt::LeftButton);

        dialogs.clear();
        trigger(window, "Action_SaveDBs");
        QCOMPARE(objectNames(readFile(directory / "objects.odb")), std::vector<std::string>({"Corvette"}));
        QCOMPARE(readFile(directory / "3dobjects.3db"), threeDBefore);
        QCOMPARE(readFile(directory / "mission.db"), noBlocks);
        QCOMPARE(dialogs.shown().size(), 1);
        QCOMPARE(dialogs.shown().last().kind, Kind::Information);
        const QString report = dialogs.shown().last().text;
        QVERIFY2(report.startsWith("Saved into " + QString::fromStdString(directory.path().string()) +
                                   ": objects.odb."),
                 qPrintable(report));
        for (const char* left : {"shipbasedaircraft.db", "mission.db", "3dobjects.3db", "launcher.ldb"}) {
            QVERIFY2(report.contains(QString(left) + " was not saved"), left);
        }
        QVERIFY(!report.contains("empty file"));
        // The objects reached the disk; nothing else was changed: closing asks nothing.
        QVERIFY(!objectForm.setChanged());
        QVERIFY(window.CheckSaved());
        QCOMPARE(dialogs.shown().size(), 1);
    }

    // A file of the set that was not read but stands there keeps its editor's work unsaved.
    void workOnAFileThatIsLeftAloneStaysUnsaved() {
        TemporaryDirectory directory;
        writeSet(directory.path(), objects({"Frigate"}), "mission.db");
        writeFile(directory / "3dobjects.3db", namedRecord(ThreeDRecord::Size, "Frigate", 7));
        ScriptedDialogService dialogs;
        dialogs.cancelFileDialog();
        QString error;
        std::optional<StartupSet> partial = loadStartupSet(dialogs, directory.path(), error);
        QVERIFY(partial.has_value());
        TMainForm window(std::move(*partial), dialogs);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // The 3D object editor, whose file was not read, gets a record by import.
        writeFile(directory / "in.3db", namedRecord(ThreeDRecord::Size, "Imported", 3));
        dialogs.clear();
        dialogs.choose({QString::fromStdString((directory / "in.3db").string())});
        trigger(*window.threeDObjectForm(), "Action_ImportRecord");
        QVERIFY(window.threeDObjectForm()->changed());

        dialogs.clear();
        QVERIFY(!window.SaveDatabases());
        QCOMPARE(readFile(directory / "3dobjects.3db"), namedRecord(ThreeDRecord::Size, "Frigate", 7));
        QCOMPARE(readFile(directory / "mission.db"), noBlocks); // nothing stood there, so it was written
        QCOMPARE(objectNames(readFile(directory / "objects.odb")), std::vector<std::string>({"Frigate"}));
        QCOMPARE(dialogs.shown().last().kind, Kind::Information);
        QVERIFY(dialogs.shown().last().text.contains("3dobjects.3db was not saved"));
        QVERIFY(window.threeDObjectForm()->changed());
        // Closing still asks, and Yes does not close while the work is still not on disk.
        dialogs.answer(Answer::Yes);
        QVERIFY(!window.CheckSaved());
        QCOMPARE(dialogs.shown().at(dialogs.shown().size() - 2).text,
                 QString("You have not saved your database changes to disk.Do you wish to save them now?"));
    }

    void saveWritesTheFiveFilesWithObjectsSortedByName() {
        TemporaryDirectory directory;
        writeSet(directory.path(), objects({"zulu", "Alpha", "_under", "Mike"}));
        fs::remove(directory / "sensors.sdb");
        writeFile(directory / "sensors.sdb", ByteVector(152, 1));
        Session session(directory.path());
        for (const char* name : {"launcher.ldb", "mission.db", "shipbasedaircraft.db", "3dobjects.3db"}) {
            fs::remove(directory / name);
        }
        fs::remove(directory / "sensors.sdb");
        fs::remove(directory / "airstrip.adb");
        session.action("Action_SaveDBs")->trigger();
        QCOMPARE(objectNames(readFile(directory / "objects.odb")),
                 std::vector<std::string>({"Alpha", "Mike", "zulu", "_under"}));
        for (const char* name : {"launcher.ldb", "mission.db", "shipbasedaircraft.db", "3dobjects.3db"}) {
            QVERIFY2(fs::exists(directory / name), name);
        }
        QVERIFY(!fs::exists(directory / "sensors.sdb"));
        QVERIFY(!fs::exists(directory / "airstrip.adb"));
        QVERIFY(session.dialogs.shown().isEmpty()); // a save that succeeds says nothing
    }

    void saveToWithYesWritesTheSetTwiceAndWithNoOnce() {
        TemporaryDirectory root;
        writeSet(root / "old", objects({"Frigate"}));
        fs::create_directories(root / "new");
        fs::create_directories(root / "other");
        Session session(root / "old");
        session.action("Action_Toggle_Objects")->trigger();
        typeInto(session.objectName(), "Renamed");

        session.dialogs.answer(Answer::Yes);
        session.dialogs.choose({chosenFile(root / "new")});
        session.action("Action_SaveDBsTo")->trigger();
        QCOMPARE(session.dialogs.shown().first().text,
                 QString("You have not saved your database changes to disk.Do you wish to save them now?"));
        QCOMPARE(session.dialogs.shown().last().caption, QString("Save Databases to..."));
        QCOMPARE(objectNames(readFile(root / "old" / "objects.odb")), std::vector<std::string>({"Renamed"}));
        QCOMPARE(objectNames(readFile(root / "new" / "objects.odb")), std::vector<std::string>({"Renamed"}));
        QVERIFY(!fs::exists(root / "new" / "sensors.sdb"));
        QCOMPARE(session.window->databaseDirectory(), root / "new");

        typeInto(session.objectName(), "Again");
        session.dialogs.clear();
        session.dialogs.answer(Answer::No);
        session.dialogs.choose({chosenFile(root / "other")});
        session.action("Action_SaveDBsTo")->trigger();
        QCOMPARE(objectNames(readFile(root / "new" / "objects.odb")), std::vector<std::string>({"Renamed"}));
        QCOMPARE(objectNames(readFile(root / "other" / "objects.odb")), std::vector<std::string>({"Again"}));

        // Cancelling the question or the dialog changes nothing.
        session.dialogs.clear();
        session.dialogs.answer(Answer::Cancel);
        typeInto(session.objectName(), "Third");
        session.action("Action_SaveDBsTo")->trigger();
        QCOMPARE(session.window->databaseDirectory(), root / "other");
        QCOMPARE(session.dialogs.shown().size(), 1);
    }

    void selectDirectoryDiscardsUnsavedWorkAndRecreatesTheEditors() {
        TemporaryDirectory root;
        writeSet(root / "first", objects({"Frigate"}), {}, namedRecord(ThreeDRecord::Size, "Frigate", 1));
        writeSet(root / "second", objects({"Carrier", "Sub"}), {}, namedRecord(ThreeDRecord::Size, "Carrier", 2));
        Session session(root / "first");
        session.action("Action_Toggle_Objects")->trigger();
        session.action("Action_Toggle_3Ds")->trigger();
        typeInto(session.objectName(), "Unsaved");

        session.dialogs.choose({chosenFile(root / "second")});
        session.action("Action_Select_DBDir")->trigger();
        QCOMPARE(session.dialogs.shown().size(), 1); // the dialog, and no question
        QCOMPARE(session.window->databaseDirectory(), root / "second");
        QVERIFY(!session.window->objectForm()->isVisible());
        QVERIFY(!session.window->threeDObjectForm()->isVisible());
        QVERIFY(!session.action("Action_Toggle_Objects")->isChecked());
        QVERIFY(!session.action("Action_Toggle_3Ds")->isChecked());
        QCOMPARE(session.objectName()->text(), QString("Carrier"));
        // What the recreated 3D object editor lists once it is opened again.
        session.action("Action_Toggle_3Ds")->trigger();
        QCOMPARE(entries(session.window->threeDObjectForm()->threeDList()), QStringList({"001: Carrier"}));
        QCOMPARE(entries(session.window->threeDObjectForm()->objectList()), QStringList({"002: Sub"}));

        session.window->SaveDatabases();
        QCOMPARE(readFile(root / "second" / "3dobjects.3db"), namedRecord(ThreeDRecord::Size, "Carrier", 2));
        QCOMPARE(objectNames(readFile(root / "first" / "objects.odb")), std::vector<std::string>({"Frigate"}));
    }

    // A structured file that was repaired or lost data as it was read is told as soon as the
    // set is loaded, at start-up and after Select Directory: one box that lists each damaged
    // file in the words the question before a save uses. A sound set tells nothing.
    void damagedFilesAreToldWhenTheSetIsLoaded() {
        TemporaryDirectory root;
        writeSet(root / "sound", objects({"Frigate"}));
        writeSet(root / "damaged", objects({"Frigate"}));
        writeFile(root / "damaged" / "mission.db", ByteVector{1, 0, 0, 0}); // a nation promised
        Carrier bare = newCarrier();
        CarrierRecord::NumPlatforms.write(bare.record, 0);
        writeFile(root / "damaged" / "shipbasedaircraft.db",
                  concatenated({ByteVector{1, 0, 0, 0}, ByteVector(bare.record.begin(), bare.record.end())}));

        Session session(root / "damaged");
        QCOMPARE(session.dialogs.shown().size(), 1);
        QCOMPARE(session.dialogs.shown().last().kind, Kind::Information);
        QCOMPARE(session.dialogs.shown().last().caption, QString("Databases Loaded"));
        const QString told = session.dialogs.shown().last().text;
        QCOMPARE(told,
                 QString("shipbasedaircraft.db could not be read as it stands when the databases were loaded:\n"
                         "shipbasedaircraft.db: carrier 1 (\"New Class\") carries no aircraft type; it was given "
                         "one without names, for a single aircraft.\n\n"
                         "mission.db could not be read as it stands when the databases were loaded:\n"
                         "mission.db says it holds 1 nation, but its data ends at byte 4, before the first nation; "
                         "no nations were read.\n\n"
                         "The editors hold what could be read, repaired where it had to be. A save asks before it "
                         "replaces a damaged file."));

        // The question before the save tells each file's damage in the same words.
        session.dialogs.clear();
        session.dialogs.answer(Answer::No);
        session.dialogs.answer(Answer::No);
        session.window->SaveDatabases();
        int questions = 0;
        for (const auto& shown : session.dialogs.shown()) {
            if (shown.kind == Kind::Question) {
                ++questions;
                QVERIFY2(told.contains(shown.text.section("\n\nSaving replaces ", 0, 0) + "\n\n"),
                         qPrintable(shown.text));
            }
        }
        QCOMPARE(questions, 2);

        session.dialogs.clear();
        session.dialogs.choose({chosenFile(root / "sound")});
        session.action("Action_Select_DBDir")->trigger();
        QCOMPARE(session.dialogs.shown().size(), 1); // the directory dialog alone
        session.dialogs.choose({chosenFile(root / "damaged")});
        session.action("Action_Select_DBDir")->trigger();
        QCOMPARE(session.dialogs.shown().size(), 3);
        QCOMPARE(session.dialogs.shown().last().caption, QString("Databases Loaded"));
        QCOMPARE(session.dialogs.shown().last().text, told);
    }

    void aDirectoryThatFailsTwiceLeavesTheSetInUse() {
        TemporaryDirectory root;
        writeSet(root / "first", objects({"Frigate"}));
        writeSet(root / "broken", objects({"X"}), "launcher.ldb");
        Session session(root / "first");
        session.action("Action_Toggle_Objects")->trigger();
        typeInto(session.objectName(), "Unsaved");

        session.dialogs.choose({chosenFile(root / "broken")});
        session.dialogs.choose({chosenFile(root / "broken")});
        session.action("Action_Select_DBDir")->trigger();
        QCOMPARE(session.dialogs.shown().last().text, QString("Cannot open file launcher.ldb"));
        QCOMPARE(session.window->databaseDirectory(), root / "first");
        QCOMPARE(session.objectName()->text(), QString("Unsaved"));

        session.dialogs.clear();
        session.dialogs.cancelFileDialog();
        session.action("Action_Select_DBDir")->trigger();
        QCOMPARE(session.window->databaseDirectory(), root / "first");
    }

    // A set copied from a file system that ignores letter case opens as it is; two files of one
    // name are told by both names where a missing file is told.
    void aSetOfUpperCaseNamesOpensAndTwoFilesOfOneNameAreTold() {
        TemporaryDirectory root;
        writeSet(root / "set", objects({"Frigate"}));
        for (const auto& entry : std::vector<fs::directory_entry>(fs::directory_iterator(root / "set"), {})) {
            const QString name = QString::fromStdString(entry.path().filename().string());
            fs::rename(entry.path(), root / "set" / name.toUpper().toStdString());
        }
        Session session(root / "set");
        QVERIFY(session.dialogs.shown().isEmpty());
        session.action("Action_Toggle_Objects")->trigger();
        QCOMPARE(session.objectName()->text(), QString("Frigate"));

        writeFile(root / "set" / "objects.odb", objects({"Other"}));
        session.dialogs.choose({chosenFile(root / "set")});
        session.dialogs.choose({chosenFile(root / "set")});
        session.action("Action_Select_DBDir")->trigger();
        QCOMPARE(session.dialogs.shown().last().text,
                 QString("Cannot open file objects.odb: OBJECTS.ODB and objects.odb both stand there, "
                         "names that differ only in letter case"));
    }

    // The launcher editor: its toggle, its Save Record that counts even on an unchanged record,
    // and a save that keeps the launchers in the order of their list.
    void theLauncherEditorIsSavedInTheOrderOfItsList() {
        TemporaryDirectory directory;
        writeSet(directory.path(), objects({"Frigate"}));
        writeFile(directory / "launcher.ldb", concatenated({namedRecord(196, "Zulu Mount", 1), namedRecord(196, "Alpha Mount", 2)}));
        writeFile(directory / "in.ldb", namedRecord(196, "Bravo Mount", 3));
        Session session(directory.path());
        QAction* toggle = session.action("Action_Toggle_Launchers");
        QVERIFY(toggle->isEnabled());
        toggle->trigger();
        TLauncherForm& launchers = *session.window->launcherForm();
        QVERIFY(launchers.isVisible());
        QVERIFY(toggle->isChecked());
        QTest::mouseClick(control<QPushButton>(launchers, "SaveButton"), Qt::LeftButton);
        session.dialogs.answer(Answer::Cancel);
        QVERIFY(!session.window->CheckSaved());
        QCOMPARE(session.dialogs.shown().last().text,
                 QString("You have not saved your database changes to disk.Do you wish to save them now?"));

        session.dialogs.choose({QString::fromStdString((directory / "in.ldb").string())});
        trigger(launchers, "Action_ImportRecord");
        QVERIFY(session.window->SaveDatabases());
        QCOMPARE(readFile(directory / "launcher.ldb"),
                 concatenated({namedRecord(196, "Zulu Mount", 1), namedRecord(196, "Alpha Mount", 2),
                               namedRecord(196, "Bravo Mount", 3)}));
        QVERIFY(!launchers.holdsUnsavedWork());
        QVERIFY(session.window->CheckSaved());
        launchers.close(); // the close box runs the toggle
        QVERIFY(!launchers.isVisible());
        QVERIFY(!toggle->isChecked());
    }

    // An object is armed through the pickers that the object editor's buttons open: a sensor
    // of sensors.sdb, and a launcher added in the launcher editor and not yet saved. A kept
    // choice is an unaccepted change of the record, which No undoes.
    void anObjectIsArmedThroughThePickers() {
        TemporaryDirectory directory;
        writeSet(directory.path(), objects({"Frigate"}));
        writeFile(directory / "sensors.sdb", concatenated({namedRecord(152, "A"), namedRecord(152, "B"),
                                                           namedRecord(152, "C")}));
        Session session(directory.path());
        session.action("Action_Toggle_Objects")->trigger();
        session.action("Action_Toggle_Launchers")->trigger();
        TObjectForm& objects = *session.window->objectForm();
        trigger(*session.window->launcherForm(), "Action_AddRecord"); // "002: New Launcher", unsaved
        doubleClickEntry(objects.recordList(), 0);

        // Inside the modal picker, as soon as it is up: click a slot, then an entry, then Keep.
        auto pickInside = [](const QString& picker, int slot, int entry, QStringList* seen = nullptr) {
            QTimer::singleShot(0, [=] {
                auto* form = qobject_cast<SlotPickerForm*>(QApplication::activeModalWidget());
                QVERIFY(form != nullptr);
                QCOMPARE(form->objectName(), picker);
                QListView* slotList = form->slotList();
                QListView* offered = form->availableList();
                if (seen != nullptr) {
                    *seen = entries(offered);
                }
                clickEntry(slotList, slot);
                clickEntry(offered, entry);
                QTest::mouseClick(control<QPushButton>(*form, "KeepButton"), Qt::LeftButton);
            });
        };
        QStringList sensors;
        pickInside("TSensorForm", 1, 2, &sensors);
        QTest::mouseClick(control<QPushButton>(objects, "SensorButton"), Qt::LeftButton);
        QCOMPARE(sensors, QStringList({"00: EMPTY SLOT", "01: A", "02: B", "03: C"}));
        const ConstByteSpan record = objects.records().record(0);
        QCOMPARE(ObjectRecord::SensorSlots.read(record, 1), std::int16_t(2));
        QVERIFY(objects.recordChanged());

        QStringList launchers;
        pickInside("TWeaponForm", 29, 2, &launchers);
        QTest::mouseClick(control<QPushButton>(objects, "WeaponButton"), Qt::LeftButton);
        QCOMPARE(launchers, QStringList({"000: EMPTY SLOT", "001: GUN", "002: New Launcher"}));
        QCOMPARE(ObjectRecord::LauncherSlots.read(objects.records().record(0), 29), std::int16_t(2));

        // Not retained: the record is as it was shown, slots included.
        session.dialogs.answer(Answer::No);
        doubleClickEntry(objects.recordList(), 0);
        QCOMPARE(ObjectRecord::SensorSlots.read(objects.records().record(0), 1), std::int16_t(0));
        QCOMPARE(ObjectRecord::LauncherSlots.read(objects.records().record(0), 29), std::int16_t(0));
        QVERIFY(control<QPushButton>(objects, "AirstripButton")->isEnabled());
    }

    // Deleting a launcher that object slots name asks first. Cancel keeps it; Yes renumbers the
    // slots of the object editor's working copy and of the snapshot of the object on screen,
    // whose change stays unaccepted; No leaves them. A launcher no slot names goes unasked.
    void deletingALauncherThatSlotsNameAsksWhetherToRenumberThem() {
        TemporaryDirectory directory;
        const auto objectSet = [](std::vector<std::vector<std::int16_t>> launchers) {
            ByteVector file;
            for (std::size_t i = 0; i < launchers.size(); ++i) {
                ByteVector record = objectRecord(std::string(1, char('A' + i)), 2);
                for (std::size_t slot = 0; slot < launchers[i].size(); ++slot) {
                    ObjectRecord::LauncherSlots.write(record, slot, launchers[i][slot]);
                }
                file.insert(file.end(), record.begin(), record.end());
            }
            return file;
        };
        writeSet(directory.path(), objectSet({{1, 2, 3, 4, 0, -1, 5, 7}, {4, 4, 2}, {1}}));
        writeFile(directory / "launcher.ldb",
                  concatenated({namedRecord(196, "GUN", 0), namedRecord(196, "SAM", 0),
                                namedRecord(196, "SSM", 0), namedRecord(196, "CIWS", 0)}));
        Session session(directory.path());
        session.action("Action_Toggle_Objects")->trigger();
        session.action("Action_Toggle_Launchers")->trigger();
        TObjectForm& objects = *session.window->objectForm();
        TLauncherForm& launchers = *session.window->launcherForm();
        typeInto(control<QLineEdit>(objects, "MastHeight"), "50"); // object A, not yet accepted
        const auto workingCopy = [&] {
            return ByteVector(objects.records().bytes().begin(), objects.records().bytes().end());
        };
        const auto deleteLauncher = [&](int row, std::optional<Answer> answer) {
            session.dialogs.clear();
            if (answer) {
                session.dialogs.answer(*answer);
            }
            clickEntry(launchers.recordList(), row);
            trigger(launchers, "Action_DelRecord");
            QCOMPARE(session.dialogs.unexpected(), QStringList());
        };

        ByteVector expected = workingCopy();
        deleteLauncher(1, Answer::Cancel);
        QCOMPARE(session.dialogs.shown().first().caption, QString("Confirmation"));
        QCOMPARE(
            session.dialogs.shown().first().text,
            QString(
                "Deleting \"002: SAM\" moves every launcher after it up one place. 6 launcher "
                "slots of 2 "
                "objects name this launcher or one after it; 2 of them name this launcher "
                "itself.\n\n"
                "Yes: delete it and renumber those slots, so that each keeps naming the same "
                "launcher; "
                "the 2 slots that name this launcher become empty.\n"
                "No: delete it and leave the slots' numbers as they are, so that they name another "
                "launcher than before, or none.\nCancel: keep the launcher."));
        QCOMPARE(entries(launchers.recordList()),
                 QStringList({"001: GUN", "002: SAM", "003: SSM", "004: CIWS"}));
        QCOMPARE(workingCopy(), expected);
        QVERIFY(!launchers.setChanged() && !objects.setChanged());

        deleteLauncher(1, Answer::Yes);
        expected = objectSet({{1, 0, 2, 3, 0, -1, 5, 7}, {3, 3, 0}, {1}});
        ObjectRecord::MastHeight.write(expected, 50);
        QCOMPARE(workingCopy(), expected);
        QVERIFY(objects.setChanged() && objects.recordChanged());
        QCOMPARE(session.window->launcherPicker()->slotCopy()[2], std::int16_t(2));

        objects.clearSetChanged();
        deleteLauncher(0, Answer::No);
        QCOMPARE(entries(launchers.recordList()), QStringList({"001: SSM", "002: CIWS"}));
        QCOMPARE(workingCopy(), expected);
        QVERIFY(!objects.setChanged());

        // Slots holding 3 name the first launcher added; none holds 4.
        trigger(launchers, "Action_AddRecord");
        trigger(launchers, "Action_AddRecord");
        deleteLauncher(3, std::nullopt);
        QVERIFY(session.dialogs.shown().isEmpty());

        // Declining object A's change brings back its slots as renumbered.
        session.dialogs.answer(Answer::No);
        doubleClickEntry(objects.recordList(), 1);
        ObjectRecord::MastHeight.write(expected, 0);
        QCOMPARE(workingCopy(), expected);
    }

    // The nation editor: its toggle, and a save that writes what it holds into mission.db.
    void theNationEditorIsSavedIntoMissionDb() {
        TemporaryDirectory directory;
        writeSet(directory.path(), objects({"Frigate"}));
        Session session(directory.path());
        QAction* toggle = session.action("Action_Toggle_Missions");
        QVERIFY(toggle->isEnabled());
        toggle->trigger();
        TMissionForm& nations = *session.window->missionForm();
        QVERIFY(nations.isVisible());
        trigger(nations, "Action_AddRecord");
        typeInto(control<QLineEdit>(nations, "CountryName"), "Aldermark");
        QVERIFY(session.window->SaveDatabases());
        const MissionDatabase saved = readMissionDatabase(readFile(directory / "mission.db"), "mission.db");
        QVERIFY(saved.report.clean());
        QCOMPARE(saved.nations.size(), std::size_t(1));
        QCOMPARE(NationRecord::CountryName.read(saved.nations[0].record), std::string("Aldermark"));
        nations.close();
        QVERIFY(!toggle->isChecked());
    }

    // The carrier editor: its toggle, the nation editor's names in its lists, and a save that
    // writes what it holds into shipbasedaircraft.db.
    void theCarrierEditorIsSavedIntoItsFile() {
        TemporaryDirectory directory;
        writeSet(directory.path(), objects({"Frigate"}));
        Session session(directory.path());
        trigger(*session.window, "Action_Toggle_Missions");
        trigger(*session.window->missionForm(), "Action_AddRecord");
        typeInto(control<QLineEdit>(*session.window->missionForm(), "CountryName"), "Aldermark");
        QAction* toggle = session.action("Action_Toggle_SBAs");
        toggle->trigger();
        TSBAForm& carriers = *session.window->carrierForm();
        QVERIFY(carriers.isVisible());
        trigger(carriers, "Action_AddRecord");
        QCOMPARE(carriers.choices("Country"), QStringList({"Aldermark"}));
        control<QComboBox>(carriers, "Country")->setCurrentIndex(0);
        QCOMPARE(control<QComboBox>(carriers, "ObjectName")->currentText(), QString("New Class "));
        QVERIFY(session.window->SaveDatabases());
        const CarrierDatabase saved = readCarrierDatabase(readFile(directory / "shipbasedaircraft.db"), "saved");
        QVERIFY(saved.report.clean());
        QCOMPARE(saved.carriers.size(), std::size_t(1));
        QCOMPARE(CarrierRecord::Country.read(saved.carriers[0].record), std::string("Aldermark"));
        QCOMPARE(CarrierRecord::ObjectName.read(saved.carriers[0].record), std::string("New Class "));
        carriers.close();
        QVERIFY(!toggle->isChecked());
    }

    void closingAsksOnlyWhenSomethingIsUnsaved() {
        TemporaryDirectory directory;
        writeSet(directory.path(), objects({"Frigate"}));
        {
            Session session(directory.path());
            QVERIFY(session.window->CheckSaved());
            QVERIFY(session.dialogs.shown().isEmpty());
        }
        Session session(directory.path());
        session.action("Action_Toggle_Objects")->trigger();
        typeInto(session.objectName(), "Renamed"); // only the record-changed mark is set
        session.dialogs.answer(Answer::Cancel);
        session.action("Menu_File_Exit")->trigger();
        QVERIFY(session.window->isVisible());
        QCOMPARE(session.dialogs.shown().last().caption, QString("Confirmation"));

        session.dialogs.answer(Answer::Yes);
        session.window->close();
        QVERIFY(!session.window->isVisible());
        QCOMPARE(objectNames(readFile(directory / "objects.odb")), std::vector<std::string>({"Renamed"}));
        QVERIFY(session.dialogs.unexpected().isEmpty());
    }

    void aFailedSaveKeepsTheWorkCountedAsUnsaved() {
        TemporaryDirectory root;
        writeSet(root / "set", objects({"Frigate"}));
        Session session(root / "set");
        session.action("Action_Toggle_Objects")->trigger();
        typeInto(session.objectName(), "Renamed");
        QTest::mouseClick(control<QPushButton>(*session.window->objectForm(), "SaveButton"), Qt::LeftButton);
        // A directory that is gone cannot take the files.
        fs::remove_all(root / "set");
        session.window->SaveDatabases();
        QCOMPARE(session.dialogs.shown().last().kind, Kind::Error);
        QVERIFY(session.dialogs.shown().last().text.startsWith("Cannot create file "));
        QVERIFY(session.window->objectForm()->setChanged());
        session.dialogs.answer(Answer::No);
        QVERIFY(session.window->CheckSaved());
        QCOMPARE(session.dialogs.shown().last().kind, Kind::Question);
    }

    // Whatever step of writing objects.odb fails, the user is told, the file is whole, no
    // temporary file is left, and the work still counts as unsaved until a save succeeds.
    void aSaveFailingAtAnyStepKeepsTheFileWholeAndTheWorkUnsaved() {
        for (const test::WriteStep step : test::everyWriteStep()) {
            const QByteArray stepName = QByteArray::fromStdString(test::nameOf(step));
            TemporaryDirectory root;
            writeSet(root / "set", objects({"Frigate"}));
            const ByteVector before = readFile(root / "set" / "objects.odb");
            Session session(root / "set");
            session.action("Action_Toggle_Objects")->trigger();
            typeInto(session.objectName(), "Renamed");
            QTest::mouseClick(control<QPushButton>(*session.window->objectForm(), "SaveButton"), Qt::LeftButton);
            bool saved = true;
            {
                test::FailingFileCalls failing(step);
                saved = session.window->SaveDatabases();
                QVERIFY2(failing.failed(), stepName);
            }
            QVERIFY2(!saved, stepName);
            QCOMPARE(session.dialogs.shown().last().kind, Kind::Error);
            const QString told = session.dialogs.shown().last().text;
            QVERIFY2(step == test::WriteStep::MakeTemporary ? told.startsWith("Cannot create file ")
                                                            : told == "Stream write error",
                     stepName + ": " + told.toUtf8());
            const std::vector<std::string> names = objectNames(readFile(root / "set" / "objects.odb"));
            QVERIFY2(names == std::vector<std::string>({step == test::WriteStep::SyncDirectory ? "Renamed" : "Frigate"}),
                     stepName);
            if (step != test::WriteStep::SyncDirectory) {
                QVERIFY2(readFile(root / "set" / "objects.odb") == before, stepName);
            }
            QCOMPARE(std::distance(fs::directory_iterator(root / "set"), fs::directory_iterator()), 7);
            QVERIFY2(session.window->objectForm()->setChanged(), stepName);
            // Restore All goes back to the master buffer, which holds what the file does not.
            session.dialogs.answer(Answer::Yes);
            session.window->objectForm()->RestoreAllRecords();
            QVERIFY2(session.window->objectForm()->setChanged(), stepName);

            QVERIFY(session.window->SaveDatabases());
            QVERIFY(!session.window->objectForm()->setChanged());
            QCOMPARE(objectNames(readFile(root / "set" / "objects.odb")), std::vector<std::string>({"Renamed"}));
        }
    }

    // As an ordinary user: a write-protected file of the set is never replaced, even though
    // the directory would let a new file be renamed over it; a writable file in a directory
    // that takes no new file is written in place.
    void saveWritesOnlyWhatTheUserMayWrite() {
        TemporaryDirectory root;
        const fs::path set = root / "set";
        writeSet(set, objects({"Frigate"}));
        for (const auto& entry : fs::directory_iterator(set)) {
            QCOMPARE(::chown(entry.path().c_str(), ordinaryUserId, ordinaryGroupId), 0);
        }
        QCOMPARE(::chown(root.path().c_str(), ordinaryUserId, ordinaryGroupId), 0);
        QCOMPARE(::chown(set.c_str(), ordinaryUserId, ordinaryGroupId), 0);
        Session session(set);
        session.action("Action_Toggle_Objects")->trigger();
        typeInto(session.objectName(), "Renamed");
        QTest::mouseClick(control<QPushButton>(*session.window->objectForm(), "SaveButton"), Qt::LeftButton);

        ::chmod((set / "objects.odb").c_str(), 0444);
        const ByteVector protectedBefore = readFile(set / "objects.odb");
        int outcome = runAsOrdinaryUser([&] {
            session.dialogs.clear();
            const bool saved = session.window->SaveDatabases();
            const auto& shown = session.dialogs.shown();
            if (saved || shown.size() != 1 || shown.last().kind != Kind::Error) {
                return 1;
            }
            if (shown.last().text != QString::fromStdString("Cannot create file " + (set / "objects.odb").string())) {
                return 2;
            }
            return session.window->objectForm()->setChanged() ? 0 : 3; // still unsaved
        });
        if (outcome == couldNotBecomeOrdinaryUser) {
            QSKIP("this process cannot act as an ordinary user");
        }
        QCOMPARE(outcome, 0);
        QCOMPARE(readFile(set / "objects.odb"), protectedBefore);

        ::chmod((set / "objects.odb").c_str(), 0644);
        ::chmod(set.c_str(), 0555);
        outcome = runAsOrdinaryUser([&] {
            session.dialogs.clear();
            if (!session.window->SaveDatabases() || !session.dialogs.shown().isEmpty()) {
                return 1;
            }
            return session.window->objectForm()->setChanged() ? 2 : 0;
        });
        ::chmod(set.c_str(), 0755);
        QCOMPARE(outcome, 0);
        QCOMPARE(objectNames(readFile(set / "objects.odb")), std::vector<std::string>({"Renamed"}));
        QCOMPARE(static_cast<int>(fs::status(set / "objects.odb").permissions() & fs::perms::all), 0644);
    }

    void aFailedSaveToKeepsTheDirectoryTheSetCameFrom() {
        TemporaryDirectory root;
        writeSet(root / "set", objects({"Frigate"}));
        Session session(root / "set");
        session.dialogs.choose({chosenFile(root / "gone")});
        session.action("Action_SaveDBsTo")->trigger();
        QVERIFY(session.dialogs.shown().last().text.startsWith("Cannot create file "));
        QCOMPARE(session.window->databaseDirectory(), root / "set");
    }

    void theAboutBoxShowsTheVersionAndOpensTheLink() {
        ScriptedDialogService dialogs;
        TAboutBox about(dialogs);
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QCOMPARE(about.windowTitle(), QString("About"));
        QCOMPARE(control<QLabel>(about, "Version")->text(), QString("Version: 4.0.0"));
        QCOMPARE(control<QLabel>(about, "ProductName")->text(), QString("Brinewatch Database Record Editor"));
        auto* link = control<LinkLabel>(about, "URL");
        QCOMPARE(link->palette().color(QPalette::WindowText), QColor(Qt::blue));
        QVERIFY(link->font().underline());
        QTest::mousePress(link, Qt::LeftButton);
        QCOMPARE(link->palette().color(QPalette::WindowText), QColor(Qt::red));
        QTest::mouseRelease(link, Qt::LeftButton);
        QCOMPARE(link->palette().color(QPalette::WindowText), QColor(Qt::blue));
        QCOMPARE(dialogs.shown().last().kind, Kind::Url);
        QCOMPARE(dialogs.shown().last().text, TAboutBox::homePage.toString());
        QTest::mouseClick(control<QPushButton>(about, "OKButton"), Qt::LeftButton);
        QVERIFY(!about.isVisible());
    }

    // An import report of thousands of names keeps its caption, its text and its one button, in
    // a window that scrolls and fits the screen; a short one stays a message box.
    void aLongReportScrollsInAWindowThatFitsTheScreen() {
        QtDialogService dialogs(programTitle());
        QString text = "The following 50000 record(s) were imported:\n";
        for (int i = 0; i < 50000; ++i) {
            text += QString("Object %1\n").arg(i, 7, 10, QLatin1Char('0'));
        }
        QString shownText;
        QString title;
        int buttons = 0;
        int height = 0;
        QRect screen;
        QTimer::singleShot(0, [&] {
            QWidget* report = QApplication::activeModalWidget();
            QVERIFY(report != nullptr);
            title = report->windowTitle();
            shownText = control<QPlainTextEdit>(*report, "ReportText")->toPlainText();
            buttons = static_cast<int>(report->findChildren<QPushButton*>().size());
            height = report->frameGeometry().height();
            screen = report->screen()->availableGeometry();
            QTest::mouseClick(report->findChild<QPushButton*>(), Qt::LeftButton);
        });
        dialogs.inform("/data/all.odb", text);
        QCOMPARE(title, QString("/data/all.odb"));
        QCOMPARE(shownText, text);
        QCOMPARE(buttons, 1);
        QVERIFY(height <= screen.height());

        QString kind;
        QTimer::singleShot(0, [&] {
            kind = QString::fromLatin1(QApplication::activeModalWidget()->metaObject()->className());
            QApplication::activeModalWidget()->close();
        });
        dialogs.inform("/data/one.odb", "The following 1 record(s) were imported:\nFrigate\n");
        QCOMPARE(kind, QString("QMessageBox"));
    }

    // The about box stands in the middle of the screen, wherever the main window is.
    void theAboutBoxIsCentredOnTheScreen() {
        TemporaryDirectory directory;
        writeSet(directory.path(), objects({"Frigate"}));
        Session session(directory.path());
        session.window->move(10, 10);
        QPoint centre;
        QRect screen;
        QTimer::singleShot(0, [&] {
            auto* about = qobject_cast<TAboutBox*>(QApplication::activeModalWidget());
            QVERIFY(about != nullptr);
            centre = about->geometry().center();
            screen = about->screen()->availableGeometry();
            about->accept();
        });
        session.action("Action_Show_About")->trigger();
        QVERIFY((centre - screen.center()).manhattanLength() <= 2);
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
