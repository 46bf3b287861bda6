// SPDX-License-Identifier: MIT
#include "common/CountedBlocks.h"

#include "common/Checks.h"
#include "common/FileIo.h"

#include <algorithm>
#include <limits>

namespace keel {
namespace {

constexpr std::size_t countSize = 4;

std::string countOf(std::int64_t count, const CountedFileWords& words) {
    return std::to_string(count) + " " + std::string(count == 1 ? words.block : words.blocks);
}

std::string joinedLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        if (!text.empty()) {
            text += '\n';
        }
        text += line;
    }
    return text;
}

} // namespace

void ReadReport::repaired(std::string sentence) {
    repairs_.push_back(std::move(sentence));
}

void ReadReport::addRepairs(ReadReport&& other) {
    repairs_.insert(repairs_.end(), std::make_move_iterator(other.repairs_.begin()),
                    std::make_move_iterator(other.repairs_.end()));
}

void ReadReport::lost(std::string damage, std::string consequence) {
    losses_.push_back({std::move(damage), std::move(consequence)});
}

std::string ReadReport::text() const {
    const std::size_t listed = std::min(repairs_.size(), listedRepairs);
    std::vector<std::string> lines(repairs_.begin(),
                                   repairs_.begin() + static_cast<std::ptrdiff_t>(listed));
    if (repairs_.size() > listed) {
        const std::size_t more = repairs_.size() - listed;
        lines.push_back(std::to_string(more) + (more == 1 ? " more repair" : " more repairs") +
                        " like these " + (more == 1 ? "was" : "were") + " made.");
    }
    const std::string losses = lossesText();
    if (!losses.empty()) {
        lines.push_back(losses);
    }
    return joinedLines(lines);
}

std::string ReadReport::repairsText() const {
    return joinedLines(repairs_);
}

std::string ReadReport::lossesText() const {
    std::vector<std::string> lines;
    for (const Loss& loss : losses_) {
        lines.push_back(loss.damage + "; " + loss.consequence + ".");
    }
    return joinedLines(lines);
}

std::string ReadReport::damageText() const {
    std::vector<std::string> lines;
    for (const Loss& loss : losses_) {
        lines.push_back(loss.damage + ".");
    }
    return joinedLines(lines);
}

std::vector<CutText> cutOverlongTexts(ByteSpan record, std::span<const CheckedText> fields) {
    std::vector<CutText> cuts;
    for (const CheckedText& field : fields) {
        const ByteSpan bytes = record.subspan(field.offset, field.width);
        const ByteSpan allowed = bytes.first(field.maxLength + 1);
        if (std::find(allowed.begin(), allowed.end(), Byte{0}) != allowed.end()) {
            continue;
        }
        const std::size_t length = readText(bytes).size();
        allowed.back() = 0;
        cuts.push_back({field.words, length, field.maxLength});
    }
    return cuts;
}

void reportCutTexts(std::span<const CutText> cuts, std::string_view fileName,
                    std::string_view owner, ReadReport& report) {
    for (const CutText& cut : cuts) {
        report.repaired(std::string(fileName) + ": " + std::string(cut.words) + " of " +
                        std::string(owner) + " is " + std::to_string(cut.length) +
                        " characters long, more than the " + std::to_string(cut.maxLength) +
                        " it may have; it was cut to its first " + std::to_string(cut.maxLength) +
                        " characters.");
    }
}

std::int32_t storedCount(std::size_t size) {
    // No list the editors hold comes near this; a larger one would not fit in the file.
    check(size <= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()),
          "a counted list fits the count of its file");
    return static_cast<std::int32_t>(size);
}

std::string blocksReadPhrase(std::size_t read, const CountedFileWords& words) {
    if (read == 0) {
        return "no " + std::string(words.blocks) + " were read";
    }
    if (read == 1) {
        return "the first " + std::string(words.block) + " was read";
    }
    return "the first " + std::to_string(read) + " " + std::string(words.blocks) + " were read";
}

