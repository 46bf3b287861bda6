// SPDX-License-Identifier: MIT
#include "shell/ProgramIcon.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <iostream>

// keel_program_icon DIRECTORY: writes the program icon into DIRECTORY as an icon theme holds
// it: scalable/apps/ID.svg and NxN/apps/ID.png for each size the desktop asks for.
int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: keel_program_icon DIRECTORY\n"
                     "Writes the program icon, as SVG and at each PNG size, into DIRECTORY.\n";
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QDir theme(QString::fromLocal8Bit(argv[1]));
    const QString name = QString::fromLatin1(keel::desktopId);
    auto fail = [](const QString& path) {
        std::cerr << "keel_program_icon: cannot write " << path.toStdString() << "\n";
        return 1;
    };

    const QString scalable = theme.filePath("scalable/apps");
    QFile svg(scalable + '/' + name + ".svg");
    if (!QDir().mkpath(scalable) || !svg.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        svg.write(keel::programIconSvg().toUtf8()) < 0 || !svg.flush()) {
        return fail(svg.fileName());
    }
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = theme.filePath(QString("%1x%1/apps").arg(size));
        const QString path = folder + '/' + name + ".png";
        if (!QDir().mkpath(folder) || !keel::programIconImage(size).save(path, "PNG")) {
            return fail(path);
        }
    }
    return 0;
}
