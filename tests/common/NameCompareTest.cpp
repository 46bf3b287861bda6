// SPDX-License-Identifier: MIT
#include "common/NameCompare.h"

#include <gtest/gtest.h>

#include <string>

namespace keel {
namespace {

ByteVector name(std::string_view text) { return ByteVector(text.begin(), text.end()); }

TEST(EditorNameComparison, FoldsLowerToUpperAndComparesBytesUnsigned) {
    EXPECT_TRUE(equalEditorNames(name("Frigate"), name("FRIGATE")));
    EXPECT_FALSE(equalEditorNames(name("Frigate"), name("Frigate2")));
    // Only a-z fold: an accented letter is not its capital.
    EXPECT_FALSE(equalEditorNames(name("\xE9"), name("\xC9")));
    // The underscore (95) sorts after every upper-cased letter, digits before them.
    EXPECT_LT(compareEditorNames(name("ZULU"), name("_X")), 0);
    EXPECT_LT(compareEditorNames(name("9"), name("a")), 0);
    // Bytes above 127 sort after ASCII, as unsigned numbers.
    EXPECT_GT(compareEditorNames(name("\xE9"), name("z")), 0);
    // A name sorts before every longer name that begins with it.
    EXPECT_LT(compareEditorNames(name("MK"), name("mk48")), 0);
    EXPECT_GT(compareEditorNames(name("mk48"), name("MK")), 0);
}

TEST(MergeNameComparison, FoldsUpperToLowerSoTheCharactersBetweenSortOtherwise) {
    EXPECT_EQ(compareMergeNames(name("alpha"), name("ALPHA")), 0);
    // '_' is 95: below 'a' (97) once letters fold down, above 'Z' (90) once they fold up.
    EXPECT_GT(compareMergeNames(name("Z"), name("_")), 0);
    EXPECT_LT(compareEditorNames(name("Z"), name("_")), 0);
    EXPECT_LT(compareMergeNames(name(""), name("A")), 0);
}

TEST(NameComparison, StopsAtTheTerminatorOrTheEndOfTheField) {
    // Bytes after a terminator carry no meaning.
    EXPECT_EQ(compareEditorNames(name(std::string_view("SUB\0xyz", 7)), name("sub")), 0);
    EXPECT_EQ(compareMergeNames(name(std::string_view("SUB\0xyz", 7)), name(std::string_view("SUB\0abc", 7))), 0);
    // A name that fills its field is compared within the span it is given, never past it.
    const ByteVector record = name("ABCDEFGHIJ");
    EXPECT_EQ(compareEditorNames(ConstByteSpan(record).first(4), name("abcd")), 0);
    EXPECT_LT(compareMergeNames(ConstByteSpan(record).first(4), name("ABCDE")), 0);
}

TEST(NameComparison, TheEditorKeyIsEqualExactlyWhenTheNamesAre) {
    const std::string names[] = {"Frigate", "FRIGATE", "frigatE", "Frigate2", "_x", "\xE9", "\xC9"};
    for (const std::string& a : names) {
        for (const std::string& b : names) {
            EXPECT_EQ(editorNameKey(name(a)) == editorNameKey(name(b)),
                      equalEditorNames(name(a), name(b)))
                << a << " / " << b;
        }
    }
    EXPECT_EQ(editorNameKey(name(std::string_view("mk\0zz", 5))), "MK");
}

} // namespace
} // namespace keel
