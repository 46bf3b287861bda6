// SPDX-License-Identifier: MIT
#include "carriers/SbaDb.h"
#include "common/NameCompare.h"
#include "launchers/LauncherRecord.h"
#include "nations/MissionDb.h"
#include "objects/ObjectRecord.h"
#include "objects/ObjectTypes.h"
#include "pickers/ListFiles.h"
#include "set/DatabaseSet.h"
#include "support/ProgramRun.h"
#include "support/TemporaryDirectory.h"
#include "threed/ThreeDRecord.h"

#include <gtest/gtest.h>
#include <map>
#include <set>

namespace keel {
namespace {

using test::TemporaryDirectory;

// The sample set as the built program writes it, read back with the project's readers.
class SampleSet : public ::testing::Test {
protected:
    void SetUp() override {
        const test::ProgramOutput run = test::runProgram(
            KEEL_SAMPLE_SET_PATH, {directory.path().string() + "/set"}, directory.path());
        ASSERT_EQ(run.exitCode, 0) << run.err;
        DatabaseSet::LoadResult loaded = DatabaseSet::load(directory / "set");
        ASSERT_FALSE(loaded.failedFile) << *loaded.failedFile;
        set = std::move(loaded.set);
        const ConstByteSpan objectBytes = set.buffer(DatabaseFile::Objects);
        for (std::size_t i = 0; i < ObjectFile::count(objectBytes); ++i) {
            const ConstByteSpan record = ObjectFile::record(objectBytes, i);
            objectTypes[ObjectRecord::ObjectName.read(record)] = ObjectRecord::ObjType.read(record);
        }
    }

    ConstByteSpan file(DatabaseFile which) const { return set.buffer(which); }
    int typeOf(const std::string& objectName) const {
        const auto found = objectTypes.find(objectName);
        return found == objectTypes.end() ? 0 : found->second;
    }

