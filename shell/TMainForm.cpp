// SPDX-License-Identifier: MIT
#include "shell/TMainForm.h"

#include "editor/DialogService.h"
#include "editor/CodePage.h"
#include "editor/FindFilter.h"
#include "launchers/TLauncherForm.h"
#include "carriers/TSBAForm.h"
#include "nations/TMissionForm.h"
#include "objects/TObjectForm.h"
#include "pickers/ListFileEntries.h"
#include "pickers/SlotPickers.h"
#include "threed/TThreeDObjectForm.h"
#include "shell/ProgramSetup.h"
#include "shell/TAboutBox.h"
#include "shell/ProgramIcon.h"
#include "shell/ToolBarIcons.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QTime>
#include <QTimer>
#include <QToolBar>

#include <algorithm>
#include <functional>
#include <vector>

namespace keel {
namespace {

const QString databaseFilter = QObject::tr("Brinewatch Databases (*.*db)");

std::filesystem::path directoryOf(const QString& chosenFile) {
    return std::filesystem::path(QFileInfo(chosenFile).absolutePath().toStdString());
}

std::optional<std::filesystem::path> askForDatabaseFile(DialogService& dialogs, const QString& title,
                                                        DialogService::FileRequest::Kind kind) {
    const QStringList chosen = dialogs.chooseFiles({kind, title, "objects.odb", databaseFilter, {}});
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return directoryOf(chosen.first());
}

// What a load that failed tells: the file that could not be read, and for two files of its
// name in different letter case, both names.
QString cannotOpen(const DatabaseSet::LoadResult& loaded) {
    const std::string name = std::filesystem::path(*loaded.failedFile).filename().string();
    const QString text = QObject::tr("Cannot open file %1").arg(QString::fromStdString(name));
    return loaded.ambiguous ? text + ": " + QString::fromStdString(loaded.reason) : text;
}

} // namespace

std::optional<StartupSet> loadStartupSet(DialogService& dialogs,
                                         const std::filesystem::path& workingDirectory,
                                         QString& error) {
    return loadStartupSet(dialogs, workingDirectory, DatabaseSet::load(workingDirectory), error);
}

std::optional<StartupSet> loadStartupSet(DialogService& dialogs,
                                         const std::filesystem::path& workingDirectory,
                                         DatabaseSet::LoadResult first, QString& error) {
    if (!first.failedFile) {
        return StartupSet{std::move(first.set), workingDirectory};
    }
    const auto chosen = askForDatabaseFile(dialogs, QObject::tr("Select Database Directory"),
                                           DialogService::FileRequest::Kind::Open);
    if (!chosen) {
        // Cancelled: the incomplete set, whose unread files a save leaves alone.
        return StartupSet{std::move(first.set), workingDirectory};
    }
    DatabaseSet::LoadResult second = DatabaseSet::load(*chosen);
    if (second.failedFile) {
        error = cannotOpen(second);
        return std::nullopt;
    }
    return StartupSet{std::move(second.set), *chosen};
}

TMainForm::TMainForm(StartupSet startup, DialogService& dialogs, EditorsMade made, QWidget* parent)
    : TMainForm(dialogs, made, parent) {
    openSet(std::move(startup));
}

TMainForm::TMainForm(DialogService& dialogs, EditorsMade made, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      dialogs_(dialogs), made_(made) {
    setObjectName("TMainForm");
    setWindowTitle(programTitle());
    setWindowIcon(programIcon());
    buildMenusAndToolBar();
    setCentralWidget(new QWidget(this));
    centralWidget()->setFixedHeight(0);
    // A fixed-size main window takes its width from what lies under the menu bar, never from
    // the menu bar itself: without this, hiding the tool bar would leave a window of no width.
    centralWidget()->setMinimumWidth(toolBar_->sizeHint().width());
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    // The window takes its fixed size now, so that it is mapped at that size rather than
    // resized after it shows.
    layout()->activate();
}

void TMainForm::openSet(StartupSet startup) {
    destroyEditors();
    set_ = std::move(startup.set);
    directory_ = std::move(startup.directory);
    if (made_ == EditorsMade::InConstructor) {
        makeEditorsIfNotYet();
    }
}

TMainForm::~TMainForm() { destroyEditors(); }

void TMainForm::paintEvent(QPaintEvent* event) {
    QMainWindow::paintEvent(event);
    if (made_ == EditorsMade::AfterFirstFrame && !editorsAsked_) {
        editorsAsked_ = true;
        // Queued, so that the frame being painted reaches the screen first.
        QMetaObject::invokeMethod(this, &TMainForm::makeEditorsIfNotYet, Qt::QueuedConnection);
    }
}

void TMainForm::makeEditorsIfNotYet() {
    if (editorsMade_) {
        return;
    }
    createEditors();
    reportLoadedDamage();
}

QAction* TMainForm::makeAction(const QString& name, const QString& category, const QString& caption,
                               const QString& hint, const QIcon& icon) {
    auto* action = new QAction(icon, caption, this);
    action->setObjectName(name);
    action->setProperty("category", category);
    if (!hint.isEmpty()) {
        action->setToolTip(hint);
        action->setStatusTip(hint);
    }
    return action;
}

void TMainForm::buildMenusAndToolBar() {
    const QString io = "DatabaseIO";
    const QString toggles = "Toggles";
    selectDirectory_ = makeAction("Action_Select_DBDir", io, tr("Select &Directory..."),
                                  tr("Load a new set of Databases"),
                                  style()->standardIcon(QStyle::SP_DirOpenIcon));
    saveDatabases_ = makeAction("Action_SaveDBs", io, tr("&Save Databases"), tr("Save Databases"),
                                style()->standardIcon(QStyle::SP_DialogSaveButton));
    saveDatabasesTo_ = makeAction("Action_SaveDBsTo", io, tr("Save Databases &To..."),
                                  tr("Save Databaes to another directory"),
                                  tileIcon("\u2192", QColor(70, 110, 60)));
    toggleToolBar_ = makeAction("Action_Toggle_ToolBar", toggles, tr("&Toolbar"), QString());
    toggleObjects_ = makeAction("Action_Toggle_Objects", toggles, tr("&Objects..."),
                                tr("View Object Records"), tileIcon("O", QColor(30, 90, 160)));
    toggleThreeDs_ = makeAction("Action_Toggle_3Ds", toggles, tr("&3DObjects..."),
                                tr("View 3DObject Records"), tileIcon("3D", QColor(120, 60, 150)));
    toggleLaunchers_ = makeAction("Action_Toggle_Launchers", toggles, tr("&Launchers..."),
                                  tr("View Launcher Records"), tileIcon("L", QColor(170, 80, 30)));
    toggleMissions_ = makeAction("Action_Toggle_Missions", toggles, tr("&Nations..."),
                                 tr("View Mission Records"), tileIcon("N", QColor(30, 120, 110)));
    toggleCarriers_ = makeAction("Action_Toggle_SBAs", toggles, tr("&Aircraft Carrying Ships..."),
                                 tr("View ShipBasedAircraft Records"), tileIcon("A", QColor(150, 40, 60)));
    showAbout_ = makeAction("Action_Show_About", QString(), tr("&About..."), tr("About the program"),
                            programIcon());
    exit_ = makeAction("Menu_File_Exit", QString(), tr("&Exit"), QString());
    find_ = makeAction("Action_Find", QString(), tr("&Find..."), tr("Find a record by name or number"));

    // Saving and leaving work from every window of the program; Find from this one, each
    // editor window having its own.
    saveDatabases_->setShortcut(QKeySequence::Save);
    exit_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    for (QAction* everywhere : {saveDatabases_, exit_}) {
        everywhere->setShortcutContext(Qt::ApplicationShortcut);
    }
    find_->setShortcut(QKeySequence::Find);
    connect(find_, &QAction::triggered, this, &TMainForm::findInLastEditor);

    toggleToolBar_->setCheckable(true);
    toggleToolBar_->setChecked(true);
    for (QAction* editorToggle :
         {toggleObjects_, toggleThreeDs_, toggleLaunchers_, toggleMissions_, toggleCarriers_}) {
        editorToggle->setCheckable(true);
    }

    connect(selectDirectory_, &QAction::triggered, this, &TMainForm::SelectDBdir);
    connect(saveDatabases_, &QAction::triggered, this, &TMainForm::SaveDatabases);
    connect(saveDatabasesTo_, &QAction::triggered, this, &TMainForm::SaveDatabasesTo);
    connect(toggleToolBar_, &QAction::triggered, this, &TMainForm::Action_Toggle_Toolbar_Run);
    connect(toggleObjects_, &QAction::triggered, this, &TMainForm::Action_Toggle_Objects_Run);
    connect(toggleThreeDs_, &QAction::triggered, this, &TMainForm::Action_Toggle_3Ds_Run);
    connect(toggleLaunchers_, &QAction::triggered, this, &TMainForm::Action_Toggle_Launchers_Run);
    connect(toggleMissions_, &QAction::triggered, this, &TMainForm::Action_Toggle_Missions_Run);
    connect(toggleCarriers_, &QAction::triggered, this, &TMainForm::Action_Toggle_SBAs_Run);
    connect(showAbout_, &QAction::triggered, this, &TMainForm::Action_Show_About_Run);
    connect(exit_, &QAction::triggered, this, &TMainForm::Menu_File_ExitClick);

    QMenuBar* bar = menuBar();
    bar->setObjectName("MenuBar");
    QMenu* file = bar->addMenu(tr("&File"));
    file->setObjectName("Menu_File");
    file->addActions({selectDirectory_, saveDatabases_, saveDatabasesTo_});
    file->addSeparator();
    file->addAction(exit_);
    QMenu* view = bar->addMenu(tr("&View"));
    view->setObjectName("Menu_View");
    view->addAction(toggleToolBar_);
    view->addSeparator();
    view->addActions({toggleObjects_, toggleThreeDs_, toggleLaunchers_, toggleMissions_, toggleCarriers_});
    view->addSeparator();
    view->addAction(find_);
    QMenu* help = bar->addMenu(tr("&Help"));
    help->setObjectName("Menu_Help");
    help->addAction(showAbout_);

    toolBar_ = addToolBar(tr("Tool Bar"));
    toolBar_->setObjectName("ToolBar");
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    toolBar_->addActions({selectDirectory_, saveDatabases_, saveDatabasesTo_});
    toolBar_->addSeparator();
    toolBar_->addActions({toggleObjects_, toggleThreeDs_, toggleLaunchers_, toggleMissions_, toggleCarriers_});
    toolBar_->addSeparator();
    toolBar_->addAction(showAbout_);
    // The toggles keep their images on the tool bar; in the View menu they show a check mark,
    // which a style draws only for entries without an image.
    for (QAction* toggle : view->actions()) {
        toggle->setIconVisibleInMenu(false);
    }

    statusBar()->setObjectName("StatusBar");
    statusBar()->setSizeGripEnabled(false);
    lastSave_ = new QLabel(statusBar());
    lastSave_->setObjectName("LastSave");
    unsaved_ = new QLabel(statusBar());
    unsaved_->setObjectName("Unsaved");
    statusBar()->addWidget(lastSave_, 1);
    statusBar()->addPermanentWidget(unsaved_);
    // The marks change at every keystroke in every editor; the line that tells them is read
    // a few times a second instead of being told by each.
    auto* marks = new QTimer(this);
    connect(marks, &QTimer::timeout, this, &TMainForm::showUnsavedWork);
    marks->start(300);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now != nullptr && now->window() != this && now->window()->isWindow()) {
            lastEditorWindow_ = now->window();
        }
    });
}

