// SPDX-License-Identifier: MIT
#include "objects/ObjectTypes.h"

namespace keel {

bool isKnownObjectType(int code) {
    return code >= 1 && code <= static_cast<int>(objectTypeTexts.size());
}

std::optional<std::string_view> objectTypeText(int code) {
    if (!isKnownObjectType(code)) {
        return std::nullopt;
    }
    return objectTypeTexts[static_cast<std::size_t>(code - 1)];
}

bool isAmmunitionType(int code) {
    return code >= static_cast<int>(ObjectType::Mine) && code <= static_cast<int>(ObjectType::Bullet);
}

bool needsThreeDObject(int code) {
    return code != static_cast<int>(ObjectType::Shell) && code != static_cast<int>(ObjectType::Bullet);
}

} // namespace keel
