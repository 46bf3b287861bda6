// SPDX-License-Identifier: MIT
// mission.db and the nation exchange files, which share its layout, read from any bytes.
#include "fuzz/CountedFormats.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    keel::fuzz::checkCountedFile<keel::fuzz::MissionFormat>(keel::ConstByteSpan(data, size));
    return 0;
}
