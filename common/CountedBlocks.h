// SPDX-License-Identifier: MIT
#pragma once

#include "common/Bytes.h"
#include "common/Field.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// mission.db and shipbasedaircraft.db, and the exchange files of the nation and carrier
// editors, share one shape: a signed 32-bit count, then that many blocks of variable size that
// can only be found by walking the file from its start. This is what the two formats share.

namespace keel {

// Walks a byte image from its start and never past its end.
class ByteCursor {
public:
    explicit ByteCursor(ConstByteSpan data) : data_(data) {}

    std::size_t position() const { return position_; }
    std::size_t size() const { return data_.size(); }
    std::size_t remaining() const { return data_.size() - position_; }
    bool atEnd() const { return position_ == data_.size(); }

    // Copies the next bytes into a record and moves past them. When fewer bytes are left than
    // the record needs, nothing is copied, the cursor stays and the result is false.
    template <std::size_t N> bool take(std::array<Byte, N>& record) {
        if (remaining() < N) {
            return false;
        }
        const ConstByteSpan next = data_.subspan(position_, N);
        std::copy(next.begin(), next.end(), record.begin());
        position_ += N;
        return true;
    }

private:
    ConstByteSpan data_;
    std::size_t position_ = 0;
};

// What a reader found wrong with a file, in sentences for the person who owns the file. A
// repair changed what was read without losing any of it (a nation without classes was given
// one); a loss means that part of the file is missing from what was read.
class ReadReport {
public:
    // A file with a great many repairs would make an unreadable question; beyond this many,
    // text() only counts the rest.
    static constexpr std::size_t listedRepairs = 10;

    void repaired(std::string sentence);
    // `damage` says what is wrong with the file, `consequence` what the reading left out
    // because of it; they make one sentence, "damage; consequence."
    void lost(std::string damage, std::string consequence);
    // Takes the repairs of another report as if they had been made here, after these.
    void addRepairs(ReadReport&& other);

    bool clean() const { return repairs_.empty() && losses_.empty(); }
    bool lostData() const { return !losses_.empty(); }
    std::size_t repairCount() const { return repairs_.size(); }
    // Every sentence on a line of its own, the repairs first, those beyond the listed ones
    // counted; empty for a clean file.
    std::string text() const;
    // Every repair, each on a line of its own, however many there are.
    std::string repairsText() const;
    // Every loss, with what the reading left out, each on a line of its own.
    std::string lossesText() const;
    // What is wrong with the file that lost data, without what the reading made of it: for
    // those who did not read it to take its content, such as an export that refuses the file.
    std::string damageText() const;

private:
    struct Loss {
        std::string damage;
        std::string consequence;
    };

    std::vector<std::string> repairs_;
    std::vector<Loss> losses_;
};

// The words for one kind of counted file, so that every sentence names what the user knows.
struct CountedFileWords {
    std::string_view block;  // "nation"
    std::string_view blocks; // "nations"
};

// Why a block could not be read whole: `what` continues a sentence that begins with the
// block's number, such as "ends early at byte 81234, in class 3 of 5".
struct BlockFault {
    std::string label; // the block's name in quotes when its first record was read, else empty
    std::string what;
};

// Where the block being read stands, for the sentences of its reader.
struct BlockPlace {
    std::string_view fileName;
    std::size_t number; // counting from 1
    std::int32_t count;
};

// "the first 11 nations were read", "the first nation was read", "no nations were read".
std::string blocksReadPhrase(std::size_t read, const CountedFileWords& words);
// A text from a file, quoted for a sentence.
std::string quotedText(std::string_view text);
// "ends early at byte 81234" with the end of the data as the byte.
std::string endsEarlyAt(const ByteCursor& cursor);

// Reads the count and then block after block with `readBlock`, which is called as
// readBlock(cursor, place, report) and gives a Block or a BlockFault. Reading stops at the
// first block that cannot be read whole; the blocks before it are the result. A file of no
// bytes at all is an empty database, as a freshly made set may hold one. Every departure
// from the format is described in `report`.
template <typename Block, typename ReadBlock>
std::vector<Block> readCountedBlocks(ConstByteSpan file, std::string_view fileName,
                                     const CountedFileWords& words, ReadReport& report,
                                     ReadBlock readBlock);

// Writes the count and every block with writeBlock(block, out); blockSize(block) only helps to
// reserve the room.
template <typename Block, typename BlockSize, typename WriteBlock>
ByteVector writeCountedBlocks(std::span<const Block> blocks, BlockSize blockSize,
                              WriteBlock writeBlock);

// For block writers: appends a record's bytes and gives them back, so that the writer can set
// the fields it owns (the counts, the link slots) in the copy.
template <std::size_t N> ByteSpan appendRecord(ByteVector& out, const std::array<Byte, N>& record) {
    const std::size_t at = out.size();
    out.insert(out.end(), record.begin(), record.end());
    return ByteSpan(out).subspan(at, N);
}

inline void clearField(ByteSpan record, ReservedField field) {
    std::fill_n(record.begin() + static_cast<std::ptrdiff_t>(field.offset), field.width, Byte{0});
}

// A text field of a record as a block reader checks it: where it lies, how many characters
// it may hold before its terminator, and the words that name it in a report ("the ship class
// (ObjectName)").
struct CheckedText {
    std::size_t offset;
    std::size_t width;
    std::size_t maxLength;
    std::string_view words;

