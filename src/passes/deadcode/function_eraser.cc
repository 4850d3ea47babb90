#include "passes/deadcode/function_eraser.h"

#include <algorithm>

function_eraser::function_eraser(autoitsourcefile& script, function_usage_index& index)
    : script_(script),
      index_(index),
      next_left_(static_cast<size_t>(std::max(script.line_count, 0)) + 2, 0) {}

int32_t function_eraser::first_left_from(int32_t line) {
  int32_t root = line;
  while (next_left_[static_cast<size_t>(root)] != 0) root = next_left_[static_cast<size_t>(root)] - 1;
  // Every erased line on the way now points past them all.
  while (line != root) {
    const int32_t next = next_left_[static_cast<size_t>(line)] - 1;
    next_left_[static_cast<size_t>(line)] = root + 1;
    line = next;
  }
  return root;
}

int32_t function_eraser::erase_from(int32_t header_line) {
  // A header erased already: the deletion goes on after the erased lines.
  int32_t line = first_left_from(header_line);
  // The lines blanked since the last stretch stepped over leave the index's
  // counts together.
  int32_t blanked_from = line;
  while (line <= script_.line_count) {
    if (next_left_[static_cast<size_t>(line)] != 0) {
      index_.forget_lines(blanked_from, line - 1);
      line = first_left_from(line);
      blanked_from = line;
      continue;
    }
    bool closes = script_.transformed_lines[line].compare(0, 7, "ENDFUNC") == 0;
    script_.lines.clear(line);
    script_.transformed_lines.clear(line);
    next_left_[static_cast<size_t>(line)] = line + 2;
    if (closes) break;
    ++line;
  }
  const int32_t last = std::min(line, script_.line_count);
  index_.forget_lines(blanked_from, last);
  return last;
}
