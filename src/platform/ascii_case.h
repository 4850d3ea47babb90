// Upper-casing a-z only, as toupper does in the "C" locale: the one case rule
// of the program, for script text and for the names of include files alike.
#pragma once

#include <string>
#include <string_view>

inline char upper_ascii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

// Upper-cases a-z only; the length and every other byte stay as they are.
inline std::string upper_copy(std::string_view text) {
  std::string copy(text);
  for (char& c : copy) c = upper_ascii(c);
  return copy;
}
