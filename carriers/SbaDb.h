// SPDX-License-Identifier: MIT
#pragma once

#include "carriers/SbaRecords.h"
#include "common/CountedBlocks.h"

#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

namespace keel {

inline constexpr CountedFileWords carrierWords{"carrier", "carriers"};

// What reading shipbasedaircraft.db or a carrier exchange file gave: every carrier that could
// be read whole, in file order, and what was wrong with the file. A carrier without aircraft
// types is given the entry Add would give it; reading stops at the first carrier that cannot
// be read whole, and never reads past the end.
struct CarrierDatabase {
    std::vector<Carrier> carriers;
    ReadReport report;
};

// `fileName` names the file in the report's sentences.
CarrierDatabase readCarrierDatabase(ConstByteSpan file, std::string_view fileName);

// The carrier block as it is written: the count from the list, the link slot zero.
std::size_t carrierBlockSize(const Carrier& carrier);
void writeCarrierBlock(const Carrier& carrier, ByteVector& out);
ByteVector writeCarrierDatabase(std::span<const Carrier> carriers);

// Export: adds the carrier to a carrier exchange file (see appendCountedBlock).
ExchangeAppend appendCarrierToExchangeFile(const std::filesystem::path& file,
                                           const Carrier& carrier);

} // namespace keel
