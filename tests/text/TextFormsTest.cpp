// SPDX-License-Identifier: MIT
// The CSV and JSON forms of the seven kinds: every file back byte for byte, an edited value
// changing only its field, and bad texts refused with the line that says why.
#include "carriers/SbaRecords.h"
#include "nations/MissionRecords.h"
#include "objects/ObjectRecord.h"
#include "support/RecordBytes.h"
#include "text/CsvText.h"
#include "text/JsonText.h"
#include "tools/SampleSet.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <map>

namespace keel {
namespace {

enum class Form { Csv, Json, ReadableOnBase };

std::string textOf(const LosslessFile& file, Form form) {
    return form == Form::Csv ? csvTextOf(file, false) : jsonTextOf(file, form == Form::ReadableOnBase);
}

ImportResult fileOf(const std::string& text, Form form, RecordKind kind, const LosslessFile* base = nullptr) {
    const ImportSource source{kind, form == Form::Csv ? "t.csv" : "t.json", base};
    return form == Form::Csv ? fileOfCsvText(text, source) : fileOfJsonText(text, source);
}

ByteVector bytesOf(const std::string& text, Form form, RecordKind kind, const LosslessFile* base = nullptr) {
    const ImportResult result = fileOf(text, form, kind, base);
    EXPECT_TRUE(result.ok()) << (result.problems.any() ? result.problems.lines().front() : "");
    return writeLosslessFile(result.file);
}

// Bytes of every value from 0 to 255 over and over, so that texts lack terminators or hold
// bytes after them, floats are NaNs with payloads, and counts are anything.
ByteVector patterned(std::size_t size, unsigned seed) {
    ByteVector bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<Byte>(i * 37 + seed);
    }
    return bytes;
}

ByteVector withCount(std::int32_t count, ByteVector blocks) {
    blocks.insert(blocks.begin(), 4, 0);
    storeLittleEndian<std::int32_t>(blocks, count);
    return blocks;
}

std::map<RecordKind, ByteVector> sampleFiles() {
    std::map<RecordKind, ByteVector> files;
    for (SampleFile& sample : buildSampleSet()) {
        for (const RecordKindInfo& kind : recordKinds()) {
            if (kind.file == sample.file) {
                files[kind.kind] = std::move(sample.bytes);
            }
        }
    }
    return files;
}

struct Case {
    std::string what;
    RecordKind kind;
    ByteVector bytes;
};

std::vector<Case> roundTripCases() {
    std::vector<Case> cases;
    for (auto& [kind, bytes] : sampleFiles()) {
        const RecordKindInfo& info = recordKind(kind);
        cases.push_back({"the sample " + std::string(info.setFileName), kind, bytes});
        if (!info.counted) {
            // Whole records of any bytes and an incomplete last one.
            cases.push_back({"patterned " + std::string(info.name), kind, patterned(info.recordSize() * 3 + 7, 5)});
        }
    }
    ByteVector objects = test::concatenated({test::objectRecord("Pike SSK", 2)});
    std::fill_n(objects.begin(), 20, Byte{'W'}); // a name that fills its field
    ObjectRecord::DisplayName.write(objects, "Pike-class submarine", TextOverflow::Refuse);
    ObjectRecord::DisplayName.write(objects, "Pike", TextOverflow::Refuse); // bytes after the terminator
    ObjectRecord::SoundLevel.write(objects, std::bit_cast<float>(0xFFA00001u));
    ObjectRecord::DragCoeff.write(objects, -0.0f);
    ObjectRecord::TurnRadius.write(objects, -HUGE_VALF);
    cases.push_back({"texts without terminators and odd floats", RecordKind::Objects, objects});
    const ByteVector missions = sampleFiles()[RecordKind::Nations];
    cases.push_back({"nations cut short", RecordKind::Nations, ByteVector(missions.begin(), missions.end() - 9)});
    cases.push_back({"nations with bytes after them", RecordKind::Nations, withCount(0, patterned(300, 1))});
    cases.push_back({"a negative count", RecordKind::Carriers, withCount(-3, patterned(2000, 2))});
    cases.push_back({"too short for a count", RecordKind::Carriers, {7, 7}});
    cases.push_back({"no bytes", RecordKind::Nations, {}});
    cases.push_back({"patterned nations", RecordKind::Nations, withCount(1, patterned(5000, 0))});
    return cases;
}

TEST(TextForms, EveryFileComesBackByteForByteInBothForms) {
    for (const Case& c : roundTripCases()) {
        const LosslessFile file = readLosslessFile(c.kind, c.bytes);
        for (const Form form : {Form::Csv, Form::Json}) {
            if (form == Form::Csv && recordKind(c.kind).counted) {
                continue;
            }
            SCOPED_TRACE(c.what + (form == Form::Csv ? " as CSV" : " as JSON"));
            const std::string text = textOf(file, form);
            EXPECT_EQ(bytesOf(text, form, c.kind), c.bytes);
            EXPECT_EQ(textOf(fileOf(text, form, c.kind).file, form), text);
        }
        // The readable form takes what it leaves out from the file itself as the base.
        if (file.trailing.empty() && !file.storedCount && file.hasCount) {
            SCOPED_TRACE(c.what + " readable on its base");
            EXPECT_EQ(bytesOf(textOf(file, Form::ReadableOnBase), Form::Json, c.kind, &file), c.bytes);
        }
    }
}

// The text with one value changed: the cell of `column` in the row of record `row` (from 0)
// of a CSV text, or the member of that name of a JSON text's record at `path`.
std::string edited(std::string text, Form form, const std::string& column, std::size_t row, const std::string& value) {
    if (form == Form::Csv) {
        std::vector<std::size_t> lineStarts{0};
        for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) {
            lineStarts.push_back(at + 1);
        }
        const std::string header = text.substr(0, lineStarts[1]);
        const auto cellIndex = std::count(header.begin(), header.begin() + static_cast<std::ptrdiff_t>(
                                                                             header.find("," + column + ",") + 1), ',');
        std::size_t start = lineStarts[row + 1];
        for (long i = 0; i < cellIndex; ++i) {
            start = text.find(',', start) + 1;
        }
        return text.replace(start, text.find(',', start) - start, value);
    }
    const std::string member = "\"" + column + "\": ";
    std::size_t start = 0;
    for (std::size_t i = 0; i <= row; ++i) {
        start = text.find(member, start) + member.size();
    }
    return text.replace(start, text.find_first_of(",\n", start) - start, value);
}

