// SPDX-License-Identifier: MIT
// An exchange file of fixed-size records (objects, launchers or 3D objects) imported into an
// editor's table that holds records already, and the table then sorted and committed.
//
// Input: one control byte, then the exchange file. The control byte's value modulo 3 chooses
// the kind of record; bit 2 has the table read its records in the master buffer rather than
// hold a copy; bit 3 imports through the editor's import rather than its merge; bit 4 sorts
// the records afterwards.
#include "editor/RecordTable.h"
#include "fuzz/FuzzCheck.h"
#include "launchers/LauncherRecord.h"
#include "objects/ObjectRecord.h"
#include "threed/ThreeDRecord.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

namespace {

using namespace keel;

constexpr std::size_t nameWidth = 20; // the name opens the record in all three formats
constexpr std::size_t recordSizes[] = {ObjectRecord::Size, LauncherRecord::Size,
                                       ThreeDRecord::Size};

std::string nameOf(ConstByteSpan record) {
    std::string name;
    for (std::size_t i = 0; i < nameWidth && record[i] != 0; ++i) {
        name.push_back(static_cast<char>(record[i]));
    }
    return name;
}

std::string upperCased(std::string name) {
    for (char& c : name) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return name;
}

// The records the editor holds: two names equal but for letter case, a record without a name,
// a name that fills its field with no terminator, each record's other bytes its own.
std::vector<ByteVector> startingRecords(std::size_t recordSize) {
    const std::string names[] = {"Pike SSK", "Halberd DDG",          "pike ssk",
                                 "",         "ABCDEFGHIJKLMNOPQRST", "New Record"};
    std::vector<ByteVector> records;
    for (const std::string& name : names) {
        ByteVector record(recordSize, static_cast<Byte>(0x41 + records.size()));
        std::copy(name.begin(), name.end(), record.begin());
        if (name.size() < nameWidth) {
            record[name.size()] = 0;
        }
        records.push_back(std::move(record));
    }
    return records;
}

ByteVector joined(const std::vector<ByteVector>& records) {
    ByteVector bytes;
    for (const ByteVector& record : records) {
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    keel::fuzz::InputSplitter input(data, size);
    const std::uint8_t control = input.byte();
    const std::size_t recordSize = recordSizes[control % 3];
    const bool shared = (control & 0x04) != 0;
    const bool throughImport = (control & 0x08) != 0;
    const bool sorted = (control & 0x10) != 0;
    const ConstByteSpan exchange = input.rest();

    // The master buffer ends in part of a record, which no record holds.
    const std::vector<ByteVector> starting = startingRecords(recordSize);
    ByteVector master = joined(starting);
    master.resize(master.size() + recordSize / 2, 0xEE);
    const ByteVector masterAsLoaded = master;

    RecordTable table(recordSize, TextFieldSpec{0, nameWidth});
    if (shared) {
        table.takeFrom(master);
    } else {
        table.assign(master);
    }

    // Every earlier record whose name matches, case aside, takes the imported bytes, the last
    // imported one winning; the rest are appended in file order; a partial record is ignored.
    std::vector<ByteVector> expected = starting;
    std::vector<std::string> names;
    std::size_t replacing = 0;
    for (std::size_t at = 0; at + recordSize <= exchange.size(); at += recordSize) {
        const ConstByteSpan record = exchange.subspan(at, recordSize);
        names.push_back(nameOf(record));
        bool matched = false;
        for (std::size_t i = 0; i < starting.size(); ++i) {
            if (upperCased(nameOf(starting[i])) == upperCased(nameOf(record))) {
                expected[i].assign(record.begin(), record.end());
                matched = true;
            }
        }
        replacing += matched ? 1 : 0;
        if (!matched) {
            expected.emplace_back(record.begin(), record.end());
        }
    }

    if (throughImport) {
        const RecordCollection::ImportReport report = table.import(exchange);
        KEEL_FUZZ_CHECK(report.names == names);
        KEEL_FUZZ_CHECK(report.problem.empty());
    } else {
        const RecordTable::MergeReport report = table.merge(exchange);
        KEEL_FUZZ_CHECK(report.names == names);
        KEEL_FUZZ_CHECK(report.replacing == replacing);
        KEEL_FUZZ_CHECK(report.added == names.size() - replacing);
    }
    KEEL_FUZZ_CHECK(master == masterAsLoaded);
    KEEL_FUZZ_CHECK(table.count() == expected.size());
    KEEL_FUZZ_CHECK(table.fileBytes() == joined(expected));
    for (std::size_t i = 0; i < table.count(); ++i) {
        KEEL_FUZZ_CHECK(table.nameText(i) == nameOf(expected[i]));
    }

    if (sorted) {
        // A permutation that puts the names in order, a-z compared as A-Z and byte by byte.
        const std::vector<std::size_t> order = table.sortByName();
        KEEL_FUZZ_CHECK(master == masterAsLoaded);
        KEEL_FUZZ_CHECK(order.size() == expected.size());
        std::vector<std::size_t> seen = order;
        std::sort(seen.begin(), seen.end());
        std::vector<std::size_t> all(expected.size());
        std::iota(all.begin(), all.end(), std::size_t{0});
        KEEL_FUZZ_CHECK(seen == all);
        std::vector<ByteVector> sortedRecords;
        for (std::size_t i = 0; i < order.size(); ++i) {
            sortedRecords.push_back(expected[order[i]]);
            if (i > 0) {
                const std::string before = upperCased(nameOf(expected[order[i - 1]]));
                const std::string after = upperCased(nameOf(expected[order[i]]));
                KEEL_FUZZ_CHECK(before <= after); // char_traits<char> compares as unsigned
            }
        }
        KEEL_FUZZ_CHECK(table.fileBytes() == joined(sortedRecords));
        expected = std::move(sortedRecords);
    }

    // The master takes the working copy at the commit, less the partial record.
    table.commitTo(master);
    KEEL_FUZZ_CHECK(master == joined(expected));
    KEEL_FUZZ_CHECK(table.fileBytes() == master);
    return 0;
}
