// Comment removal: line comments that start with ";" outside string literals,
// and comment blocks ("#cs" ... "#ce", nested, in any case). Lines are cut
// or emptied in place; none is removed, so line_count stays as it is.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "report/console.h"
#include "script/byte_scan.h"
#include "script/autoitsourcefile.h"
#include "script/comment_blocks.h"
#include "script/two_threads.h"

namespace {

// A line whose first text is a block marker.
struct marked_line {
  int32_t line;
  comment_blocks::marker marker;
};

// Cuts the line comments of lines [first, last) and notes the lines that
// begin with a block marker.
void cut_line_comments(line_table& lines, size_t first, size_t last,
                       std::vector<marked_line>& marked) {
  for (size_t i = first; i < last; ++i) {
    const std::string_view read = lines[i];
    // Most lines hold no ";", "#" or quote, and one look tells; before the
    // first of them, nothing is in a string.
    const size_t first_mark = byte_scan::find_first<';', '#', '\'', '"'>(read);
    if (first_mark == std::string_view::npos) continue;
    if (read[first_mark] == '#') {
      const comment_blocks::marker found = comment_blocks::marker_at(read, first_mark);
      // The line starts with the "#" when only blanks stand before it.
      if (found != comment_blocks::marker::none &&
          read.find_first_not_of(" \t") == first_mark) {
        marked.push_back({static_cast<int32_t>(i), found});
      }
    }
    const size_t comment = comment_blocks::line_comment_start(read, first_mark);
    if (comment != std::string_view::npos) lines.truncate(i, comment);
  }
}

// Empties the lines of the comment blocks, walking the marked lines in
// order: the lines between two of them share the fate of a block that is
// open there.
void cut_blocks(line_table& lines, int32_t line_count, const std::vector<marked_line>& marked) {
  comment_blocks::walker blocks;
  int32_t passed = 0;  // the last line whose fate is settled
  auto settle_up_to = [&](int32_t to) {
    if (blocks.inside()) {
      for (int32_t j = passed + 1; j <= to; ++j) lines.clear(j);
    }
    passed = to;
  };
  for (const marked_line& at : marked) {
    settle_up_to(at.line - 1);
    if (blocks.in_block(at.marker)) lines.clear(at.line);
    passed = at.line;
  }
  settle_up_to(line_count);
}

}  // namespace

void autoitsourcefile::remove_comments() {
  comments_timer.start();
  console::out("start: remove comments...\n");
  // Line comments are cut on two threads, one for each half of the script;
  // the blocks, which run from line to line, are then cut in line order.
  std::array<std::vector<marked_line>, 2> marks;
  two_threads::split(1, static_cast<size_t>(line_count) + 1,
                     [&](int half, size_t first, size_t last) {
                       cut_line_comments(lines, first, last, marks[half]);
                     });
  cut_blocks(lines, line_count, two_threads::joined(std::move(marks[0]), marks[1]));
  // The variable scan relies on this: a ";" still in a line is no comment.
  comments_removed = true;
  console::out("finished: remove comments\n\n");
  comments_timer.stop();
}
