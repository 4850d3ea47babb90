// Asking the system for large pages, where it offers them.
#include "platform/large_pages.h"

#include <cstdint>

#ifndef _WIN32
#include <sys/mman.h>
#endif

namespace platform {

void prefer_large_pages([[maybe_unused]] const void* data, [[maybe_unused]] size_t size) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  // Only whole large pages inside the range can be large: the advice goes
  // to them alone, so nothing outside the range is touched.
  constexpr uintptr_t kLarge = uintptr_t{2} << 20;
  const auto begin = reinterpret_cast<uintptr_t>(data);
  const uintptr_t first = (begin + kLarge - 1) & ~(kLarge - 1);
  const uintptr_t last = (begin + size) & ~(kLarge - 1);
  if (size < kLarge || first >= last) return;
  madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#endif
  // Windows gives large pages only to accounts with a privilege that
  // users rarely hold; small pages it is.
}

}  // namespace platform
