// SPDX-License-Identifier: MIT
#include "check/NationCheck.h"

#include "nations/ClassTypes.h"
#include "objects/ObjectTypes.h"

namespace keel {
namespace {

std::uint16_t offeredTypes(int classType) {
    std::uint16_t types = 0;
    for (int code = 1; code <= static_cast<int>(objectTypeTexts.size()); ++code) {
        if (classTypeOffers(classType, code)) {
            types |= ObjectIndex::typeBit(code);
        }
    }
    return types;
}

std::string classTypeName(int classType) {
    const auto text = classTypeText(classType);
    return text ? std::string(*text) : "type " + std::to_string(classType);
}

struct Place {
    std::size_t nation; // counting from 1
    std::string nationName;
    std::string where; // "class 2 "Halberd"", with ", platform 3 "Glaive"" for a platform
};

void checkObjectName(const SetIndexes& indexes, const Place& place, std::string_view field,
                     const std::string& name, int classType, FindingList& findings) {
    const std::string fieldText = place.where + ", " + std::string(field);
    if (name.empty()) {
        findings.add({FindingKind::UnknownNationObject, DatabaseFile::Missions, place.nation,
                      place.nationName, fieldText, "is empty: the platform names no object"});
        return;
    }
    const std::uint16_t types = indexes.objects.typesNamed(name);
    if (types == 0) {
        findings.add({FindingKind::UnknownNationObject, DatabaseFile::Missions, place.nation,
                      place.nationName, fieldText,
                      quotedText(name) + " names no object of " +
                          std::string(fileName(DatabaseFile::Objects))});
        return;
    }
    // A class of a type no object fits is a finding of its own; its names are not held to it.
    if (!classTypeOffersObjects(classType) || (types & offeredTypes(classType)) != 0) {
        return;
    }
    findings.add({FindingKind::MismatchedNationObject, DatabaseFile::Missions, place.nation,
                  place.nationName, fieldText,
                  quotedText(name) + " names " + ObjectIndex::describeTypes(types) + ", which a " +
                      classTypeName(classType) + " class does not offer (it offers " +
                      ObjectIndex::describeTypes(offeredTypes(classType)) + ")"});
}

} // namespace

void NationCheck::run(const SetIndexes& indexes, FindingList& findings) const {
    const CheckedSet& set = indexes.set;
    if (!set.has(DatabaseFile::Missions)) {
        return;
    }
    const bool objectsRead = set.has(DatabaseFile::Objects);
    const std::vector<Nation>& nations = set.missions().nations;
    for (std::size_t n = 0; n < nations.size(); ++n) {
        const Nation& nation = nations[n];
        Place place{n + 1, NationRecord::CountryName.read(nation.record), {}};
        for (std::size_t c = 0; c < nation.classes.size(); ++c) {
            const NationClass& nationClass = nation.classes[c];
            const int type = ClassRecord::ObjType.read(nationClass.record);
            const std::string classWhere =
                "class " + std::to_string(c + 1) + " " +
                quotedText(ClassRecord::ClassName.read(nationClass.record));
            place.where = classWhere;
            if (!classTypeOffersObjects(type)) {
                const auto text = classTypeText(type);
                findings.add({FindingKind::InvalidClassType, DatabaseFile::Missions, n + 1,
                              place.nationName, classWhere + ", ObjType",
                              "is " + std::to_string(type) +
                                  (text ? " (" + quotedText(*text) + "), which no class may have"
                                        : ", which is no object type") +
                                  ": a class is Sub, Surf, Air or Shell"});
            }
            if (!objectsRead) {
                continue;
            }
            const std::string classTag = ClassRecord::Class_TagName.read(nationClass.record);
            if (!classTag.empty()) {
                checkObjectName(indexes, place, "Class_TagName", classTag, type, findings);
            }
            for (std::size_t p = 0; p < nationClass.platforms.size(); ++p) {
                const Platform& platform = nationClass.platforms[p];
                const std::string platformTag =
                    PlatformRecord::Platform_TagName.read(platform.record);
                // A platform carrying its class's object name is told of with the class.
                if (!classTag.empty() && platformTag == classTag) {
                    continue;
                }
                place.where = classWhere + ", platform " + std::to_string(p + 1) + " " +
                              quotedText(PlatformRecord::Name.read(platform.record));
                checkObjectName(indexes, place, "Platform_TagName", platformTag, type, findings);
            }
        }
    }
}

} // namespace keel
