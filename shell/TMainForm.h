// SPDX-License-Identifier: MIT
#pragma once

#include "set/DatabaseSet.h"

#include <QMainWindow>
#include <QPointer>

#include <filesystem>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QAction;
class QLabel;
class QToolBar;

namespace keel {

class DialogService;
class ListFileEntries;
class SetEditor;
class TAirstripForm;
class TSensorForm;
class TWeaponForm;
class TLauncherForm;
class TMissionForm;
class TSBAForm;
class TObjectForm;
class TThreeDObjectForm;
class RecordEditorForm;

// The set a session starts with: what was loaded, and from which directory.
struct StartupSet {
    DatabaseSet set;
    std::filesystem::path directory;
};

// Loads the set of the working directory; when a file of it cannot be read, asks for another
// directory. Gives nothing, with the message to show, when that directory fails too; a
// cancelled question gives the incomplete set of the working directory.
std::optional<StartupSet> loadStartupSet(DialogService& dialogs,
                                         const std::filesystem::path& workingDirectory,
                                         QString& error);
// The same, with the working directory's set already read into `first`.
std::optional<StartupSet> loadStartupSet(DialogService& dialogs,
                                         const std::filesystem::path& workingDirectory,
                                         DatabaseSet::LoadResult first, QString& error);

// The main window: owns the database set and the editors, and carries the menu and tool bar.
class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    // When the editors, all hidden at first, are made. keelbook makes them once the main window
    // has been painted the first time, so that the window shows as soon as the set is read;
    // whatever needs an editor before then (a menu entry, a shortcut, a save) makes them first.
    enum class EditorsMade {
        InConstructor,
        AfterFirstFrame,
    };
    TMainForm(StartupSet startup, DialogService& dialogs, EditorsMade made = EditorsMade::InConstructor,
              QWidget* parent = nullptr);
    // The window alone, its menus and tool bar, made while the set is still being read; the set
    // comes with openSet, before the window is shown.
    TMainForm(DialogService& dialogs, EditorsMade made, QWidget* parent = nullptr);
    void openSet(StartupSet startup);
    ~TMainForm() override;

    const std::filesystem::path& databaseDirectory() const { return directory_; }
    // Whether the editors have been made; the editor accessors give nothing before.
    bool editorsMade() const { return editorsMade_; }
    const DatabaseSet& databaseSet() const { return set_; }
    TObjectForm* objectForm() const { return objectForm_.get(); }
    TThreeDObjectForm* threeDObjectForm() const { return threeDForm_.get(); }
    TLauncherForm* launcherForm() const { return launcherForm_.get(); }
    TMissionForm* missionForm() const { return missionForm_.get(); }
    TSBAForm* carrierForm() const { return carrierForm_.get(); }
    TWeaponForm* launcherPicker() const { return launcherPicker_.get(); }
    TSensorForm* sensorPicker() const { return sensorPicker_.get(); }
    TAirstripForm* airstripPicker() const { return airstripPicker_.get(); }

    // The close query: asks about unsaved changes; true when closing may go on.
    bool CheckSaved();
    // What the status bar says: the last save, and which editors hold unsaved work.
    QString statusLine() const;

public slots:
    void SelectDBdir();
    // True when every change the editors held reached the disk.
    bool SaveDatabases();
    void SaveDatabasesTo();
    void Action_Toggle_Toolbar_Run();
    void Action_Toggle_Objects_Run();
    void Action_Toggle_3Ds_Run();
    void Action_Toggle_Launchers_Run();
    void Action_Toggle_Missions_Run();
    void Action_Toggle_SBAs_Run();
    void Action_Show_About_Run();
    void Menu_File_ExitClick();

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QAction* makeAction(const QString& name, const QString& category, const QString& caption,
                        const QString& hint, const QIcon& icon = {});
    void buildMenusAndToolBar();
    void createEditors();
    // Makes the editors and tells what was wrong with the files loaded, unless that was done.
    void makeEditorsIfNotYet();
    void destroyEditors();
    // Tells what was wrong with the files of the set just loaded, once its editors exist.
    void reportLoadedDamage();
    bool anythingUnsaved() const;
    // The editors of the set with their files, in the order in which a save commits them.
    std::vector<std::pair<DatabaseFile, SetEditor*>> editorsInCommitOrder() const;
    void toggle(QWidget* editor, QAction* action);
    enum class SaveOutcome {
        Saved,             // every editor's work reached the disk
        SavedWithWorkLeft, // the save went through, but left a file of changed work alone
        Failed,            // a file could not be written, or the user cancelled
    };
    SaveOutcome saveAndReport();
    void tellSave(const DatabaseSet::SaveResult& saved);
    void showUnsavedWork();
    // Ctrl+F in the main window: the find box of the editor window used last.
    void findInLastEditor();
    DatabaseSet::SaveResult saveSet();
    std::optional<std::filesystem::path> askForDirectory(const QString& title, bool save);

    DialogService& dialogs_;
    DatabaseSet set_;
    std::filesystem::path directory_;
    std::unique_ptr<TLauncherForm> launcherForm_;
    std::unique_ptr<ListFileEntries> sensorEntries_;
    std::unique_ptr<ListFileEntries> airstripEntries_;
    std::unique_ptr<TWeaponForm> launcherPicker_;
    std::unique_ptr<TSensorForm> sensorPicker_;
    std::unique_ptr<TAirstripForm> airstripPicker_;
    std::unique_ptr<TThreeDObjectForm> threeDForm_;
    std::unique_ptr<TObjectForm> objectForm_;
    std::unique_ptr<TMissionForm> missionForm_;
    std::unique_ptr<TSBAForm> carrierForm_;

    QToolBar* toolBar_ = nullptr;
    QAction* selectDirectory_ = nullptr;
    QAction* saveDatabases_ = nullptr;
    QAction* saveDatabasesTo_ = nullptr;
    QAction* toggleToolBar_ = nullptr;
    QAction* toggleObjects_ = nullptr;
    QAction* toggleThreeDs_ = nullptr;
    QAction* toggleLaunchers_ = nullptr;
    QAction* toggleMissions_ = nullptr;
    QAction* toggleCarriers_ = nullptr;
    QAction* showAbout_ = nullptr;
    QAction* exit_ = nullptr;
    QAction* find_ = nullptr;
    QLabel* lastSave_ = nullptr;
    QLabel* unsaved_ = nullptr;
    QPointer<QWidget> lastEditorWindow_;
    EditorsMade made_;
    bool editorsMade_ = false;
    bool editorsAsked_ = false; // the first frame has asked for them
};

} // namespace keel
