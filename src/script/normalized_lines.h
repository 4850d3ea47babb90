// The normalized copy of a script, which every dead-code pass reads whole.

// The text of all its lines lies in one block, in line order, and a line is
// where its text ends: it begins where the line before it ends. A quarter of
// the room of a view, which a script of a million lines spends once more for
// each table. The copy is written once, in two parts, each by its own thread;
// after that, lines are only emptied.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

class normalized_lines {
 public:
  size_t size() const { return size_; }
  std::string_view operator[](size_t i) const {
    const uint32_t end = ends_[i];
    if ((end & kEmptied) != 0) return {text_, 0};
    const uint32_t begin = i == part_ ? part_begin_ : i == 0 ? 0 : ends_[i - 1] & ~kEmptied;
    return {text_ + begin, end - begin};
  }
  // Where the block that holds the text of every line begins; a line's
  // text stays in its place there when the line is emptied.
  const char* text_start() const { return text_; }
  // Line i becomes empty.
  void clear(size_t i) { ends_[i] |= kEmptied; }
  // n lines, every one empty, and no text.
  void resize(size_t n);

  // Room for n lines, and for `bytes` bytes of text in all, which text_at
  // gives out. Every line must then be set before it is read. Throws
  // std::bad_alloc for a text too large for a line's end to be told in
  // 31 bits.
  void reserve_text(size_t n, size_t bytes);
  // Line `first` and those after it are a second part of the text, which
  // begins at `offset`. Called before the lines are set.
  void begin_part(size_t first, size_t offset) {
    part_ = first;
    part_begin_ = static_cast<uint32_t>(offset);
  }
  char* text_at(size_t offset) { return block_.get() + offset; }
  // Line i becomes the `length` bytes at `offset`, written through text_at;
  // `offset` is where line i - 1 ends, or where the part that line i begins
  // begins. Lines are set from as many threads as there are parts, each
  // setting its own.
  void set(size_t i, size_t offset, size_t length) {
    ends_[i] = static_cast<uint32_t>(offset + length);
  }

 private:
  // A line that was emptied keeps its end, where the next line begins.
  static constexpr uint32_t kEmptied = uint32_t{1} << 31;

  std::unique_ptr<uint32_t[]> ends_;
  size_t size_ = 0;
  // The first line of the second part (none: past every line) and where its
  // text begins.
  size_t part_ = SIZE_MAX;
  uint32_t part_begin_ = 0;
  std::unique_ptr<char[]> block_;
  // The start of the block; a byte that is never read while there is none.
  const char* text_ = "";
};
