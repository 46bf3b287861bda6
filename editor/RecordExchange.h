#pragma once

#include "editor/RecordTable.h"

#include <QString>

namespace keel {

class DialogService;

// Export of single records to exchange files and import of exchange files, for every editor
// of fixed-size records. An exchange file is a database file of the editor's kind.
class RecordExchange {
public:
    RecordExchange(DialogService& dialogs, std::size_t recordSize, const QString& extension);

    // Asks for a file and appends the record to it, then reports how many records it holds.
    void exportRecord(ConstByteSpan record, const QString& name) const;

    // Asks for files and imports them in turn, one report each, stopping at the first that
    // cannot be read. `afterFile` runs after each file was merged, before its report. Returns
    // how many files were imported.
    int importInto(RecordTable& records, const std::function<void()>& afterFile = {}) const;

private:
    QString filter() const;

    DialogService& dialogs_;
    std::size_t recordSize_;
    QString extension_;
};

} // namespace keel
