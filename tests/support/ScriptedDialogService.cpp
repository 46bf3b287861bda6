// SPDX-License-Identifier: MIT
#include "support/ScriptedDialogService.h"

namespace keel::test {

DialogService::Answer ScriptedDialogService::ask(const QString& caption, const QString& text,
                                                 Choice choice) {
    shown_.push_back({Shown::Kind::Question, caption, text, {}});
    if (answers_.empty()) {
        unexpected_ << "question: " + text;
        return choice == Choice::YesNoCancel ? Answer::Cancel : Answer::No;
    }
    const Answer next = answers_.front();
    answers_.pop_front();
    return next;
}

void ScriptedDialogService::inform(const QString& caption, const QString& text) {
    shown_.push_back({Shown::Kind::Information, caption, text, {}});
}

void ScriptedDialogService::reportError(const QString& text) {
    shown_.push_back({Shown::Kind::Error, QString(), text, {}});
}

QStringList ScriptedDialogService::chooseFiles(const FileRequest& request) {
    shown_.push_back({Shown::Kind::Files, request.title, request.filter, request});
    if (files_.empty()) {
        unexpected_ << "file dialog: " + request.title;
        return {};
    }
    QStringList next = files_.front();
    files_.pop_front();
    return next;
}

void ScriptedDialogService::openUrl(const QUrl& address) {
    shown_.push_back({Shown::Kind::Url, QString(), address.toString(), {}});
}

QStringList ScriptedDialogService::texts() const {
    QStringList all;
    for (const Shown& shown : shown_) {
        all << shown.text;
    }
    return all;
}

QStringList ScriptedDialogService::unexpected() const {
    QStringList all = unexpected_;
    for (Answer left : answers_) {
        all << QString("unused answer %1").arg(static_cast<int>(left));
    }
    for (const QStringList& left : files_) {
        all << "unused file choice " + left.join(',');
    }
    return all;
}

void ScriptedDialogService::clear() {
    answers_.clear();
    files_.clear();
    shown_.clear();
    unexpected_.clear();
}

} // namespace keel::test
