// SPDX-License-Identifier: MIT
#include "editor/RecordExchange.h"

#include "common/FileIo.h"
#include "editor/CodePage.h"
#include "editor/DialogService.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <functional>

namespace keel {
namespace {

std::filesystem::path pathOf(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QString tr(const char* text) { return QCoreApplication::translate("RecordExchange", text); }

} // namespace

RecordExchange::RecordExchange(DialogService& dialogs, const QString& extension)
    : dialogs_(dialogs), extension_(extension) {}

QString RecordExchange::filter() const { return tr("Import/Export Files (*.%1)").arg(extension_); }

void RecordExchange::exportRecord(const RecordCollection& records, std::size_t index) const {
    const QStringList chosen = dialogs_.chooseFiles(
        {DialogService::FileRequest::Kind::Save, tr("Select Export File"), QString(), filter(), {}});
    if (chosen.isEmpty()) {
        return;
    }
    const QString path = chosen.first();
    const RecordCollection::ExportResult exported = records.appendToExchangeFile(index, pathOf(path));
    if (!exported.ok()) {
        dialogs_.reportError(QFile::decodeName(QByteArray::fromStdString(exported.error)));
        return;
    }
    dialogs_.inform(tr("Record Exported"), textFromBytes(records.nameText(index)) + tr(" has been exported to ") +
                                               path + tr(", which now contains ") +
                                               QString::number(exported.count) + tr(" record(s)"));
}

int RecordExchange::importInto(RecordCollection& records, const std::function<void()>& afterFile) const {
    const QStringList chosen = dialogs_.chooseFiles(
        {DialogService::FileRequest::Kind::OpenMany, tr("Select Import Files"), QString(), filter(), {}});
    int imported = 0;
    for (const QString& path : chosen) {
        const ReadResult file = readWholeFile(pathOf(path));
        if (!file.ok()) {
            dialogs_.reportError(tr("Cannot open file %1").arg(path));
            break;
        }
        const RecordCollection::ImportReport report = records.import(file.bytes);
        QString message = tr("The following %1 record(s) were imported:\n").arg(report.names.size());
        for (const std::string& name : report.names) {
            message += textFromBytes(name) + "\n";
        }
        // What the reading repaired, then what it lost, follow the names after a blank line.
        QStringList told;
        for (const std::string& sentences : {report.repairs, report.problem}) {
            if (!sentences.empty()) {
                told << textFromBytes(sentences);
            }
        }
        if (!told.isEmpty()) {
            message += "\n" + told.join("\n");
        }
        if (afterFile) {
            afterFile();
        }
        dialogs_.inform(path, message);
        ++imported;
    }
    return imported;
}

} // namespace keel
