// SPDX-License-Identifier: MIT
#pragma once

#include "editor/RecordCollection.h"

#include <QString>

#include <functional>

namespace keel {

class DialogService;

// Export of single records to exchange files and import of exchange files, for every editor:
// the dialogs, the reports and the order of the steps. What an exchange file holds and how
// records are matched is the working copy's own.
class RecordExchange {
public:
    RecordExchange(DialogService& dialogs, const QString& extension);

    // Asks for a file and appends the record to it, then reports how many records it holds.
    void exportRecord(const RecordCollection& records, std::size_t index) const;

    // Asks for files and imports them in turn, one report each, stopping at the first that
    // cannot be read. `afterFile` runs after each file was merged, before its report. Returns
    // how many files were imported.
    int importInto(RecordCollection& records, const std::function<void()>& afterFile = {}) const;

private:
    QString filter() const;

    DialogService& dialogs_;
    QString extension_;
};

} // namespace keel
