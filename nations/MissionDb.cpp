// SPDX-License-Identifier: MIT
#include "nations/MissionDb.h"

namespace keel {
namespace {

std::string nationLabel(const Nation& nation) {
    return quotedText(NationRecord::CountryName.read(nation.record));
}

std::string classLabel(const NationClass& nationClass) {
    return quotedText(ClassRecord::ClassName.read(nationClass.record));
}

std::string ofCount(std::size_t number, std::int32_t count) {
    return std::to_string(number) + " of " + std::to_string(count);
}

constexpr CheckedText nationTexts[] = {
    {NationRecord::CountryName, "the name (CountryName)"},
};

constexpr CheckedText classTexts[] = {
    {ClassRecord::Class_TagName, "the object name (Class_TagName)"},
    {ClassRecord::ClassName, "the class name (ClassName)"},
    {ClassRecord::Designation, "the designation (Designation)"},
};

constexpr CheckedText platformTexts[] = {
    {PlatformRecord::Platform_TagName, "the object name (Platform_TagName)"},
    {PlatformRecord::Name, "the display name (Name)"},
};

// Reads the platforms of one class; gives the fault's description when they end early.
std::optional<std::string> readPlatforms(ByteCursor& cursor, NationClass& nationClass,
                                         std::int32_t count, const std::string& where) {
    for (std::int32_t index = 0; index < count; ++index) {
        Platform platform;
        if (!cursor.take(platform.record)) {
            return endsEarlyAt(cursor) + ", in platform " + ofCount(index + 1, count) + " of " +
                   where;
        }
        nationClass.platforms.push_back(platform);
    }
    return std::nullopt;
}

std::variant<Nation, BlockFault> readNationBlock(ByteCursor& cursor, const BlockPlace& place,
                                                 ReadReport& report) {
    // The repairs are told only once the nation is read whole: of a nation that ends early,
    // nothing is kept, and its loss is what the report tells.
    ReadReport repairs;
    Nation nation;
    if (!cursor.take(nation.record)) {
        return BlockFault{{}, endsEarlyAt(cursor) + ", inside its nation record"};
    }
    const std::vector<CutText> cutName = cutOverlongTexts(nation.record, nationTexts);
    const std::string label = nationLabel(nation);
    const std::string nationOwner = "nation " + std::to_string(place.number) + " (" + label + ")";
    reportCutTexts(cutName, place.fileName, nationOwner, repairs);
    const std::int32_t classCount = NationRecord::numClasses.read(nation.record);
    if (classCount < 0) {
        return BlockFault{label, "gives its number of classes as " + std::to_string(classCount) +
                                     ", so nothing after it can be found"};
    }
    for (std::int32_t index = 0; index < classCount; ++index) {
        const std::string where = "class " + ofCount(index + 1, classCount);
        NationClass nationClass;
        if (!cursor.take(nationClass.record)) {
            return BlockFault{label, endsEarlyAt(cursor) + ", in " + where};
        }
        // The class's name in the report, made only when there is something to tell.
        std::string owner;
        const auto classOwner = [&]() -> const std::string& {
            if (owner.empty()) {
                owner = "class " + std::to_string(index + 1) + " (" + classLabel(nationClass) +
                        ") of " + nationOwner;
            }
            return owner;
        };
        const std::vector<CutText> cutTexts = cutOverlongTexts(nationClass.record, classTexts);
        if (!cutTexts.empty()) {
            reportCutTexts(cutTexts, place.fileName, classOwner(), repairs);
        }
        const std::int32_t platformCount = ClassRecord::numObjects.read(nationClass.record);
        if (platformCount < 0) {
            return BlockFault{label, "gives the number of platforms of its " + where + " (" +
                                         classLabel(nationClass) + ") as " +
                                         std::to_string(platformCount) +
                                         ", so nothing after it can be found"};
        }
        if (auto fault = readPlatforms(cursor, nationClass, platformCount, where)) {
            return BlockFault{label, *fault};
        }
        for (std::size_t p = 0; p < nationClass.platforms.size(); ++p) {
            const std::vector<CutText> cutNames =
                cutOverlongTexts(nationClass.platforms[p].record, platformTexts);
            if (!cutNames.empty()) {
                reportCutTexts(cutNames, place.fileName,
                               "platform " + std::to_string(p + 1) + " of " + classOwner(),
                               repairs);
            }
        }
        if (nationClass.platforms.empty()) {
            nationClass.platforms.push_back(newPlatform(nationClass));
            ClassRecord::numObjects.write(nationClass.record, 1);
            repairs.repaired(std::string(place.fileName) + ": " + classOwner() +
                             " has no platform; it was given one without a name, with hull "
                             "number -1.");
        }
        nation.classes.push_back(std::move(nationClass));
    }
    if (nation.classes.empty()) {
        nation.classes.push_back(newNationClass());
        NationRecord::numClasses.write(nation.record, 1);
        repairs.repaired(std::string(place.fileName) + ": " + nationOwner +
                         " has no class; it was given one Surf class \"New Class\" with one "
                         "platform.");
    }
    report.addRepairs(std::move(repairs));
    return nation;
}

} // namespace

MissionDatabase readMissionDatabase(ConstByteSpan file, std::string_view fileName) {
    MissionDatabase database;
    database.nations =
        readCountedBlocks<Nation>(file, fileName, nationWords, database.report, readNationBlock);
    return database;
}

std::size_t nationBlockSize(const Nation& nation) {
    std::size_t size = NationRecord::Size;
    for (const NationClass& nationClass : nation.classes) {
        size += ClassRecord::Size + PlatformRecord::Size * nationClass.platforms.size();
    }
    return size;
}

void writeNationBlock(const Nation& nation, ByteVector& out) {
    const ByteSpan nationBytes = appendRecord(out, nation.record);
    NationRecord::numClasses.write(nationBytes, storedCount(nation.classes.size()));
    clearField(nationBytes, NationRecord::ClassesLink);
    for (const NationClass& nationClass : nation.classes) {
        const ByteSpan classBytes = appendRecord(out, nationClass.record);
        ClassRecord::numObjects.write(classBytes, storedCount(nationClass.platforms.size()));
        clearField(classBytes, ClassRecord::PlatformsLink);
        for (const Platform& platform : nationClass.platforms) {
            appendRecord(out, platform.record);
        }
    }
}

ByteVector writeMissionDatabase(std::span<const Nation> nations) {
    return writeCountedBlocks(nations, nationBlockSize, writeNationBlock);
}

ExchangeAppend appendNationToExchangeFile(const std::filesystem::path& file, const Nation& nation) {
    ByteVector block;
    block.reserve(nationBlockSize(nation));
    writeNationBlock(nation, block);
    return appendCountedBlock(file, block, nationWords, [&](ConstByteSpan existing) {
        return readMissionDatabase(existing, file.string()).report;
    });
}

} // namespace keel