void TMainForm::showUnsavedWork() {
    const std::initializer_list<std::pair<QString, SetEditor*>> editors{
        {tr("Objects"), objectForm_.get()},        {tr("3D Objects"), threeDForm_.get()},
        {tr("Launchers"), launcherForm_.get()},    {tr("Nations"), missionForm_.get()},
        {tr("Carriers"), carrierForm_.get()}};
    QStringList names;
    for (const auto& [name, editor] : editors) {
        if (editor != nullptr && editor->holdsUnsavedWork()) {
            names << name;
        }
    }
    const QString text = names.isEmpty() ? QString() : tr("Unsaved: %1").arg(names.join(", "));
    if (unsaved_->text() != text) {
        unsaved_->setText(text);
    }
}

QString TMainForm::statusLine() const {
    return lastSave_->text() + (unsaved_->text().isEmpty() ? QString() : " | " + unsaved_->text());
}

void TMainForm::findInLastEditor() {
    makeEditorsIfNotYet();
    QWidget* editor = lastEditorWindow_;
    if (editor == nullptr || !editor->isVisible()) {
        if (!objectForm_->isVisible()) {
            Action_Toggle_Objects_Run();
            toggleObjects_->setChecked(true);
        }
        editor = objectForm_.get();
    }
    editor->activateWindow();
    editor->raise();
    if (auto* bar = editor->findChild<FindBar*>()) {
        bar->box()->setFocus(Qt::ShortcutFocusReason);
        bar->box()->selectAll();
    }
}

