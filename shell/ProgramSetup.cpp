// SPDX-License-Identifier: MIT
#include "shell/ProgramSetup.h"

#include "shell/ProgramIcon.h"

#include <QApplication>

namespace keel {

QString programTitle() { return QApplication::translate("TMainForm", "Brinewatch Database Editor"); }

void setUpProgram() {
    QApplication::setApplicationName("keelbook");
    QApplication::setApplicationVersion("4.0.0");
    QApplication::setWindowIcon(programIcon());
    QApplication::setDesktopFileName(desktopId);
}

} // namespace keel
