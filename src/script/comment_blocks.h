// Where comment blocks begin and end: the one rule that both the comment pass
// and the include pass follow, so that an include that the comment pass
// would remove with its block is never spliced.
//
// A marker is the first text of a line, after blanks and tabs: "#cs" or
// "#comments-start" opens a block, "#ce" or "#comments-end" closes one, in
// any letter case, followed by the line's end or by a byte that cannot go on
// with a word (anything but a letter, digit, "_" or "-"). Either spelling
// closes a block opened by either. Blocks nest: inside a block an opening
// marker goes one level deeper and a closing one ends a level, and the block
// ends when none is left. Every line of a block goes, its marker lines (and
// the text after a marker) included; a block left open runs to the end of
// the script, and a closing marker outside any block is an ordinary line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace comment_blocks {

inline constexpr size_t npos = std::string_view::npos;

// Where the line's comment starts: its first ";" outside string literals, or
// npos; the walk starts at `from`, outside any string. A quote of the other
// kind inside an open string is a plain character; a doubled quote closes
// and reopens its string, so it stays open: a string runs to the next quote
// of its kind, or to the end of the line.
size_t line_comment_start(std::string_view line, size_t from = 0);

// What the first text of a line does to comment blocks.
enum class marker { none, opens, closes };

// The marker of `line`, whose first byte that is not blank or tab stands at
// `first` (npos or the line's size: the line holds only blanks).
marker marker_at(std::string_view line, size_t first);

// The marker of `line`, from scratch.
marker marker_of(std::string_view line);

// Follows the blocks line by line, in order.
class walker {
 public:
  // Whether the line with this marker goes with a block: it opens one, or
  // it stands inside one (its closing line included).
  bool in_block(marker line);
  // The lines that follow are lines of a block, until one closes it.
  bool inside() const { return depth_ != 0; }

 private:
  int64_t depth_ = 0;
};

}  // namespace comment_blocks
