#include "passes/deadcode/function_eraser.h"

#include <algorithm>
#include <iterator>

function_eraser::function_eraser(autoitsourcefile& script, function_usage_index& index)
    : script_(script), index_(index) {}

int32_t function_eraser::erase_from(int32_t header_line) {
  int32_t first = header_line;
  int32_t line = header_line;
  auto next_run = erased_.upper_bound(line);
  if (next_run != erased_.begin()) {
    auto run = std::prev(next_run);
    if (run->second >= line) {  // the header is erased already
      first = run->first;
      line = run->second + 1;
      erased_.erase(run);
    }
  }
  // The lines blanked since the last run stepped over leave the index's
  // counts together.
  int32_t blanked_from = line;
  while (line <= script_.line_count) {
    if (next_run != erased_.end() && next_run->first == line) {
      index_.forget_lines(blanked_from, line - 1);
      line = next_run->second + 1;
      blanked_from = line;
      next_run = erased_.erase(next_run);
      continue;
    }
    bool closes = script_.transformed_lines[line].compare(0, 7, "ENDFUNC") == 0;
    script_.lines.clear(line);
    script_.transformed_lines.clear(line);
    if (closes) break;
    ++line;
  }
  const int32_t last = std::min(line, script_.line_count);
  index_.forget_lines(blanked_from, last);
  erased_.emplace(first, last);
  return last;
}
