// SPDX-License-Identifier: MIT
#include "check/SlotCheck.h"

#include "launchers/LauncherRecord.h"
#include "objects/ObjectRecord.h"
#include "pickers/ListFiles.h"

namespace keel {
namespace {

struct SlotList {
    DatabaseFile file;
    const FieldInfo& slots; // the object's slot array, from its field table
    std::string_view record;  // "launcher"
    std::string_view records; // "launchers"
};

void checkSlots(const SlotList& list, std::size_t listCount, ConstByteSpan object, std::size_t objectIndex,
                FindingList& findings) {
    for (std::size_t slot = 0; slot < list.slots.count; ++slot) {
        const std::int64_t value = list.slots.integer(slot).read(object);
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
                      std::string(list.slots.name) + " slot " + std::to_string(slot + 1), problem});
    }
}

} // namespace

void SlotCheck::run(const SetIndexes& indexes, FindingList& findings) const {
    const CheckedSet& set = indexes.set;
    if (!set.has(DatabaseFile::Objects)) {
        return;
    }
    const SlotList launchers{DatabaseFile::Launchers, fieldNamed(objectFields, "LauncherSlots"), "launcher",
                             "launchers"};
    const SlotList airstrips{DatabaseFile::Airstrips, fieldNamed(objectFields, "AirstripSlots"), "airstrip",
                             "airstrips"};
    const SlotList sensors{DatabaseFile::Sensors, fieldNamed(objectFields, "SensorSlots"), "sensor", "sensors"};
    const std::size_t launcherCount = LauncherFile::count(set.bytes(DatabaseFile::Launchers));
    const std::size_t airstripCount =
        NamedList(airstripListFormat, set.bytes(DatabaseFile::Airstrips)).count();
    const std::size_t sensorCount =
        NamedList(sensorListFormat, set.bytes(DatabaseFile::Sensors)).count();

    const ConstByteSpan objects = set.bytes(DatabaseFile::Objects);
    for (std::size_t i = 0; i < ObjectFile::count(objects); ++i) {
        const ConstByteSpan object = ObjectFile::record(objects, i);
        if (set.has(DatabaseFile::Launchers)) {
            checkSlots(launchers, launcherCount, object, i, findings);
        }
        if (set.has(DatabaseFile::Airstrips)) {
            checkSlots(airstrips, airstripCount, object, i, findings);
        }
        if (set.has(DatabaseFile::Sensors)) {
            checkSlots(sensors, sensorCount, object, i, findings);
        }
    }
}

} // namespace keel
