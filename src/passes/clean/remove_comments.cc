// Comment removal: line comments that start with ";" outside string literals,
// and "#cs"/"#ce" and "#comments-start"/"#comments-end" blocks. Lines are cut
// or emptied in place; none is removed, so line_count stays as it is.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "report/console.h"
#include "script/byte_scan.h"
#include "script/autoitsourcefile.h"

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

// If line i holds `open`, keeps only the text before it and empties every
// following line up to and including the first one that holds `close`; an
// unclosed block runs to the last line. The markers are plain, case-sensitive
// substrings, wherever they stand in the line.
void cut_block(line_table& lines, int32_t i, int32_t line_count, std::string_view open,
               std::string_view close) {
  size_t p = lines[i].find(open);
  if (p == std::string_view::npos) return;
  lines.truncate(i, p);
  for (int32_t j = i + 1; j <= line_count; ++j) {
    bool closes = lines[j].find(close) != std::string_view::npos;
    lines.clear(j);
    if (closes) return;
  }
}

}  // namespace

void autoitsourcefile::remove_comments() {
  comments_timer.start();
  console::out("start: remove comments...\n");
  for (int32_t i = 1; i <= line_count; ++i) {
    // Most lines hold no ";", "#" or quote, and one look tells; before the
    // first of them, nothing is in a string.
    const size_t first = byte_scan::find_first<';', '#', '\'', '"'>(lines[i]);
    if (first == std::string_view::npos) continue;
    size_t comment = line_comment_start(lines[i], first);
    if (comment != std::string_view::npos) lines.truncate(i, comment);
    // Both block openers start with "#".
    if (byte_scan::find_first<'#'>(lines[i], first) == std::string_view::npos) continue;
    cut_block(lines, i, line_count, "#cs", "#ce");
    cut_block(lines, i, line_count, "#comments-start", "#comments-end");
  }
  // The variable scan relies on this: a ";" still in a line is no comment.
  comments_removed = true;
  console::out("finished: remove comments\n\n");
  comments_timer.stop();
}
