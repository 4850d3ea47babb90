// Handing the memory a run freed back to the system, where the allocator can.
#include "platform/free_memory.h"

#include <cstdlib>  // defines __GLIBC__ where the C library is glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace platform {

void return_free_memory() {
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
}

void give_back_large_blocks() {
#if defined(__GLIBC__)
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
}

}  // namespace platform
