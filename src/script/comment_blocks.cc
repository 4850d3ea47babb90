// The comment block rule: where a line's comment starts, and how the walk over
// the lines opens and closes blocks.
#include "script/comment_blocks.h"

#include "platform/ascii_case.h"
#include "platform/byte_scan.h"
#include "script/normalize.h"

namespace comment_blocks {

namespace {

// A byte that would make a marker part of a longer word ("#csv", "#cs-x").
bool goes_on_with_word(char c) { return is_word_byte(c) || c == '-'; }

// Whether `line` at `at` holds `word` (lower case) in any letter case, not
// followed by a byte that would go on with it.
bool word_at(std::string_view line, size_t at, std::string_view word) {
  if (line.size() - at < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    if (upper_ascii(line[at + i]) != upper_ascii(word[i])) return false;
  }
  const size_t after = at + word.size();
  return after == line.size() || !goes_on_with_word(line[after]);
}

}  // namespace

size_t line_comment_start(std::string_view line, size_t from) {
  for (size_t p = from; (p = byte_scan::find_first<';', '\'', '"'>(line, p)) != npos;) {
    if (line[p] == ';') return p;
    const size_t close = line[p] == '"' ? byte_scan::find_first<'"'>(line, p + 1)
                                        : byte_scan::find_first<'\''>(line, p + 1);
    if (close == npos) return npos;
    p = close + 1;
  }
  return npos;
}

marker marker_at(std::string_view line, size_t first) {
  if (first >= line.size() || line[first] != '#') return marker::none;
  const size_t at = first + 1;
  if (word_at(line, at, "cs") || word_at(line, at, "comments-start")) return marker::opens;
  if (word_at(line, at, "ce") || word_at(line, at, "comments-end")) return marker::closes;
  return marker::none;
}

marker marker_of(std::string_view line) {
  size_t first = 0;
  while (first < line.size() && is_blank_or_tab(line[first])) ++first;
  return marker_at(line, first);
}

bool walker::in_block(marker line) {
  if (line == marker::opens) {
    ++depth_;
    return true;
  }
  if (depth_ == 0) return false;
  if (line == marker::closes) --depth_;
  return true;
}

}  // namespace comment_blocks
