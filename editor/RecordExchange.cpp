#include "editor/RecordExchange.h"

#include "common/FileIo.h"
#include "editor/CodePage.h"
#include "editor/DialogService.h"

#include <QCoreApplication>
#include <QFile>

#include <functional>

namespace keel {
namespace {

std::filesystem::path pathOf(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QString tr(const char* text) { return QCoreApplication::translate("RecordExchange", text); }

} // namespace

RecordExchange::RecordExchange(DialogService& dialogs, std::size_t recordSize, const QString& extension)
    : dialogs_(dialogs), recordSize_(recordSize), extension_(extension) {}

QString RecordExchange::filter() const { return tr("Import/Export Files (*.%1)").arg(extension_); }

void RecordExchange::exportRecord(ConstByteSpan record, const QString& name) const {
    const QStringList chosen = dialogs_.chooseFiles(
        {DialogService::FileRequest::Kind::Save, tr("Select Export File"), QString(), filter(), {}});
    if (chosen.isEmpty()) {
        return;
    }
    const QString path = chosen.first();
    const ReadResult existing = readWholeFile(pathOf(path));
    if (!existing.ok() && existing.status != ReadStatus::Missing) {
        dialogs_.reportError(tr("Cannot open file %1").arg(path));
        return;
    }
    ByteVector content = existing.bytes;
    if (content.size() % recordSize_ != 0) {
        // Appending behind a partial record would shift every record after it.
        dialogs_.reportError(tr("Cannot export to %1: its size is not a whole number of records, "
                                "so it is no exchange file of this kind")
                                 .arg(path));
        return;
    }
    content.insert(content.end(), record.begin(), record.end());
    // The file is replaced as a whole, so a failed write leaves it as it was.
    if (!replaceFileAtomically(pathOf(path), content).ok()) {
        dialogs_.reportError(tr("Cannot create file %1").arg(path));
        return;
    }
    dialogs_.inform(tr("Record Exported"), name + tr(" has been exported to ") + path + tr(", which now contains ") +
                                               QString::number(content.size() / recordSize_) + tr(" record(s)"));
}

int RecordExchange::importInto(RecordTable& records, const std::function<void()>& afterFile) const {
    const QStringList chosen = dialogs_.chooseFiles(
        {DialogService::FileRequest::Kind::OpenMany, tr("Select Import Files"), QString(), filter(), {}});
    int imported = 0;
    for (const QString& path : chosen) {
        const ReadResult file = readWholeFile(pathOf(path));
        if (!file.ok()) {
            dialogs_.reportError(tr("Cannot open file %1").arg(path));
            break;
        }
        const RecordTable::ImportReport report = records.import(file.bytes);
        QString message = tr("The following %1 record(s) were imported:\n").arg(report.names.size());
        for (const std::string& name : report.names) {
            message += textFromBytes(name) + "\n";
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
