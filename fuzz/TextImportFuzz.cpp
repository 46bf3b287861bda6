// SPDX-License-Identifier: MIT
// Any text imported as CSV or JSON of any kind: the first byte picks the kind and the form, the
// rest is the text. It is refused with the lines that say why, or it gives a file that
// exports and imports back to the same bytes.
#include "fuzz/FuzzCheck.h"
#include "text/CsvText.h"
#include "text/JsonText.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace {

using namespace keel;

ImportResult imported(std::string_view text, RecordKind kind, bool json) {
    const ImportSource source{kind, json ? "fuzz.json" : "fuzz.csv", nullptr};
    return json ? fileOfJsonText(text, source) : fileOfCsvText(text, source);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::InputSplitter input(data, size);
    const std::uint8_t control = input.byte();
    const RecordKindInfo& kind = recordKinds()[control % recordKinds().size()];
    const bool json = kind.counted || (control & 0x80) != 0;
    const ConstByteSpan rest = input.rest();
    const std::string_view text(reinterpret_cast<const char*>(rest.data()), rest.size());

    const ImportResult first = imported(text, kind.kind, json);
    if (!first.ok()) {
        const auto& lines = first.problems.lines();
        KEEL_FUZZ_CHECK(lines.size() <= ImportProblems::listed);
        KEEL_FUZZ_CHECK(std::all_of(lines.begin(), lines.end(), [json](const std::string& line) {
            return line.starts_with(json ? "fuzz.json" : "fuzz.csv");
        }));
        return 0;
    }
    const ByteVector bytes = writeLosslessFile(first.file);
    const LosslessFile file = readLosslessFile(kind.kind, bytes);
    const std::string again = json ? jsonTextOf(file, false) : csvTextOf(file, false);
    const ImportResult second = imported(again, kind.kind, json);
    KEEL_FUZZ_CHECK(second.ok());
    KEEL_FUZZ_CHECK(writeLosslessFile(second.file) == bytes);
    return 0;
}
