#include "carriers/SbaDb.h"

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

std::variant<Carrier, BlockFault> readCarrierBlock(ByteCursor& cursor, const BlockPlace& place,
                                                   ReadReport& report) {
    Carrier carrier;
    if (!cursor.take(carrier.record)) {
        return BlockFault{{}, endsEarlyAt(cursor) + ", inside its carrier record"};
    }
    const std::string label = carrierLabel(carrier);
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
        carrier.aircraftTypes.push_back(aircraftType);
    }
    if (carrier.aircraftTypes.empty()) {
        carrier.aircraftTypes.push_back(newAircraftType());
        CarrierRecord::NumPlatforms.write(carrier.record, 1);
        report.repaired(std::string(place.fileName) + ": carrier " + std::to_string(place.number) +
                        " (" + label +
                        ") carries no aircraft type; it was given one without names, for a "
                        "single aircraft.");
    }
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
