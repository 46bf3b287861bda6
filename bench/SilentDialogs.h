// SPDX-License-Identifier: MIT
#pragma once

#include "editor/DialogService.h"

namespace keel::bench {

// Dialogs that answer Yes and show nothing, for timing what lies between them.
class SilentDialogs : public DialogService {
public:
    Answer ask(const QString&, const QString&, Choice) override { return Answer::Yes; }
    void inform(const QString&, const QString&) override {}
    void reportError(const QString& text) override { lastError = text; }
    QStringList chooseFiles(const FileRequest&) override { return {}; }
    void openUrl(const QUrl&) override {}

    QString lastError;
};

} // namespace keel::bench
