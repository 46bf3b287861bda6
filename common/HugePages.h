#pragma once

#include <cstddef>

namespace keel {

// Asks the kernel to back the whole 2 MiB pages inside [start, start + length) with huge pages,
// so that filling a buffer of many megabytes takes one page fault per 2 MiB rather than per
// 4 KiB. Only memory not yet touched benefits. Advice only: where the kernel does not give huge
// pages, nothing changes, and small buffers are left alone.
void adviseHugePages(void* start, std::size_t length) noexcept;

} // namespace keel
