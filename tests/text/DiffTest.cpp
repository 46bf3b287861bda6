// SPDX-License-Identifier: MIT
// What diff tells of two files of one kind: the sample set's file against a copy with edits,
// each side written to bytes and read back as diff reads them.
#include "text/Diff.h"

#include "common/FieldText.h"
#include "nations/MissionRecords.h"
#include "text/DiffReport.h"
#include "text/LosslessFile.h"
#include "tools/SampleSet.h"

#include <functional>
#include <gtest/gtest.h>
#include <map>

namespace keel {
namespace {

class Lines : public DifferenceSink {
public:
    void add(const Difference& difference) override {
        lines.push_back(differenceLine(difference));
        fileLevelFallback = fileLevelFallback ||
                            (difference.record.empty() && difference.change == Change::OtherBytes);
    }
    std::vector<std::string> lines;
    bool fileLevelFallback = false;
};

const std::map<RecordKind, ByteVector>& sampleFiles() {
    static const std::map<RecordKind, ByteVector> files = [] {
        std::map<RecordKind, ByteVector> byKind;
        for (SampleFile& sample : buildSampleSet()) {
            for (const RecordKindInfo& kind : recordKinds()) {
                if (kind.file == sample.file) {
                    byKind[kind.kind] = std::move(sample.bytes);
                }
            }
        }
        return byKind;
    }();
    return files;
}

Lines diffOf(RecordKind kind, const ByteVector& a, const ByteVector& b) {
    Lines found;
    const std::size_t told = diffFiles(recordKind(kind).setFileName, kind, a, b, found);
    EXPECT_EQ(told, found.lines.size());
    return found;
}

// Sets a value of a record at `level` of its kind through the field tables.
void set(StoredRecord& record, RecordKind kind, std::size_t level, std::string_view field,
         std::string_view value, std::size_t element = 0) {
    const FieldInfo* info = findField(recordKind(kind).levels[level].fields, field);
    ASSERT_NE(info, nullptr) << field;
    const auto refused = storeFieldValueText(*info, record.bytes, element, value);
    ASSERT_FALSE(refused) << *refused;
}

struct Edit {
    const char* what;
    RecordKind kind;
    std::function<void(LosslessFile& a, LosslessFile& b)> edit;
    std::vector<std::string> lines;
};

TEST(Diff, TellsEachEditOnALineOfItsOwn) {
    using K = RecordKind;
    const auto both = [](LosslessFile& a, LosslessFile& b, auto&& edit) {
        edit(a);
        edit(b);
    };
    const Edit edits[] = {
        {"a field and an element of an array field",
         K::Objects,
         [](LosslessFile& a, LosslessFile& b) {
             for (LosslessFile* file : {&a, &b}) {
                 set(file->records[0], K::Objects, 0, "ObjectName", "Orca SSK");
                 set(file->records[0], K::Objects, 0, "MaxSpeed", file == &a ? "18" : "22");
                 set(file->records[0], K::Objects, 0, "LauncherSlots", file == &a ? "0" : "12", 2);
             }
         },
         {"objects.odb \"Orca SSK\" MaxSpeed: 18 -> 22",
          "objects.odb \"Orca SSK\" LauncherSlots[3]: 0 -> 12"}},
        {"a text of a record matched by its number",
         K::Launchers,
         [&](LosslessFile& a, LosslessFile& b) {
             both(a, b, [](LosslessFile& f) {
                 set(f.records[2], K::Launchers, 0, "LauncherName", "Mount Three");
             });
             set(a.records[2], K::Launchers, 0, "weap0", "Shell 127mm");
             set(b.records[2], K::Launchers, 0, "weap0", "Phantom \"Shell\"\\");
         },
         {"launcher.ldb 3 \"Mount Three\" weap0: \"Shell 127mm\" -> \"Phantom "
          "\\\"Shell\\\"\\\\\""}},
        {"nested records of a nation: a field, one gone, one new",
         K::Nations,
         [&](LosslessFile& a, LosslessFile& b) {
             both(a, b, [](LosslessFile& f) {
                 StoredRecord& nation = f.records[0];
                 set(nation, K::Nations, 0, "CountryName", "Norrland");
                 set(nation.children[0], K::Nations, 1, "ClassName", "Skua");
                 set(nation.children[1], K::Nations, 1, "ClassName", "Tern");
                 set(nation.children[0].children[1], K::Nations, 2, "Name", "Perch");
             });
             set(a.records[0].children[0].children[1], K::Nations, 2, "HullNum", "12");
             set(b.records[0].children[0].children[1], K::Nations, 2, "HullNum", "14");
             b.records[0].children.erase(b.records[0].children.begin() + 1);
             b.records[0].children[0].children.push_back(b.records[0].children[0].children[0]);
             set(b.records[0].children[0].children.back(), K::Nations, 2, "Name", "Roach");
         },
         {"mission.db \"Norrland\" class \"Skua\" platform \"Perch\" HullNum: 12 -> 14",
          "mission.db \"Norrland\" class \"Skua\" platform \"Roach\" only in B",
          "mission.db \"Norrland\" class \"Tern\" only in A"}},
        {"a carrier named by its nation and ship class",
         K::Carriers,
         [&](LosslessFile& a, LosslessFile& b) {
             both(a, b, [](LosslessFile& f) {
                 set(f.records[0], K::Carriers, 0, "Country", "Norrland");
                 set(f.records[0], K::Carriers, 0, "ObjectName", "Skua CV");
                 set(f.records[0].children[0], K::Carriers, 1, "TagName", "Gannet");
             });
             set(a.records[0].children[0], K::Carriers, 1, "Num", "4");
             set(b.records[0].children[0], K::Carriers, 1, "Num", "6");
         },
         {"shipbasedaircraft.db \"Norrland\" carrier \"Skua CV\" aircraft type \"Gannet\" Num: 4 "
          "-> 6"}},
        {"names held more than once pair up in order",
         K::Objects,
         [&](LosslessFile& a, LosslessFile& b) {
             both(a, b, [](LosslessFile& f) {
                 set(f.records[0], K::Objects, 0, "ObjectName", "Twin");
                 set(f.records[1], K::Objects, 0, "ObjectName", "Twin");
                 set(f.records[1], K::Objects, 0, "MaxSpeed", "18");
                 set(f.records[2], K::Objects, 0, "ObjectName", "Gone");
             });
             set(b.records[1], K::Objects, 0, "MaxSpeed", "22");
             b.records.erase(b.records.begin() + 2);
             b.records.push_back(b.records[0]);
         },
         {"objects.odb \"Twin\" #2 MaxSpeed: 18 -> 22", "objects.odb \"Gone\" only in A",
          "objects.odb \"Twin\" #3 only in B"}},
        {"bytes no value shows, and a move",
         K::ThreeDObjects,
         [&](LosslessFile& a, LosslessFile& b) {
             both(a, b, [](LosslessFile& f) {
                 set(f.records[0], K::ThreeDObjects, 0, "Name", "First");
                 set(f.records[1], K::ThreeDObjects, 0, "Name", "Second");
                 set(f.records[2], K::ThreeDObjects, 0, "Name", "Third");
             });
             std::swap(b.records[0], b.records[1]);
             b.records[2].bytes[10] ^= 1;    // after the terminator of "Third"
             b.records[2].bytes.back() ^= 1; // a byte of presentation no field shows
         },
         {"3dobjects.3db \"First\" moved: 1 -> 2", "3dobjects.3db \"Third\" other bytes differ"}},
        {"a damaged counted file",
         K::Nations,
         [&](LosslessFile& a, LosslessFile& b) {
             both(a, b, [](LosslessFile& f) {
                 set(f.records[1], K::Nations, 0, "CountryName", "Vestmark");
             });
             b.storedCount = 7;
             b.trailing = {1, 2, 3};
             b.records[1].bytes[NationRecord::Size - 1] ^= 1; // the reserved link slot
         },
         {"mission.db \"Vestmark\" other bytes differ", "mission.db: stored count: 3 -> 7",
          "mission.db: bytes after the last whole record differ (0 in A, 3 in B)"}},
        {"a record beyond the other file's end",
         K::Airstrips,
         [&](LosslessFile& a, LosslessFile& b) {
             both(a, b, [](LosslessFile& f) { f.records.resize(2); });
             b.records.push_back(b.records[0]);
             set(b.records[2], K::Airstrips, 0, "Name", "Strip C");
         },
         {"airstrip.adb 3 \"Strip C\" only in B"}},
    };
    for (const Edit& edit : edits) {
        LosslessFile a = readLosslessFile(edit.kind, sampleFiles().at(edit.kind));
        LosslessFile b = a;
        edit.edit(a, b);
        EXPECT_EQ(diffOf(edit.kind, writeLosslessFile(a), writeLosslessFile(b)).lines, edit.lines)
            << edit.what;
        EXPECT_TRUE(diffOf(edit.kind, writeLosslessFile(b), writeLosslessFile(b)).lines.empty());
    }
}

// Whatever byte of a file's first records changes, diff tells it as a difference of a record
// or of the file's count or trailing bytes: none is left to the last check that the files'
// bytes are equal.
TEST(Diff, EveryChangedByteIsToldWhereItLies) {
    for (const RecordKindInfo& kind : recordKinds()) {
        const ByteVector& a = sampleFiles().at(kind.kind);
        for (std::size_t at = 0; at < std::min<std::size_t>(a.size(), 1200); ++at) {
            ByteVector b = a;
            b[at] ^= 0x41;
            const Lines found = diffOf(kind.kind, a, b);
            ASSERT_FALSE(found.lines.empty()) << kind.name << " byte " << at;
            ASSERT_FALSE(found.fileLevelFallback) << kind.name << " byte " << at;
        }
    }
}

} // namespace
} // namespace keel