void TMainForm::createEditors() {
    // The launcher editor and the 3D object editor come before the object editor, whose list
    // fills their lists.
    launcherForm_ = std::make_unique<TLauncherForm>(set_.buffer(DatabaseFile::Launchers), dialogs_);
    connect(launcherForm_.get(), &RecordEditorForm::toggleRequested, this, &TMainForm::Action_Toggle_Launchers_Run);
    // The launcher picker offers the launcher editor's list as it stands; the sensor and
    // airstrip pickers read their lists from the master buffers.
    sensorEntries_ = std::make_unique<ListFileEntries>(sensorListFormat, set_.buffer(DatabaseFile::Sensors));
    airstripEntries_ = std::make_unique<ListFileEntries>(airstripListFormat, set_.buffer(DatabaseFile::Airstrips));
    launcherPicker_ = std::make_unique<TWeaponForm>(*launcherForm_);
    sensorPicker_ = std::make_unique<TSensorForm>(*sensorEntries_);
    airstripPicker_ = std::make_unique<TAirstripForm>(*airstripEntries_);
    threeDForm_ = std::make_unique<TThreeDObjectForm>(set_.buffer(DatabaseFile::ThreeDObjects), dialogs_);
    connect(threeDForm_.get(), &TThreeDObjectForm::toggleRequested, this, &TMainForm::Action_Toggle_3Ds_Run);
    objectForm_ = std::make_unique<TObjectForm>(
        set_.buffer(DatabaseFile::Objects), dialogs_,
        ObjectEditorLinks{.threeD = threeDForm_.get(),
                          .ammunition = launcherForm_.get(),
                          .launcherPicker = launcherPicker_.get(),
                          .sensorPicker = sensorPicker_.get(),
                          .airstripPicker = airstripPicker_.get()});
    connect(objectForm_.get(), &RecordEditorForm::toggleRequested, this,
            &TMainForm::Action_Toggle_Objects_Run);
    // Object slots name launchers by position: the launcher editor asks about them on delete.
    launcherForm_->setLauncherSlotHolder(objectForm_.get());
    // The nation editor offers the object editor's objects, which it is told about from now on.
    missionForm_ = std::make_unique<TMissionForm>(set_.buffer(DatabaseFile::Missions), dialogs_);
    missionForm_->setObjectRecords(&objectForm_->records());
    objectForm_->setTagNameChoices(missionForm_.get());
    connect(missionForm_.get(), &RecordEditorForm::toggleRequested, this, &TMainForm::Action_Toggle_Missions_Run);
    // The carrier editor reads the nation editor's data from its first carrier on, and is told
    // when that data changes.
    carrierForm_ = std::make_unique<TSBAForm>(set_.buffer(DatabaseFile::ShipBasedAircraft), &missionForm_->nations(),
                                              dialogs_);
    missionForm_->setCarrierLists(carrierForm_.get());
    connect(carrierForm_.get(), &RecordEditorForm::toggleRequested, this, &TMainForm::Action_Toggle_SBAs_Run);
    for (QAction* editorToggle :
         {toggleObjects_, toggleThreeDs_, toggleLaunchers_, toggleMissions_, toggleCarriers_}) {
        editorToggle->setChecked(false);
    }
    editorsMade_ = true;
}

