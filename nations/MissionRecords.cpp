// SPDX-License-Identifier: MIT
#include "nations/MissionRecords.h"

#include "objects/ObjectTypes.h"

namespace keel {

Platform newPlatform(const NationClass& nationClass) {
    Platform platform;
    if (ClassRecord::ObjType.read(nationClass.record) != static_cast<int>(ObjectType::Air)) {
        PlatformRecord::Platform_TagName.write(platform.record,
                                               ClassRecord::Class_TagName.read(nationClass.record),
                                               TextOverflow::Cut);
    }
    PlatformRecord::HullNum.write(platform.record, -1);
    return platform;
}

NationClass newNationClass() {
    NationClass nationClass;
    ClassRecord::ObjType.write(nationClass.record, static_cast<int>(ObjectType::Surf));
    ClassRecord::ClassName.write(nationClass.record, "New Class", TextOverflow::Cut);
    ClassRecord::numObjects.write(nationClass.record, 1);
    nationClass.platforms.push_back(newPlatform(nationClass));
    return nationClass;
}

Nation newNation() {
    Nation nation;
    NationRecord::CountryName.write(nation.record, "New Country", TextOverflow::Cut);
    NationRecord::numClasses.write(nation.record, 1);
    nation.classes.push_back(newNationClass());
    return nation;
}

} // namespace keel
