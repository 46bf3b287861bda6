// SPDX-License-Identifier: MIT
// sensors.sdb and airstrip.adb read from any bytes, each input as both: only whole records
// count, and a name is the bytes up to its first zero within its 40-byte field, never more.
#include "fuzz/FuzzCheck.h"
#include "pickers/ListFiles.h"

#include <string>

namespace {

using namespace keel;

void checkList(NamedListFormat format, std::size_t recordSize, ConstByteSpan file) {
    const NamedList list(format, file);
    KEEL_FUZZ_CHECK(list.count() == file.size() / recordSize);
    for (std::size_t i = 0; i < list.count(); ++i) {
        std::string expected;
        for (std::size_t at = i * recordSize; at < i * recordSize + 40 && file[at] != 0; ++at) {
            expected.push_back(static_cast<char>(file[at]));
        }
        KEEL_FUZZ_CHECK(list.name(i) == expected);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ConstByteSpan file(data, size);
    checkList(sensorListFormat, 152, file);
    checkList(airstripListFormat, 116, file);
    return 0;
}
