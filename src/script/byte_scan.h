// Scanning text eight bytes at a time: which bytes of a word equal a given
// byte, and the word's a-z bytes upper-cased. Plain integer code, the same
// on every compiler and target; the passes that touch every byte of the
// script (line splitting, normalizing) use it to stay near copying speed.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace byte_scan {

// Bytes are numbered from the lowest address; the bit tricks below rely on
// the first byte being the lowest one of the word.
inline constexpr bool kWordScan = std::endian::native == std::endian::little;

inline constexpr uint64_t kOnes = 0x0101010101010101ULL;
inline constexpr uint64_t kHigh = 0x8080808080808080ULL;
inline constexpr uint64_t kLow7 = 0x7f7f7f7f7f7f7f7fULL;

inline uint64_t load(const char* p) {
  uint64_t word;
  std::memcpy(&word, p, sizeof word);
  return word;
}

inline void store(char* p, uint64_t word) { std::memcpy(p, &word, sizeof word); }

// The high bit of each byte of `word` that equals `c`, and no other bit:
// exact, so the bits can be counted.
inline uint64_t equal_bytes(uint64_t word, unsigned char c) {
  const uint64_t t = word ^ (kOnes * c);
  return ~(((t & kLow7) + kLow7) | t | kLow7);
}

// The high bit of each byte of `word` that is a-z.
inline uint64_t lower_case_bytes(uint64_t word) {
  const uint64_t low7 = word & kLow7;
  const uint64_t from_a = low7 + kOnes * (0x80 - 'a');      // high bit: >= 'a'
  const uint64_t past_z = low7 + kOnes * (0x80 - 'z' - 1);  // high bit: > 'z'
  return from_a & ~past_z & ~word & kHigh;
}

// `word` with its a-z bytes upper-cased and every other byte as it was.
inline uint64_t upper_case(uint64_t word) { return word ^ (lower_case_bytes(word) >> 2); }

// The index of the first byte whose high bit `bits` holds (bits != 0).
inline unsigned first_byte(uint64_t bits) { return static_cast<unsigned>(std::countr_zero(bits)) / 8; }

// The position of the first of the bytes `Cs` in `text` at or after `from`,
// or npos: for the short lines of a script, where a library search call per
// byte sought costs more than the line.
template <char... Cs>
size_t find_first(std::string_view text, size_t from = 0) {
  const char* const data = text.data();
  size_t i = from;
  if constexpr (kWordScan) {
    for (; i + 8 <= text.size(); i += 8) {
      const uint64_t word = load(data + i);
      const uint64_t found = (equal_bytes(word, static_cast<unsigned char>(Cs)) | ...);
      if (found != 0) return i + first_byte(found);
    }
  }
  for (; i < text.size(); ++i) {
    if (((data[i] == Cs) || ...)) return i;
  }
  return std::string_view::npos;
}

}  // namespace byte_scan
