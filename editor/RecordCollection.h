// SPDX-License-Identifier: MIT
#pragma once

#include "common/Bytes.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace keel {

// An editor's working copy as the shared editor behaviour sees it, whatever the shape of its
// records: runs of fixed-size records (objects, launchers, 3D objects) or counted files of
// nested blocks (nations, carriers). Names are bytes in the files' code page.
class RecordCollection {
public:
    virtual ~RecordCollection() = default;

    virtual std::size_t count() const = 0;
    bool empty() const { return count() == 0; }
    bool contains(std::size_t index) const { return index < count(); }
    // The name that the record list shows and the retain question asks about.
    virtual std::string nameText(std::size_t index) const = 0;
    // The same name as a view of the record's bytes, valid until the records change.
    virtual std::string_view nameView(std::size_t index) const = 0;

    // Takes the records of a database file, as a master buffer holds it.
    virtual void assign(ConstByteSpan file) = 0;
    // The records as their database file holds them, in working-copy order.
    virtual ByteVector fileBytes() const = 0;

    // Takes the master buffer's records as the working copy. A collection may go on reading
    // them in the master buffer itself until its first change, so that opening a large set
    // copies nothing: until then the buffer changes only through commitTo.
    virtual void takeFrom(const ByteVector& master) { assign(master); }
    // Makes the master buffer hold the working copy, as fileBytes gives it.
    virtual void commitTo(ByteVector& master) const { master = fileBytes(); }

    // Appends what Add makes, under this name; gives its index.
    virtual std::size_t appendNamed(std::string_view name) = 0;
    // Appends a whole copy of a record, name included; gives the copy's index.
    virtual std::size_t appendCopy(std::size_t index) = 0;
    virtual void remove(std::size_t index) = 0;

    // A record's bytes as they stand, in the layout of its file; what restore puts back.
    virtual ByteVector snapshot(std::size_t index) const = 0;
    virtual void restore(std::size_t index, ConstByteSpan snapshot) = 0;

    // Orders the records by name, ascending; gives, for each new position, the old one.
    // Collections whose records are referred to by position never sort.
    virtual std::vector<std::size_t> sortByName() = 0;
    // Looks now whether the records are in name order, so that the next sort need not, where
    // a collection remembers that; for a moment when no one waits on it.
    virtual void learnOrder() {}

    // What importing one exchange file did: the names read, in file order; the values that
    // had to be repaired as they were read, a sentence a line (empty when none); and a
    // sentence for the user when the file could not be read whole (empty when it could).
    struct ImportReport {
        std::vector<std::string> names;
        std::string repairs;
        std::string problem;
    };
    // Merges an exchange file by name: every earlier record whose name equals an imported one
    // (ASCII letter case ignored; carriers match on ship class and nation together) takes its
    // content, the last such imported record winning; imported records that matched none are
    // appended in file order.
    virtual ImportReport import(ConstByteSpan exchangeFile) = 0;

    // What appending a record to an exchange file did.
    struct ExportResult {
        std::string error;     // a sentence for the user; empty on success
        std::size_t count = 0; // the records the file then holds

        bool ok() const { return error.empty(); }
    };
    // Appends the record to an exchange file, creating it when it is missing; a failure
    // leaves the file as it was.
    virtual ExportResult appendToExchangeFile(std::size_t index,
                                              const std::filesystem::path& file) const = 0;
};

// Whether the result of sortByName moved no record.
inline bool leftInPlace(const std::vector<std::size_t>& previous) {
    for (std::size_t i = 0; i < previous.size(); ++i) {
        if (previous[i] != i) {
            return false;
        }
    }
    return true;
}

} // namespace keel
