// SPDX-License-Identifier: MIT
#include "tools/SampleSet.h"

#include "carriers/SbaDb.h"
#include "common/FileIo.h"
#include "editor/RecordTable.h"
#include "launchers/LauncherRecord.h"
#include "nations/MissionDb.h"
#include "objects/ObjectRecord.h"
#include "pickers/ListFiles.h"
#include "threed/ThreeDRecord.h"
#include "tools/SampleData.h"

#include <stdexcept>
#include <unordered_map>

namespace keel {
namespace {

// Slot values and cross-file names are looked up by name; a name missing from the tables is a
// fault of the tables themselves.
class NameIndex {
public:
    explicit NameIndex(const std::vector<std::string_view>& names) {
        for (std::size_t i = 0; i < names.size(); ++i) {
            positions_.emplace(names[i], static_cast<std::int16_t>(i + 1));
        }
    }
    std::int16_t slot(std::string_view name) const {
        const auto found = positions_.find(name);
        if (found == positions_.end()) {
            throw std::logic_error("the sample set names no record \"" + std::string(name) + "\"");
        }
        return found->second;
    }

private:
    std::unordered_map<std::string_view, std::int16_t> positions_;
};

void setText(const TextFieldSpec& field, ByteSpan record, std::string_view text) {
    if (!field.write(record, text, TextOverflow::Refuse)) {
        throw std::logic_error("the sample text \"" + std::string(text) + "\" does not fit");
    }
}

// Bytes of the simulation that this system never interprets: a fixed pattern, different for
// every record, so that a file that loses or moves them shows it.
void fillOpaque(ByteSpan bytes, std::string_view seed) {
    std::uint32_t state = 2166136261u;
    for (char c : seed) {
        state = (state ^ static_cast<Byte>(c)) * 16777619u;
    }
    for (Byte& byte : bytes) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<Byte>(state >> 24);
    }
}

template <typename Slots>
void setSlots(const Slots& field, ByteSpan record, const std::vector<std::string_view>& names,
              const NameIndex& index) {
    if (names.size() > Slots::count) {
        throw std::logic_error("too many slots in the sample set");
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        field.write(record, i, index.slot(names[i]));
    }
}

std::vector<std::string_view> launcherNames() {
    std::vector<std::string_view> names;
    for (const sample::Launcher& launcher : sample::launchers()) {
        names.push_back(launcher.name);
    }
    return names;
}

ByteVector objectRecord(const sample::Object& object, const NameIndex& launchers,
                        const NameIndex& airstrips, const NameIndex& sensors) {
    using R = ObjectRecord;
    ByteVector record(R::Size, 0);
    setText(R::ObjectName, record, object.name);
    setText(R::DisplayName, record, object.displayName);
    R::ObjType.write(record, static_cast<std::int16_t>(object.type));
    setText(R::DoctrineName, record, object.doctrine);
    setText(R::AmbientSound, record, object.ambientSound);
    R::MastHeight.write(record, object.mastHeight);
    R::Length.write(record, object.length);
    R::Width.write(record, object.width);
    R::Draft.write(record, object.draft);
    R::MaxSpeed.write(record, object.maxSpeed);
    R::MinSpeed.write(record, object.minSpeed);
    R::MaxAlt.write(record, object.maxAlt);
    R::MinAlt.write(record, object.minAlt);
    setSlots(R::LauncherSlots, record, object.launchers, launchers);
    setSlots(R::AirstripSlots, record, object.airstrips, airstrips);
    R::SoundLevel.write(record, object.soundLevel);
    setSlots(R::SensorSlots, record, object.sensors, sensors);
    R::Armour.write(record, object.armour);
    setText(R::SimType, record, object.simType);
    R::Range.write(record, object.range);
    R::NumBuoys.write(record, object.sonobuoys);
    R::Mass.write(record, object.mass);
    R::DragCoeff.write(record, object.dragCoefficient);
    R::TurnRadius.write(record, object.turnRadius);
    R::maxPitch.write(record, object.maxPitch);
    R::Fuel.write(record, object.fuel);
    R::MinBurn.write(record, object.minBurn);
    R::MaxBurn.write(record, object.maxBurn);
    for (std::size_t i = 0; i < object.priorities.size(); ++i) {
        R::MisPri.write(record, i, object.priorities[i]);
    }
    R::targetCaps.write(record, object.targets);
    R::missileCaps.write(record, object.missileType);
    R::cmCaps.write(record, object.countermeasures);
    R::DetProb.write(record, object.detonation);
    R::Points.write(record, object.points);
    return record;
}

// Objects and 3D objects are written sorted by name, as the editor saves them.
ByteVector sortedByName(ByteVector file, std::size_t recordSize, TextFieldSpec name) {
    RecordTable table(recordSize, name);
    table.assign(file);
    table.sortByName();
    return ByteVector(table.bytes().begin(), table.bytes().end());
}

ByteVector objectsFile() {
    const NameIndex launchers(launcherNames());
    const NameIndex airstrips(sample::airstrips());
    const NameIndex sensors(sample::sensors());
    ByteVector file;
    for (const sample::Object& object : sample::objects()) {
        const ByteVector record = objectRecord(object, launchers, airstrips, sensors);
        file.insert(file.end(), record.begin(), record.end());
    }
    return sortedByName(std::move(file), ObjectRecord::Size, ObjectRecord::ObjectName);
}

ByteVector threeDFile() {
    ByteVector file;
    for (const sample::Object& object : sample::objects()) {
        if (!object.hasThreeD || !needsThreeDObject(static_cast<int>(object.type))) {
            continue;
        }
        ByteVector record(ThreeDRecord::Size, 0);
        setText(ThreeDRecord::Name, record, object.name);
        fillOpaque(ByteSpan(record).subspan(ThreeDRecord::Presentation.offset,
                                            ThreeDRecord::Presentation.width),
                   object.name);
        file.insert(file.end(), record.begin(), record.end());
    }
    return sortedByName(std::move(file), ThreeDRecord::Size, ThreeDRecord::Name);
}

ByteVector launcherFile() {
    using R = LauncherRecord;
    ByteVector file;
    for (const sample::Launcher& launcher : sample::launchers()) {
        ByteVector record(R::Size, 0);
        setText(R::LauncherName, record, launcher.name);
        R::tubes.write(record, launcher.tubes);
        R::centre.write(record, launcher.centre);
        R::cone.write(record, launcher.cone);
        R::characteristics.set(record, launcherCharacteristics[0].bit, launcher.rotatable);
        R::characteristics.set(record, launcherCharacteristics[1].bit, launcher.needsFireControl);
        R::load.write(record, launcher.reload);
        R::swap.write(record, launcher.swap);
        if (launcher.ammunition.size() > R::ammunitionTypes.size()) {
            throw std::logic_error("a sample launcher holds more than four ammunition types");
        }
        for (std::size_t i = 0; i < launcher.ammunition.size(); ++i) {
            setText(R::ammunitionTypes[i], record, launcher.ammunition[i].weapon);
            R::roundCounts[i].write(record, launcher.ammunition[i].rounds);
        }
        setText(R::SoundFile, record, launcher.sound);
        R::rdsPerMin.write(record, launcher.roundsPerMinute);
        R::magazine.write(record, launcher.clips);
        const auto [x, y, z] = launcher.location;
        R::centx.write(record, x);
        R::centy.write(record, y);
        R::centz.write(record, z);
        // The mount's box: a little around its location, wider for more barrels.
        const float half = 2.0f + static_cast<float>(launcher.cols);
        R::x1.write(record, x - half);
        R::y1.write(record, y + half);
        R::z1.write(record, z + 3.0f);
        R::x2.write(record, x + half);
        R::y2.write(record, y - half);
        R::z2.write(record, z);
        R::hRel.write(record, launcher.centre);
        R::pRel.write(record, 0);
        R::rows.write(record, launcher.rows);
        R::cols.write(record, launcher.cols);
        R::maxNumRdsGuideable.write(record, launcher.guidable);
        file.insert(file.end(), record.begin(), record.end());
    }
    return file;
}

ByteVector namedListFile(NamedListFormat format, const std::vector<std::string_view>& names) {
    ByteVector file;
    for (std::string_view name : names) {
        ByteVector record(format.recordSize, 0);
        setText(TextFieldSpec{0, format.nameWidth}, record, name);
        fillOpaque(ByteSpan(record).subspan(format.nameWidth), name);
        file.insert(file.end(), record.begin(), record.end());
    }
    return file;
}

keel::Nation nationOf(const sample::Nation& source) {
    keel::Nation nation;
    setText(NationRecord::CountryName, nation.record, source.name);
    for (const sample::Class& sourceClass : source.classes) {
        NationClass nationClass;
        ClassRecord::ObjType.write(nationClass.record, static_cast<std::int32_t>(sourceClass.type));
        setText(ClassRecord::Class_TagName, nationClass.record, sourceClass.tagName);
        setText(ClassRecord::ClassName, nationClass.record, sourceClass.className);
        if (!ClassRecord::Designation.write(nationClass.record, sourceClass.designation,
                                            TextOverflow::Refuse)) {
            throw std::logic_error("a sample designation is too long");
        }
        for (const sample::Platform& sourcePlatform : sourceClass.platforms) {
            Platform platform = newPlatform(nationClass);
            if (!sourcePlatform.tagName.empty()) {
                setText(PlatformRecord::Platform_TagName, platform.record, sourcePlatform.tagName);
            }
            setText(PlatformRecord::Name, platform.record, sourcePlatform.name);
            PlatformRecord::HullNum.write(platform.record, sourcePlatform.hull);
            nationClass.platforms.push_back(platform);
        }
        nation.classes.push_back(std::move(nationClass));
    }
    return nation;
}

const sample::Class& findClass(std::string_view country, std::string_view className) {
    for (const sample::Nation& nation : sample::nations()) {
        for (const sample::Class& nationClass : nation.classes) {
            if (nation.name == country && nationClass.className == className) {
                return nationClass;
            }
        }
    }
    throw std::logic_error("the sample set has no class \"" + std::string(className) + "\"");
}

keel::Carrier carrierOf(const sample::Carrier& source) {
    keel::Carrier carrier;
    const sample::Class& shipClass = findClass(source.country, source.shipClass);
    setText(CarrierRecord::Country, carrier.record, source.country);
    setText(CarrierRecord::ObjectName, carrier.record,
            std::string(shipClass.className) + " " + std::string(shipClass.designation));
    for (const sample::Embarked& embarked : source.aircraft) {
        const sample::Class& aircraftClass = findClass(source.country, embarked.aircraftClass);
        const sample::Platform* platform = nullptr;
        for (const sample::Platform& candidate : aircraftClass.platforms) {
            if (candidate.tagName == embarked.tagName) {
                platform = &candidate;
            }
        }
        if (platform == nullptr) {
            throw std::logic_error("no sample aircraft \"" + std::string(embarked.tagName) + "\"");
        }
        AircraftType aircraftType;
        setText(AircraftTypeRecord::TagName, aircraftType.record, embarked.tagName);
        setText(AircraftTypeRecord::DisplayName, aircraftType.record, platform->name);
        setText(AircraftTypeRecord::ClassName, aircraftType.record, embarked.aircraftClass);
        AircraftTypeRecord::Num.write(aircraftType.record, embarked.count);
        carrier.aircraftTypes.push_back(aircraftType);
    }
    return carrier;
}

ByteVector missionFile() {
    std::vector<keel::Nation> nations;
    for (const sample::Nation& source : sample::nations()) {
        nations.push_back(nationOf(source));
    }
    return writeMissionDatabase(nations);
}

ByteVector carrierFile() {
    std::vector<keel::Carrier> carriers;
    for (const sample::Carrier& source : sample::carriers()) {
        carriers.push_back(carrierOf(source));
    }
    return writeCarrierDatabase(carriers);
}

} // namespace

