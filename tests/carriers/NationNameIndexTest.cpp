// SPDX-License-Identifier: MIT
// The carrier editor's index of the nation editor's nation names, against a walk over the
// nations and an index built anew.
#include "carriers/NationNameIndex.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

namespace keel {
namespace {

Nation named(std::string_view name) {
    Nation nation = newNation();
    NationRecord::CountryName.write(nation.record, name, TextOverflow::Cut);
    return nation;
}

std::optional<std::size_t> lastNamedByWalk(const std::vector<Nation>& nations, std::string_view name) {
    std::optional<std::size_t> found;
    for (std::size_t i = 0; i < nations.size(); ++i) {
        if (NationRecord::CountryName.read(nations[i].record) == name) {
            found = i;
        }
    }
    return found;
}

TEST(NationNameIndex, OfEqualNamesTheLastIsFoundAndARenamedOneIsFoundNoMoreUnderItsOldName) {
    const std::vector<Nation> nations{named("Aldermark"), named("Corvasse"), named("Aldermark"), named("")};
    NationNameIndex index;
    index.rebuild(nations);
    EXPECT_EQ(index.lastNamed("Aldermark"), 2u);
    EXPECT_EQ(index.lastNamed(""), 3u);
    EXPECT_EQ(index.lastNamed("aldermark"), std::nullopt); // names are compared exactly
    EXPECT_EQ(index.lastNamed("Aldermark "), std::nullopt);

    index.rename(2, "Corvasse");
    EXPECT_EQ(index.lastNamed("Aldermark"), 0u);
    EXPECT_EQ(index.lastNamed("Corvasse"), 2u);
    index.rename(0, "Tessaly");
    EXPECT_EQ(index.lastNamed("Aldermark"), std::nullopt);
    index.rename(2, "Corvasse"); // the name it has
    EXPECT_EQ(index.lastNamed("Corvasse"), 2u);
    index.rename(2, "Tessaly");
    EXPECT_EQ(index.lastNamed("Corvasse"), 1u);
    EXPECT_EQ(index.lastNamed("Tessaly"), 2u);
    EXPECT_EQ(index.name(0), "Tessaly");
}

// Random renames to a few names, some borne by several nations at once, between rebuilds over
// nation lists of random lengths.
TEST(NationNameIndex, RenamesLeaveItAsAWalkAndARebuildFindTheNames) {
    const std::vector<std::string> pool{"", "Aldermark", "Corvasse", "Tessaly", "aldermark", "Aldermark "};
    std::mt19937 random(4711);
    const auto below = [&](std::size_t count) { return std::uniform_int_distribution<std::size_t>(0, count - 1)(random); };
    std::vector<Nation> nations;
    NationNameIndex index;
    for (int step = 0; step < 3000; ++step) {
        if (nations.empty() || below(25) == 0) {
            nations.clear();
            for (std::size_t i = below(12); i > 0; --i) {
                nations.push_back(named(pool[below(pool.size())]));
            }
            index.rebuild(nations);
        } else {
            const std::size_t renamed = below(nations.size());
            const std::string& name = pool[below(pool.size())];
            NationRecord::CountryName.write(nations[renamed].record, name, TextOverflow::Cut);
            index.rename(renamed, name);
        }
        NationNameIndex rebuilt;
        rebuilt.rebuild(nations);
        ASSERT_EQ(index.size(), nations.size());
        for (std::size_t i = 0; i < nations.size(); ++i) {
            ASSERT_EQ(index.name(i), NationRecord::CountryName.read(nations[i].record)) << "step " << step;
        }
        for (const std::string& name : pool) {
            ASSERT_EQ(index.lastNamed(name), lastNamedByWalk(nations, name)) << "step " << step << ", " << name;
            ASSERT_EQ(index.lastNamed(name), rebuilt.lastNamed(name)) << "step " << step << ", " << name;
        }
    }
}

} // namespace
} // namespace keel
