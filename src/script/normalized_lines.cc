// Sizing the normalized copy and the room for its text.
#include "script/normalized_lines.h"

#include <new>

#include "platform/large_pages.h"

void normalized_lines::resize(size_t n) {
  reserve_text(n, 0);
  for (size_t i = 0; i < n; ++i) set(i, 0, 0);
}

void normalized_lines::reserve_text(size_t n, size_t bytes) {
  if (bytes >= kEmptied) throw std::bad_alloc();
  ends_ = std::make_unique_for_overwrite<uint32_t[]>(n);
  platform::prefer_large_pages(ends_.get(), n * sizeof(uint32_t));
  size_ = n;
  part_ = SIZE_MAX;
  part_begin_ = 0;
  block_.reset();
  text_ = "";
  if (bytes > 0) {
    block_ = std::make_unique_for_overwrite<char[]>(bytes);
    platform::prefer_large_pages(block_.get(), bytes);
    text_ = block_.get();
  }
}
