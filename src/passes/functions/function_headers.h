// Function headers as the unused-function pass finds them: which lines open
// a function, and the name each one declares.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "names/name_table.h"
#include "script/line_table.h"
#include "script/normalized_lines.h"

struct function_header {
  int32_t line;
  // The name's number among the pass's names (see function_headers). A
  // name per header at most, each header holds "FUNC" in the normalized
  // copy, whose size fits in 32 bits: the numbers fit in 30, and the flags
  // share their word. Read, the field is an int.
  uint32_t name : 30;
  // Whether the header line itself holds a use of its own name (a header
  // "Func Foo(" always does); such a use does not keep the function alive.
  uint32_t uses_own_name : 1 = 0;
  // Set by the usage index: the line's one use is of its own name, and the
  // index keeps that use here instead of in its list of uses.
  uint32_t own_use_apart : 1 = 0;
};
static_assert(sizeof(function_header) == 8, "a header takes two words");

struct function_headers {
  // How many distinct names the headers declare: equal names share a number,
  // given in order of first appearance. A standing header's name is read
  // again from its normalized line (function_name), so no list of them is
  // kept.
  int32_t name_count = 0;
  // The numbers of the names that are not words (empty ones, or holding
  // other bytes than letters, digits and "_"), ascending, and their text:
  // views of the normalized lines, whose text stays in place when a line is
  // blanked.
  std::vector<int32_t> other_names;
  std::vector<std::string_view> other_name_texts;
  // Every header, in line order.
  std::vector<function_header> headers;
  // The headers' names by hash, the header's index as id (links: suffixes).
  // Equal names are found as the first of them.
  std::optional<name_table> table;
};

// A header's normalized text begins with "FUNC", and its own text, after
// leading blanks and tabs, with "func" in any case and then a blank or tab:
// a call such as FuncEnter($x) or a line "Functions ..." opens nothing.
bool is_function_header(std::string_view line, std::string_view normalized_line);

// Whether the normalized line closes a function: it begins with "ENDFUNC".
inline bool closes_function(std::string_view normalized_line) {
  // Most lines are told apart by their first byte.
  return normalized_line.size() >= 7 && normalized_line[0] == 'E' &&
         normalized_line.compare(0, 7, "ENDFUNC") == 0;
}

// The declared name: the normalized text after "FUNC" up to the first "(",
// or to the end when there is none; it may be empty.
std::string_view function_name(std::string_view normalized_header);

// Every header among the candidate lines (in order; the header lines that
// transform_lines noted). Their names are numbered, and the table built, by
// number_function_names, which a caller done with the candidates calls
// once it has let them go.
function_headers find_function_headers(const line_table& lines, const normalized_lines& transformed_lines,
                                       std::span<const int32_t> candidates);

// Numbers the names of the headers found, equal names sharing one number,
// and builds their table, which reads them from the normalized copy.
void number_function_names(function_headers& found, const normalized_lines& transformed_lines);
