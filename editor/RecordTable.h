// SPDX-License-Identifier: MIT
#pragma once

#include "common/Bytes.h"
#include "common/Field.h"
#include "editor/RecordCollection.h"

#include <string>
#include <vector>

namespace keel {

// An editor's working copy of a database of fixed-size records: the records one after another,
// each kept byte for byte, with the operations every record editor shares. Record names are
// the text field that opens each record, compared with a-z folded to A-Z.
class RecordTable : public RecordCollection {
public:
    RecordTable(std::size_t recordSize, TextFieldSpec nameField);

    std::size_t recordSize() const { return recordSize_; }
    std::size_t count() const override { return bytes().size() / recordSize_; }

    ConstByteSpan record(std::size_t index) const;
    ByteSpan record(std::size_t index);
    ConstByteSpan name(std::size_t index) const { return nameField_.bytes(record(index)); }
    std::string nameText(std::size_t index) const override { return nameField_.read(record(index)); }
    std::string_view nameView(std::size_t index) const override { return textView(name(index)); }
    const TextFieldSpec& nameField() const { return nameField_; }
    ConstByteSpan bytes() const {
        return shared_ != nullptr ? ConstByteSpan(shared_->data(), sharedSize_) : ConstByteSpan(own_);
    }

    // Takes the whole records of a database file; bytes of a trailing partial record are
    // dropped, since no record holds them.
    void assign(ConstByteSpan file) override;
    ByteVector fileBytes() const override { return ByteVector(bytes().begin(), bytes().end()); }
    // Reads the master's whole records where they are until the first change, which copies
    // them; committing an unchanged table back to its master copies nothing.
    void takeFrom(const ByteVector& master) override;
    void commitTo(ByteVector& master) const override;
    // Whether the table still reads its records in that master buffer.
    bool readsIn(const ByteVector& master) const { return shared_ == &master; }

    // Appends a record whose bytes are all zero but for the name; returns its index.
    std::size_t appendNamed(std::string_view name) override;
    // Appends a byte-for-byte copy of a record; returns the copy's index.
    std::size_t appendCopy(std::size_t index) override;
    void remove(std::size_t index) override;
    void overwrite(std::size_t index, ConstByteSpan record);

    ByteVector snapshot(std::size_t index) const override;
    void restore(std::size_t index, ConstByteSpan snapshot) override { overwrite(index, snapshot); }

    // Orders the records by name, ascending; records of equal names keep no defined order.
    // Returns, for each new position, the position the record had before. Records sorted or
    // found in order and not changed since are not looked at again.
    std::vector<std::size_t> sortByName() override;
    void learnOrder() override;

    // What merging one exchange file did: the names read, in file order, and how many of
    // them replaced earlier records rather than being added.
    struct MergeReport {
        std::vector<std::string> names;
        std::size_t replacing = 0;
        std::size_t added = 0;
    };

    // Merges the whole records of an exchange file by name: every earlier record whose name
    // equals an imported one (case ignored) takes the imported bytes, the last of several such
    // imported records winning; imported records that matched none are appended in file order.
    MergeReport merge(ConstByteSpan exchangeFile);
    ImportReport import(ConstByteSpan exchangeFile) override {
        return {merge(exchangeFile).names, {}, {}};
    }

    // An exchange file of this kind is a run of whole records: one that holds a partial record
    // is refused, since a record appended behind it would shift every record after it.
    ExportResult appendToExchangeFile(std::size_t index, const std::filesystem::path& file) const override;

private:
    // The table's own bytes, copied from the shared master at the first change.
    ByteVector& ownBytes();

    std::size_t recordSize_;
    TextFieldSpec nameField_;
    ByteVector own_;
    const ByteVector* shared_ = nullptr;
    std::size_t sharedSize_ = 0; // the master's whole records
    // The records are known to be in name order: sorted, or found so, and not changed since.
    bool knownInOrder_ = false;
};

} // namespace keel
