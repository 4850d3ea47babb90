#include "script/normalize.h"

std::string upper_copy(std::string_view text) {
  std::string copy(text);
  for (char& c : copy) c = upper_ascii(c);
  return copy;
}

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

size_t normalize_into(std::string_view text, char* out) {
  // Branch-free: every byte is written, and the write position only moves on
  // past the ones kept.
  size_t at = 0;
  for (char c : text) {
    out[at] = upper_ascii(c);
    at += is_blank_or_tab(c) ? 0 : 1;
  }
  return at;
}
