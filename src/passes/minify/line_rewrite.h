// Writes a line of code again, token by token: with its spare blanks gone,
// its names renamed, or both. What both minify passes share.
#pragma once

#include <cstring>
#include <string_view>

#include "passes/minify/line_tokens.h"

namespace minify {

// Whether a blank must stay between a token that ends in `before` (a number
// when `after_number`) and one that begins with `next`: without it the two
// would read as one word, one operator, one number or one string.
inline bool blank_needed(char before, bool after_number, char next) {
  if (after_number && next == '.') return true;
  if (is_word_byte(before)) return is_word_byte(next) || next == '$' || next == '@';
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

// Copies a token: most are a few bytes, for which a call to memcpy costs
// more than the copy.
inline char* put(char* out, const char* text, size_t size) {
  if (size > 16) {
    std::memcpy(out, text, size);
    return out + size;
  }
  for (size_t i = 0; i < size; ++i) out[i] = text[i];
  return out + size;
}

// The most bytes rewrite_code can write for `code`: a new name is at most
// 7 bytes, a name at least 1, and blanks only go.
inline size_t most_rewritten(std::string_view code) { return code.size() * 7 + 8; }

// Writes `code` at `out` (room for most_rewritten bytes) and returns how
// many bytes it wrote: with `squeeze`, blanks at both ends go and a run
// between two tokens goes unless blank_needed says otherwise (one blank
// then stays), and blanks before a comment go; strings and comments stay as
// they are. rename(token) gives a $name's or word's new text packed in a
// word (its bytes from the lowest, their number in the top byte), or 0 to
// keep it; all 8 bytes are stored, which the room's spare 8 allows.
template <class Rename>
size_t rewrite_code(std::string_view code, bool squeeze, Rename rename, char* out) {
  char* const start = out;
  bool pending_blank = false;
  bool after_number = false;
  for_each_token(code, [&](const token& t) {
    const char* text = code.data() + t.begin;
    const size_t size = t.end - t.begin;
    if (t.kind == token_kind::blank) {
      if (squeeze) {
        pending_blank = true;
      } else {
        out = put(out, text, size);
      }
      return;
    }
    if (pending_blank) {
      pending_blank = false;
      if (out > start && t.kind != token_kind::comment && blank_needed(out[-1], after_number, *text)) {
        *out++ = ' ';
      }
    }
    after_number = t.kind == token_kind::number;
    if (t.kind == token_kind::variable || (t.kind == token_kind::word && !t.member)) {
      const uint64_t renamed = rename(t);
      if (renamed != 0) {
        std::memcpy(out, &renamed, 8);
        out += renamed >> 56;
        return;
      }
    }
    out = put(out, text, size);
  });
  return static_cast<size_t>(out - start);
}

}  // namespace minify
