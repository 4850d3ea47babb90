#include "passes/variables/initializer_calls.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

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

constexpr size_t npos = std::string_view::npos;

// Where the text before `at` ends once blanks and tabs are stepped over.
size_t end_before_blanks(std::string_view line, size_t at) {
  while (at > 0 && is_blank_or_tab(line[at - 1])) --at;
  return at;
}

// Where the variable "$name" stands that ends at `end`, or npos.
size_t variable_ending_at(std::string_view line, size_t end) {
  size_t begin = end;
  while (begin > 0 && is_word_byte(line[begin - 1])) --begin;
  return begin < end && begin > 0 && line[begin - 1] == '$' ? begin - 1 : npos;
}

// Index groups of the item walked so far: where the variable that the
// last closed one indexes begins ("$a[0]" and "$a[0][1]" alike), so that
// "$a[0](" is seen as a call through the variable.
struct index_groups {
  // Per open "[": the variable it indexes, or npos.
  std::vector<size_t> open;
  size_t last_close = npos;
  size_t last_variable = npos;

  void opens(std::string_view line, size_t at) {
    const size_t end = end_before_blanks(line, at);
    if (end > 0 && end - 1 == last_close) {
      open.push_back(last_variable);
    } else {
      open.push_back(variable_ending_at(line, end));
    }
  }
  void closes(size_t at) {
    if (open.empty()) return;
    last_close = at;
    last_variable = open.back();
    open.pop_back();
  }
};

// Whether the "(" at `open` in `line` makes a call of what stands before it.
bool calls_at(std::string_view line, size_t open, const index_groups& groups) {
  const size_t end = end_before_blanks(line, open);
  // A function held in a variable, or in an element of one: "$fn(", "$a[0](".
  if (end > 0 && end - 1 == groups.last_close) return groups.last_variable != npos;
  size_t begin = end;
  while (begin > 0 && is_word_byte(line[begin - 1])) --begin;
  if (begin == end || (line[begin] >= '0' && line[begin] <= '9')) return false;
  const char before = begin > 0 ? line[begin - 1] : '\0';
  if (before == '.') return true;  // a method: whatever it does is the object's
  if (before == '$') return true;  // a function held in a variable
  if (before == '@') return false;
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
  index_groups groups;
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
      item_calls = item_calls || calls_at(line, at, groups);
    } else if (c == ')') {
      --depth_parens;
    } else if (c == '[') {
      ++depth_brackets;
      groups.opens(line, at);
    } else if (c == ']') {
      --depth_brackets;
      groups.closes(at);
    } else if (c == ';' && comments_kept) {
      break;
    } else if (c == ',' && depth_parens == 0 && depth_brackets == 0) {
      calls.push_back(item_calls);
      item_calls = false;
    }
  }
  calls.push_back(item_calls);
}
