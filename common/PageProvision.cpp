// SPDX-License-Identifier: MIT
#include "common/PageProvision.h"

#include <algorithm>
#include <cstdint>
#include <sys/mman.h>
#include <system_error>
#include <thread>
#include <vector>

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

void providePagesAcrossProcessors(void* start, void* end) {
    constexpr std::size_t worthAThread = std::size_t{32} << 20;
    auto* const first = static_cast<char*>(start);
    auto* const last = static_cast<char*>(end);
    const std::size_t size = last > first ? static_cast<std::size_t>(last - first) : 0;
    const std::size_t parts =
        std::clamp<std::size_t>(size / worthAThread, 1, std::max(1u, std::thread::hardware_concurrency()));
    // Parts of whole huge pages, so that no page is split between two threads.
    constexpr std::size_t huge = std::size_t{2} << 20;
    const std::size_t step = (size / parts + huge - 1) / huge * huge;
    std::vector<std::thread> helpers;
    char* from = first;
    try {
        for (std::size_t part = 1; part < parts && last - from > static_cast<std::ptrdiff_t>(step); ++part) {
            helpers.emplace_back([from, step] { providePages(from, from + step); });
            from += step;
        }
    } catch (const std::system_error&) {
        // No thread to be had: this one provides the rest.
    }
    providePages(from, last);
    for (std::thread& helper : helpers) {
        helper.join();
    }
}

void preferHugePages(void* start, void* end) noexcept {
#if defined(__linux__)
    // Only whole huge pages inside the range can be given; the system rounds inwards.
    constexpr std::uintptr_t page = 4096;
    const std::uintptr_t first = (reinterpret_cast<std::uintptr_t>(start) + page - 1) & ~(page - 1);
    const std::uintptr_t last = reinterpret_cast<std::uintptr_t>(end) & ~(page - 1);
    if (last > first) {
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    }
#else
    (void)start;
    (void)end;
#endif
}

} // namespace keel
