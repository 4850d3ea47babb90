// Continuation-line joining: trailing blanks and tabs are stripped from every
// line, then each chain of lines ending in a continuation "_" is joined onto
// its first line. Joined lines are left empty; line_count does not change.
#include <algorithm>
#include <cstddef>
#include <string_view>

#include "report/console.h"
#include "script/autoitsourcefile.h"
#include "script/normalize.h"

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

}  // namespace

void autoitsourcefile::remove_upheaval() {
  upheavals_timer.start();
  console::out("start: remove upheavals...\n");
  // One walk: each line is stripped just before it is looked at. Each chain
  // (first..last-1 continue, last is the line that ends it, or the last line
  // of the table) is built once, so a long chain costs its length and not its
  // square. The result is what joining each line onto the one above, from the
  // bottom up, would give.
  int32_t first = 0;  // first line of the open chain; 0 while none is open
  for (int32_t last = 1; last <= line_count; ++last) {
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
    lines.build(first, total, [&](char* out) {
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
  console::out("finished: remove upheavals\n\n");
  upheavals_timer.stop();
}
