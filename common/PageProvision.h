// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>

namespace keel {

// Has the system provide the pages of [start, end) now, in one call, rather than one page fault
// at a time as they are first written; what they hold is left as it is. Memory new to a process
// otherwise costs a fault per 4 KiB page on first touch, which on a virtual machine is dear.
// Only a saving: where the system cannot, the pages come on first touch as usual.
void providePages(void* start, void* end) noexcept;

// Asks for the pages of [start, end), not yet touched, to come in huge pages (2 MiB on x86-64)
// where the system offers them on request, as Debian's kernels do. Each huge page costs one fault
// and one walk of the translation tables where 4 KiB pages cost 512; reading a file of hundreds of
// megabytes into such memory on a virtual machine takes a fraction of the time. Only a saving:
// the bytes are the same either way.
void preferHugePages(void* start, void* end) noexcept;
// As providePages, with the range shared among the processors for a range large enough: the
// system clears every page it provides, and a new page is dear on a virtual machine.
void providePagesAcrossProcessors(void* start, void* end);

// The size from which a buffer is worth asking huge pages for.
inline constexpr std::size_t hugePageWorthy = std::size_t{4} << 20;

} // namespace keel