    TemporaryDirectory directory;
    DatabaseSet set;
    std::map<std::string, int> objectTypes;
};

TEST_F(SampleSet, EveryFileIsReadBackCleanlyWithTheExpectedCounts) {
    EXPECT_TRUE(set.complete());
    EXPECT_EQ(set.damage(DatabaseFile::Missions), "");
    EXPECT_EQ(set.damage(DatabaseFile::ShipBasedAircraft), "");
    for (DatabaseFile fixed :
         {DatabaseFile::Objects, DatabaseFile::Launchers, DatabaseFile::ThreeDObjects}) {
        EXPECT_NE(file(fixed).size(), 0u);
    }
    EXPECT_EQ(file(DatabaseFile::Objects).size(), 40u * ObjectRecord::Size);
    EXPECT_EQ(file(DatabaseFile::Launchers).size(), 16u * LauncherRecord::Size);
    EXPECT_EQ(file(DatabaseFile::ThreeDObjects).size(), 34u * ThreeDRecord::Size);
    EXPECT_EQ(file(DatabaseFile::Sensors).size(), 10u * sensorListFormat.recordSize);
    EXPECT_EQ(file(DatabaseFile::Airstrips).size(), 3u * airstripListFormat.recordSize);
    EXPECT_EQ(readMissionDatabase(file(DatabaseFile::Missions), "mission.db").nations.size(), 3u);
    EXPECT_EQ(readCarrierDatabase(file(DatabaseFile::ShipBasedAircraft), "x").carriers.size(), 2u);
    EXPECT_EQ(objectTypes.size(), 40u) << "object names are unique";
}

TEST_F(SampleSet, ObjectsCoverEveryTypeWithPlausibleValuesAndSlotsThatExist) {
    const ConstByteSpan objects = file(DatabaseFile::Objects);
    const std::size_t launchers = LauncherFile::count(file(DatabaseFile::Launchers));
    const std::size_t sensors = NamedList(sensorListFormat, file(DatabaseFile::Sensors)).count();
    const std::size_t airstrips =
        NamedList(airstripListFormat, file(DatabaseFile::Airstrips)).count();
    std::set<int> types;
    bool helicopterWithSonobuoys = false;
    for (std::size_t i = 0; i < ObjectFile::count(objects); ++i) {
        const ConstByteSpan record = ObjectFile::record(objects, i);
        const std::string name = ObjectRecord::ObjectName.read(record);
        SCOPED_TRACE(name);
        const int type = ObjectRecord::ObjType.read(record);
        types.insert(type);
        if (i > 0) {
            EXPECT_LE(compareEditorNames(
                          ObjectRecord::ObjectName.bytes(ObjectFile::record(objects, i - 1)),
                          ObjectRecord::ObjectName.bytes(record)),
                      0)
                << "saved sorted by name";
        }
        EXPECT_LE(ObjectRecord::MinSpeed.read(record), ObjectRecord::MaxSpeed.read(record));
        EXPECT_LE(ObjectRecord::MinAlt.read(record), ObjectRecord::MaxAlt.read(record));
        EXPECT_LE(ObjectRecord::MinBurn.read(record), ObjectRecord::MaxBurn.read(record));
        EXPECT_LT(ObjectRecord::DragCoeff.read(record), 1.0f);
        int launcherSlots = 0;
        int sensorSlots = 0;
        for (std::size_t slot = 0; slot < 30; ++slot) {
            const int value = ObjectRecord::LauncherSlots.read(record, slot);
            EXPECT_TRUE(value >= 0 && value <= static_cast<int>(launchers));
            launcherSlots += value > 0;
        }
        for (std::size_t slot = 0; slot < 9; ++slot) {
            const int value = ObjectRecord::SensorSlots.read(record, slot);
            EXPECT_TRUE(value >= 0 && value <= static_cast<int>(sensors));
            sensorSlots += value > 0;
        }
        for (std::size_t slot = 0; slot < 10; ++slot) {
            const int value = ObjectRecord::AirstripSlots.read(record, slot);
            EXPECT_TRUE(value >= 0 && value <= static_cast<int>(airstrips));
        }
        if (type == static_cast<int>(ObjectType::Surf)) {
            EXPECT_GT(launcherSlots, 0);
            EXPECT_GT(sensorSlots, 0);
        }
        if (type == static_cast<int>(ObjectType::Air) ||
            type == static_cast<int>(ObjectType::Helo)) {
            EXPECT_GT(ObjectRecord::Fuel.read(record), 0);
            EXPECT_GT(ObjectRecord::Range.read(record), 0);
        }
        if (type == static_cast<int>(ObjectType::Helo) && ObjectRecord::NumBuoys.read(record) > 0) {
            helicopterWithSonobuoys = true;
        }
        if (type == static_cast<int>(ObjectType::Missile)) {
            EXPECT_NE(ObjectRecord::missileCaps.read(record), 0);
            EXPECT_NE(ObjectRecord::targetCaps.read(record), 0);
        }
    }
    EXPECT_EQ(types, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    EXPECT_TRUE(helicopterWithSonobuoys);
}

TEST_F(SampleSet, LaunchersAreLoadedWithWeaponsOfTheObjectFile) {
    const ConstByteSpan launchers = file(DatabaseFile::Launchers);
    for (std::size_t i = 0; i < LauncherFile::count(launchers); ++i) {
        const ConstByteSpan record = LauncherFile::record(launchers, i);
        SCOPED_TRACE(LauncherRecord::LauncherName.read(record));
        EXPECT_FALSE(LauncherRecord::ammunitionTypes[0].read(record).empty());
        for (std::size_t slot = 0; slot < 4; ++slot) {
            const std::string weapon = LauncherRecord::ammunitionTypes[slot].read(record);
            if (weapon.empty()) {
                EXPECT_EQ(LauncherRecord::roundCounts[slot].read(record), 0);
                continue;
            }
            EXPECT_TRUE(isAmmunitionType(typeOf(weapon))) << weapon;
            EXPECT_GT(LauncherRecord::roundCounts[slot].read(record), 0) << weapon;
        }
    }
}

TEST_F(SampleSet, EveryObjectThatNeedsA3DObjectHasOneButTwo) {
    const ConstByteSpan threeDs = file(DatabaseFile::ThreeDObjects);
    std::set<std::string> presented;
    for (std::size_t i = 0; i < ThreeDFile::count(threeDs); ++i) {
        const std::string name = ThreeDRecord::Name.read(ThreeDFile::record(threeDs, i));
        EXPECT_TRUE(needsThreeDObject(typeOf(name))) << name << " is no object that needs one";
        presented.insert(name);
    }
    std::vector<std::string> lacking;
    for (const auto& [name, type] : objectTypes) {
        if (needsThreeDObject(type) && !presented.contains(name)) {
            lacking.push_back(name);
        }
    }
    EXPECT_EQ(lacking.size(), 2u);
}

TEST_F(SampleSet, NationsFieldSubmarinesShipsAndAircraftOfTheObjectFile) {
    const MissionDatabase mission = readMissionDatabase(file(DatabaseFile::Missions), "mission.db");
    for (const Nation& nation : mission.nations) {
        SCOPED_TRACE(NationRecord::CountryName.read(nation.record));
        std::set<int> classTypes;
        for (const NationClass& nationClass : nation.classes) {
            const int type = ClassRecord::ObjType.read(nationClass.record);
            const std::string tagName = ClassRecord::Class_TagName.read(nationClass.record);
            SCOPED_TRACE(ClassRecord::ClassName.read(nationClass.record));
            classTypes.insert(type);
            ASSERT_FALSE(nationClass.platforms.empty());
            for (const Platform& platform : nationClass.platforms) {
                EXPECT_FALSE(PlatformRecord::Name.read(platform.record).empty());
                const std::string platformTag =
                    PlatformRecord::Platform_TagName.read(platform.record);
                const std::int32_t hull = PlatformRecord::HullNum.read(platform.record);
                if (type == static_cast<int>(ObjectType::Air)) {
                    const int modelled = typeOf(platformTag);
                    EXPECT_TRUE(modelled == 3 || modelled == 4) << platformTag;
                    EXPECT_EQ(hull, -1);
                } else {
                    EXPECT_EQ(platformTag, tagName);
                    EXPECT_GE(hull, 0);
                }
            }
            if (type != static_cast<int>(ObjectType::Air)) {
                EXPECT_EQ(typeOf(tagName), type) << tagName;
                EXPECT_FALSE(ClassRecord::Designation.read(nationClass.record).empty());
            }
        }
        EXPECT_EQ(classTypes, (std::set<int>{1, 2, 3}));
    }
}

TEST_F(SampleSet, CarriersEmbarkAircraftOfTheirOwnNation) {
    const MissionDatabase mission = readMissionDatabase(file(DatabaseFile::Missions), "mission.db");
    const CarrierDatabase carriers =
        readCarrierDatabase(file(DatabaseFile::ShipBasedAircraft), "shipbasedaircraft.db");
    for (const Carrier& carrier : carriers.carriers) {
        const std::string country = CarrierRecord::Country.read(carrier.record);
        const std::string shipClass = CarrierRecord::ObjectName.read(carrier.record);
        SCOPED_TRACE(shipClass);
        const Nation* nation = nullptr;
        for (const Nation& candidate : mission.nations) {
            if (NationRecord::CountryName.read(candidate.record) == country) {
                nation = &candidate;
            }
        }
        ASSERT_NE(nation, nullptr) << country;
        std::map<std::string, const NationClass*> aircraftClasses;
        bool shipClassFound = false;
        for (const NationClass& nationClass : nation->classes) {
            const int type = ClassRecord::ObjType.read(nationClass.record);
            const std::string offered = ClassRecord::ClassName.read(nationClass.record) + " " +
                                        ClassRecord::Designation.read(nationClass.record);
            shipClassFound = shipClassFound || (type == 2 && offered == shipClass);
            if (type == 3) {
                aircraftClasses[ClassRecord::ClassName.read(nationClass.record)] = &nationClass;
            }
        }
        EXPECT_TRUE(shipClassFound);
        for (const AircraftType& aircraftType : carrier.aircraftTypes) {
            const auto& entry = aircraftType.record;
            const auto found = aircraftClasses.find(AircraftTypeRecord::ClassName.read(entry));
            ASSERT_NE(found, aircraftClasses.end());
            std::string displayName;
            for (const Platform& platform : found->second->platforms) {
                if (PlatformRecord::Platform_TagName.read(platform.record) ==
                    AircraftTypeRecord::TagName.read(entry)) {
                    displayName = PlatformRecord::Name.read(platform.record);
                }
            }
            EXPECT_FALSE(displayName.empty()) << AircraftTypeRecord::TagName.read(entry);
            EXPECT_EQ(AircraftTypeRecord::DisplayName.read(entry), displayName);
            EXPECT_GE(AircraftTypeRecord::Num.read(entry), 1);
        }
    }
}

TEST(SampleSetProgram, SaysWhatIsWrongWhenItCannotWrite) {
    TemporaryDirectory directory;
    test::ProgramOutput run = test::runProgram(KEEL_SAMPLE_SET_PATH, {}, directory.path());
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("usage"), std::string::npos);

    test::writeFile(directory / "plain", ByteVector{1});
    run = test::runProgram(KEEL_SAMPLE_SET_PATH, {(directory / "plain" / "set").string()},
                           directory.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("Cannot create"), std::string::npos) << run.err;
}

} // namespace
} // namespace keel
