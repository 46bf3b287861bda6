// SPDX-License-Identifier: MIT
#pragma once

#include "common/Checks.h"
#include "common/Field.h"
#include "editor/RecordCollection.h"
#include "common/CountedBlocks.h"

#include <algorithm>
#include <concepts>
#include <numeric>
#include <span>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace keel {

// What a reader of a counted file gave: every block that could be read whole, in file order,
// and what was wrong with the file.
template <typename Block> struct CountedFile {
    std::vector<Block> blocks;
    ReadReport report;
};

// What one kind of counted file tells the list of its blocks. A block is held with its first
// record in `record`, whose `nameField` is the name that the record list shows, the retain
// question asks about and the import report gives. Blocks match on import when their
// `matchKey`s are equal.
template <typename Shape>
concept CountedBlockShape = requires(const typename Shape::Block& block, ConstByteSpan bytes,
                                     ByteVector& out, const std::filesystem::path& file) {
    { Shape::databaseFileName } -> std::convertible_to<std::string_view>;
    { Shape::nameField } -> std::convertible_to<TextFieldSpec>;
    { block.record } -> std::convertible_to<ConstByteSpan>;
    { Shape::newBlock() } -> std::same_as<typename Shape::Block>;
    { Shape::read(bytes, std::string_view{}) } -> std::same_as<CountedFile<typename Shape::Block>>;
    { Shape::blockSize(block) } -> std::same_as<std::size_t>;
    Shape::writeBlock(block, out);
    { Shape::writeFile(std::span<const typename Shape::Block>{}) } -> std::same_as<ByteVector>;
    { Shape::appendToExchangeFile(file, block) } -> std::same_as<ExchangeAppend>;
    { Shape::matchKey(block) } -> std::same_as<std::string>;
};

// The working copy of an editor whose records are the blocks of a counted file, in file order.
// Every whole-record operation moves a block with everything nested in it; a block's snapshot
// is the block as the file holds it.
template <CountedBlockShape Shape> class CountedBlockList : public RecordCollection {
public:
    using Block = typename Shape::Block;

    // What was wrong with the file that the last assign read: its sentences name the database
    // file. A master that lost data was reported when the set was loaded; the list holds the
    // blocks that could be read whole.
    const ReadReport& readReport() const { return readReport_; }

    std::size_t count() const override { return blocks_.size(); }
    std::string nameText(std::size_t index) const override {
        return Shape::nameField.read(block(index).record);
    }
    std::string_view nameView(std::size_t index) const override {
        return textView(Shape::nameField.bytes(block(index).record));
    }

    void assign(ConstByteSpan file) override {
        CountedFile<Block> read = Shape::read(file, Shape::databaseFileName);
        blocks_ = std::move(read.blocks);
        readReport_ = std::move(read.report);
    }
    ByteVector fileBytes() const override { return Shape::writeFile(blocks_); }

    // A new block as Add makes it; a name longer than the field holds is cut to fit.
    std::size_t appendNamed(std::string_view name) override;
    std::size_t appendCopy(std::size_t index) override {
        Block copy = block(index);
        blocks_.push_back(std::move(copy));
        return blocks_.size() - 1;
    }
    void remove(std::size_t index) override {
        check(contains(index), "a block beyond the end of the list");
        blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(index));
    }

    ByteVector snapshot(std::size_t index) const override {
        const Block& shown = block(index);
        ByteVector bytes;
        bytes.reserve(Shape::blockSize(shown));
        Shape::writeBlock(shown, bytes);
        return bytes;
    }
    // Puts the block back with everything nested in it, whatever was resized since. Bytes
    // that do not hold one whole block leave the block as it is.
    void restore(std::size_t index, ConstByteSpan snapshot) override;

    // Blocks keep their file order: the simulation refers to nations by their position, and
    // neither editor of counted files has Sort Records. The permutation is the identity.
    std::vector<std::size_t> sortByName() override {
        std::vector<std::size_t> order(blocks_.size());
        std::iota(order.begin(), order.end(), std::size_t{0});
        return order;
    }

    // Reads an exchange file, which has the layout of the database file. Every earlier block
    // whose match key equals an imported one's takes its content, the last such imported block
    // winning; the others are appended. A file of no bytes is an empty exchange file, as export
    // treats it: nothing is imported and nothing is wrong. Values the reading repaired are
    // imported repaired, each repair told in `repairs`; of a damaged file, the blocks that could
    // be read whole are imported and `problem` says what was lost. Both name the file
    // "This file".
    ImportReport import(ConstByteSpan exchangeFile) override;

    ExportResult appendToExchangeFile(std::size_t index,
                                      const std::filesystem::path& file) const override {
        const ExchangeAppend appended = Shape::appendToExchangeFile(file, block(index));
        if (!appended.ok()) {
            return {appended.error, 0};
        }
        return {{}, static_cast<std::size_t>(appended.count)};
    }

