// SPDX-License-Identifier: MIT
#include "editor/QtDialogService.h"
#include "shell/ProgramSetup.h"
#include "shell/TMainForm.h"

#include <QApplication>

#include <filesystem>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    keel::setUpProgram();

    keel::QtDialogService dialogs(keel::programTitle());
    QString error;
    std::optional<keel::StartupSet> startup =
        keel::loadStartupSet(dialogs, std::filesystem::current_path(), error);
    if (!startup) {
        dialogs.reportError(error);
        return 1;
    }
    keel::TMainForm mainForm(std::move(*startup), dialogs);
    mainForm.show();
    return QApplication::exec();
}
