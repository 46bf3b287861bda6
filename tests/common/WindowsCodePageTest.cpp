// SPDX-License-Identifier: MIT
#include "common/WindowsCodePage.h"

#include <gtest/gtest.h>

#include <set>

using namespace keel;

// Every byte is a character of its own and comes back as itself, so that a name shown and
// stored again, or reported, is never another name.
TEST(WindowsCodePage, EveryByteIsOneCharacterAndBack) {
    std::set<char16_t> characters;
    for (int value = 0; value < 256; ++value) {
        const auto byte = static_cast<Byte>(value);
        const char16_t character = characterOfByte(byte);
        characters.insert(character);
        EXPECT_EQ(byteOfCharacter(character), byte) << value;
    }
    EXPECT_EQ(characters.size(), 256u);
    EXPECT_EQ(characterOfByte(0x80), u'\u20AC');
    EXPECT_EQ(characterOfByte(0x9F), u'\u0178');
    EXPECT_EQ(byteOfCharacter(u'\u0100'), std::nullopt);
    EXPECT_EQ(byteOfCharacter(u'\u20AD'), std::nullopt);
}

TEST(WindowsCodePage, ReportsAreUtf8) {
    EXPECT_EQ(utf8FromCodePage("Kr\xF6nung \x80 \x81"), "Kr\xC3\xB6nung \xE2\x82\xAC \xC2\x81");
    EXPECT_EQ(utf8FromCodePage(std::string_view("a\0b", 3)), std::string("a\0b", 3));
}
