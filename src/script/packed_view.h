// A view of text in 8 bytes: its address in the low 48 bits (all that user
// memory takes on the systems the program runs on) and its length in the high
// 16.

// Text of 65535 bytes or more is told by the address of a full view kept
// elsewhere. Half the room of a std::string_view, for the tables that hold one
// per line or per name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string_view>
#include <vector>

class packed_view {
 public:
  static constexpr uint64_t kAddressBits = 48;
  static constexpr uint64_t kLong = 0xFFFF;
  static constexpr uint64_t kAddressMask = (uint64_t{1} << kAddressBits) - 1;

  // Whether `text` fits in a packed view as it stands.
  static bool fits(std::string_view text) {
    return text.size() < kLong && (address_of(text.data()) & ~kAddressMask) == 0;
  }
  static packed_view short_view(std::string_view text) {
    return packed_view(address_of(text.data()) | (uint64_t{text.size()} << kAddressBits));
  }
  // `whole` must stay where it is for as long as the packed view is read.
  static packed_view long_view(const std::string_view* whole) {
    return packed_view(address_of(whole) | (kLong << kAddressBits));
  }
  std::string_view get() const {
    const uint64_t length = bits_ >> kAddressBits;
    const auto address = static_cast<uintptr_t>(bits_ & kAddressMask);
    if (length == kLong) return *reinterpret_cast<const std::string_view*>(address);
    return {reinterpret_cast<const char*>(address), static_cast<size_t>(length)};
  }

 private:
  explicit packed_view(uint64_t bits) : bits_(bits) {}
  static uint64_t address_of(const void* p) { return reinterpret_cast<uintptr_t>(p); }
  uint64_t bits_;
};
static_assert(sizeof(packed_view) == 8);

// A list of views of text that lives elsewhere, 8 bytes each; an empty one
// points at a static empty text. Not for two threads at once.
class packed_views {
 public:
  packed_views() = default;
  explicit packed_views(size_t n) { resize(n); }
  // A copy's long views would point into the original's keeping.
  packed_views(const packed_views&) = delete;
  packed_views& operator=(const packed_views&) = delete;
  packed_views(packed_views&&) noexcept = default;
  packed_views& operator=(packed_views&&) noexcept = default;

  size_t size() const { return slots_.size(); }
  std::string_view operator[](size_t i) const { return slots_[i].get(); }
  void reserve(size_t n) { slots_.reserve(n); }
  // Views added are empty.
  void resize(size_t n) { slots_.resize(n, packed_view::short_view(kEmpty)); }
  void set(size_t i, std::string_view text) { slots_[i] = pack(text); }
  void push_back(std::string_view text) { slots_.push_back(pack(text)); }

 private:
  static constexpr std::string_view kEmpty{"", 0};
  packed_view pack(std::string_view text) {
    if (text.empty()) return packed_view::short_view(kEmpty);
    if (packed_view::fits(text)) return packed_view::short_view(text);
    long_.push_back(text);
    return packed_view::long_view(&long_.back());
  }

  std::vector<packed_view> slots_;
  // The views of long texts, which never move once added.
  std::deque<std::string_view> long_;
};
