// SPDX-License-Identifier: MIT
// shipbasedaircraft.db and the carrier exchange files, which share its layout, read from any
// bytes.
#include "fuzz/CountedFormats.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    keel::fuzz::checkCountedFile<keel::fuzz::CarrierFormat>(keel::ConstByteSpan(data, size));
    return 0;
}
