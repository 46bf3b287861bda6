// SPDX-License-Identifier: MIT
// Any bytes as a file of any kind, through its text forms and back: the first byte picks the
// kind, the rest is the file. Exported as CSV (where the kind has that form) and as JSON, and
// imported again, the file must be the same bytes; a text that does not import is a fault.
#include "fuzz/FuzzCheck.h"
#include "text/CsvText.h"
#include "text/JsonText.h"

#include <string>

namespace {

using namespace keel;

void checkRoundTrip(const LosslessFile& file, ConstByteSpan bytes, bool json) {
    const std::string text = json ? jsonTextOf(file, false) : csvTextOf(file, false);
    const ImportSource source{file.kind, json ? "fuzz.json" : "fuzz.csv", nullptr};
    const ImportResult imported = json ? fileOfJsonText(text, source) : fileOfCsvText(text, source);
    if (!imported.ok()) {
        std::fprintf(stderr, "%s\n", imported.problems.lines().front().c_str());
    }
    KEEL_FUZZ_CHECK(imported.ok());
    const ByteVector written = writeLosslessFile(imported.file);
    KEEL_FUZZ_CHECK(written.size() == bytes.size() && std::equal(written.begin(), written.end(), bytes.begin()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::InputSplitter input(data, size);
    const RecordKindInfo& kind = recordKinds()[input.byte() % recordKinds().size()];
    const ConstByteSpan bytes = input.rest();
    const LosslessFile file = readLosslessFile(kind.kind, bytes);
    const ByteVector written = writeLosslessFile(file);
    KEEL_FUZZ_CHECK(written.size() == bytes.size() && std::equal(written.begin(), written.end(), bytes.begin()));
    if (!kind.counted) {
        checkRoundTrip(file, bytes, false);
    }
    checkRoundTrip(file, bytes, true);
    return 0;
}
