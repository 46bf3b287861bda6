// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

namespace keel {

// Every question, report, file dialog and the opening of a web address goes through this one
// door, so that the windows can be driven by tests with a scripted stand-in.
class DialogService {
public:
    enum class Answer { Yes, No, Cancel };
    enum class Choice { YesNo, YesNoCancel };

    struct FileRequest {
        enum class Kind { Open, OpenMany, Save };
        Kind kind = Kind::Open;
        QString title;
        QString presetName;
        QString filter; // one entry: "Description (*.ext)"
        QString directory;
    };

    virtual ~DialogService() = default;

    // A question box: caption, text, a question icon and Yes/No or Yes/No/Cancel.
    virtual Answer ask(const QString& caption, const QString& text, Choice choice) = 0;
    // A report with one OK button.
    virtual void inform(const QString& caption, const QString& text) = 0;
    // An error box with one OK button.
    virtual void reportError(const QString& text) = 0;
    // The chosen files' absolute paths, or none when the user cancelled.
    virtual QStringList chooseFiles(const FileRequest& request) = 0;
    virtual void openUrl(const QUrl& address) = 0;
};

} // namespace keel