std::string quotedText(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string endsEarlyAt(const ByteCursor& cursor) {
    return "ends early at byte " + std::to_string(cursor.size());
}

namespace counted {

std::optional<std::int32_t> readCount(ByteCursor& cursor, std::string_view fileName,
                                      const CountedFileWords& words, ReadReport& report) {
    if (cursor.size() == 0) {
        return std::nullopt;
    }
    std::array<Byte, countSize> countBytes{};
    if (!cursor.take(countBytes)) {
        report.lost(std::string(fileName) + " is only " + std::to_string(cursor.size()) +
                        (cursor.size() == 1 ? " byte" : " bytes") +
                        " long, too short to hold its number of " + std::string(words.blocks),
                    blocksReadPhrase(0, words));
        return std::nullopt;
    }
    const auto count = loadLittleEndian<std::int32_t>(countBytes);
    if (count < 0) {
        report.lost(std::string(fileName) + " gives its number of " + std::string(words.blocks) +
                        " as " + std::to_string(count) + ", which cannot be",
                    blocksReadPhrase(0, words));
        return std::nullopt;
    }
    return count;
}

void reportRunOut(const ByteCursor& cursor, std::string_view fileName,
                  const CountedFileWords& words, std::int32_t count, std::size_t read,
                  ReadReport& report) {
    const std::string where =
        read == 0 ? "before the first " + std::string(words.block)
                  : "after " + std::string(words.block) + " " + std::to_string(read);
    report.lost(std::string(fileName) + " says it holds " + countOf(count, words) +
                    ", but its data ends at byte " + std::to_string(cursor.position()) + ", " +
                    where,
                blocksReadPhrase(read, words));
}

void reportFault(const BlockFault& fault, const BlockPlace& place, const CountedFileWords& words,
                 ReadReport& report) {
    std::string sentence = std::string(place.fileName) + ": " + std::string(words.block) + " " +
                           std::to_string(place.number) + " of " + std::to_string(place.count);
    if (!fault.label.empty()) {
        sentence += " (" + fault.label + ")";
    }
    sentence += " " + fault.what;
    report.lost(std::move(sentence), blocksReadPhrase(place.number - 1, words));
}

void reportTrailingBytes(const ByteCursor& cursor, std::string_view fileName,
                         const CountedFileWords& words, std::int32_t count, ReadReport& report) {
    if (cursor.atEnd()) {
        return;
    }
    report.lost(std::string(fileName) + " holds " + std::to_string(cursor.remaining()) +
                    " bytes beyond its " + countOf(count, words) + ", from byte " +
                    std::to_string(cursor.position()) + ", that belong to no " +
                    std::string(words.block),
                "they were left out");
}

ExistingFile readExchangeFile(const std::filesystem::path& file) {
    ReadResult read = readWholeFile(file);
    ExistingFile existing;
    std::error_code ignored;
    // A path under a regular file names no file either; creating it is what then fails.
    if (read.status == ReadStatus::Missing ||
        (!read.ok() && !std::filesystem::exists(file, ignored))) {
        existing.bytes.assign(countSize, 0);
        return existing;
    }
    if (!read.ok()) {
        existing.error = "Cannot open file " + file.string();
        return existing;
    }
    existing.bytes = std::move(read.bytes);
    if (existing.bytes.empty()) {
        existing.bytes.assign(countSize, 0);
    }
    return existing;
}

ExchangeAppend appendChecked(const std::filesystem::path& file, ExistingFile existing,
                             ConstByteSpan block, const CountedFileWords& words,
                             const ReadReport& existingReport) {
    if (existingReport.lostData()) {
        // What the reading made of the file does not matter here: only what is wrong with it.
        return {"Nothing was written to " + file.string() + ", because it is damaged:\n" +
                    existingReport.damageText(),
                0};
    }
    // A file that lost nothing holds at least its count, and the count is not negative.
    const ByteSpan countBytes = ByteSpan(existing.bytes).first(countSize);
    const auto count = loadLittleEndian<std::int32_t>(countBytes);
    if (count == std::numeric_limits<std::int32_t>::max()) {
        return {"Nothing was added to " + file.string() + ": it already holds as many " +
                    std::string(words.blocks) + " as its count can number.",
                0};
    }
    storeLittleEndian<std::int32_t>(countBytes, count + 1);
    existing.bytes.insert(existing.bytes.end(), block.begin(), block.end());
    const WriteResult written = replaceFileAtomically(file, existing.bytes);
    if (!written.ok()) {
        return {writeFailureMessage(written, file), 0};
    }
    return {{}, count + 1};
}

} // namespace counted
} // namespace keel
