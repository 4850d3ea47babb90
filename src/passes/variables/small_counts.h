// Counts, one per name, that are nearly all small: a byte each, and the few
// that reach 255 kept apart.

// A line that mentions a name adds one to its count, so a count of 255 or more
// stands for as many lines: the table apart holds at most one entry per 255
// mentions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

class small_counts {
 public:
  small_counts() = default;
  explicit small_counts(size_t n) : small_(n, 0) {}

  size_t size() const { return small_.size(); }
  int32_t get(size_t i) const { return small_[i] == kApart ? large_.at(i) : small_[i]; }
  void add(size_t i, int32_t n) { set(i, get(i) + n); }
  void increment(size_t i) {
    if (small_[i] < kApart - 1) {
      ++small_[i];
    } else {
      add(i, 1);
    }
  }
  void decrement(size_t i) {
    if (small_[i] != kApart) {
      --small_[i];
    } else {
      add(i, -1);
    }
  }

 private:
  static constexpr uint8_t kApart = 255;
  void set(size_t i, int32_t value) {
    if (value < kApart) {
      if (small_[i] == kApart) large_.erase(i);
      small_[i] = static_cast<uint8_t>(value);
    } else {
      small_[i] = kApart;
      large_[i] = value;
    }
  }

  std::vector<uint8_t> small_;
  std::unordered_map<size_t, int32_t> large_;
};
