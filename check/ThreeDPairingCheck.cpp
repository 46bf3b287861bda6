// SPDX-License-Identifier: MIT
#include "check/ThreeDPairingCheck.h"

#include "editor/RecordTable.h"
#include "objects/ObjectRecord.h"
#include "objects/ObjectTypes.h"
#include "threed/LackingObjectScan.h"
#include "threed/ThreeDIndex.h"
#include "threed/ThreeDRecord.h"

namespace keel {

void ThreeDPairingCheck::run(const SetIndexes& indexes, FindingList& findings) const {
    const CheckedSet& set = indexes.set;
    if (!set.has(DatabaseFile::Objects) || !set.has(DatabaseFile::ThreeDObjects)) {
        return;
    }
    // The tables read the loaded bytes where they are; nothing is copied.
    RecordTable objects(ObjectRecord::Size, ObjectRecord::ObjectName);
    objects.takeFrom(set.file(DatabaseFile::Objects).bytes);
    RecordTable threeD(ThreeDRecord::Size, ThreeDRecord::Name);
    threeD.takeFrom(set.file(DatabaseFile::ThreeDObjects).bytes);

    ThreeDIndex threeDNames;
    threeDNames.rebuild(threeD);
    LackingObjectScan scan;
    for (std::size_t i : scan.scan(objects, threeDNames)) {
        const ConstByteSpan object = objects.record(i);
        const int type = ObjectRecord::ObjType.read(object);
        const auto typeText = objectTypeText(type);
        findings.add({FindingKind::LacksThreeD, DatabaseFile::Objects, i + 1, objects.nameText(i),
                      "ObjectName",
                      "has no 3D object of its name in " +
                          std::string(fileName(DatabaseFile::ThreeDObjects)) + " (a " +
                          (typeText ? std::string(*typeText) : "type " + std::to_string(type)) +
                          " object; only shells and bullets need none)"});
    }

    for (std::size_t i = 0; i < threeD.count(); ++i) {
        const std::string name = threeD.nameText(i);
        if (indexes.objects.names().find(name) == NameIndex::none) {
            findings.add({FindingKind::ThreeDWithoutObject, DatabaseFile::ThreeDObjects, i + 1,
                          name, "Name",
                          "names no object of " + std::string(fileName(DatabaseFile::Objects)) +
                              " (letter case ignored)"});
        }
    }
}

} // namespace keel
