#include "editor/QtDialogService.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

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

void QtDialogService::inform(const QString& caption, const QString& text) {
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
