// Whether a declaration item calls a function in its initial value: the calls
// that do work, beside the built-in functions that only compute.
#include "passes/variables/initializer_calls.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "names/name_table.h"
#include "script/normalize.h"

namespace {

// Upper case, sorted for binary search.
constexpr auto kComputeOnly = std::to_array<std::string_view>({
    "ABS",
    "ACOS",
    "AND",
    "ASC",
    "ASCW",
    "ASIN",
    "ATAN",
    "BINARY",
    "BINARYLEN",
    "BINARYMID",
    "BINARYTOSTRING",
    "BITAND",
    "BITNOT",
    "BITOR",
    "BITROTATE",
    "BITSHIFT",
    "BITXOR",
    "CEILING",
    "CHR",
    "CHRW",
    "COS",
    "DEC",
    "DLLSTRUCTCREATE",
    "DLLSTRUCTGETDATA",
    "DLLSTRUCTGETPTR",
    "DLLSTRUCTGETSIZE",
    "EVAL",
    "EXP",
    "FLOOR",
    "HEX",
    "HWND",
    "INT",
    "ISARRAY",
    "ISBINARY",
    "ISBOOL",
    "ISDECLARED",
    "ISFLOAT",
    "ISFUNC",
    "ISHWND",
    "ISINT",
    "ISKEYWORD",
    "ISNUMBER",
    "ISOBJ",
    "ISPTR",
    "ISSTRING",
    "LOG",
    "MOD",
    "NOT",
    "NUMBER",
    "OR",
    "PTR",
    "ROUND",
    "SIN",
    "SQRT",
    "STRING",
    "STRINGFORMAT",
    "STRINGINSTR",
    "STRINGLEFT",
    "STRINGLEN",
    "STRINGLOWER",
    "STRINGMID",
    "STRINGREGEXP",
    "STRINGREGEXPREPLACE",
    "STRINGREPLACE",
    "STRINGRIGHT",
    "STRINGSPLIT",
    "STRINGSTRIPCR",
    "STRINGSTRIPWS",
    "STRINGTOBINARY",
    "STRINGTRIMLEFT",
    "STRINGTRIMRIGHT",
    "STRINGUPPER",
    "TAN",
    "TIMERDIFF",
    "TIMERINIT",
    "UBOUND",
    "VARGETTYPE",
});

static_assert(std::is_sorted(kComputeOnly.begin(), kComputeOnly.end()));

// Whether the "(" at `open` in `line` makes a call of the word before it.
bool calls_at(std::string_view line, size_t open) {
  size_t end = open;
  while (end > 0 && is_blank_or_tab(line[end - 1])) --end;
  size_t begin = end;
  while (begin > 0 && is_word_byte(line[begin - 1])) --begin;
  if (begin == end || (line[begin] >= '0' && line[begin] <= '9')) return false;
  const char before = begin > 0 ? line[begin - 1] : '\0';
  if (before == '.') return true;  // a method: whatever it does is the object's
  if (before == '$' || before == '@') return false;
  return !only_computes(line.substr(begin, end - begin));
}

}  // namespace

bool only_computes(std::string_view word) {
  constexpr size_t kLongest = 19;  // STRINGREGEXPREPLACE
  if (word.empty() || word.size() > kLongest) return false;
  std::array<char, kLongest> upper{};
  std::transform(word.begin(), word.end(), upper.begin(), upper_ascii);
  return std::binary_search(kComputeOnly.begin(), kComputeOnly.end(),
                            std::string_view(upper.data(), word.size()));
}

void item_calls(std::string_view line, bool comments_kept, std::vector<char>& calls) {
  // Without a "(" nothing calls: one item, or more that the caller pads.
  if (line.find('(') == std::string_view::npos) {
    calls.push_back(0);
    return;
  }
  // The same quotes, depths and comment rule as walk_declaration, so that
  // the items found here are the ones it takes names from.
  char quote = 0;
  int64_t depth_parens = 0;
  int64_t depth_brackets = 0;
  bool item_calls = false;
  for (size_t at = 0; at < line.size(); ++at) {
    const char c = line[at];
    if (quote != 0) {
      if (c == quote) quote = 0;
      continue;
    }
    if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == '(') {
      ++depth_parens;
      item_calls = item_calls || calls_at(line, at);
    } else if (c == ')') {
      --depth_parens;
    } else if (c == '[') {
      ++depth_brackets;
    } else if (c == ']') {
      --depth_brackets;
    } else if (c == ';' && comments_kept) {
      break;
    } else if (c == ',' && depth_parens == 0 && depth_brackets == 0) {
      calls.push_back(item_calls);
      item_calls = false;
    }
  }
  calls.push_back(item_calls);
}