TEST(TextForms, AnEditedValueChangesOnlyItsFieldsBytes) {
    struct Edit {
        RecordKind kind;
        Form form;
        std::string field;
        std::size_t row;
        std::string value;
        std::size_t offset; // of the field in the file
        std::size_t width;
    };
    const std::size_t platform = 4 + NationRecord::Size + ClassRecord::Size;
    const Edit edits[] = {
        {RecordKind::Objects, Form::Csv, "MaxSpeed", 2, "31", 2 * ObjectRecord::Size + 112, 2},
        {RecordKind::Objects, Form::Csv, "LauncherSlots[4]", 0, "-1", 124 + 6, 2},
        {RecordKind::Objects, Form::Json, "DisplayName", 1, "\"Dolphin\"", ObjectRecord::Size + 22, 40},
        {RecordKind::Launchers, Form::Csv, "characteristics", 1, "4097", 196 + 28, 2},
        {RecordKind::Nations, Form::Json, "HullNum", 0, "-1", platform + 512, 4},
        {RecordKind::Carriers, Form::Json, "Num", 0, "7", 4 + CarrierRecord::Size + 768, 4},
    };
    std::map<RecordKind, ByteVector> files = sampleFiles();
    for (const Edit& edit : edits) {
        SCOPED_TRACE(edit.field);
        const ByteVector& bytes = files[edit.kind];
        const std::string text = textOf(readLosslessFile(edit.kind, bytes), edit.form);
        const ByteVector changed = bytesOf(edited(text, edit.form, edit.field, edit.row, edit.value), edit.form, edit.kind);
        ASSERT_EQ(changed.size(), bytes.size());
        std::size_t differing = 0;
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (changed[i] != bytes[i]) {
                EXPECT_TRUE(i >= edit.offset && i < edit.offset + edit.width) << "byte " << i;
                ++differing;
            }
        }
        EXPECT_GT(differing, 0u);
    }
}