protected:
    std::span<const Block> blocks() const { return blocks_; }
    const Block& block(std::size_t index) const {
        check(contains(index), "a block beyond the end of the list");
        return blocks_[index];
    }
    Block& block(std::size_t index) {
        check(contains(index), "a block beyond the end of the list");
        return blocks_[index];
    }

private:
    std::vector<Block> blocks_;
    ReadReport readReport_;
};

template <CountedBlockShape Shape>
std::size_t CountedBlockList<Shape>::appendNamed(std::string_view name) {
    Block added = Shape::newBlock();
    // The name replaces the default one whole, so that no tail of it stays after the
    // terminator and goes into the files.
    const ByteSpan nameField =
        ByteSpan(added.record).subspan(Shape::nameField.offset, Shape::nameField.width);
    std::fill(nameField.begin(), nameField.end(), Byte{0});
    Shape::nameField.write(added.record, name, TextOverflow::Cut);
    blocks_.push_back(std::move(added));
    return blocks_.size() - 1;
}

template <CountedBlockShape Shape>
void CountedBlockList<Shape>::restore(std::size_t index, ConstByteSpan snapshot) {
    check(contains(index), "a block beyond the end of the list");
    // Read as the one block of a file, the snapshot is read as every block is, and never past
    // its end.
    ByteVector file(4);
    storeLittleEndian<std::int32_t>(file, 1);
    file.insert(file.end(), snapshot.begin(), snapshot.end());
    CountedFile<Block> read = Shape::read(file, "snapshot");
    if (read.blocks.size() == 1 && !read.report.lostData()) {
        blocks_[index] = std::move(read.blocks.front());
    }
}

template <CountedBlockShape Shape>
RecordCollection::ImportReport CountedBlockList<Shape>::import(ConstByteSpan exchangeFile) {
    // The window that shows an import's problem is captioned with the file's path.
    CountedFile<Block> read = Shape::read(exchangeFile, "This file");
    ImportReport report;
    // Every repair is listed, as every name is: the report is a scrolling one when long.
    report.repairs = read.report.repairsText();
    report.problem = read.report.lossesText();
    report.names.reserve(read.blocks.size());
    for (const Block& imported : read.blocks) {
        report.names.push_back(Shape::nameField.read(imported.record));
    }

    // The blocks present before this file, by match key. `taken` once the last imported block
    // of that key has been put in their place.
    struct Earlier {
        std::vector<std::size_t> positions;
        bool taken = false;
    };
    std::unordered_map<std::string, Earlier> earlierByKey;
    earlierByKey.reserve(blocks_.size());
    for (std::size_t i = 0; i < blocks_.size(); ++i) {
        earlierByKey[Shape::matchKey(blocks_[i])].positions.push_back(i);
    }

    // Walking the file from its end meets the last imported block of each key first: that is
    // the one the earlier blocks end as, so each of them is copied over only once.
    std::vector<bool> matched(read.blocks.size(), false);
    for (std::size_t i = read.blocks.size(); i-- > 0;) {
        const auto found = earlierByKey.find(Shape::matchKey(read.blocks[i]));
        if (found == earlierByKey.end()) {
            continue;
        }
        matched[i] = true;
        Earlier& earlier = found->second;
        if (earlier.taken) {
            continue;
        }
        earlier.taken = true;
        for (std::size_t position : earlier.positions) {
            blocks_[position] = read.blocks[i];
        }
    }
    for (std::size_t i = 0; i < read.blocks.size(); ++i) {
        if (!matched[i]) {
            blocks_.push_back(std::move(read.blocks[i]));
        }
    }
    return report;
}

} // namespace keel
