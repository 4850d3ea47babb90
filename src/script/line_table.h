// A table of text lines held compactly: each slot is a view of text that the
// table owns.

// A file's bytes are kept whole and its lines point into them, so loading a
// script allocates nothing per line; a line that is shortened or emptied only
// changes its view; text that a pass rewrites is copied into blocks that the
// table only ever appends to. Text, once in the table, never moves or changes,
// so a view stays valid as long as the table lives, even after the table itself
// is moved.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "script/packed_view.h"

class line_table {

  // The slots: storage that grows without clearing what it adds, so that
  // slots filled on two threads at once are written once, each by its own
  // thread. Slots are trivially copyable, so they move by memcpy.
  class slot_array {
   public:
    slot_array() = default;
    slot_array(slot_array&& other) noexcept { swap(other); }
    slot_array& operator=(slot_array&& other) noexcept {
      swap(other);
      return *this;
    }
    slot_array(const slot_array&) = delete;
    slot_array& operator=(const slot_array&) = delete;
    ~slot_array();

    size_t size() const { return size_; }
    packed_view& operator[](size_t i) { return data_[i]; }
    const packed_view& operator[](size_t i) const { return data_[i]; }
    void reserve(size_t n);
    // The slots past the old size hold nothing until they are written.
    // Storage that must grow at least doubles, so that appending costs
    // little, however often it is done.
    void resize_for_overwrite(size_t n) {
      if (n > capacity_) reserve(std::max(n, 2 * capacity_));
      size_ = n;
    }
    void push_back(packed_view slot) {
      if (size_ == capacity_) reserve(size_ < 8 ? 16 : 2 * size_);
      data_[size_++] = slot;
    }

   private:
    void swap(slot_array& other) noexcept;
    packed_view* data_ = nullptr;
    size_t size_ = 0;
    size_t capacity_ = 0;
  };

  // Blocks of copied text, filled front to back and never freed early.
  class text_blocks {
   public:
    // At least n writable bytes at the end of the current block.
    char* room_for(size_t n);
    // The first n bytes of that room are taken.
    void take(size_t n) { used_ += n; }
    std::vector<std::unique_ptr<char[]>> blocks;

   private:
    size_t block_size_ = 0;
    size_t used_ = 0;
  };

 public:
  // Builds lines of a table with text of its own, so that two threads can
  // each build their own lines of one table at once, as long as nothing else
  // changes the table meanwhile. The table keeps the text once adopt() hands
  // the builder back.
  class builder {
   public:
    explicit builder(line_table& table) : table_(&table) {}
    // As line_table::build.
    template <class Writer>
    void build(size_t i, size_t most, Writer write) {
      char* out = text_.room_for(most);
      const size_t n = write(out);
      text_.take(n);
      table_->slots_[i] = table_->pack(std::string_view(out, n));
    }
    // As build, but a line written the same as it stands keeps its text,
    // and its room is given back.
    template <class Writer>
    void build_if_changed(size_t i, size_t most, Writer write) {
      char* out = text_.room_for(most);
      const size_t n = write(out);
      const std::string_view old = (*table_)[i];
      if (n == old.size() && std::memcmp(out, old.data(), n) == 0) return;
      text_.take(n);
      table_->slots_[i] = table_->pack(std::string_view(out, n));
    }

   private:
    friend class line_table;
    line_table* table_;
    text_blocks text_;
  };

  line_table() = default;
  // A table of copies of `texts` (for tests and benchmarks).
  line_table(std::initializer_list<std::string_view> texts);
  explicit line_table(std::span<const std::string> texts);
  line_table(line_table&&) noexcept = default;
  line_table& operator=(line_table&&) noexcept = default;
  line_table(const line_table&) = delete;
  line_table& operator=(const line_table&) = delete;

  size_t size() const { return slots_.size(); }
  void reserve(size_t n);
  // Slots added are empty lines.
  void resize(size_t n);
  // Slots added hold nothing: every one of them must be written (set, build
  // or put_kept) before it is read. Lets two threads fill a table's halves.
  void resize_for_overwrite(size_t n) { slots_.resize_for_overwrite(n); }
  // Const, so that an assignment to it cannot compile and silently do nothing.
  const std::string_view operator[](size_t i) const { return slots_[i].get(); }
  // Where line i's slot lies, to ask for it ahead of reading it.
  const void* slot_address(size_t i) const { return &slots_[i]; }

  // Line i becomes a copy of `text`.
  void set(size_t i, std::string_view text);
  // Appends a copy of `text`.
  void push_back(std::string_view text);
  // Line i becomes its first n bytes (n at most its length).
  void truncate(size_t i, size_t n) { slots_[i] = pack(slots_[i].get().substr(0, n)); }
  void clear(size_t i) { slots_[i] = empty_slot(); }
  // Line `to` takes the text of line `from`; nothing is copied.
  void take(size_t to, size_t from) { slots_[to] = slots_[from]; }

  // Line i becomes the text that write(out) puts at `out`: at most `most`
  // bytes, its length being what write returns. Saves building the text
  // elsewhere and copying it in.
  template <class Writer>
  void build(size_t i, size_t most, Writer write) {
    char* out = text_.room_for(most);
    const size_t n = write(out);
    text_.take(n);
    slots_[i] = pack(std::string_view(out, n));
  }

  // Keeps the `size` bytes at `bytes` for as long as the table lives,
  // without copying them, and returns a view of them: lines of it go in with
  // push_kept.
  std::string_view keep(std::unique_ptr<char[]> bytes, size_t size);
  // Appends a line whose text is already in this table: a part of a view that
  // keep returned, or of one of its lines.
  void push_kept(std::string_view text) { slots_.push_back(pack(text)); }
  // Line i becomes a line whose text is already in this table, as for
  // push_kept.
  void put_kept(size_t i, std::string_view text) { slots_[i] = pack(text); }
  // A copy of `text` that the table keeps, as a view; no line is changed.
  std::string_view keep_copy(std::string_view text);
  // Keeps the text of lines that `part`, a builder of this table, built.
  void adopt(builder&& part);

 private:
  static constexpr std::string_view kEmpty{"", 0};

  // An empty line's view points at kEmpty's text, so that no view points
  // nowhere. Safe from two threads at once.
  packed_view pack(std::string_view text) {
    if (text.empty()) return empty_slot();
    if (packed_view::fits(text)) return packed_view::short_view(text);
    return pack_long(text);
  }
  packed_view pack_long(std::string_view text);
  static packed_view empty_slot() { return packed_view::short_view(kEmpty); }

  slot_array slots_;
  // The views of long lines, which never move once added.
  std::deque<std::string_view> long_views_;
  // Kept whole inputs, and the blocks of builders adopted.
  std::vector<std::unique_ptr<char[]>> kept_;
  // Copied text.
  text_blocks text_;
};
