// Which lines of the output the minify passes may rewrite as code: a
// directive line ("#" first) and a line of a comment block kept in the
// output only lose the blanks around them.
#pragma once

#include <cstddef>
#include <string_view>

#include "passes/minify/line_tokens.h"
#include "script/comment_blocks.h"

namespace minify {

struct line_kind {
  enum class what { code, directive, block } kind = what::code;
  // Code: where the code ends. A block marker is a line's first text, so
  // a line of code is code to its end.
  size_t code_end = 0;
};

// Follows the comment blocks over the lines, which it must be shown in order.
class line_classifier {
 public:
  // blocks_possible: the comments were kept, so blocks may still stand.
  explicit line_classifier(bool blocks_possible) : blocks_possible_(blocks_possible) {}

  // Only follows the blocks over a line, for a classifier that starts
  // further down.
  void pass(std::string_view line) {
    if (!blocks_possible_ || (!walker_.inside() && line.find('#') == std::string_view::npos)) {
      return;
    }
    next(line);
  }

  // Whether the next line stands in a comment block.
  bool inside() const { return blocks_possible_ && walker_.inside(); }

  line_kind next(std::string_view line) {
    line_kind k;
    k.code_end = line.size();
    // Most lines are indented: the blanks are skipped a word at a time.
    const size_t first = blank_end(line, 0);
    if (blocks_possible_ && walker_.in_block(comment_blocks::marker_at(line, first))) {
      k.kind = line_kind::what::block;
      return k;
    }
    if (first < line.size() && line[first] == '#') k.kind = line_kind::what::directive;
    return k;
  }

 private:
  bool blocks_possible_;
  comment_blocks::walker walker_;
};

}  // namespace minify
