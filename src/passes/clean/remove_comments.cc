// Comment removal: line comments that start with ";" outside string literals,
// and "#cs"/"#ce" and "#comments-start"/"#comments-end" blocks. Lines are cut
// or emptied in place; none is removed, so line_count stays as it is.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "report/console.h"
#include "script/byte_scan.h"
#include "script/autoitsourcefile.h"
#include "script/two_threads.h"

namespace {

// Where the line's comment starts: its first ";" outside string literals, or
// npos; the walk starts at `from`, outside any string. A quote of the other
// kind inside an open string is a plain character; a doubled quote closes
// and reopens its string, so it stays open: a string runs to the next quote
// of its kind, or to the end of the line.
size_t line_comment_start(std::string_view line, size_t from) {
  for (size_t p = from;
       (p = byte_scan::find_first<';', '\'', '"'>(line, p)) != std::string_view::npos;) {
    if (line[p] == ';') return p;
    const size_t close = line[p] == '"' ? byte_scan::find_first<'"'>(line, p + 1)
                                        : byte_scan::find_first<'\''>(line, p + 1);
    if (close == std::string_view::npos) return std::string_view::npos;
    p = close + 1;
  }
  return std::string_view::npos;
}

constexpr size_t npos = std::string_view::npos;
constexpr size_t kCommentsStart = std::string_view("#comments-start").size();

// What a line that holds a "#" can do to comment blocks: the blocks it
// opens (where "#cs" or "#comments-start" stands in it once its line comment
// is cut) and the blocks it closes ("#ce" or "#comments-end" anywhere in its
// text as read). The markers are plain, case-sensitive substrings, wherever
// they stand in the line.
struct block_marks {
  int32_t line;
  size_t opens_cs;
  size_t opens_comments;
  bool closes_cs;
  bool closes_comments;
};

// Cuts the line comments of lines [first, last) and notes the block marks of
// those lines.
void cut_line_comments(line_table& lines, size_t first, size_t last,
                       std::vector<block_marks>& marks) {
  for (size_t i = first; i < last; ++i) {
    const std::string_view read = lines[i];
    // Most lines hold no ";", "#" or quote, and one look tells; before the
    // first of them, nothing is in a string.
    const size_t first_mark = byte_scan::find_first<';', '#', '\'', '"'>(read);
    if (first_mark == std::string_view::npos) continue;
    const size_t comment = line_comment_start(read, first_mark);
    if (comment != std::string_view::npos) lines.truncate(i, comment);
    // Every block marker starts with "#": one walk over the line's "#"s
    // finds them all. An opener counts only inside what the cut left.
    const size_t kept = lines[i].size();
    block_marks found{static_cast<int32_t>(i), npos, npos, false, false};
    for (size_t p = byte_scan::find_first<'#'>(read, first_mark); p != npos;
         p = byte_scan::find_first<'#'>(read, p + 1)) {
      const std::string_view marker = read.substr(p);
      if (marker.starts_with("#cs")) {
        if (found.opens_cs == npos && p + 3 <= kept) found.opens_cs = p;
      } else if (marker.starts_with("#ce")) {
        found.closes_cs = true;
      } else if (marker.starts_with("#comments-start")) {
        if (found.opens_comments == npos && p + kCommentsStart <= kept) found.opens_comments = p;
      } else if (marker.starts_with("#comments-end")) {
        found.closes_comments = true;
      }
    }
    if (found.opens_cs != npos || found.opens_comments != npos || found.closes_cs ||
        found.closes_comments) {
      marks.push_back(found);
    }
  }
}

// Empties the lines of the comment blocks, as a walk from the first line to
// the last would: a line that opens a block keeps only the text before its
// marker, and every following line is emptied up to and including the first
// one that closes it (an unclosed block runs to the last line); the lines of
// a block open nothing. A line may open "#cs" and, before it,
// "#comments-start": the second block then begins where the first ends.
void cut_blocks(line_table& lines, int32_t line_count, const std::vector<block_marks>& marks) {
  int32_t emptied_to = 0;  // lines up to here are inside a block
  size_t next = 0;         // the first mark not passed yet
  // Empties the lines after `from` up to the first that closes the block.
  auto close_after = [&](int32_t from, bool block_marks::*closes) {
    while (next < marks.size() && (marks[next].line <= from || !(marks[next].*closes))) ++next;
    const int32_t to = next < marks.size() ? marks[next].line : line_count;
    for (int32_t j = from + 1; j <= to; ++j) lines.clear(j);
    emptied_to = std::max(emptied_to, to);
  };
  while (next < marks.size()) {
    const block_marks& at = marks[next++];
    if (at.line <= emptied_to) continue;
    if (at.opens_cs != npos) {
      lines.truncate(at.line, at.opens_cs);
      close_after(at.line, &block_marks::closes_cs);
    }
    if (at.opens_comments != npos &&
        (at.opens_cs == npos || at.opens_comments + kCommentsStart <= at.opens_cs)) {
      lines.truncate(at.line, at.opens_comments);
      close_after(std::max(at.line, emptied_to), &block_marks::closes_comments);
    }
  }
}

}  // namespace

void autoitsourcefile::remove_comments() {
  comments_timer.start();
  console::out("start: remove comments...\n");
  // Line comments are cut on two threads, one for each half of the script;
  // the blocks, which run from line to line, are then cut in line order.
  std::array<std::vector<block_marks>, 2> marks;
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
