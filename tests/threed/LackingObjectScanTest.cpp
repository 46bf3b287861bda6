// SPDX-License-Identifier: MIT
#include "threed/LackingObjectScan.h"

#include "common/NameCompare.h"
#include "editor/RecordTable.h"
#include "objects/ObjectRecord.h"
#include "objects/ObjectTypes.h"
#include "threed/ThreeDIndex.h"
#include "threed/ThreeDRecord.h"

#include <gtest/gtest.h>

#include <random>

namespace keel {
namespace {

using R = ObjectRecord;

// The answer the long way: every object against every 3D name.
std::vector<std::size_t> lackingByHand(const RecordTable& objects, const RecordTable& threeDs) {
    std::vector<std::size_t> lacking;
    for (std::size_t i = 0; i < objects.count(); ++i) {
        if (!needsThreeDObject(R::ObjType.read(objects.record(i)))) {
            continue;
        }
        bool found = false;
        for (std::size_t j = 0; j < threeDs.count() && !found; ++j) {
            found = equalEditorNames(objects.name(i), threeDs.name(j));
        }
        if (!found) {
            lacking.push_back(i);
        }
    }
    return lacking;
}

// Names from a small pool in mixed letter case, so that objects and 3D records often meet.
std::string someName(std::mt19937& random) {
    static const std::vector<std::string> pool{"Frigate", "FRIGATE", "frigate", "Tanker", "Seahawk",
                                               "Mk48", "mk48", "Harpoon", "Pilot", ""};
    return pool[random() % pool.size()];
}

TEST(LackingObjectScan, AgreesWithTheLongWayThroughEveryKindOfChange) {
    std::mt19937 random(20261208);
    RecordTable objects(R::Size, R::ObjectName);
    RecordTable threeDs(ThreeDRecord::Size, ThreeDRecord::Name);
    ThreeDIndex index;
    index.rebuild(threeDs);
    LackingObjectScan scan;

    for (int step = 0; step < 3000; ++step) {
        switch (random() % 6) {
        case 0: // a new object
            R::ObjType.write(objects.record(objects.appendNamed(someName(random))),
                             static_cast<std::int16_t>(random() % 13));
            break;
        case 1: // a keystroke in a name, bytes after the terminator left as they were
            if (!objects.empty()) {
                R::ObjectName.write(objects.record(random() % objects.count()), someName(random),
                                    TextOverflow::Refuse);
            }
            break;
        case 2: // a change of type, shells and bullets among them
            if (!objects.empty()) {
                R::ObjType.write(objects.record(random() % objects.count()), static_cast<std::int16_t>(random() % 13));
            }
            break;
        case 3: // a deleted object moves every later one up
            if (!objects.empty()) {
                objects.remove(random() % objects.count());
            }
            break;
        case 4: // the 3D records change, and the index is built again
            if (threeDs.empty() || random() % 2 == 0) {
                threeDs.appendNamed(someName(random));
            } else {
                threeDs.remove(random() % threeDs.count());
            }
            index.rebuild(threeDs);
            break;
        default:
            objects.sortByName();
            break;
        }
        ASSERT_EQ(scan.scan(objects, index), lackingByHand(objects, threeDs)) << "after step " << step;
    }
}

TEST(ThreeDIndex, FindsANameOfEveryLetterInTheOtherLetterCase) {
    const std::pair<char, char> cases[] = {{'A', 'a'}, {'a', 'A'}}; // held, then asked
    for (const auto& [held, asked] : cases) {
        RecordTable threeDs(ThreeDRecord::Size, ThreeDRecord::Name);
        for (char letter = 0; letter < 26; ++letter) {
            threeDs.appendNamed(std::string(3, static_cast<char>(held + letter)));
        }
        ThreeDIndex index;
        index.rebuild(threeDs);
        for (char letter = 0; letter < 26; ++letter) {
            const std::string name(3, static_cast<char>(asked + letter));
            EXPECT_TRUE(index.contains(ConstByteSpan(reinterpret_cast<const Byte*>(name.data()),
                                                     name.size())))
                << name;
        }
    }
}

TEST(LackingObjectScan, AnotherIndexIsNeverTakenForTheOneItLearntFrom) {
    RecordTable objects(R::Size, R::ObjectName);
    R::ObjType.write(objects.record(objects.appendNamed("Frigate")), 2);
    RecordTable withFrigate(ThreeDRecord::Size, ThreeDRecord::Name);
    withFrigate.appendNamed("FRIGATE");
    const RecordTable without(ThreeDRecord::Size, ThreeDRecord::Name);
    ThreeDIndex first, second;
    first.rebuild(withFrigate);
    second.rebuild(without);
    LackingObjectScan scan;
    EXPECT_TRUE(scan.scan(objects, first).empty());
    EXPECT_EQ(scan.scan(objects, second), std::vector<std::size_t>{0});
    EXPECT_TRUE(scan.scan(objects, first).empty());
}

} // namespace
} // namespace keel
