// A set of the positions of a line that only shrinks, in which the next or
// the previous position is found in a few steps, however far it lies.

// A set of the positions 0 .. n - 1 of a line that only shrinks: a bit per
// position, and above the bits a bit per 64-bit word that is not zero, and
// so on up to one word. Finding the next or the previous position in the
// set costs a few steps up and down, however far it lies; taking out a
// stretch costs its words that still hold positions. A line of n bytes
// costs about n / 8 bytes.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

class position_set {
 public:
  static constexpr size_t npos = std::numeric_limits<size_t>::max();

  // The positions x in [0, n) for which in(x) holds.
  template <class In>
  position_set(size_t n, In&& in) : size_(n) {
    std::vector<uint64_t> bits((n + 63) / 64, 0);
    for (size_t x = 0; x < n; ++x) {
      if (in(x)) bits[x >> 6] |= uint64_t{1} << (x & 63);
    }
    levels_.push_back(std::move(bits));
    while (levels_.back().size() > 1) {
      const std::vector<uint64_t>& below = levels_.back();
      std::vector<uint64_t> above((below.size() + 63) / 64, 0);
      for (size_t w = 0; w < below.size(); ++w) {
        if (below[w] != 0) above[w >> 6] |= uint64_t{1} << (w & 63);
      }
      levels_.push_back(std::move(above));
    }
  }

  bool contains(size_t x) const { return x < size_ && (levels_[0][x >> 6] >> (x & 63) & 1) != 0; }

  // The smallest position in the set at or after x; npos when there is none.
  size_t next(size_t x) const {
    if (x >= size_) return npos;
    size_t level = 0;
    size_t i = x;
    for (;;) {
      const size_t w = i >> 6;
      if (w >= levels_[level].size()) return npos;
      const uint64_t bits = levels_[level][w] & (~uint64_t{0} << (i & 63));
      if (bits != 0) {
        i = (w << 6) + static_cast<size_t>(std::countr_zero(bits));
        break;
      }
      if (level + 1 == levels_.size()) return npos;
      i = w + 1;
      ++level;
    }
    while (level > 0) {
      --level;
      i = (i << 6) + static_cast<size_t>(std::countr_zero(levels_[level][i]));
    }
    return i;
  }

  // The largest position in the set at or before x; npos when there is none.
  size_t previous(size_t x) const {
    if (size_ == 0) return npos;
    if (x >= size_) x = size_ - 1;
    size_t level = 0;
    size_t i = x;
    for (;;) {
      const size_t w = i >> 6;
      const size_t b = i & 63;
      const uint64_t mask = b == 63 ? ~uint64_t{0} : (uint64_t{1} << (b + 1)) - 1;
      const uint64_t bits = levels_[level][w] & mask;
      if (bits != 0) {
        i = (w << 6) + 63 - static_cast<size_t>(std::countl_zero(bits));
        break;
      }
      if (w == 0 || level + 1 == levels_.size()) return npos;
      i = w - 1;
      ++level;
    }
    while (level > 0) {
      --level;
      i = (i << 6) + 63 - static_cast<size_t>(std::countl_zero(levels_[level][i]));
    }
    return i;
  }

  // Takes the positions of [begin, end) out of the set.
  void erase(size_t begin, size_t end) {
    for (size_t x = next(begin); x < end && x != npos; x = next(x)) {
      const size_t w = x >> 6;
      const size_t word_end = std::min((w + 1) << 6, end);
      const size_t from = x & 63;
      const size_t to = word_end - (w << 6);  // 1 .. 64
      const uint64_t high = to == 64 ? ~uint64_t{0} : (uint64_t{1} << to) - 1;
      const uint64_t mask = high & (~uint64_t{0} << from);
      levels_[0][w] &= ~mask;
      if (levels_[0][w] == 0) word_emptied(w);
      x = word_end;
      if (x >= end) break;
    }
  }

 private:
  // Word w of the bottom level holds no position any more.
  void word_emptied(size_t w) {
    for (size_t level = 1; level < levels_.size(); ++level) {
      uint64_t& word = levels_[level][w >> 6];
      word &= ~(uint64_t{1} << (w & 63));
      if (word != 0) return;
      w >>= 6;
    }
  }

  size_t size_;
  // levels_[0]: a bit per position; levels_[k + 1]: a bit per word of
  // levels_[k] that is not zero. The last level is one word.
  std::vector<std::vector<uint64_t>> levels_;
};
