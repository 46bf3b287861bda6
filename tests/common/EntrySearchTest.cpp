// SPDX-License-Identifier: MIT
#include "common/EntrySearch.h"

#include <gtest/gtest.h>

namespace keel {
namespace {

TEST(EntrySearch, FindsTheTextWithinANameWithAsciiLetterCaseIgnored) {
    const EntrySearch search("obJE");
    EXPECT_TRUE(search.matches("Object 0000001", 1, 3));
    EXPECT_TRUE(search.matches("A JOBJECT", 1, 3));
    EXPECT_TRUE(search.matches("xobje", 1, 3));
    EXPECT_FALSE(search.matches("Objct", 1, 3));
    EXPECT_FALSE(search.matches("obj", 1, 3));
    EXPECT_FALSE(search.matches("", 1, 3));
}

TEST(EntrySearch, FoldsNoByteBeyondAscii) {
    const EntrySearch search("\xe9t\xe9");
    EXPECT_TRUE(search.matches("Un \xe9T\xe9", 1, 3));
    EXPECT_FALSE(search.matches("Un \xc9T\xc9", 1, 3));
}

TEST(EntrySearch, DigitsAloneAlsoFindTheEntryNumberAsTheListWritesIt) {
    const EntrySearch search("007");
    EXPECT_TRUE(search.matches("Frigate", 7, 3));
    EXPECT_FALSE(search.matches("Frigate", 7, 2));
    EXPECT_TRUE(search.matches("Agent 007", 12, 3));
    EXPECT_FALSE(search.matches("Frigate", 70, 3));
    const EntrySearch mixed("7a");
    EXPECT_FALSE(mixed.matches("Frigate", 7, 3));
    EXPECT_TRUE(mixed.matches("Type 7A", 1, 3));
}

TEST(EntrySearch, AnEmptyTextFindsEveryEntry) {
    EXPECT_TRUE(EntrySearch("").matches("", 1, 3));
    EXPECT_TRUE(EntrySearch().empty());
}

TEST(EntrySearch, ATextTypedOnNarrowsTheOneBeforeIt) {
    EXPECT_TRUE(EntrySearch("obje").narrows(EntrySearch("obj")));
    EXPECT_TRUE(EntrySearch("72").narrows(EntrySearch("7")));
    EXPECT_FALSE(EntrySearch("obj").narrows(EntrySearch("obje")));
    EXPECT_TRUE(EntrySearch("7").narrows(EntrySearch()));
}

} // namespace
} // namespace keel
