// The normalized copy of a script, which every dead-code pass reads whole.
// The text of all its lines lies in one block, in line order, and a line is
// its place in the block and its length: half the room of a view, and a
// script of a million lines spends that room once more for each table. The
// copy is written once, each half of its lines by its own thread; after
// that, lines are only emptied.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

class normalized_lines {
 public:
  size_t size() const { return size_; }
  std::string_view operator[](size_t i) const {
    const slot s = slots_[i];
    return {text_ + s.offset, s.length};
  }
  // Line i becomes empty.
  void clear(size_t i) { slots_[i].length = 0; }
  // n lines, every one empty, and no text.
  void resize(size_t n);

  // Room for n lines, and for `bytes` bytes of text in all, which text_at
  // gives out. Every line must then be set before it is read. Throws
  // std::bad_alloc for a text too large for a line's place to be told in
  // 32 bits.
  void reserve_text(size_t n, size_t bytes);
  char* text_at(size_t offset) { return block_.get() + offset; }
  // Line i becomes the `length` bytes at `offset`, written through text_at.
  // Lines are set from as many threads as like, each setting its own.
  void set(size_t i, size_t offset, size_t length) {
    slots_[i] = {static_cast<uint32_t>(offset), static_cast<uint32_t>(length)};
  }

 private:
  struct slot {
    uint32_t offset;
    uint32_t length;
  };
  std::unique_ptr<slot[]> slots_;
  size_t size_ = 0;
  std::unique_ptr<char[]> block_;
  // The start of the block; a byte that is never read while there is none.
  const char* text_ = "";
};
