// SPDX-License-Identifier: MIT
#include "common/FieldText.h"

#include "carriers/SbaRecords.h"
#include "launchers/LauncherRecord.h"
#include "nations/MissionRecords.h"
#include "objects/ObjectRecord.h"
#include "pickers/ListFiles.h"
#include "threed/ThreeDRecord.h"

#include <gtest/gtest.h>

#include <set>

namespace keel {
namespace {

const FieldInfo& objectField(std::string_view name) { return fieldNamed(objectFields, name); }

// Every table names each field once, and no editor limit lies beyond what its field stores.
TEST(FieldTables, NamesAreUniqueAndEditorLimitsFitTheStoredValues) {
    const std::vector<FieldTable> tables{objectFields,  launcherFields,     threeDFields,   nationFields,
                                         classFields,   platformFields,     carrierFields,  aircraftTypeFields,
                                         sensorFields,  airstripFields};
    for (FieldTable table : tables) {
        std::set<std::string_view> names;
        for (const FieldInfo& field : table) {
            SCOPED_TRACE(field.name);
            EXPECT_TRUE(names.insert(field.name).second);
            if (field.isWholeNumber()) {
                EXPECT_LE(field.storedMinimum(), field.lowest);
                EXPECT_LE(field.lowest, field.highest);
                EXPECT_LE(field.highest, field.storedMaximum());
            } else if (field.kind == FieldKind::Text) {
                EXPECT_LE(field.textLimit, field.storedTextLength());
            }
        }
    }
}

// What a field shows reads back to the same bytes, for every kind of value, the odd ones too.
TEST(FieldText, EveryValueReadsBackToTheSameBytes) {
    struct Case {
        std::string_view field;
        std::size_t index;
        ByteVector bytes; // the element's bytes as stored
        std::string_view shown;
    };
    const std::vector<Case> cases{
        {"MaxSpeed", 0, {0xF6, 0xFF}, "-10"},
        {"MinBurn", 0, {0xFF, 0xFF}, "65535"},
        {"MaxAlt", 0, {0x00, 0x00, 0x00, 0x80}, "-2147483648"},
        {"LauncherSlots", 29, {0x07, 0x00}, "7"},
        {"MisPri", 6, {0xFF}, "255"},
        {"targetCaps", 0, {0xE1}, "225"},
        {"SoundLevel", 0, {0xCD, 0xCC, 0xCC, 0x3D}, "0.1"},
        {"TurnRadius", 0, {0x00, 0x00, 0x00, 0x80}, "-0"},
        {"DragCoeff", 0, {0x00, 0x00, 0x80, 0x7F}, "inf"},
        {"DragCoeff", 0, {0x00, 0x00, 0xC0, 0x7F}, "nan"},
        {"DragCoeff", 0, {0x00, 0x00, 0xC0, 0xFF}, "-nan"},
        {"DragCoeff", 0, {0x01, 0x00, 0xA0, 0x7F}, "nan(0x7fa00001)"},
        {"DragCoeff", 0, {0x01, 0x00, 0x00, 0x00}, "1e-45"},
        {"DisplayName", 0, {'C', 0xE9, 0x80, 0}, "C\xC3\xA9\xE2\x82\xAC"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        const FieldInfo& field = objectField(c.field);
        ByteVector record(ObjectRecord::Size, 0x5A);
        std::copy(c.bytes.begin(), c.bytes.end(), record.begin() + static_cast<std::ptrdiff_t>(field.elementOffset(c.index)));
        EXPECT_EQ(fieldValueText(field, record, c.index), c.shown);

        ByteVector stored(ObjectRecord::Size, 0x5A);
        EXPECT_EQ(storeFieldValueText(field, stored, c.index, c.shown), std::nullopt);
        EXPECT_EQ(stored, record);
    }
}

// A text that fills its field without terminator is whole only where the caller allows it.
TEST(FieldText, AWholeFieldOfTextNeedsLeaveAndKeepsTheBytesAfterAShorterOne) {
    const FieldInfo& name = objectField("ObjectName");
    ByteVector record(ObjectRecord::Size, 0x5A);
    const std::string full(20, 'N');
    EXPECT_EQ(storeFieldValueText(name, record, 0, full), "\"" + full + "\" is longer than 19 characters");
    EXPECT_EQ(record, ByteVector(ObjectRecord::Size, 0x5A));
    EXPECT_EQ(storeFieldValueText(name, record, 0, full, TextRoom::WholeField), std::nullopt);
    EXPECT_EQ(fieldValueText(name, record), full);
    EXPECT_EQ(record[20], 0x5A);

    EXPECT_EQ(storeFieldValueText(name, record, 0, "Pike"), std::nullopt);
    EXPECT_EQ(fieldValueText(name, record), "Pike");
    EXPECT_EQ(record[5], 'N'); // after the terminator, as it was
}

TEST(FieldText, ValuesAFieldCannotHoldAreRefusedAndChangeNothing) {
    const std::vector<std::pair<std::pair<std::string_view, std::string_view>, std::string>> cases{
        {{"MaxSpeed", "40000"}, "\"40000\" is out of range -32768..32767"},
        {{"MaxSpeed", "99999999999999999999"}, "\"99999999999999999999\" is out of range -32768..32767"},
        {{"MinBurn", "-1"}, "\"-1\" is out of range 0..65535"},
        {{"MaxSpeed", "12kn"}, "\"12kn\" is not a whole number"},
        {{"MaxSpeed", ""}, "\"\" is not a whole number"},
        {{"MaxSpeed", "1.5"}, "\"1.5\" is not a whole number"},
        {{"SoundLevel", "loud"}, "\"loud\" is not a number"},
        {{"SoundLevel", "1e39"}, "\"1e39\" is out of range for a float"},
        {{"SoundLevel", "nan(0x7f800000)"}, "\"nan(0x7f800000)\" is not a number"}, // the bits of inf
        {{"SoundLevel", "nan(7)"}, "\"nan(7)\" is not a number"},
        {{"DisplayName", "\xC4\xA6\xC5\x81x\xC4\xA6"}, "\"\xC4\xA6\xC5\x81x\xC4\xA6\" holds \"\xC4\xA6\xC5\x81\", which the Windows-1252 code page lacks"},
        {{"DisplayName", "bad \xFF byte"}, "the text is not well-formed UTF-8"},
        {{"DisplayName", std::string_view("a\0b", 3)}, std::string("\"a\0b\" holds a zero character, which ends a text", 47)},
    };
    for (const auto& [input, message] : cases) {
        SCOPED_TRACE(input.second);
        ByteVector record(ObjectRecord::Size, 0x5A);
        EXPECT_EQ(storeFieldValueText(objectField(input.first), record, 0, input.second), message);
        EXPECT_EQ(record, ByteVector(ObjectRecord::Size, 0x5A));
    }
}

} // namespace
} // namespace keel
