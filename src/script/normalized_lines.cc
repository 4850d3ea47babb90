#include "script/normalized_lines.h"

#include <limits>
#include <new>

#include "platform/large_pages.h"

void normalized_lines::resize(size_t n) {
  reserve_text(n, 0);
  for (size_t i = 0; i < n; ++i) set(i, 0, 0);
}

void normalized_lines::reserve_text(size_t n, size_t bytes) {
  if (bytes > std::numeric_limits<uint32_t>::max()) throw std::bad_alloc();
  slots_ = std::make_unique_for_overwrite<slot[]>(n);
  platform::prefer_large_pages(slots_.get(), n * sizeof(slot));
  size_ = n;
  block_.reset();
  text_ = "";
  if (bytes > 0) {
    block_ = std::make_unique_for_overwrite<char[]>(bytes);
    platform::prefer_large_pages(block_.get(), bytes);
    text_ = block_.get();
  }
}
