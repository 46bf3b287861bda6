// SPDX-License-Identifier: MIT
#include "text/RecordKinds.h"

#include "carriers/SbaRecords.h"
#include "launchers/LauncherRecord.h"
#include "nations/MissionRecords.h"
#include "objects/ObjectRecord.h"
#include "pickers/ListFiles.h"
#include "threed/ThreeDRecord.h"

#include <algorithm>

namespace keel {
namespace {

// The place of a field in its table; a name the table lacks stops the build where it is used.
constexpr std::size_t fieldIndex(FieldTable fields, std::string_view name) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].name == name) {
            return i;
        }
    }
    reportBrokenCheck("a field name that the record's table lacks");
}

constexpr RecordLevel objectLevels[] = {
    {"object", ObjectRecord::Size, objectFields, "ObjectName", nullptr, {}},
};
constexpr RecordLevel launcherLevels[] = {
    {"launcher", LauncherRecord::Size, launcherFields, "LauncherName", nullptr, {}},
};
constexpr RecordLevel threeDLevels[] = {
    {"3D object", ThreeDRecord::Size, threeDFields, "Name", nullptr, {}},
};
constexpr RecordLevel sensorLevels[] = {
    {"sensor", sensorListFormat.recordSize, sensorFields, "Name", nullptr, {}},
};
constexpr RecordLevel airstripLevels[] = {
    {"airstrip", airstripListFormat.recordSize, airstripFields, "Name", nullptr, {}},
};
constexpr RecordLevel nationLevels[] = {
    {"nation", NationRecord::Size, nationFields, "CountryName", &nationFields[fieldIndex(nationFields, "numClasses")],
     "classes"},
    {"class", ClassRecord::Size, classFields, "ClassName", &classFields[fieldIndex(classFields, "numObjects")], "platforms"},
    {"platform", PlatformRecord::Size, platformFields, "Name", nullptr, {}},
};
constexpr RecordLevel carrierLevels[] = {
    {"carrier", CarrierRecord::Size, carrierFields, "ObjectName", &carrierFields[fieldIndex(carrierFields, "NumPlatforms")],
     "aircraftTypes", "Country"},
    {"aircraft type", AircraftTypeRecord::Size, aircraftTypeFields, "TagName", nullptr, {}},
};

constexpr RecordKindInfo kinds[] = {
    {RecordKind::Objects, "objects", DatabaseFile::Objects, "objects.odb", ".odb", false, objectLevels,
     RecordMatch::ByName},
    {RecordKind::Launchers, "launchers", DatabaseFile::Launchers, "launcher.ldb", ".ldb", false, launcherLevels,
     RecordMatch::ByPosition},
    {RecordKind::ThreeDObjects, "3dobjects", DatabaseFile::ThreeDObjects, "3dobjects.3db", ".3db", false,
     threeDLevels, RecordMatch::ByName},
    {RecordKind::Nations, "nations", DatabaseFile::Missions, "mission.db", ".db", true, nationLevels,
     RecordMatch::ByName},
    {RecordKind::Carriers, "carriers", DatabaseFile::ShipBasedAircraft, "shipbasedaircraft.db", ".db", true,
     carrierLevels, RecordMatch::ByName},
    {RecordKind::Sensors, "sensors", DatabaseFile::Sensors, "sensors.sdb", ".sdb", false, sensorLevels,
     RecordMatch::ByPosition},
    {RecordKind::Airstrips, "airstrips", DatabaseFile::Airstrips, "airstrip.adb", ".adb", false, airstripLevels,
     RecordMatch::ByPosition},
};

// Every level's key field is one of its texts, every count one of its whole numbers, and only
// the deepest level counts nothing. (Without comparing pointers, which the sanitizers' checks
// keep out of constant expressions.)
constexpr bool levelsAreSound() {
    for (const RecordKindInfo& kind : kinds) {
        for (std::size_t i = 0; i < kind.levels.size(); ++i) {
            const RecordLevel& level = kind.levels[i];
            const FieldInfo& key = level.fields[fieldIndex(level.fields, level.keyField)];
            const bool deepest = i + 1 == kind.levels.size();
            if (key.kind != FieldKind::Text || !fieldsArePacked(level.fields, level.size) ||
                deepest != level.childrenMember.empty()) {
                return false;
            }
            if (!deepest && level.countField->kind != FieldKind::Signed) {
                return false;
            }
            // By index: the sanitizer build keeps pointer comparisons out of constant expressions.
            if (!level.ownerField.empty() &&
                level.fields[fieldIndex(level.fields, level.ownerField)].kind != FieldKind::Text) {
                return false;
            }
        }
        if (kind.counted != (kind.levels.size() > 1)) {
            return false;
        }
    }
    return true;
}
static_assert(levelsAreSound());

constexpr bool kindsFollowTheirOrder() {
    for (std::size_t i = 0; i < std::size(kinds); ++i) {
        if (static_cast<std::size_t>(kinds[i].kind) != i) {
            return false;
        }
    }
    return true;
}
static_assert(kindsFollowTheirOrder());

std::string lowered(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return result;
}

} // namespace

std::span<const RecordKindInfo> recordKinds() { return kinds; }

const RecordKindInfo& recordKind(RecordKind kind) { return kinds[static_cast<std::size_t>(kind)]; }

std::optional<RecordKind> recordKindNamed(std::string_view name) {
    for (const RecordKindInfo& kind : kinds) {
        if (kind.name == name) {
            return kind.kind;
        }
    }
    return std::nullopt;
}

std::string recordKindNames() {
    std::string names;
    for (const RecordKindInfo& kind : kinds) {
        names += (names.empty() ? "" : ", ") + std::string(kind.name);
    }
    return names;
}

std::variant<RecordKind, std::string> recordKindOfFile(const std::filesystem::path& file) {
    const std::string name = lowered(file.filename().string());
    for (const RecordKindInfo& kind : kinds) {
        if (name == kind.setFileName) {
            return kind.kind;
        }
    }
    const std::string extension = lowered(file.extension().string());
    if (extension == ".db") {
        return file.string() + ": a .db file may hold nations or carriers; give --kind nations or --kind carriers";
    }
    for (const RecordKindInfo& kind : kinds) {
        if (extension == kind.extension) {
            return kind.kind;
        }
    }
    return file.string() + ": cannot tell its kind from its name; give --kind (" + recordKindNames() + ")";
}

std::variant<RecordKind, std::string> recordKindFor(const std::filesystem::path& file,
                                                    std::optional<RecordKind> given) {
    if (given) {
        return *given;
    }
    return recordKindOfFile(file);
}

} // namespace keel