std::vector<SampleFile> buildSampleSet() {
    std::vector<SampleFile> files;
    for (DatabaseFile file : loadOrder) {
        switch (file) {
        case DatabaseFile::Objects:
            files.push_back({file, objectsFile()});
            break;
        case DatabaseFile::Launchers:
            files.push_back({file, launcherFile()});
            break;
        case DatabaseFile::ShipBasedAircraft:
            files.push_back({file, carrierFile()});
            break;
        case DatabaseFile::Missions:
            files.push_back({file, missionFile()});
            break;
        case DatabaseFile::ThreeDObjects:
            files.push_back({file, threeDFile()});
            break;
        case DatabaseFile::Sensors:
            files.push_back({file, namedListFile(sensorListFormat, sample::sensors())});
            break;
        case DatabaseFile::Airstrips:
            files.push_back({file, namedListFile(airstripListFormat, sample::airstrips())});
            break;
        }
    }
    return files;
}

std::optional<std::string> writeSampleSet(const std::filesystem::path& directory) {
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error) {
        return "Cannot create the directory " + directory.string() + ": " + error.message();
    }
    for (const SampleFile& sample : buildSampleSet()) {
        const std::filesystem::path path = directory / fileName(sample.file);
        const WriteResult written = replaceFileAtomically(path, sample.bytes);
        if (!written.ok()) {
            return "Cannot create file " + path.string() + ": " + written.reason;
        }
    }
    return std::nullopt;
}

} // namespace keel
