#pragma once

#include "editor/DialogService.h"

class QWidget;

namespace keel {

// The dialog service of the running program: the toolkit's message boxes and file dialogs.
class QtDialogService : public DialogService {
public:
    Answer ask(const QString& caption, const QString& text, Choice choice) override;
    void inform(const QString& caption, const QString& text) override;
    void reportError(const QString& text) override;
    QStringList chooseFiles(const FileRequest& request) override;
    void openUrl(const QUrl& address) override;
};

} // namespace keel
