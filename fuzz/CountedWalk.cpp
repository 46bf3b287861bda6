// SPDX-License-Identifier: MIT
#include "fuzz/CountedWalk.h"

#include "fuzz/FuzzCheck.h"

#include <algorithm>
#include <optional>

namespace keel::fuzz {
namespace {

// The end of the block that begins at `at`, when it is whole; adds its repairs and link slots,
// or gives the negative count that stops it.
using BlockWalk = std::optional<std::size_t> (*)(ConstByteSpan file, std::size_t at,
                                                 CountedWalk& walk);

bool holds(ConstByteSpan file, std::size_t at, std::uint64_t bytes) {
    return file.size() - at >= bytes;
}

std::optional<std::size_t> nationBlock(ConstByteSpan file, std::size_t at, CountedWalk& walk) {
    if (!holds(file, at, 264)) {
        return std::nullopt;
    }
    const std::int32_t classes = int32At(file, at + 256);
    std::vector<std::size_t> links{at + 260};
    std::size_t repaired = unendedTexts(file, at, nationTexts);
    at += 264;
    if (classes < 0) {
        walk.negativeCount = classes;
        return std::nullopt;
    }
    repaired += classes == 0 ? 1 : 0;
    for (std::int32_t c = 0; c < classes; ++c) {
        if (!holds(file, at, 536)) {
            return std::nullopt;
        }
        const std::int32_t platforms = int32At(file, at + 528);
        links.push_back(at + 532);
        repaired += unendedTexts(file, at, classTexts);
        at += 536;
        if (platforms < 0) {
            walk.negativeCount = platforms;
            return std::nullopt;
        }
        repaired += platforms == 0 ? 1 : 0;
        const std::uint64_t platformBytes = std::uint64_t(platforms) * 516;
        if (!holds(file, at, platformBytes)) {
            return std::nullopt;
        }
        for (std::int32_t p = 0; p < platforms; ++p) {
            repaired += unendedTexts(file, at, platformTexts);
            at += 516;
        }
    }
    walk.repairs += repaired;
    walk.linkSlots.insert(walk.linkSlots.end(), links.begin(), links.end());
    return at;
}

std::optional<std::size_t> carrierBlock(ConstByteSpan file, std::size_t at, CountedWalk& walk) {
    if (!holds(file, at, 520)) {
        return std::nullopt;
    }
    const std::int32_t aircraftTypes = int32At(file, at + 512);
    const std::size_t record = at;
    at += 520;
    if (aircraftTypes < 0) {
        walk.negativeCount = aircraftTypes;
        return std::nullopt;
    }
    const std::uint64_t typeBytes = std::uint64_t(aircraftTypes) * 772;
    if (!holds(file, at, typeBytes)) {
        return std::nullopt;
    }
    walk.repairs += unendedTexts(file, record, carrierTexts);
    walk.repairs += aircraftTypes == 0 ? 1 : 0;
    for (std::int32_t t = 0; t < aircraftTypes; ++t) {
        walk.repairs += unendedTexts(file, at, aircraftTypeTexts);
        walk.repairs += aircraftCountOutOfRange(int32At(file, at + aircraftCountOffset)) ? 1 : 0;
        at += 772;
    }
    walk.linkSlots.push_back(record + 516);
    return at;
}

CountedWalk walk(ConstByteSpan file, BlockWalk block) {
    CountedWalk walk;
    if (file.empty()) {
        return walk;
    }
    if (file.size() < 4) {
        walk.stop = CountedWalk::Stop::TooShort;
        return walk;
    }
    walk.count = int32At(file, 0);
    walk.end = 4;
    if (walk.count < 0) {
        walk.stop = CountedWalk::Stop::NegativeCount;
        return walk;
    }
    for (std::int32_t i = 0; i < walk.count; ++i) {
        if (walk.end == file.size()) {
            walk.stop = CountedWalk::Stop::RunOut;
            return walk;
        }
        const std::optional<std::size_t> end = block(file, walk.end, walk);
        if (!end) {
            walk.stop = CountedWalk::Stop::BlockFault;
            return walk;
        }
        walk.blockStarts.push_back(walk.end);
        walk.end = *end;
    }
    if (walk.end != file.size()) {
        walk.stop = CountedWalk::Stop::TrailingBytes;
    }
    return walk;
}

} // namespace

std::size_t unendedTexts(ConstByteSpan file, std::size_t at, std::span<const TextExtent> texts) {
    std::size_t unended = 0;
    for (const TextExtent& text : texts) {
        const ConstByteSpan allowed = file.subspan(at + text.offset, text.allowed);
        unended += std::find(allowed.begin(), allowed.end(), Byte{0}) == allowed.end() ? 1 : 0;
    }
    return unended;
}

void endTexts(ByteSpan record, std::span<const TextExtent> texts) {
    for (const TextExtent& text : texts) {
        if (unendedTexts(record, 0, std::span(&text, 1)) != 0) {
            record[text.offset + text.allowed - 1] = 0;
        }
    }
}

bool aircraftCountOutOfRange(std::int32_t count) {
    return count < 1 || count > 32767;
}

CountedWalk walkMissionFile(ConstByteSpan file) {
    return walk(file, nationBlock);
}

CountedWalk walkCarrierFile(ConstByteSpan file) {
    return walk(file, carrierBlock);
}

std::string readPhrase(std::size_t read, const std::string& block, const std::string& blocks) {
    if (read == 0) {
        return "no " + blocks + " were read";
    }
    if (read == 1) {
        return "the first " + block + " was read";
    }
    return "the first " + std::to_string(read) + " " + blocks + " were read";
}

void checkReportText(const CountedWalk& walk, std::size_t fileSize, const std::string& text,
                     std::size_t repairCount, bool lostData, const std::string& block,
                     const std::string& blocks) {
    KEEL_FUZZ_CHECK(repairCount == walk.repairs);
    KEEL_FUZZ_CHECK(lostData == walk.lostData());
    KEEL_FUZZ_CHECK(text.empty() == walk.clean());
    if (walk.repairs > 10) {
        const std::size_t more = walk.repairs - 10;
        KEEL_FUZZ_CHECK(text.find("\n" + std::to_string(more) +
                                  (more == 1 ? " more repair like these was made."
                                             : " more repairs like these were made.")) !=
                        std::string::npos);
    }
    // A file loses data at one place at most, and that sentence comes last.
    const std::string read = readPhrase(walk.blockStarts.size(), block, blocks);
    switch (walk.stop) {
    case CountedWalk::Stop::Clean:
        break;
    case CountedWalk::Stop::TooShort:
        KEEL_FUZZ_CHECK(
            endsWith(text, " long, too short to hold its number of " + blocks + "; " + read + "."));
        break;
    case CountedWalk::Stop::NegativeCount:
        KEEL_FUZZ_CHECK(endsWith(text, " as " + std::to_string(walk.count) + ", which cannot be; " +
                                           read + "."));
        break;
    case CountedWalk::Stop::RunOut:
        KEEL_FUZZ_CHECK(endsWith(
            text, ", but its data ends at byte " + std::to_string(walk.end) + ", " +
                      (walk.blockStarts.empty()
                           ? "before the first " + block
                           : "after " + block + " " + std::to_string(walk.blockStarts.size())) +
                      "; " + read + "."));
        break;
    case CountedWalk::Stop::BlockFault:
        KEEL_FUZZ_CHECK(text.find(": " + block + " " + std::to_string(walk.blockStarts.size() + 1) +
                                  " of " + std::to_string(walk.count)) != std::string::npos);
        // A negative count is told as such, with its value; any other fault is the data's end.
        KEEL_FUZZ_CHECK(
            text.find(walk.negativeCount
                          ? " as " + std::to_string(*walk.negativeCount) +
                                ", so nothing after it can be found; "
                          : " ends early at byte " + std::to_string(fileSize) + ", ") !=
            std::string::npos);
        KEEL_FUZZ_CHECK(endsWith(text, "; " + read + "."));
        break;
    case CountedWalk::Stop::TrailingBytes:
        KEEL_FUZZ_CHECK(endsWith(text, " holds " + std::to_string(fileSize - walk.end) +
                                           " bytes beyond its " + std::to_string(walk.count) + " " +
                                           (walk.count == 1 ? block : blocks) + ", from byte " +
                                           std::to_string(walk.end) + ", that belong to no " +
                                           block + "; they were left out."));
        break;
    }
}

} // namespace keel::fuzz
