// SPDX-License-Identifier: MIT
#include "common/EntrySearch.h"

#include <gtest/gtest.h>

namespace keel {
namespace {

TEST(EntrySearch, FindsTheTextInNamesIgnoringLetterCaseAndDigitsInTheWrittenNumber) {
    struct Case {
        std::string_view text;
        std::string_view name;
        std::size_t number;
        int width;
        bool found;
    };
    const Case cases[] = {
        {"", "anything", 1, 3, true},
        {"pike", "Pike SSK", 32, 3, true},
        {"PIKE ss", "pike ssk", 32, 3, true},
        {"pikes", "Pike SSK", 32, 3, false},
        {"z", "ZULU", 1, 3, true},
        {"`", "@", 1, 3, false},               // neighbours of the letters are not folded
        {"\xe9", "\xc9", 1, 3, false},         // only ASCII letters are
        {"0123", "Frigate", 123, 4, true},     // entry 0123
        {"012", "Frigate", 12, 2, false},      // written as 12
        {"07", "Frigate", 7, 2, true},
        {"07", "Frigate", 7, 3, true},         // 007
        {"1000", "Frigate", 1000, 3, true},    // longer numbers are written whole
        {"12", "Mk 12 Gun", 3, 3, true},       // digits in the name
        {"3a", "Frigate", 3, 3, false},        // not digits alone: the name only
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EntrySearch(c.text).matches(c.name, c.number, c.width), c.found)
            << "'" << c.text << "' in '" << c.name << "' number " << c.number;
    }
}

TEST(EntrySearch, ATextTypedOnNarrowsTheOneBefore) {
    EXPECT_TRUE(EntrySearch("pik").narrows(EntrySearch("pi")));
    EXPECT_TRUE(EntrySearch("Pik").narrows(EntrySearch("")));
    EXPECT_TRUE(EntrySearch("xpi").narrows(EntrySearch("PI")));
    EXPECT_FALSE(EntrySearch("p").narrows(EntrySearch("pi")));
    EXPECT_FALSE(EntrySearch("pa").narrows(EntrySearch("pi")));
}

} // namespace
} // namespace keel
