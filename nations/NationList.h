#pragma once

#include "editor/RecordCollection.h"
#include "nations/MissionDb.h"

#include <cassert>
#include <span>
#include <vector>

namespace keel {

// The nation editor's working copy: the nations of mission.db, each with its classes and their
// platforms, in file order. Every whole-record operation moves a nation with everything it
// holds; a nation's snapshot is its nation block as the file holds it.
class NationList final : public RecordCollection {
public:
    // For the field handlers and the carrier editor, which work inside a nation.
    std::span<const Nation> nations() const { return nations_; }
    const Nation& nation(std::size_t index) const {
        assert(contains(index));
        return nations_[index];
    }
    Nation& nation(std::size_t index) {
        assert(contains(index));
        return nations_[index];
    }

    // What was wrong with the file that the last assign read: its sentences name the file
    // "mission.db". A master that lost data was reported when the set was loaded; the list
    // holds the nations that could be read whole.
    const ReadReport& readReport() const { return readReport_; }

    std::size_t count() const override { return nations_.size(); }
    std::string nameText(std::size_t index) const override;

    void assign(ConstByteSpan file) override;
    ByteVector fileBytes() const override;

    // A new nation as Add makes it; a name longer than the field holds is cut to fit.
    std::size_t appendNamed(std::string_view name) override;
    std::size_t appendCopy(std::size_t index) override;
    void remove(std::size_t index) override;

    ByteVector snapshot(std::size_t index) const override;
    // Puts the nation block back with its classes and platforms, whatever was resized since.
    // Bytes that do not hold one whole nation block leave the nation as it is.
    void restore(std::size_t index, ConstByteSpan snapshot) override;

    // The simulation refers to nations by their position, and the editor has no Sort Records:
    // the order stays and the permutation is the identity.
    std::vector<std::size_t> sortByName() override;

    // Reads a nation exchange file, which has the layout of mission.db. A file of no bytes is
    // an empty exchange file, as export treats it: nothing is imported and nothing is wrong.
    // Of a damaged file, the nations that could be read whole are imported and `problem` says
    // what was lost, naming the file "This file".
    ImportReport import(ConstByteSpan exchangeFile) override;

    ExportResult appendToExchangeFile(std::size_t index,
                                      const std::filesystem::path& file) const override;

private:
    std::vector<Nation> nations_;
    ReadReport readReport_;
};

} // namespace keel
