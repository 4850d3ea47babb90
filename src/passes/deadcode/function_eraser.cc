#include "passes/deadcode/function_eraser.h"

#include <numeric>

function_eraser::function_eraser(autoitsourcefile& script, function_usage_index& index)
    : script_(script), index_(index), next_(static_cast<size_t>(script.line_count) + 2) {
  std::iota(next_.begin(), next_.end(), 0);
}

int32_t function_eraser::first_unerased_from(int32_t line) {
  while (next_[line] != line) {
    next_[line] = next_[next_[line]];
    line = next_[line];
  }
  return line;
}

void function_eraser::erase_from(int32_t header_line) {
  for (int32_t i = first_unerased_from(header_line); i <= script_.line_count;
       i = first_unerased_from(i + 1)) {
    bool closes = script_.transformed_lines[i].compare(0, 7, "ENDFUNC") == 0;
    index_.forget_line(i);
    script_.lines[i].clear();
    script_.transformed_lines[i].clear();
    next_[i] = i + 1;
    if (closes) return;
  }
}
