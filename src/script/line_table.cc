// The line table's slots and the text blocks that hold rewritten lines.
#include "script/line_table.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <utility>

#include "platform/large_pages.h"

namespace {

// Blocks start small, for the many small tables of the include pass and of
// tests, and double up to a size at which their count stays small.
constexpr size_t kFirstBlock = 4096;
constexpr size_t kLargestBlock = size_t{4} << 20;

}  // namespace

line_table::line_table(std::initializer_list<std::string_view> texts) {
  slots_.reserve(texts.size());
  for (std::string_view text : texts) push_back(text);
}

line_table::line_table(std::span<const std::string> texts) {
  slots_.reserve(texts.size());
  for (const std::string& text : texts) push_back(text);
}

line_table::slot_array::~slot_array() {
  if (data_ != nullptr) std::allocator<packed_view>().deallocate(data_, capacity_);
}

void line_table::slot_array::swap(slot_array& other) noexcept {
  std::swap(data_, other.data_);
  std::swap(size_, other.size_);
  std::swap(capacity_, other.capacity_);
}

void line_table::slot_array::reserve(size_t n) {
  if (n <= capacity_) return;
  packed_view* grown = std::allocator<packed_view>().allocate(n);
  platform::prefer_large_pages(grown + size_, (n - size_) * sizeof(packed_view));
  if (size_ > 0) std::memcpy(static_cast<void*>(grown), data_, size_ * sizeof(packed_view));
  if (data_ != nullptr) std::allocator<packed_view>().deallocate(data_, capacity_);
  data_ = grown;
  capacity_ = n;
}

void line_table::reserve(size_t n) { slots_.reserve(n); }

void line_table::resize(size_t n) {
  const size_t old = slots_.size();
  slots_.resize_for_overwrite(n);
  for (size_t i = old; i < n; ++i) slots_[i] = empty_slot();
}

char* line_table::text_blocks::room_for(size_t n) {
  if (blocks.empty() || block_size_ - used_ < n) {
    const size_t grown = blocks.empty() ? kFirstBlock : std::min(2 * block_size_, kLargestBlock);
    block_size_ = std::max(grown, n);
    blocks.push_back(std::make_unique_for_overwrite<char[]>(block_size_));
    platform::prefer_large_pages(blocks.back().get(), block_size_);
    used_ = 0;
  }
  return blocks.back().get() + used_;
}

void line_table::set(size_t i, std::string_view text) {
  build(i, text.size(), [&](char* out) {
    if (!text.empty()) std::memcpy(out, text.data(), text.size());
    return text.size();
  });
}

std::string_view line_table::keep_copy(std::string_view text) {
  if (text.empty()) return kEmpty;
  char* out = text_.room_for(text.size());
  std::memcpy(out, text.data(), text.size());
  text_.take(text.size());
  return {out, text.size()};
}

void line_table::push_back(std::string_view text) {
  slots_.push_back(empty_slot());
  set(slots_.size() - 1, text);
}

void line_table::adopt(builder&& part) {
  for (std::unique_ptr<char[]>& block : part.text_.blocks) kept_.push_back(std::move(block));
  part.text_.blocks.clear();
}

std::string_view line_table::keep(std::unique_ptr<char[]> bytes, size_t size) {
  kept_.push_back(std::move(bytes));
  return {kept_.back().get(), size};
}

packed_view line_table::pack_long(std::string_view text) {
  // Long lines are few (a line per 64 KiB of text at most), so one lock for
  // every table costs nothing that shows, and lets two threads add them.
  static std::mutex lock;
  const std::lock_guard<std::mutex> hold(lock);
  long_views_.push_back(text);
  return packed_view::long_view(&long_views_.back());
}
