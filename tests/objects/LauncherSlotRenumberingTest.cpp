// SPDX-License-Identifier: MIT
#include "objects/LauncherSlotRenumbering.h"

#include "objects/ObjectRecord.h"
#include "support/RecordBytes.h"

#include <gtest/gtest.h>

namespace keel {
namespace {

using R = ObjectRecord;

// Each slot value alone in slot 18 of the second of two objects, with launcher `deleted` of
// five deleted: what is counted, and what the renumbered record holds.
TEST(LauncherSlotRenumbering, EverySlotKeepsNamingTheLauncherItNamed) {
    const struct {
        const char* what;
        std::size_t deleted;
        std::int16_t before, after;
        bool moves;
    } cases[] = {
        {"empty", 3, 0, 0, false},
        {"names the deleted one", 3, 3, 0, true},
        {"names one before it", 3, 2, 2, false},
        {"names one after it", 3, 4, 3, true},
        {"names the last", 3, 5, 4, true},
        {"beyond the list", 3, 6, 6, false},
        {"negative", 3, -1, -1, false},
        {"first deleted, names it", 1, 1, 0, true},
        {"first deleted, names the second", 1, 2, 1, true},
        {"last deleted, names it", 5, 5, 0, true},
        {"last deleted, names the one before", 5, 4, 4, false},
        {"last deleted, beyond the list", 5, 32767, 32767, false},
    };
    for (const auto& slotCase : cases) {
        SCOPED_TRACE(slotCase.what);
        const LauncherDelete launcherDelete(slotCase.deleted, 5);
        ByteVector file = test::concatenated(
            {test::objectRecord("Empty", 2), test::namedRecord(R::Size, "Frigate", 0)});
        const ByteSpan object = ByteSpan(file).subspan(R::Size);
        R::LauncherSlots.write(object, 17, slotCase.before);
        ByteVector expected(object.begin(), object.end());
        R::LauncherSlots.write(expected, 17, slotCase.after);

        const MovedLauncherSlots moved = findMovedLauncherSlots(file, launcherDelete);
        EXPECT_EQ(moved.slotCount, slotCase.moves ? 1u : 0u);
        EXPECT_EQ(moved.emptied, slotCase.moves && slotCase.after == 0 ? 1u : 0u);
        EXPECT_EQ(moved.objects,
                  slotCase.moves ? std::vector<std::size_t>{1} : std::vector<std::size_t>{});
        EXPECT_EQ(renumberLauncherSlots(object, launcherDelete), slotCase.moves ? 1u : 0u);
        EXPECT_EQ(ByteVector(object.begin(), object.end()), expected);
    }
}

} // namespace
} // namespace keel
