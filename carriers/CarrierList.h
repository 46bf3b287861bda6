// SPDX-License-Identifier: MIT
#pragma once

#include "carriers/SbaDb.h"
#include "common/CountedBlockList.h"

#include <span>
#include <string>

namespace keel {

// shipbasedaircraft.db as a counted file of carrier blocks, each with its aircraft types. A
// carrier is named by its ship class.
struct CarrierShape {
    using Block = Carrier;

    static constexpr std::string_view databaseFileName = "shipbasedaircraft.db";
    static constexpr TextFieldSpec nameField = CarrierRecord::ObjectName;
    static constexpr auto newBlock = newCarrier;
    static constexpr auto blockSize = carrierBlockSize;
    static constexpr auto writeBlock = writeCarrierBlock;
    static constexpr auto writeFile = writeCarrierDatabase;
    static constexpr auto appendToExchangeFile = appendCarrierToExchangeFile;

    static CountedFile<Carrier> read(ConstByteSpan file, std::string_view fileName);
    // Import matches carriers of the same ship class of the same nation, ASCII letter case
    // ignored in both: one ship class name may well stand for carriers of two nations.
    static std::string matchKey(const Carrier& carrier);
};

extern template class CountedBlockList<CarrierShape>;

// The carrier editor's working copy: the carriers of shipbasedaircraft.db, each with its
// aircraft types, in file order.
class CarrierList final : public CountedBlockList<CarrierShape> {
public:
    // For the field handlers, which write into the carrier on screen.
    std::span<const Carrier> carriers() const { return blocks(); }
    const Carrier& carrier(std::size_t index) const { return block(index); }
    Carrier& carrier(std::size_t index) { return block(index); }
};

} // namespace keel
