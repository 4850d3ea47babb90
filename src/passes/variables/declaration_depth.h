// Where a byte of a declaration line stands: in a string, inside a call's
// parentheses or an index's brackets, or at the declaration's own top level.
#pragma once

#include <cstdint>

struct declaration_depth {
  char quote = 0;  // the quote of the string the walk is in, else 0
  int64_t parens = 0;
  int64_t brackets = 0;

  // Takes the next byte. False for a byte of a string, a quote, a
  // parenthesis or a bracket; true for any other byte, which
  // `top_level()` then places.
  bool step(char c) {
    if (quote != 0) {
      if (c == quote) quote = 0;
      return false;
    }
    switch (c) {
      case '\'':
      case '"':
        quote = c;
        return false;
      case '(':
        ++parens;
        return false;
      case ')':
        --parens;
        return false;
      case '[':
        ++brackets;
        return false;
      case ']':
        --brackets;
        return false;
      default:
        return true;
    }
  }

  // Outside every string, call and index: where "," parts declarations.
  bool top_level() const { return quote == 0 && parens == 0 && brackets == 0; }
};
