// Normalizing text: upper-casing a-z and dropping blanks and tabs, eight bytes
// at a time where it can.
#include "script/normalize.h"

#include <cstdint>

#include "platform/byte_scan.h"

std::string normalized(std::string_view text) {
  // Sized exactly, so a short result stays inside the string object instead
  // of taking a heap block as long as the line with its indentation.
  size_t kept = 0;
  for (char c : text) kept += is_blank_or_tab(c) ? 0 : 1;
  std::string result(kept, '\0');
  size_t at = 0;
  for (char c : text) {
    if (!is_blank_or_tab(c)) result[at++] = upper_ascii(c);
  }
  return result;
}

size_t normalize_kernels::words(std::string_view text, char* out) {
  // The write position never passes the read position, so every store,
  // eight bytes wide or one, stays inside the room for text.size() bytes.
  const char* const in = text.data();
  const size_t size = text.size();
  size_t at = 0;
  size_t i = 0;
  if constexpr (byte_scan::kWordScan) {
    for (; i + 8 <= size; i += 8) {
      const uint64_t word = byte_scan::upper_case(byte_scan::load(in + i));
      const uint64_t blanks = byte_scan::equal_bytes(word, ' ') | byte_scan::equal_bytes(word, '\t');
      if (blanks == 0) {
        byte_scan::store(out + at, word);
        at += 8;
        continue;
      }
      // Byte by byte, without a branch on what each byte is.
      const uint64_t kept = ~blanks & byte_scan::kHigh;
      for (unsigned k = 0; k < 8; ++k) {
        out[at] = static_cast<char>(word >> (8 * k));
        at += (kept >> (8 * k + 7)) & 1;
      }
    }
  }
  // Branch-free: every byte is written, and the write position only moves on
  // past the ones kept.
  for (; i < size; ++i) {
    out[at] = upper_ascii(in[i]);
    at += is_blank_or_tab(in[i]) ? 0 : 1;
  }
  return at;
}

size_t normalize_into(std::string_view text, char* out) {
  static const bool sixteen = normalize_kernels::sixteen_available();
  return sixteen ? normalize_kernels::sixteen(text, out) : normalize_kernels::words(text, out);
}
