// SPDX-License-Identifier: MIT
#pragma once

namespace keel {

// Has the system provide the pages of [start, end) now, in one call, rather than one page fault
// at a time as they are first written; what they hold is left as it is. Memory new to a process
// otherwise costs a fault per 4 KiB page on first touch, which on a virtual machine is dear.
// Only a saving: where the system cannot, the pages come on first touch as usual.
void providePages(void* start, void* end) noexcept;

} // namespace keel
