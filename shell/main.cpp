// SPDX-License-Identifier: MIT
#include "editor/QtDialogService.h"
#include "shell/ProgramSetup.h"
#include "shell/TMainForm.h"

#include <QApplication>

#include <filesystem>
#include <future>

int main(int argc, char** argv) {
    // The set is read on a thread of its own while the toolkit starts and the main window is
    // built: neither needs the other, and on a large set they take about as long.
    const std::filesystem::path directory = std::filesystem::current_path();
    std::future<keel::DatabaseSet::LoadResult> reading =
        std::async(std::launch::async, [directory] { return keel::DatabaseSet::load(directory); });
    QApplication application(argc, argv);
    keel::setUpProgram();
    keel::QtDialogService dialogs(keel::programTitle());
    keel::TMainForm mainForm(dialogs, keel::TMainForm::EditorsMade::AfterFirstFrame);

    QString error;
    std::optional<keel::StartupSet> startup = keel::loadStartupSet(dialogs, directory, reading.get(), error);
    if (!startup) {
        dialogs.reportError(error);
        return 1;
    }
    mainForm.openSet(std::move(*startup));
    mainForm.show();
    return QApplication::exec();
}
