// SPDX-License-Identifier: MIT
#pragma once

#include "common/CountedBlocks.h"
#include "nations/MissionRecords.h"

#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

namespace keel {

inline constexpr CountedFileWords nationWords{"nation", "nations"};

// What reading a mission database or a nation exchange file gave: every nation that could be
// read whole, in file order, and what was wrong with the file. A nation without classes and a
// class without platforms are repaired as they are read (given what Add would give them);
// reading stops at the first nation that cannot be read whole, and never reads past the end.
struct MissionDatabase {
    std::vector<Nation> nations;
    ReadReport report;
};

// `fileName` names the file in the report's sentences.
MissionDatabase readMissionDatabase(ConstByteSpan file, std::string_view fileName);

// The nation block as it is written: the counts from the lists, the link slots zero.
std::size_t nationBlockSize(const Nation& nation);
void writeNationBlock(const Nation& nation, ByteVector& out);
ByteVector writeMissionDatabase(std::span<const Nation> nations);

// Export: adds the nation to a nation exchange file (see appendCountedBlock).
ExchangeAppend appendNationToExchangeFile(const std::filesystem::path& file, const Nation& nation);

} // namespace keel