void TMainForm::destroyEditors() {
    // The object editor refers to every other window, and the pickers to the lists they offer,
    // so they go first.
    if (objectForm_) {
        objectForm_->setTagNameChoices(nullptr);
    }
    if (launcherForm_) {
        launcherForm_->setLauncherSlotHolder(nullptr);
    }
    if (missionForm_) {
        missionForm_->setCarrierLists(nullptr);
    }
    carrierForm_.reset();
    missionForm_.reset();
    objectForm_.reset();
    threeDForm_.reset();
    airstripPicker_.reset();
    sensorPicker_.reset();
    launcherPicker_.reset();
    airstripEntries_.reset();
    sensorEntries_.reset();
    launcherForm_.reset();
    editorsMade_ = false;
}

void TMainForm::toggle(QWidget* editor, QAction* action) {
    if (editor == nullptr) {
        return;
    }
    auto* recordEditor = qobject_cast<RecordEditorForm*>(editor);
    if (editor->isVisible()) {
        recordEditor ? recordEditor->hideEditor() : editor->hide();
    } else {
        recordEditor ? recordEditor->showEditor() : editor->show();
        editor->raise();
    }
    action->setChecked(editor->isVisible());
}

void TMainForm::Action_Toggle_Objects_Run() {
    makeEditorsIfNotYet();
    toggle(objectForm_.get(), toggleObjects_);
}