    template <typename TextField>
    constexpr CheckedText(const TextField& field, std::string_view words_)
        : offset(field.offset), width(field.width), maxLength(field.maxLength()), words(words_) {}
};

// A text of a file that is longer than its field may hold (no terminator within its first
// maxLength + 1 bytes), after it was cut.
struct CutText {
    std::string_view words;
    std::size_t length; // as the file held it, up to its terminator or the end of its field
    std::size_t maxLength;
};

// Cuts every text of the record that is longer than its field may hold to the characters the
// field holds, and writes its terminator after them; the bytes beyond stay as read. Gives the
// texts that were cut, in the order of `fields`.
std::vector<CutText> cutOverlongTexts(ByteSpan record, std::span<const CheckedText> fields);
// Tells each cut as a repair of the record that `owner` names ("aircraft type 2 of carrier 1
// (\"Albatross CV\")").
void reportCutTexts(std::span<const CutText> cuts, std::string_view fileName,
                    std::string_view owner, ReadReport& report);

// The count of a list as a file stores it.
std::int32_t storedCount(std::size_t size);

// Adds one block to an exchange file: its count is raised by one and the block goes at its
// end. A missing file (or one of no bytes) is made with a count of 1. The new content is
// built in memory and replaces the file atomically, so a failure leaves the file as it was.
// `checkExisting` reads the present content; a file that lost data in that reading is left
// alone, since a block added to it would not be where its count says.
struct ExchangeAppend {
    std::string error;      // empty on success: a sentence for the user
    std::int32_t count = 0; // the file's new count on success

    bool ok() const { return error.empty(); }
};

template <typename CheckExisting>
ExchangeAppend appendCountedBlock(const std::filesystem::path& file, ConstByteSpan block,
                                  const CountedFileWords& words, CheckExisting checkExisting);

// The parts of the two templates that do not depend on the block type.
namespace counted {

// Reads the count; gives nothing, with the reason in `report`, when no block can be read.
std::optional<std::int32_t> readCount(ByteCursor& cursor, std::string_view fileName,
                                      const CountedFileWords& words, ReadReport& report);
void reportRunOut(const ByteCursor& cursor, std::string_view fileName,
                  const CountedFileWords& words, std::int32_t count, std::size_t read,
                  ReadReport& report);
void reportFault(const BlockFault& fault, const BlockPlace& place, const CountedFileWords& words,
                 ReadReport& report);
void reportTrailingBytes(const ByteCursor& cursor, std::string_view fileName,
                         const CountedFileWords& words, std::int32_t count, ReadReport& report);

struct ExistingFile {
    ByteVector bytes; // a count and its blocks; a count of 0 when the file is new
    std::string error;
};
ExistingFile readExchangeFile(const std::filesystem::path& file);
ExchangeAppend appendChecked(const std::filesystem::path& file, ExistingFile existing,
                             ConstByteSpan block, const CountedFileWords& words,
                             const ReadReport& existingReport);

} // namespace counted

template <typename Block, typename ReadBlock>
std::vector<Block> readCountedBlocks(ConstByteSpan file, std::string_view fileName,
                                     const CountedFileWords& words, ReadReport& report,
                                     ReadBlock readBlock) {
    std::vector<Block> blocks;
    ByteCursor cursor(file);
    const std::optional<std::int32_t> count = counted::readCount(cursor, fileName, words, report);
    if (!count) {
        return blocks;
    }
    for (std::int32_t index = 0; index < *count; ++index) {
        if (cursor.atEnd()) {
            counted::reportRunOut(cursor, fileName, words, *count, blocks.size(), report);
            return blocks;
        }
        const BlockPlace place{fileName, blocks.size() + 1, *count};
        std::variant<Block, BlockFault> outcome = readBlock(cursor, place, report);
        if (auto* fault = std::get_if<BlockFault>(&outcome)) {
            counted::reportFault(*fault, place, words, report);
            return blocks;
        }
        blocks.push_back(std::move(std::get<Block>(outcome)));
    }
    counted::reportTrailingBytes(cursor, fileName, words, *count, report);
    return blocks;
}

template <typename Block, typename BlockSize, typename WriteBlock>
ByteVector writeCountedBlocks(std::span<const Block> blocks, BlockSize blockSize,
                              WriteBlock writeBlock) {
    std::size_t size = 4;
    for (const Block& block : blocks) {
        size += blockSize(block);
    }
    ByteVector out(4);
    out.reserve(size);
    storeLittleEndian<std::int32_t>(out, storedCount(blocks.size()));
    for (const Block& block : blocks) {
        writeBlock(block, out);
    }
    return out;
}

template <typename CheckExisting>
ExchangeAppend appendCountedBlock(const std::filesystem::path& file, ConstByteSpan block,
                                  const CountedFileWords& words, CheckExisting checkExisting) {
    counted::ExistingFile existing = counted::readExchangeFile(file);
    if (!existing.error.empty()) {
        return {existing.error, 0};
    }
    const ReadReport report = checkExisting(ConstByteSpan(existing.bytes));
    return counted::appendChecked(file, std::move(existing), block, words, report);
}

} // namespace keel
