// Scanning text eight bytes at a time: which bytes of a word equal a given
// byte, and the word's a-z bytes upper-cased.

// Plain integer code, the same on every compiler and target; the passes that
// touch every byte of the script (line splitting, normalizing) use it to stay
// near copying speed.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

#if defined(__SSE2__)
// Where the processor has SSE2 (every x86-64 one), 64 bytes at a time: bit k
// is set when byte k of the 64 at `p` equals `c`.
inline constexpr bool kBlockScan = true;
inline uint64_t equal_bits64(const char* p, char c) {
  const __m128i needle = _mm_set1_epi8(c);
  uint64_t bits = 0;
  for (int part = 0; part < 4; ++part) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * part));
    const auto found = static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, needle)));
    bits |= uint64_t{found} << (16 * part);
  }
  return bits;
}
#else
inline constexpr bool kBlockScan = false;
inline uint64_t equal_bits64(const char*, char) { return 0; }
#endif

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
