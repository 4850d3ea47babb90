// Blanking a function from its header to its EndFunc, and taking its lines
// out of the usage counts.
#include "passes/functions/function_eraser.h"

#include <algorithm>

#include "passes/functions/function_headers.h"
#include "script/normalize.h"

function_eraser::function_eraser(autoitsourcefile& script, function_usage_index& index)
    : script_(script), index_(index) {}

int32_t function_eraser::first_left_from(int32_t line) {
  if (line > script_.line_count || index_.counts_line(line)) return line;
  if (next_left_.empty()) next_left_.assign(static_cast<size_t>(script_.line_count) + 2, 0);
  // An erased line without a link yet leads to the next line.
  auto next_of = [&](int32_t l) {
    const int32_t link = next_left_[static_cast<size_t>(l)];
    return link != 0 ? link - 1 : l + 1;
  };
  int32_t root = line;
  while (root <= script_.line_count && !index_.counts_line(root)) root = next_of(root);
  // Every erased line on the way now points past them all.
  while (line != root) {
    const int32_t next = next_of(line);
    next_left_[static_cast<size_t>(line)] = root + 1;
    line = next;
  }
  return root;
}

std::string_view function_eraser::header_name(int32_t line) {
  const std::string_view text = script_.transformed_lines[line];
  if (!text.empty()) return function_name(text);
  while (next_blanked_ < blanked_headers_.size() && blanked_headers_[next_blanked_].first < line) {
    ++next_blanked_;
  }
  if (next_blanked_ < blanked_headers_.size() && blanked_headers_[next_blanked_].first == line) {
    return blanked_headers_[next_blanked_].second;
  }
  return {};
}

int32_t function_eraser::erase_from(int32_t header_line) {
  // A header erased already: the deletion goes on after the erased lines.
  int32_t line = first_left_from(header_line);
  // The lines blanked since the last stretch stepped over leave the index's
  // counts together.
  int32_t blanked_from = line;
  while (line <= script_.line_count) {
    if (!index_.counts_line(line)) {
      index_.forget_lines(blanked_from, line - 1);
      line = first_left_from(line);
      blanked_from = line;
      continue;
    }
    const std::string_view text = script_.transformed_lines[line];
    const bool closes = closes_function(text);
    if (line != header_line && begins_like_function_header(text)) {
      blanked_headers_.emplace_back(line, function_name(text));
    }
    script_.lines.clear(line);
    script_.transformed_lines.clear(line);
    if (closes) break;
    ++line;
  }
  const int32_t last = std::min(line, script_.line_count);
  index_.forget_lines(blanked_from, last);
  return last;
}
