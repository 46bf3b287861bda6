#pragma once

#include "common/Bytes.h"
#include "common/Field.h"

#include <string>
#include <vector>

namespace keel {

// An editor's working copy of a database of fixed-size records: the records one after another,
// each kept byte for byte, with the operations every record editor shares. Record names are
// the text field that opens each record, compared with a-z folded to A-Z.
class RecordTable {
public:
    RecordTable(std::size_t recordSize, TextFieldSpec nameField);

    std::size_t recordSize() const { return recordSize_; }
    std::size_t count() const { return bytes_.size() / recordSize_; }
    bool empty() const { return count() == 0; }
    bool contains(std::size_t index) const { return index < count(); }

    ConstByteSpan record(std::size_t index) const;
    ByteSpan record(std::size_t index);
    ConstByteSpan name(std::size_t index) const { return nameField_.bytes(record(index)); }
    std::string nameText(std::size_t index) const { return nameField_.read(record(index)); }
    const TextFieldSpec& nameField() const { return nameField_; }
    ConstByteSpan bytes() const { return bytes_; }

    // Takes the whole records of a database file; bytes of a trailing partial record are
    // dropped, since no record holds them.
    void assign(ConstByteSpan file);

    // Appends a record whose bytes are all zero but for the name; returns its index.
    std::size_t appendNamed(std::string_view name);
    // Appends a byte-for-byte copy of a record; returns the copy's index.
    std::size_t appendCopy(std::size_t index);
    void remove(std::size_t index);
    void overwrite(std::size_t index, ConstByteSpan record);

    // Orders the records by name, ascending; records of equal names keep no defined order.
    // Returns, for each new position, the position the record had before.
    std::vector<std::size_t> sortByName();

    // What importing one exchange file did: the names read, in file order, and how many of
    // them replaced earlier records rather than being added.
    struct ImportReport {
        std::vector<std::string> names;
        std::size_t replacing = 0;
        std::size_t added = 0;
    };

    // Merges the whole records of an exchange file by name: every earlier record whose name
    // equals an imported one (case ignored) takes the imported bytes, the last of several such
    // imported records winning; imported records that matched none are appended in file order.
    ImportReport import(ConstByteSpan exchangeFile);

private:
    std::size_t recordSize_;
    TextFieldSpec nameField_;
    ByteVector bytes_;
};

} // namespace keel
