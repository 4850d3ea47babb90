// Continuation-line joining: trailing blanks and tabs are stripped from every
// line, then each chain of lines ending in a continuation "_" is joined onto
// its first line. Joined lines are left empty; line_count does not change.
#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "platform/console.h"
#include "script/autoitsourcefile.h"
#include "script/normalize.h"
#include "script/two_threads.h"

namespace {

size_t length_without_trailing_blanks(std::string_view line) {
  size_t end = line.size();
  while (end > 0 && is_blank_or_tab(line[end - 1])) --end;
  return end;
}

// A final "_" continues the statement only when it stands alone or after a
// blank or a tab: a name that ends in "_" ($total_) is not a continuation.
bool continues(std::string_view line) {
  size_t n = line.size();
  if (n == 0 || line[n - 1] != '_') return false;
  return n == 1 || is_blank_or_tab(line[n - 2]);
}

// Strips and joins lines [first, last), whose chains all end inside them or
// at the table's end, into text that `text` builds.
void join_lines(line_table& lines, line_table::builder& text, int32_t begin, int32_t end,
                int32_t line_count) {
  // One walk: each line is stripped just before it is looked at. Each chain
  // (first..last-1 continue, last is the line that ends it, or the last line
  // of the table) is built once, so a long chain costs its length and not its
  // square. The result is what joining each line onto the one above, from the
  // bottom up, would give.
  int32_t first = 0;  // first line of the open chain; 0 while none is open
  for (int32_t last = begin; last < end; ++last) {
    const size_t stripped = length_without_trailing_blanks(lines[last]);
    // Most lines end in no blank: their slot is left untouched.
    if (stripped != lines[last].size()) lines.truncate(last, stripped);
    bool last_continues = continues(lines[last]);
    if (first == 0) {
      if (!last_continues) continue;
      first = last;
    }
    // When the chain reaches the end of the table, its last line still ends
    // in a continuation with nothing to take in.
    if (last_continues && last < line_count) continue;

    size_t total = 0;
    for (int32_t j = first; j <= last; ++j) total += lines[j].size();
    text.build(first, total, [&](char* out) {
      size_t at = 0;
      for (int32_t j = first; j <= last; ++j) {
        bool drop_underscore = j < last || last_continues;
        std::string_view part = lines[j].substr(0, lines[j].size() - (drop_underscore ? 1 : 0));
        std::copy(part.begin(), part.end(), out + at);
        at += part.size();
      }
      return at;
    });
    for (int32_t j = first + 1; j <= last; ++j) lines.clear(j);
    first = 0;
  }
}

}  // namespace

void autoitsourcefile::remove_upheaval() {
  upheavals_timer.start();
  console::out("start: remove upheavals...\n");
  // Each half of the script is joined on a thread of its own; the halves
  // meet at a line that the line before does not continue, so no chain is
  // cut in two.
  std::array<std::optional<line_table::builder>, 2> text;
  for (auto& part : text) part.emplace(lines);
  auto chain_ends_before = [&](size_t line) {
    while (line <= static_cast<size_t>(line_count) &&
           continues(lines[line - 1].substr(0, length_without_trailing_blanks(lines[line - 1])))) {
      ++line;
    }
    return line;
  };
  two_threads::split_at(1, static_cast<size_t>(line_count) + 1, chain_ends_before,
                        [&](int half, size_t first, size_t last) {
                          join_lines(lines, *text[half], static_cast<int32_t>(first),
                                     static_cast<int32_t>(last), line_count);
                        });
  for (auto& part : text) lines.adopt(std::move(*part));
  console::out("finished: remove upheavals\n\n");
  upheavals_timer.stop();
}
