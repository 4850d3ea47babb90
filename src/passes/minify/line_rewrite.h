// Writes a line of code again, token by token: with its spare blanks gone,
// its names renamed, or both. What both minify passes share.
#pragma once

#include <string>
#include <string_view>

#include "passes/minify/line_tokens.h"

namespace minify {

// Whether a blank must stay between a token that ends in `before` (a number
// when `after_number`) and one that begins with `next`: without it the two
// would read as one word, one operator, one number or one string.
inline bool blank_needed(char before, bool after_number, char next) {
  if (after_number && next == '.') return true;
  if (is_word_char(before)) return is_word_char(next) || next == '$' || next == '@';
  switch (before) {
    case '<':
      if (next == '=' || next == '>') return true;
      break;
    case '>':
    case '=':
      if (next == '=') return true;
      break;
    case '+':
    case '-':
      if (next == '=' || next == '+' || next == '-') return true;
      break;
    case '*':
    case '/':
    case '&':
      if (next == '=') return true;
      break;
    case '"':
    case '\'':
      // Two strings of one quote would read as one with a doubled quote.
      if (next == before) return true;
      break;
    default:
      break;
  }
  return false;
}

// Appends `code` to *out: with `squeeze`, blanks at both ends go and a run
// between two tokens goes unless blank_needed says otherwise (one blank
// then stays), and blanks before a comment go; strings and comments stay as
// they are. rename(token) gives a $name's or word's new text, or an empty
// view to keep it.
template <class Rename>
void rewrite_code(std::string_view code, bool squeeze, Rename rename, std::string* out) {
  const size_t start = out->size();
  bool pending_blank = false;
  bool after_number = false;
  for_each_token(code, [&](const token& t) {
    const std::string_view text = code.substr(t.begin, t.end - t.begin);
    if (t.kind == token_kind::blank) {
      if (squeeze) {
        pending_blank = true;
      } else {
        out->append(text);
      }
      return;
    }
    if (pending_blank) {
      pending_blank = false;
      if (out->size() > start && t.kind != token_kind::comment &&
          blank_needed(out->back(), after_number, text.front())) {
        out->push_back(' ');
      }
    }
    std::string_view renamed;
    if (t.kind == token_kind::variable || (t.kind == token_kind::word && !t.member)) {
      renamed = rename(t);
    }
    out->append(renamed.empty() ? text : renamed);
    after_number = t.kind == token_kind::number;
  });
}

}  // namespace minify
