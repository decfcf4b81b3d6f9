#pragma once

#include <cstddef>

// Asks the kernel to back a large buffer, not yet written, with huge pages
// where it can: a 10 MB text then takes five page faults instead of 2,560,
// which on a virtual machine is most of what reading it costs. Only whole
// huge pages inside the buffer are advised; a smaller buffer is left alone,
// and a kernel that declines changes nothing.
void AdviseHugePages(const void* start, std::size_t length);
