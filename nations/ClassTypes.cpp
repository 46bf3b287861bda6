// SPDX-License-Identifier: MIT
#include "nations/ClassTypes.h"

#include "objects/ObjectTypes.h"

namespace keel {

std::optional<std::string_view> classTypeText(int classType) {
    if (!isKnownObjectType(classType)) {
        return std::nullopt;
    }
    return classTypeTexts[static_cast<std::size_t>(classType - 1)];
}

bool classTypeOffersObjects(int classType) {
    return classType == static_cast<int>(ObjectType::Sub) ||
           classType == static_cast<int>(ObjectType::Surf) ||
           classType == static_cast<int>(ObjectType::Air) ||
           classType == static_cast<int>(ObjectType::Shell);
}

bool classTypeOffers(int classType, int objectType) {
    // A Shell class offers what a Surf class does.
    switch (classType == static_cast<int>(ObjectType::Shell) ? static_cast<int>(ObjectType::Surf)
                                                             : classType) {
    case static_cast<int>(ObjectType::Sub):
        return objectType == static_cast<int>(ObjectType::Sub);
    case static_cast<int>(ObjectType::Surf):
        return objectType == static_cast<int>(ObjectType::Surf) ||
               objectType == static_cast<int>(ObjectType::DownedPilot);
    case static_cast<int>(ObjectType::Air):
        return objectType == static_cast<int>(ObjectType::Air) ||
               objectType == static_cast<int>(ObjectType::Helo);
    default:
        return false;
    }
}

} // namespace keel
