// The normalized form in which keywords and names are compared: letters a-z
// upper-cased (nothing else changes, as toupper in the "C" locale), every
// blank and tab removed.
#pragma once

#include <string>
#include <string_view>

#include "platform/ascii_case.h"

// Upper-case copy with every blank and tab removed.
std::string normalized(std::string_view text);

// Writes the normalized text to `out`, which has room for text.size() plus
// kNormalizeSlack bytes, and returns its length. The bytes past the result
// may be written over.
inline constexpr size_t kNormalizeSlack = 16;
size_t normalize_into(std::string_view text, char* out);

// The ways normalize_into can run, which tests hold against each other:
// eight bytes at a time in plain integer code, and sixteen at a time with the
// SSSE3 instructions of x86 processors, where the processor has them. The
// same contract as normalize_into.
namespace normalize_kernels {
size_t words(std::string_view text, char* out);
// False where the processor or the compiler has no SSSE3; `sixteen` must
// not be called then.
bool sixteen_available();
size_t sixteen(std::string_view text, char* out);
}  // namespace normalize_kernels

inline bool is_blank_or_tab(char c) { return c == ' ' || c == '\t'; }

// How a normalized line can open a function or declare variables: the
// normalizing pass notes such lines, and the dead-code passes decide on them.
inline bool begins_like_function_header(std::string_view normalized_line) {
  return normalized_line.starts_with("FUNC");
}
inline bool begins_like_declaration(std::string_view normalized_line) {
  return normalized_line.starts_with("DIM") || normalized_line.starts_with("LOCAL") ||
         normalized_line.starts_with("GLOBAL") || normalized_line.starts_with("CONST");
}

// How a normalized line can be a region directive (#Region, #EndRegion),
// which only folds code in the editor.
inline bool begins_like_region(std::string_view normalized_line) {
  return normalized_line.starts_with("#REGION") || normalized_line.starts_with("#ENDREGION");
}

// The line's first byte that is not a blank or a tab; 0 for a blank line.
inline char lead_byte(std::string_view line) {
  size_t first = 0;
  while (first < line.size() && is_blank_or_tab(line[first])) ++first;
  return first < line.size() ? line[first] : '\0';
}
