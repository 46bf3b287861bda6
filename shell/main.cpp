#include "editor/QtDialogService.h"
#include "shell/TMainForm.h"
#include "shell/ToolBarIcons.h"

#include <QApplication>

#include <filesystem>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("keelbook");
    QApplication::setApplicationDisplayName(QObject::tr("Brinewatch Database Editor"));
    QApplication::setApplicationVersion("4.0.0");
    QApplication::setWindowIcon(keel::programIcon());

    keel::QtDialogService dialogs;
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
