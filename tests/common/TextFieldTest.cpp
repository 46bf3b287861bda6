// SPDX-License-Identifier: MIT
#include "common/TextField.h"

#include <gtest/gtest.h>

namespace keel {
namespace {

ByteVector bytesOf(std::string_view text) { return ByteVector(text.begin(), text.end()); }

TEST(TextField, ReadsUpToTheFirstZeroAndNeverBeyondTheField) {
    EXPECT_EQ(readText(bytesOf(std::string_view("Frigate\0old", 11))), "Frigate");
    EXPECT_EQ(readText(bytesOf(std::string_view("\0abc", 4))), "");
    // No terminator: the text is the whole field, and the byte after the field is not read.
    const ByteVector record = bytesOf("ABCDEFGHIJ");
    EXPECT_EQ(readText(ConstByteSpan(record).first(4)), "ABCD");
    // Bytes above 127 are text in the code page, kept as they are.
    EXPECT_EQ(readText(ByteVector{0xC9, 0x6C, 0xE9, 0x00}), "\xC9l\xE9");
}

TEST(TextField, WritingKeepsTheBytesAfterTheTerminator) {
    ByteVector field = bytesOf(std::string_view("Destroyer\0xy", 12));
    EXPECT_TRUE(writeText(field, "Sub", TextOverflow::Refuse));
    EXPECT_EQ(field, bytesOf(std::string_view("Sub\0royer\0xy", 12)));
    EXPECT_EQ(readText(field), "Sub");

    EXPECT_TRUE(writeText(field, "", TextOverflow::Refuse));
    EXPECT_EQ(field[0], 0);
    EXPECT_EQ(field[1], 'u');
}

TEST(TextField, TextThatDoesNotFitIsRefusedOrCutNeverSpilled) {
    // A six-byte field inside a larger buffer: the byte after it must never change.
    ByteVector buffer(8, 0xEE);
    const ByteSpan field = ByteSpan(buffer).subspan(1, 6);

    EXPECT_TRUE(writeText(field, "ABCDE", TextOverflow::Refuse)); // width - 1 fits exactly
    EXPECT_EQ(buffer, (ByteVector{0xEE, 'A', 'B', 'C', 'D', 'E', 0, 0xEE}));

    EXPECT_FALSE(writeText(field, "VWXYZ!", TextOverflow::Refuse));
    EXPECT_EQ(buffer, (ByteVector{0xEE, 'A', 'B', 'C', 'D', 'E', 0, 0xEE}));

    EXPECT_FALSE(writeText(field, "abcdefghij", TextOverflow::Cut));
    EXPECT_EQ(buffer, (ByteVector{0xEE, 'a', 'b', 'c', 'd', 'e', 0, 0xEE}));
}

TEST(TextField, AZeroInsideTheTextEndsIt) {
    ByteVector field(6, 0xEE);
    EXPECT_FALSE(writeText(field, std::string_view("AB\0CD", 5), TextOverflow::Refuse));
    EXPECT_EQ(field, ByteVector(6, 0xEE));
    EXPECT_FALSE(writeText(field, std::string_view("AB\0CD", 5), TextOverflow::Cut));
    EXPECT_EQ(field, (ByteVector{'A', 'B', 0, 0xEE, 0xEE, 0xEE}));
}

} // namespace
} // namespace keel
