// The normalized form in which keywords and names are compared: letters a-z
// upper-cased (nothing else changes, as toupper in the "C" locale), every
// blank and tab removed.
#pragma once

#include <string>
#include <string_view>

inline char upper_ascii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

// Upper-cases a-z only; the length and every other byte stay as they are.
std::string upper_copy(std::string_view text);

// Upper-case copy with every blank and tab removed.
std::string normalized(std::string_view text);

// Writes the normalized text to `out`, which has room for text.size() bytes,
// and returns its length.
size_t normalize_into(std::string_view text, char* out);

inline bool is_blank_or_tab(char c) { return c == ' ' || c == '\t'; }
