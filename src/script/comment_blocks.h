// Where comment blocks begin and end: the one rule that both the comment pass
// and the include pass follow, so that an include that the comment pass would
// remove with its block is never spliced.

// A block opens where "#cs" or "#comments-start" stands in a line once its
// line comment is cut, and runs over the following lines up to and including
// the first that holds the closing marker of its kind ("#ce" or
// "#comments-end") anywhere in its text as read; the two kinds do not close
// each other. The markers are plain, case-sensitive substrings. The lines of
// a block open nothing, and the opening line is not searched for its closing
// marker.
#pragma once

#include <cstddef>
#include <string_view>

namespace comment_blocks {

inline constexpr size_t npos = std::string_view::npos;

// Where the line's comment starts: its first ";" outside string literals, or
// npos; the walk starts at `from`, outside any string. A quote of the other
// kind inside an open string is a plain character; a doubled quote closes
// and reopens its string, so it stays open: a string runs to the next quote
// of its kind, or to the end of the line.
size_t line_comment_start(std::string_view line, size_t from = 0);

// What one line can do to comment blocks.
struct marks {
  // Where the opening markers stand before the line comment (npos: none).
  size_t opens_cs = npos;
  size_t opens_comments = npos;
  // A closing marker stands anywhere in the line.
  bool closes_cs = false;
  bool closes_comments = false;

  bool any() const {
    return opens_cs != npos || opens_comments != npos || closes_cs || closes_comments;
  }
};

// The marks of `line`, whose line comment starts at `comment` (npos: none);
// `first_hash` is where its first "#" stands, npos when it has none.
marks marks_of(std::string_view line, size_t first_hash, size_t comment);

// The marks of `line`, from scratch.
marks marks_of(std::string_view line);

// What a block leaves of a line.
enum class line_fate {
  kept,     // outside every block: the line stays
  opens,    // opens a block: the text before the marker stays
  emptied,  // a line of a block, its closing line included
};

// Follows the blocks line by line, in order. A line may open "#comments-start"
// and, after it, "#cs": the "#cs" block runs first, and the other then opens
// where it ends.
class walker {
 public:
  // The fate of the next line, given its marks; *keep is how much of an
  // opening line stays.
  line_fate next(const marks& line, size_t* keep);
  // The lines that follow are lines of a block, until one closes it.
  bool inside() const { return open_ != kind::none; }

 private:
  enum class kind { none, cs, comments };
  kind open_ = kind::none;
  // A "#comments-start" block that opens once the "#cs" block ends.
  bool comments_waiting_ = false;
};

}  // namespace comment_blocks
