// SPDX-License-Identifier: MIT
#include "editor/QtDialogService.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace keel {
namespace {

QWidget* dialogParent() { return QApplication::activeWindow(); }

} // namespace

DialogService::Answer QtDialogService::ask(const QString& caption, const QString& text,
                                           Choice choice) {
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (choice == Choice::YesNoCancel) {
        buttons |= QMessageBox::Cancel;
    }
    QMessageBox box(QMessageBox::Question, caption, text, buttons, dialogParent());
    box.setDefaultButton(QMessageBox::Yes);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return choice == Choice::YesNoCancel ? Answer::Cancel : Answer::No;
    }
}

bool QtDialogService::needsScrollingReport(const QString& text) {
    return text.count(QLatin1Char('\n')) > reportLinesInABox || text.size() > reportCharactersInABox;
}

QDialog* QtDialogService::makeScrollingReport(const QString& caption, const QString& text, QWidget* parent) {
    // A message box lays out its whole text at once and grows taller than the screen; this
    // view lays out only the lines in sight, and the window fits the screen.
    auto* dialog = new QDialog(parent);
    dialog->setObjectName("ScrollingReport");
    dialog->setWindowTitle(caption);
    auto* icon = new QLabel(dialog);
    const int iconSize = dialog->style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, dialog);
    icon->setPixmap(dialog->style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(iconSize, iconSize));
    auto* view = new QPlainTextEdit(dialog);
    view->setObjectName("ReportText");
    view->setReadOnly(true);
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    view->setPlainText(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addWidget(view, 1);
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(row, 1);
    layout->addWidget(buttons);
    const QRect screen = (parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen())->availableGeometry();
    dialog->resize(std::min(screen.width() * 2 / 3, view->fontMetrics().averageCharWidth() * 70),
                   screen.height() * 2 / 3);
    return dialog;
}

void QtDialogService::inform(const QString& caption, const QString& text) {
    if (needsScrollingReport(text)) {
        std::unique_ptr<QDialog> report(makeScrollingReport(caption, text, dialogParent()));
        report->exec();
        return;
    }
    QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok, dialogParent());
    box.exec();
}

void QtDialogService::reportError(const QString& text) {
    QMessageBox box(QMessageBox::Critical, errorCaption_, text,
                    QMessageBox::Ok, dialogParent());
    box.exec();
}

QStringList QtDialogService::chooseFiles(const FileRequest& request) {
    QFileDialog dialog(dialogParent(), request.title, request.directory, request.filter);
    dialog.selectFile(request.presetName);
    switch (request.kind) {
    case FileRequest::Kind::Open:
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        break;
    case FileRequest::Kind::OpenMany:
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFiles);
        break;
    case FileRequest::Kind::Save:
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        break;
    }
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    QStringList chosen;
    for (const QString& file : dialog.selectedFiles()) {
        chosen << QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath());
    }
    return chosen;
}

void QtDialogService::openUrl(const QUrl& address) { QDesktopServices::openUrl(address); }

} // namespace keel
