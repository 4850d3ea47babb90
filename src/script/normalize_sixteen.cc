// Normalizing sixteen bytes at a time on x86 processors with SSSE3: the bytes
// to keep are packed together by a byte shuffle whose pattern comes from a
// table, eight bytes at a time, instead of one store per byte.

// Lines of code hold a blank every few bytes, so nearly every word has one.
#include "script/normalize.h"

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))

#include <tmmintrin.h>

#include <cstdint>

namespace {

// For each 8-bit mask of bytes to keep: the shuffle that moves them to the
// front, in order (0x80 clears the rest), and how many there are.
struct pack_table {
  uint8_t shuffle[256][8];
  uint8_t count[256];
};

constexpr pack_table make_pack_table() {
  pack_table table{};
  for (int mask = 0; mask < 256; ++mask) {
    int n = 0;
    for (int byte = 0; byte < 8; ++byte) {
      if ((mask >> byte) & 1) table.shuffle[mask][n++] = static_cast<uint8_t>(byte);
    }
    table.count[mask] = static_cast<uint8_t>(n);
    for (; n < 8; ++n) table.shuffle[mask][n] = 0x80;
  }
  return table;
}

constexpr pack_table kPack = make_pack_table();

// Packs the bytes of the low half of `v` that `keep` marks to out + at.
__attribute__((target("ssse3"))) size_t pack_half(__m128i v, unsigned keep, char* out, size_t at) {
  const __m128i pattern = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(kPack.shuffle[keep]));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(out + at), _mm_shuffle_epi8(v, pattern));
  return at + kPack.count[keep];
}

// Normalizes sixteen bytes, of which those that `valid` marks count, to
// out + at; returns the new write position. The write position never passes
// the read position, so its stores, at most sixteen bytes past it, stay
// inside the room. No branch on the bytes: which of them are kept is
// anybody's guess.
__attribute__((target("ssse3"))) size_t pack(__m128i v, unsigned valid, char* out, size_t at) {
  // Signed compares: bytes from 0x80 up are negative and never a-z.
  const __m128i lower = _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8('a' - 1)),
                                      _mm_cmplt_epi8(v, _mm_set1_epi8('z' + 1)));
  v = _mm_xor_si128(v, _mm_and_si128(lower, _mm_set1_epi8(0x20)));
  const __m128i blanks =
      _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(' ')), _mm_cmpeq_epi8(v, _mm_set1_epi8('\t')));
  const unsigned keep = ~static_cast<unsigned>(_mm_movemask_epi8(blanks)) & valid;
  at = pack_half(v, keep & 0xff, out, at);
  return pack_half(_mm_srli_si128(v, 8), keep >> 8, out, at);
}

}  // namespace

bool normalize_kernels::sixteen_available() {
  static const bool available = __builtin_cpu_supports("ssse3");
  return available;
}

__attribute__((target("ssse3"))) size_t normalize_kernels::sixteen(std::string_view text,
                                                                   char* out) {
  const char* const in = text.data();
  const size_t size = text.size();
  // A short line goes the plain way: there are no sixteen bytes to read.
  if (size < 16) return words(text, out);
  size_t at = 0;
  size_t i = 0;
  for (; i + 16 <= size; i += 16) {
    at = pack(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i)), 0xffff, out, at);
  }
  // The last bytes: the sixteen that end the line, of which those not yet
  // taken count.
  if (i < size) {
    const unsigned taken = static_cast<unsigned>(16 - (size - i));
    at = pack(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + size - 16)),
              0xffffu & ~((1u << taken) - 1), out, at);
  }
  return at;
}

#else

bool normalize_kernels::sixteen_available() { return false; }

size_t normalize_kernels::sixteen(std::string_view, char*) { return 0; }

#endif