void TMainForm::Action_Toggle_3Ds_Run() {
    makeEditorsIfNotYet();
    toggle(threeDForm_.get(), toggleThreeDs_);
}

void TMainForm::Action_Toggle_Launchers_Run() {
    makeEditorsIfNotYet();
    toggle(launcherForm_.get(), toggleLaunchers_);
}

void TMainForm::Action_Toggle_Missions_Run() {
    makeEditorsIfNotYet();
    toggle(missionForm_.get(), toggleMissions_);
}

void TMainForm::Action_Toggle_SBAs_Run() {
    makeEditorsIfNotYet();
    toggle(carrierForm_.get(), toggleCarriers_);
}

void TMainForm::Action_Toggle_Toolbar_Run() {
    // The entry's own check mark has already flipped when it was chosen.
    toolBar_->setVisible(toggleToolBar_->isChecked());
}

void TMainForm::Action_Show_About_Run() {
    TAboutBox about(dialogs_, this);
    about.exec();
}

void TMainForm::Menu_File_ExitClick() { close(); }

bool TMainForm::anythingUnsaved() const {
    const auto editors = editorsInCommitOrder();
    return std::any_of(editors.begin(), editors.end(),
                       [](const auto& editor) { return editor.second->holdsUnsavedWork(); });
}

std::vector<std::pair<DatabaseFile, SetEditor*>> TMainForm::editorsInCommitOrder() const {
    std::vector<std::pair<DatabaseFile, SetEditor*>> editors;
    const std::initializer_list<std::pair<DatabaseFile, SetEditor*>> all{
        {DatabaseFile::Objects, objectForm_.get()},
        {DatabaseFile::ShipBasedAircraft, carrierForm_.get()},
        {DatabaseFile::Missions, missionForm_.get()},
        {DatabaseFile::ThreeDObjects, threeDForm_.get()},
        {DatabaseFile::Launchers, launcherForm_.get()}};
    for (const auto& editor : all) {
        if (editor.second != nullptr) {
            editors.push_back(editor);
        }
    }
    return editors;
}

bool TMainForm::CheckSaved() {
    if (!anythingUnsaved()) {
        return true;
    }
    const auto answer = dialogs_.ask(
        tr("Confirmation"),
        tr("You have not saved your database changes to disk.Do you wish to save them now?"),
        DialogService::Choice::YesNoCancel);
    switch (answer) {
    case DialogService::Answer::Yes:
        // Work that could not be saved is not thrown away by closing.
        return SaveDatabases();
    case DialogService::Answer::No:
        return true;
    case DialogService::Answer::Cancel:
        return false;
    }
    return false;
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (!CheckSaved()) {
        event->ignore();
        return;
    }
    event->accept();
    for (QWidget* editor :
         std::initializer_list<QWidget*>{objectForm_.get(), threeDForm_.get(), launcherForm_.get(), missionForm_.get(),
                                         carrierForm_.get()}) {
        if (editor != nullptr) {
            editor->hide();
        }
    }
}

bool TMainForm::SaveDatabases() { return saveAndReport() == SaveOutcome::Saved; }

TMainForm::SaveOutcome TMainForm::saveAndReport() {
    makeEditorsIfNotYet();
    // The marks are cleared before the editors commit. An editor whose file was not written
    // (the save failed before it, or the file was left alone) has its mark set again, so that
    // work which did not reach the disk is still asked about.
    const auto editors = editorsInCommitOrder();
    std::vector<bool> hadChanges;
    for (const auto& [file, editor] : editors) {
        hadChanges.push_back(editor->holdsAcceptedChanges());
        editor->clearAcceptedChanges();
    }
    for (const auto& [file, editor] : editors) {
        editor->commit();
    }

    const DatabaseSet::SaveResult saved = saveSet();
    tellSave(saved);
    bool workLeft = false;
    for (std::size_t i = 0; i < editors.size(); ++i) {
        const auto& [file, editor] = editors[i];
        if (hadChanges[i] && std::find(saved.written.begin(), saved.written.end(), file) == saved.written.end()) {
            editor->markAcceptedChanges();
            workLeft = true;
        }
    }
    if (!saved.ok()) {
        if (saved.error) {
            dialogs_.reportError(QString::fromStdString(*saved.error));
        }
        return SaveOutcome::Failed;
    }
    const std::string report = saveReportText(saved, directory_);
    if (!report.empty()) {
        dialogs_.inform(tr("Databases Saved"), textFromBytes(report));
    }
    return workLeft ? SaveOutcome::SavedWithWorkLeft : SaveOutcome::Saved;
}

