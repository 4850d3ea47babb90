// Large memory pages for the big tables of a run.

// A script of many megabytes fills tens of megabytes of fresh memory, and
// taking it in 4 KB pages, each cleared and mapped on first touch, costs more
// than some passes do; where the system offers 2 MB pages, asking for them
// saves most of that.
#pragma once

#include <cstddef>

namespace platform {

// Asks that the memory at [data, data + size), not touched yet, come in
// large pages where it can. Only advice: nothing changes if it is not
// taken, and small or unaligned parts keep small pages.
void prefer_large_pages(const void* data, size_t size);

}  // namespace platform
