// SPDX-License-Identifier: MIT
#include "common/PageProvision.h"

#include <cstdint>
#include <sys/mman.h>

namespace keel {

void providePages(void* start, void* end) noexcept {
#if defined(__linux__)
    constexpr int populateWrite = 23; // MADV_POPULATE_WRITE, Linux 5.14; refused by older ones
    constexpr std::uintptr_t page = 4096;
    // Every page the range touches: providing a page changes none of the bytes it holds.
    const std::uintptr_t first = reinterpret_cast<std::uintptr_t>(start) & ~(page - 1);
    const std::uintptr_t last = (reinterpret_cast<std::uintptr_t>(end) + page - 1) & ~(page - 1);
    if (last > first) {
        ::madvise(reinterpret_cast<void*>(first), last - first, populateWrite);
    }
#else
    (void)start;
    (void)end;
#endif
}

} // namespace keel
