// SPDX-License-Identifier: MIT
#include "carriers/SbaRecords.h"

namespace keel {

AircraftType newAircraftType() {
    AircraftType aircraftType;
    AircraftTypeRecord::Num.write(aircraftType.record, 1);
    return aircraftType;
}

Carrier newCarrier() {
    Carrier carrier;
    CarrierRecord::ObjectName.write(carrier.record, "New Class", TextOverflow::Cut);
    CarrierRecord::NumPlatforms.write(carrier.record, 1);
    carrier.aircraftTypes.push_back(newAircraftType());
    return carrier;
}

} // namespace keel
