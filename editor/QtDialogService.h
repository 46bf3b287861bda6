#pragma once

#include "editor/DialogService.h"

#include <QString>

#include <utility>

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

private:
    QString errorCaption_;
};

} // namespace keel
