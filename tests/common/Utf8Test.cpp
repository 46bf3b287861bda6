// SPDX-License-Identifier: MIT
#include "common/Utf8.h"
#include "support/Json.h"

#include <gtest/gtest.h>

#include <random>

using namespace keel;

TEST(WellFormedUtf8, KeepsWhatIsWellFormedAndReplacesEachByteThatIsNot) {
    const std::string good = "Caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x9A\xA2 \xF4\x8F\xBF\xBF";
    EXPECT_EQ(wellFormedUtf8(good), good);
    const std::string replacement = "\xEF\xBF\xBD";
    EXPECT_EQ(wellFormedUtf8("set\xFF"), "set" + replacement);
    EXPECT_EQ(wellFormedUtf8("\xC0\xAF"), replacement + replacement) << "an overlong form";
    EXPECT_EQ(wellFormedUtf8("\xED\xA0\x80"), replacement + replacement + replacement) << "a surrogate";
    EXPECT_EQ(wellFormedUtf8("\xF4\x90\x80\x80"), replacement + replacement + replacement + replacement)
        << "beyond U+10FFFF";
    EXPECT_EQ(wellFormedUtf8("\xE2\x82"), replacement + replacement) << "cut short";
    EXPECT_EQ(wellFormedUtf8("\x80x"), replacement + "x") << "a stray continuation byte";
    for (const char* bad : {"set\xFF", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82", "\x80x"}) {
        EXPECT_FALSE(test::isWellFormedUtf8(bad)) << "the JSON library agrees: " << bad;
    }
}

// Against the JSON library's UTF-8 check: the result is always UTF-8, and text that already is
// comes back unchanged.
TEST(WellFormedUtf8, AgreesWithTheSystemsConverterOnRandomBytes) {
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> length(0, 12);
    // Mostly bytes that begin or continue sequences, so that well-formed ones turn up too.
    const std::string alphabet = "a\x7F\x80\x8F\x90\x9F\xA0\xBF\xC0\xC2\xDF\xE0\xE1\xED\xEF\xF0\xF4\xF5\xFF";
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    int wellFormedSeen = 0;
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        for (int n = length(random); n > 0; --n) {
            text += alphabet[pick(random)];
        }
        const std::string made = wellFormedUtf8(text);
        ASSERT_TRUE(test::isWellFormedUtf8(made)) << testing::PrintToString(text);
        if (test::isWellFormedUtf8(text)) {
            ++wellFormedSeen;
            ASSERT_EQ(made, text);
        }
    }
    EXPECT_GT(wellFormedSeen, 100);
}
