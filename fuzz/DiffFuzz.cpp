// SPDX-License-Identifier: MIT
// Two files of one kind through diff: a file is equal to itself; two files are told to differ
// exactly when their bytes do, every difference where it lies (a record, the count, the bytes
// beyond the records) rather than by the last check of the files' bytes; every line of the
// text report is one line; the JSON report is JSON that lists every difference.
//
// Input: a byte that picks the kind (in the order of recordKinds()), the 16-bit little-endian
// length of file A, A, then file B.
#include "fuzz/FuzzCheck.h"
#include "support/Json.h"
#include "text/Diff.h"
#include "text/DiffReport.h"

#include <sstream>
#include <string>

namespace {

using namespace keel;

class CheckedLines : public DifferenceSink {
public:
    void add(const Difference& difference) override {
        KEEL_FUZZ_CHECK(!(difference.record.empty() && difference.change == Change::OtherBytes));
        for (char c : differenceLine(difference)) {
            KEEL_FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
        }
        json.add(difference);
        ++told;
    }
    JsonDiffReport json;
    std::size_t told = 0;
};

std::size_t differencesBetween(RecordKind kind, ConstByteSpan a, ConstByteSpan b) {
    CheckedLines lines;
    KEEL_FUZZ_CHECK(diffFiles("fuzz", kind, a, b, lines) == lines.told);
    std::ostringstream out;
    lines.json.write("a", "b", out);
    try {
        const test::JsonDocument report = test::parseJson(out.str());
        KEEL_FUZZ_CHECK(report.at("differences").size() == lines.told);
        KEEL_FUZZ_CHECK(report.at("equal").get<bool>() == (lines.told == 0));
    } catch (const std::exception&) {
        fuzz::propertyBroken("the JSON report is JSON", __FILE__, __LINE__);
    }
    return lines.told;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::InputSplitter input(data, size);
    const RecordKind kind = recordKinds()[input.byte() % recordKinds().size()].kind;
    const ConstByteSpan a = input.piece(input.uint16());
    const ConstByteSpan b = input.rest();
    KEEL_FUZZ_CHECK(differencesBetween(kind, a, a) == 0);
    const bool same = a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
    KEEL_FUZZ_CHECK((differencesBetween(kind, a, b) == 0) == same);
    return 0;
}
