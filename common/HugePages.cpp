#include "common/HugePages.h"

#include <cstdint>
#include <sys/mman.h>

namespace keel {

void adviseHugePages(void* start, std::size_t length) noexcept {
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t hugePage = std::uintptr_t{2} << 20;
    const auto begin = reinterpret_cast<std::uintptr_t>(start);
    if (length < 2 * hugePage || begin > UINTPTR_MAX - length) {
        return;
    }
    const std::uintptr_t first = (begin + hugePage - 1) & ~(hugePage - 1);
    const std::uintptr_t last = (begin + length) & ~(hugePage - 1);
    if (last > first) {
        // The advice may be refused (no huge page support): the memory works the same.
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    }
#else
    (void)start;
    (void)length;
#endif
}

} // namespace keel
