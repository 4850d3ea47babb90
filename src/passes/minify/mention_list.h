// The numbers of a half's name mentions, in the order met: written once by
// the census, read once by the rewrite.

// Each number takes 1 to 5 bytes (7 bits a byte, the high bit set on all but
// the last), most names of a script being numbered early; the blocks grow to
// 1 MiB, and the reader lets each one go once read, so that the list shrinks
// while the rewrite's text grows.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace minify {

class mention_list {
 public:
  void push(uint32_t id) {
    if (blocks_.empty() || blocks_.back().size - blocks_.back().used < 5) add_block();
    block& b = blocks_.back();
    while (id >= 0x80) {
      b.bytes[b.used++] = static_cast<uint8_t>(id | 0x80);
      id >>= 7;
    }
    b.bytes[b.used++] = static_cast<uint8_t>(id);
  }

 private:
  friend class mention_reader;
  static constexpr size_t kFirstBlock = size_t{1} << 12;
  static constexpr size_t kLargestBlock = size_t{1} << 20;
  struct block {
    std::unique_ptr<uint8_t[]> bytes;
    size_t size = 0;
    size_t used = 0;
  };
  void add_block() {
    const size_t size =
        blocks_.empty() ? kFirstBlock : std::min(2 * blocks_.back().size, kLargestBlock);
    blocks_.push_back({std::make_unique_for_overwrite<uint8_t[]>(size), size, 0});
  }
  std::vector<block> blocks_;
};

// Reads a list taken over from the census, letting its blocks go as it goes.
class mention_reader {
 public:
  mention_reader() = default;
  explicit mention_reader(mention_list&& list) : blocks_(std::move(list.blocks_)) {}

  // The next number into *id; false when the list is read.
  bool next(uint32_t* id) {
    while (block_ < blocks_.size() && at_ == blocks_[block_].used) {
      blocks_[block_].bytes.reset();
      ++block_;
      at_ = 0;
    }
    if (block_ == blocks_.size()) return false;
    const uint8_t* bytes = blocks_[block_].bytes.get();
    uint32_t value = 0;
    for (int shift = 0;; shift += 7) {
      const uint8_t byte = bytes[at_++];
      value |= static_cast<uint32_t>(byte & 0x7F) << shift;
      if (byte < 0x80) break;
    }
    *id = value;
    return true;
  }

 private:
  std::vector<mention_list::block> blocks_;
  size_t block_ = 0;
  size_t at_ = 0;
};

}  // namespace minify