DatabaseSet::SaveResult TMainForm::saveSet() {
    return set_.save(directory_, [this](const DamagedFile& damaged) {
        const auto answer = dialogs_.ask(tr("Confirmation"), textFromBytes(damagedFileQuestion(damaged)),
                                         DialogService::Choice::YesNoCancel);
        switch (answer) {
        case DialogService::Answer::Yes:
            return DamagedFileAnswer::Replace;
        case DialogService::Answer::No:
            return DamagedFileAnswer::KeepFile;
        case DialogService::Answer::Cancel:
            break;
        }
        return DamagedFileAnswer::Cancel;
    });
}

void TMainForm::SaveDatabasesTo() {
    if (anythingUnsaved()) {
        const auto answer = dialogs_.ask(
            tr("Confirmation"),
            tr("You have not saved your database changes to disk.Do you wish to save them now?"),
            DialogService::Choice::YesNoCancel);
        if (answer == DialogService::Answer::Cancel) {
            return;
        }
        if (answer == DialogService::Answer::Yes) {
            SaveDatabases();
        }
    }
    const auto chosen = askForDatabaseFile(dialogs_, tr("Save Databases to..."),
                                           DialogService::FileRequest::Kind::Save);
    if (!chosen) {
        return;
    }
    // The set counts as loaded from the new directory only once it is saved there.
    const std::filesystem::path previous = directory_;
    directory_ = *chosen;
    if (saveAndReport() == SaveOutcome::Failed) {
        directory_ = previous;
    }
}

void TMainForm::tellSave(const DatabaseSet::SaveResult& saved) {
    QStringList notSaved;
    for (DatabaseFile file : saveOrder) {
        if (std::find(saved.written.begin(), saved.written.end(), file) == saved.written.end()) {
            notSaved << QString::fromLatin1(fileName(file).data(), static_cast<qsizetype>(fileName(file).size()));
        }
    }
    const std::size_t written = saved.written.size();
    QString text = (written == 1 ? tr("Saved 1 file into %2 at %3") : tr("Saved %1 files into %2 at %3"))
                       .arg(QString::number(written), QString::fromStdString(directory_.string()),
                            QTime::currentTime().toString("HH:mm"));
    if (!notSaved.isEmpty()) {
        text += tr("; not saved: %1").arg(notSaved.join(", "));
    }
    lastSave_->setText(text);
    showUnsavedWork();
}

void TMainForm::SelectDBdir() {
    auto chosen = askForDatabaseFile(dialogs_, tr("Select Database Directory"),
                                     DialogService::FileRequest::Kind::Open);
    if (!chosen) {
        return;
    }
    // The new set is read into fresh buffers first: the editors and the set in use are switched
    // only once all seven files were read, so a failure leaves the previous set as it was.
    DatabaseSet::LoadResult loaded = DatabaseSet::load(*chosen);
    if (loaded.failedFile) {
        chosen = askForDatabaseFile(dialogs_, tr("Select Database Directory"),
                                    DialogService::FileRequest::Kind::Open);
        if (!chosen) {
            return;
        }
        loaded = DatabaseSet::load(*chosen);
        if (loaded.failedFile) {
            dialogs_.reportError(cannotOpen(loaded));
            return;
        }
    }
    destroyEditors();
    set_ = std::move(loaded.set);
    directory_ = *chosen;
    createEditors();
    reportLoadedDamage();
}

void TMainForm::reportLoadedDamage() {
    const std::string report = loadedDamageReport(set_);
    if (!report.empty()) {
        dialogs_.inform(tr("Databases Loaded"), textFromBytes(report));
    }
}

} // namespace keel
