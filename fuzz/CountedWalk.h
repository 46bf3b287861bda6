// SPDX-License-Identifier: MIT
#pragma once

#include "common/Bytes.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// mission.db, shipbasedaircraft.db and their exchange files walked from their start by a plain
// loop written from the file layout alone, without the readers under test: a count, then that
// many blocks, each a record that counts the records nested after it. The fuzz targets hold
// the readers to what this walk finds.

namespace keel::fuzz {

struct CountedWalk {
    enum class Stop {
        Clean,         // every block whole, nothing after the last one (or no bytes at all)
        TooShort,      // fewer than 4 bytes: no count
        NegativeCount, // the count is below zero
        RunOut,        // the data ends where a block should begin
        BlockFault,    // a block ends early or gives a negative count of its own
        TrailingBytes, // bytes after the last of the counted blocks
    };

    Stop stop = Stop::Clean;
    std::int32_t count = 0;
    std::vector<std::size_t> blockStarts; // of the blocks that are whole, in file order
    std::size_t end = 0;                  // where the last whole block ends
    std::size_t repairs = 0;              // what readers repair in the whole blocks
    std::vector<std::size_t> linkSlots;   // the 4-byte link slots of the whole blocks
    // Of a BlockFault, the negative count of nested records that stopped the walk; nothing
    // when the block ends early.
    std::optional<std::int32_t> negativeCount;

    bool lostData() const { return stop != Stop::Clean; }
    bool clean() const { return !lostData() && repairs == 0; }
};

// A text field of a record: its offset and the bytes within which its terminator must lie
// (the 256 of a name; the first 10 of a class's 12-byte designation, which holds 9 characters).
struct TextExtent {
    std::size_t offset;
    std::size_t allowed;
};

inline constexpr TextExtent nationTexts[] = {{0, 256}};
inline constexpr TextExtent classTexts[] = {{4, 256}, {260, 256}, {516, 10}};
inline constexpr TextExtent platformTexts[] = {{0, 256}, {256, 256}};
inline constexpr TextExtent carrierTexts[] = {{0, 256}, {256, 256}};
inline constexpr TextExtent aircraftTypeTexts[] = {{0, 256}, {256, 256}, {512, 256}};
inline constexpr std::size_t aircraftCountOffset = 768;

// How many texts of the record at `at` have no terminator where it must lie.
std::size_t unendedTexts(ConstByteSpan file, std::size_t at, std::span<const TextExtent> texts);
// The record as the readers repair its texts: each text without its terminator ends at the last
// byte it may use; every other byte stays.
void endTexts(ByteSpan record, std::span<const TextExtent> texts);
// Whether the number of aircraft of an aircraft type lies outside 1..32767, where readers bring it.
bool aircraftCountOutOfRange(std::int32_t count);

// A nation block: a 264-byte nation record whose class count is at 256 and link slot at 260;
// per class a 536-byte class record, platform count at 528 and link slot at 532, then 516 bytes
// per platform. A nation of no classes, a class of no platforms and every text without its
// terminator are repaired.
CountedWalk walkMissionFile(ConstByteSpan file);

// A carrier block: a 520-byte carrier record whose aircraft type count is at 512 and link slot
// at 516, then 772 bytes per aircraft type. A carrier of no aircraft types, every text without
// its terminator and every number of aircraft out of range are repaired.
CountedWalk walkCarrierFile(ConstByteSpan file);

// "no nations were read", "the first nation was read", "the first 3 nations were read".
std::string readPhrase(std::size_t read, const std::string& block, const std::string& blocks);

// Checks the report's text against the walk: empty exactly for a clean file, every repair
// counted, and a loss sentence that ends the text saying how many blocks were read (or which
// bytes were left out).
void checkReportText(const CountedWalk& walk, std::size_t fileSize, const std::string& text,
                     std::size_t repairCount, bool lostData, const std::string& block,
                     const std::string& blocks);

} // namespace keel::fuzz
