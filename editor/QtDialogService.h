// SPDX-License-Identifier: MIT
#pragma once

#include "editor/DialogService.h"

#include <QString>

#include <utility>

class QDialog;
class QWidget;

namespace keel {

// The dialog service of the running program: the toolkit's message boxes and file dialogs.
class QtDialogService : public DialogService {
public:
    // Error boxes carry the program's title as their caption; every other box and dialog
    // carries exactly the caption it is given.
    explicit QtDialogService(QString errorCaption) : errorCaption_(std::move(errorCaption)) {}

    Answer ask(const QString& caption, const QString& text, Choice choice) override;
    void inform(const QString& caption, const QString& text) override;
    void reportError(const QString& text) override;
    QStringList chooseFiles(const FileRequest& request) override;
    void openUrl(const QUrl& address) override;

    // A report of more lines than fit a message box goes into a window that scrolls, with the
    // same caption, the same text and one OK button.
    static constexpr int reportLinesInABox = 30;
    static constexpr int reportCharactersInABox = 4000;
    static bool needsScrollingReport(const QString& text);
    static QDialog* makeScrollingReport(const QString& caption, const QString& text, QWidget* parent);

private:
    QString errorCaption_;
};

} // namespace keel
