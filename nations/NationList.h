// SPDX-License-Identifier: MIT
#pragma once

#include "common/CountedBlockList.h"
#include "nations/MissionDb.h"

#include <span>
#include <string>

namespace keel {

// mission.db as a counted file of nation blocks, each with its classes and their platforms.
struct NationShape {
    using Block = Nation;

    static constexpr std::string_view databaseFileName = "mission.db";
    static constexpr TextFieldSpec nameField = NationRecord::CountryName;
    static constexpr auto newBlock = newNation;
    static constexpr auto blockSize = nationBlockSize;
    static constexpr auto writeBlock = writeNationBlock;
    static constexpr auto writeFile = writeMissionDatabase;
    static constexpr auto appendToExchangeFile = appendNationToExchangeFile;

    static CountedFile<Nation> read(ConstByteSpan file, std::string_view fileName);
    // Import matches nations by their name, ASCII letter case ignored.
    static std::string matchKey(const Nation& nation);
};

extern template class CountedBlockList<NationShape>;

// The nation editor's working copy: the nations of mission.db, each with its classes and their
// platforms, in file order.
class NationList final : public CountedBlockList<NationShape> {
public:
    // For the field handlers and the carrier editor, which work inside a nation.
    std::span<const Nation> nations() const { return blocks(); }
    const Nation& nation(std::size_t index) const { return block(index); }
    Nation& nation(std::size_t index) { return block(index); }
};

} // namespace keel