TEST(TextForms, BadTextsAreRefusedWithWhereAndWhy) {
    struct Bad {
        RecordKind kind;
        Form form;
        std::string text;
        std::vector<std::string> problems;
    };
    const std::string header = csvTextOf(readLosslessFile(RecordKind::Launchers, {}), false);
    const std::string row = csvTextOf(readLosslessFile(RecordKind::Launchers, ByteVector(196)), false).substr(header.size());
    const std::string sensor40 = std::string(40, 'S');
    const Bad bads[] = {
        {RecordKind::Launchers, Form::Csv, "", {"t.csv: the text holds no header row of field names"}},
        {RecordKind::Sensors, Form::Csv, "Name,Range,Name\n", {"t.csv:1: unknown column \"Range\" for sensors",
                                                                 "t.csv:1: the column \"Name\" is given twice"}},
        {RecordKind::Sensors, Form::Csv, "_rest\n", {"t.csv:1: the column \"Name\" is missing"}},
        {RecordKind::Sensors, Form::Csv, "Name,_rest\nA\n\n\"B\"x,\nC,1\n",
         {"t.csv:2: the row has 1 cells, the header 2",
          "t.csv:4: malformed CSV: a quote out of place (a quoted cell ends with its quote, and a quote within it is "
          "doubled)"}},
        {RecordKind::Sensors, Form::Csv, "Name,_rest\nA,0g\nB,123\n" + sensor40 + "x,\nC,\"" + std::string(306, '1') + "\"\n",
         {"t.csv:2: _rest: \"g\" is not a hexadecimal digit", "t.csv:3: _rest: an odd number of hexadecimal digits",
          "t.csv:4: Name: \"" + sensor40 + "x\" is longer than 40 characters",
          "t.csv:5: _rest: 153 bytes, more than the 152 of a record"}},
        {RecordKind::Sensors, Form::Csv, "Name\n" + sensor40 + "\nR\xC3\xA4\xE2\x82\xAC\xE2\x9C\x93\n",
         {"t.csv:2: Name: \"" + sensor40 + "\" is longer than 39 characters",
          "t.csv:3: Name: \"R\xC3\xA4\xE2\x82\xAC\xE2\x9C\x93\" holds \"\xE2\x9C\x93\", which the Windows-1252 code page lacks"}},
        {RecordKind::Sensors, Form::Csv, "Name,_rest\n,trailing:00\nA,\n",
         {"t.csv:3: a row follows the row of trailing bytes, which must be the last"}},
        {RecordKind::Launchers, Form::Csv, header + row + "\"" + row.substr(0, row.size() - 1),
         {"t.csv:3: malformed CSV: a quoted cell is not closed"}},
        {RecordKind::Launchers, Form::Csv, header + std::string(row).replace(row.find(",0,"), 3, ",40000,"),
         {"t.csv:2: tubes: \"40000\" is out of range -32768..32767"}},
        {RecordKind::Sensors, Form::Json, "{\"Name\": 1}", {"t.json: the text is no JSON array of sensor records"}},
        {RecordKind::Sensors, Form::Json, "[\n{\"Name\": \"A\",}\n]",
         {"t.json:2: malformed JSON: syntax error while parsing object key - unexpected '}'; expected string literal"}},
        {RecordKind::Sensors, Form::Json, "[3, {\"Name\": 5, \"Range\": 1}, {}, {\"_trailing\": \"\", \"_count\": 1}, {}]",
         {"t.json: sensor 1: is 3, not an object", "t.json: sensor 2: unknown member \"Range\" of a sensor",
          "t.json: sensor 2: Name: a text is needed, not 5", "t.json: sensor 3: the member \"Name\" is missing",
          "t.json: the object of trailing bytes (sensor 4): unknown member \"_count\"",
          "t.json: sensor 5: follows the object of trailing bytes, which must be the last"}},
        {RecordKind::Nations, Form::Json,
         "[{\"CountryName\": \"A\", \"classes\": [{\"ObjType\": 2, \"Class_TagName\": \"\", \"ClassName\": \"\", "
         "\"Designation\": \"ABCDEFGHIJ\", \"platforms\": [{\"Platform_TagName\": \"\", \"Name\": \"\", \"HullNum\": "
         "\"x\"}, {\"Platform_TagName\": \"\", \"Name\": \"\", \"HullNum\": 1.5, \"_rest\": 7}]}]}, {\"CountryName\": "
         "\"B\", \"classes\": 3}, {\"_trailing\": \"\", \"_count\": null}]",
         {"t.json: nation 1, class 1: Designation: \"ABCDEFGHIJ\" is longer than 9 characters",
          "t.json: nation 1, class 1, platform 1: HullNum: \"x\" is not a whole number",
          "t.json: nation 1, class 1, platform 2: _rest: a hexadecimal text is needed, not 7",
          "t.json: nation 1, class 1, platform 2: HullNum: \"1.5\" is not a whole number",
          "t.json: nation 2: classes: an array is needed, not 3",
          "t.json: the object of trailing bytes (nation 3): _count: a file without its count holds no records"}},
        {RecordKind::Sensors, Form::Json, "[{\"Name\": \"A\", \"Name\": \"B\"}, {\"Name\": 1e39}]",
         {"t.json: sensor 1: the member \"Name\" is given twice", "t.json: number overflow parsing '1e39'"}},
        {RecordKind::Objects, Form::Json, "[{\"_trailing\": \"" + std::string(568, 'a') + "\"}]",
         {"t.json: the object of trailing bytes (object 1): _trailing: trailing bytes are fewer than the 284 of a "
          "record, not 284"}},
    };
    for (const Bad& bad : bads) {
        SCOPED_TRACE(bad.text.substr(0, 80));
        const ImportResult result = fileOf(bad.text, bad.form, bad.kind);
        EXPECT_EQ(result.problems.lines(), bad.problems);
    }
}

TEST(TextForms, OnlyTheFirstProblemsAreToldAndAFullWidthTextNeedsItsRestOrBase) {
    std::string many = "Name\n";
    for (int i = 0; i < 50; ++i) {
        many += std::string(41, 'x') + "\n";
    }
    EXPECT_EQ(fileOf(many, Form::Csv, RecordKind::Airstrips).problems.lines().size(), ImportProblems::listed);

    ByteVector fullName(116, 0);
    std::fill_n(fullName.begin(), 40, Byte{'A'});
    const LosslessFile base = readLosslessFile(RecordKind::Airstrips, fullName);
    const std::string readable = "Name\n" + std::string(40, 'A') + "\n";
    EXPECT_FALSE(fileOf(readable, Form::Csv, RecordKind::Airstrips).ok());
    EXPECT_EQ(bytesOf(readable, Form::Csv, RecordKind::Airstrips, &base), fullName);
    EXPECT_EQ(bytesOf(readable.substr(0, 4) + ",_rest\n" + std::string(40, 'A') + ",\n", Form::Csv, RecordKind::Airstrips),
              fullName);
}

} // namespace
} // namespace keel
