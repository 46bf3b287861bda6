// SPDX-License-Identifier: MIT
#include "carriers/SbaDb.h"

#include <algorithm>
#include <optional>

namespace keel {
namespace {

std::string carrierLabel(const Carrier& carrier) {
    std::string label = quotedText(CarrierRecord::ObjectName.read(carrier.record));
    const std::string country = CarrierRecord::Country.read(carrier.record);
    if (!country.empty()) {
        label += " of " + quotedText(country);
    }
    return label;
}

constexpr CheckedText carrierTexts[] = {
    {CarrierRecord::Country, "the nation (Country)"},
    {CarrierRecord::ObjectName, "the ship class (ObjectName)"},
};

constexpr CheckedText aircraftTypeTexts[] = {
    {AircraftTypeRecord::TagName, "the aircraft name (TagName)"},
    {AircraftTypeRecord::DisplayName, "the display name (DisplayName)"},
    {AircraftTypeRecord::ClassName, "the class name (ClassName)"},
};

// Brings a number of aircraft outside what a carrier may carry to the nearest it may; gives
// what was done, to follow the aircraft type's name in a sentence.
std::optional<std::string> repairAircraftCount(AircraftType& aircraftType) {
    const std::int32_t count = AircraftTypeRecord::Num.read(aircraftType.record);
    const std::int32_t repaired =
        std::clamp(count, AircraftTypeRecord::fewestAircraft, AircraftTypeRecord::mostAircraft);
    if (repaired == count) {
        return std::nullopt;
    }
    AircraftTypeRecord::Num.write(aircraftType.record, repaired);
    return " carries " + std::to_string(count) + " aircraft (Num); the number was " +
           (repaired > count ? "raised to " + std::to_string(repaired) + ", the fewest"
                             : "lowered to " + std::to_string(repaired) + ", the most") +
           " it may be.";
}

std::variant<Carrier, BlockFault> readCarrierBlock(ByteCursor& cursor, const BlockPlace& place,
                                                   ReadReport& report) {
    // The repairs are told only once the carrier is read whole: of a carrier that ends early,
    // nothing is kept, and its loss is what the report tells.
    ReadReport repairs;
    Carrier carrier;
    if (!cursor.take(carrier.record)) {
        return BlockFault{{}, endsEarlyAt(cursor) + ", inside its carrier record"};
    }
    const std::vector<CutText> cutNames = cutOverlongTexts(carrier.record, carrierTexts);
    const std::string label = carrierLabel(carrier);
    const std::string owner = "carrier " + std::to_string(place.number) + " (" + label + ")";
    reportCutTexts(cutNames, place.fileName, owner, repairs);
    const std::int32_t count = CarrierRecord::NumPlatforms.read(carrier.record);
    if (count < 0) {
        return BlockFault{label, "gives its number of aircraft types as " + std::to_string(count) +
                                     ", so nothing after it can be found"};
    }
    for (std::int32_t index = 0; index < count; ++index) {
        AircraftType aircraftType;
        if (!cursor.take(aircraftType.record)) {
            return BlockFault{label, endsEarlyAt(cursor) + ", in aircraft type " +
                                         std::to_string(index + 1) + " of " +
                                         std::to_string(count)};
        }
        const std::vector<CutText> cutNames =
            cutOverlongTexts(aircraftType.record, aircraftTypeTexts);
        const std::optional<std::string> countRepair = repairAircraftCount(aircraftType);
        if (!cutNames.empty() || countRepair) {
            const std::string typeOwner =
                "aircraft type " + std::to_string(index + 1) + " of " + owner;
            reportCutTexts(cutNames, place.fileName, typeOwner, repairs);
            if (countRepair) {
                repairs.repaired(std::string(place.fileName) + ": " + typeOwner + *countRepair);
            }
        }
        carrier.aircraftTypes.push_back(aircraftType);
    }
    if (carrier.aircraftTypes.empty()) {
        carrier.aircraftTypes.push_back(newAircraftType());
        CarrierRecord::NumPlatforms.write(carrier.record, 1);
        repairs.repaired(std::string(place.fileName) + ": " + owner +
                         " carries no aircraft type; it was given one without names, for a "
                         "single aircraft.");
    }
    report.addRepairs(std::move(repairs));
    return carrier;
}

} // namespace

CarrierDatabase readCarrierDatabase(ConstByteSpan file, std::string_view fileName) {
    CarrierDatabase database;
    database.carriers =
        readCountedBlocks<Carrier>(file, fileName, carrierWords, database.report, readCarrierBlock);
    return database;
}

std::size_t carrierBlockSize(const Carrier& carrier) {
    return CarrierRecord::Size + AircraftTypeRecord::Size * carrier.aircraftTypes.size();
}

void writeCarrierBlock(const Carrier& carrier, ByteVector& out) {
    const ByteSpan carrierBytes = appendRecord(out, carrier.record);
    CarrierRecord::NumPlatforms.write(carrierBytes, storedCount(carrier.aircraftTypes.size()));
    clearField(carrierBytes, CarrierRecord::AircraftLink);
    for (const AircraftType& aircraftType : carrier.aircraftTypes) {
        appendRecord(out, aircraftType.record);
    }
}

ByteVector writeCarrierDatabase(std::span<const Carrier> carriers) {
    return writeCountedBlocks(carriers, carrierBlockSize, writeCarrierBlock);
}

ExchangeAppend appendCarrierToExchangeFile(const std::filesystem::path& file,
                                           const Carrier& carrier) {
    ByteVector block;
    block.reserve(carrierBlockSize(carrier));
    writeCarrierBlock(carrier, block);
    return appendCountedBlock(file, block, carrierWords, [&](ConstByteSpan existing) {
        return readCarrierDatabase(existing, file.string()).report;
    });
}

} // namespace keel
