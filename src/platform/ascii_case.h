// The program's two byte rules: upper-casing a-z only, as toupper does in the
// "C" locale, for script text and the names of include files alike; and the
// bytes a name is made of.
#pragma once

#include <array>
#include <string>
#include <string_view>

inline char upper_ascii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

// Upper-cases a-z only; the length and every other byte stay as they are.
inline std::string upper_copy(std::string_view text) {
  std::string copy(text);
  for (char& c : copy) c = upper_ascii(c);
  return copy;
}

// The bytes a name is made of: ASCII letters, digits and "_". A name made of
// them ends where they end.
inline constexpr std::array<bool, 256> kWordBytes = [] {
  std::array<bool, 256> table{};
  for (int c = 0; c < 256; ++c) {
    table[c] =
        (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
  }
  return table;
}();

inline bool is_word_byte(char c) { return kWordBytes[static_cast<unsigned char>(c)]; }
