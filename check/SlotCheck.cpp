// SPDX-License-Identifier: MIT
#include "check/SlotCheck.h"

#include "launchers/LauncherRecord.h"
#include "objects/ObjectRecord.h"
#include "pickers/ListFiles.h"

namespace keel {
namespace {

struct SlotList {
    DatabaseFile file;
    std::string_view field;
    std::string_view record;  // "launcher"
    std::string_view records; // "launchers"
};

template <typename Slots>
void checkSlots(const Slots& slots, const SlotList& list, std::size_t listCount,
                ConstByteSpan object, std::size_t objectIndex, FindingList& findings) {
    for (std::size_t slot = 0; slot < Slots::count; ++slot) {
        const int value = slots.read(object, slot);
        if (value >= 0 && static_cast<std::size_t>(value) <= listCount) {
            continue;
        }
        std::string problem =
            "holds " + std::to_string(value) + ", which names no " + std::string(list.record);
        if (value > 0) {
            problem +=
                ": " + std::string(fileName(list.file)) + " holds " +
                (listCount == 0 ? "no " + std::string(list.records)
                                : "only " + std::to_string(listCount) + " " +
                                      std::string(listCount == 1 ? list.record : list.records));
        } else {
            problem += " (an empty slot holds 0)";
        }
        findings.add({FindingKind::SlotNamesNothing, DatabaseFile::Objects, objectIndex + 1,
                      ObjectRecord::ObjectName.read(object),
                      std::string(list.field) + " slot " + std::to_string(slot + 1), problem});
    }
}

} // namespace

void SlotCheck::run(const SetIndexes& indexes, FindingList& findings) const {
    const CheckedSet& set = indexes.set;
    if (!set.has(DatabaseFile::Objects)) {
        return;
    }
    constexpr SlotList launchers{DatabaseFile::Launchers, "LauncherSlots", "launcher", "launchers"};
    constexpr SlotList airstrips{DatabaseFile::Airstrips, "AirstripSlots", "airstrip", "airstrips"};
    constexpr SlotList sensors{DatabaseFile::Sensors, "SensorSlots", "sensor", "sensors"};
    const std::size_t launcherCount = LauncherFile::count(set.bytes(DatabaseFile::Launchers));
    const std::size_t airstripCount =
        NamedList(airstripListFormat, set.bytes(DatabaseFile::Airstrips)).count();
    const std::size_t sensorCount =
        NamedList(sensorListFormat, set.bytes(DatabaseFile::Sensors)).count();

    const ConstByteSpan objects = set.bytes(DatabaseFile::Objects);
    for (std::size_t i = 0; i < ObjectFile::count(objects); ++i) {
        const ConstByteSpan object = ObjectFile::record(objects, i);
        if (set.has(DatabaseFile::Launchers)) {
            checkSlots(ObjectRecord::LauncherSlots, launchers, launcherCount, object, i, findings);
        }
        if (set.has(DatabaseFile::Airstrips)) {
            checkSlots(ObjectRecord::AirstripSlots, airstrips, airstripCount, object, i, findings);
        }
        if (set.has(DatabaseFile::Sensors)) {
            checkSlots(ObjectRecord::SensorSlots, sensors, sensorCount, object, i, findings);
        }
    }
}

} // namespace keel
