// SPDX-License-Identifier: MIT
#include "check/CarrierCheck.h"

#include "nations/ClassTypes.h"
#include "objects/ObjectTypes.h"

#include <unordered_map>

namespace keel {
namespace {

constexpr int subType = static_cast<int>(ObjectType::Sub);
constexpr int airType = static_cast<int>(ObjectType::Air);

const NationClass* lastClassNamed(const Nation& nation, const std::string& className) {
    const NationClass* found = nullptr;
    for (const NationClass& nationClass : nation.classes) {
        if (ClassRecord::ClassName.read(nationClass.record) == className) {
            found = &nationClass;
        }
    }
    return found;
}

class CarrierFindings {
public:
    CarrierFindings(FindingList& findings, std::size_t index, const Carrier& carrier)
        : findings_(findings), number_(index + 1),
          name_(CarrierRecord::ObjectName.read(carrier.record)) {}

    void add(FindingKind kind, std::string field, std::string problem) {
        findings_.add({kind, DatabaseFile::ShipBasedAircraft, number_, name_, std::move(field),
                       std::move(problem)});
    }

private:
    FindingList& findings_;
    std::size_t number_;
    std::string name_;
};

void checkShipClass(const Nation& nation, const std::string& country, const Carrier& carrier,
                    CarrierFindings& out) {
    const std::string shipClass = CarrierRecord::ObjectName.read(carrier.record);
    int offeredMatch = 0;
    int otherType = 0;
    for (const NationClass& nationClass : nation.classes) {
        const std::string text = ClassRecord::ClassName.read(nationClass.record) + " " +
                                 ClassRecord::Designation.read(nationClass.record);
        if (text != shipClass) {
            continue;
        }
        const int type = ClassRecord::ObjType.read(nationClass.record);
        if (type != subType && type != airType) {
            ++offeredMatch;
        } else {
            otherType = type;
        }
    }
    if (offeredMatch > 0) {
        return;
    }
    if (otherType != 0) {
        out.add(FindingKind::UnknownCarrierName, "ObjectName",
                quotedText(shipClass) + " is " + (otherType == subType ? "a Sub" : "an Air") +
                    " class of " + quotedText(country) + ", which carries no aircraft");
        return;
    }
    out.add(FindingKind::UnknownCarrierName, "ObjectName",
            quotedText(shipClass) + " is no ship class (\"ClassName Designation\") of " +
                quotedText(country) + " in " + std::string(fileName(DatabaseFile::Missions)));
}

void checkAircraft(const Nation& nation, const std::string& country, const AircraftType& aircraft,
                   std::size_t index, CarrierFindings& out) {
    const std::string where = "aircraft type " + std::to_string(index + 1) + ", ";
    const std::string className = AircraftTypeRecord::ClassName.read(aircraft.record);
    const NationClass* aircraftClass = lastClassNamed(nation, className);
    if (aircraftClass == nullptr) {
        out.add(FindingKind::UnknownCarrierName, where + "ClassName",
                quotedText(className) + " is no class of " + quotedText(country) + " in " +
                    std::string(fileName(DatabaseFile::Missions)) +
                    "; its aircraft was not checked");
        return;
    }
    if (const int type = ClassRecord::ObjType.read(aircraftClass->record); type != airType) {
        const auto text = classTypeText(type);
        out.add(FindingKind::UnknownCarrierName, where + "ClassName",
                quotedText(className) + " is a " +
                    (text ? std::string(*text) : "type " + std::to_string(type)) + " class of " +
                    quotedText(country) + ", not an Air class");
    }
    const std::string tagName = AircraftTypeRecord::TagName.read(aircraft.record);
    const Platform* platform = nullptr;
    for (const Platform& candidate : aircraftClass->platforms) {
        if (PlatformRecord::Platform_TagName.read(candidate.record) == tagName) {
            platform = &candidate;
        }
    }
    if (platform == nullptr) {
        out.add(FindingKind::UnknownCarrierName, where + "TagName",
                quotedText(tagName) + " is the object name of no platform of the class " +
                    quotedText(className));
        return;
    }
    const std::string displayName = AircraftTypeRecord::DisplayName.read(aircraft.record);
    const std::string platformName = PlatformRecord::Name.read(platform->record);
    if (displayName != platformName) {
        out.add(FindingKind::CarrierDisplayName, where + "DisplayName",
                quotedText(displayName) + " is not " + quotedText(platformName) +
                    ", the Name of the platform " + quotedText(tagName) + " of " +
                    quotedText(className));
    }
}

} // namespace

void CarrierCheck::run(const SetIndexes& indexes, FindingList& findings) const {
    const CheckedSet& set = indexes.set;
    if (!set.has(DatabaseFile::ShipBasedAircraft) || !set.has(DatabaseFile::Missions)) {
        return;
    }
    const std::vector<Nation>& nations = set.missions().nations;
    // Of several nations of one name the last is the one the carrier editor finds.
    std::unordered_map<std::string, std::size_t> nationNamed;
    for (std::size_t n = 0; n < nations.size(); ++n) {
        nationNamed[NationRecord::CountryName.read(nations[n].record)] = n;
    }
    const std::vector<Carrier>& carriers = set.carriers().carriers;
    for (std::size_t i = 0; i < carriers.size(); ++i) {
        const Carrier& carrier = carriers[i];
        CarrierFindings out(findings, i, carrier);
        const std::string country = CarrierRecord::Country.read(carrier.record);
        const auto found = nationNamed.find(country);
        if (found == nationNamed.end()) {
            out.add(FindingKind::UnknownCarrierName, "Country",
                    quotedText(country) + " is no nation of " +
                        std::string(fileName(DatabaseFile::Missions)) +
                        "; its ship class and aircraft were not checked");
            continue;
        }
        const Nation& nation = nations[found->second];
        checkShipClass(nation, country, carrier, out);
        for (std::size_t k = 0; k < carrier.aircraftTypes.size(); ++k) {
            checkAircraft(nation, country, carrier.aircraftTypes[k], k, out);
        }
    }
}

} // namespace keel
