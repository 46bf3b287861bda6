// SPDX-License-Identifier: MIT
#pragma once

#include "editor/DialogService.h"

#include <QList>
#include <QStringList>

#include <deque>

namespace keel::test {

// A dialog service that answers from a script, in turn, and records everything it was shown.
// A dialog the script did not expect is recorded and answered with Cancel or nothing.
class ScriptedDialogService : public DialogService {
public:
    struct Shown {
        enum class Kind { Question, Information, Error, Files, Url } kind;
        QString caption; // the caption of a box, the title of a file dialog
        QString text;    // the text of a box, the filter of a file dialog, the address
        FileRequest request;
    };

    void answer(Answer next) { answers_.push_back(next); }
    void choose(QStringList files) { files_.push_back(std::move(files)); }
    void cancelFileDialog() { files_.push_back({}); }

    Answer ask(const QString& caption, const QString& text, Choice choice) override;
    void inform(const QString& caption, const QString& text) override;
    void reportError(const QString& text) override;
    QStringList chooseFiles(const FileRequest& request) override;
    void openUrl(const QUrl& address) override;

    const QList<Shown>& shown() const { return shown_; }
    QStringList texts() const;
    // What was shown and not scripted, and what was scripted and not used.
    QStringList unexpected() const;
    void clear();

private:
    std::deque<Answer> answers_;
    std::deque<QStringList> files_;
    QList<Shown> shown_;
    QStringList unexpected_;
};

} // namespace keel::test
