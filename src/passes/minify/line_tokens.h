// The tokens of one line of code as the minify passes read it: blanks,
// strings (either quote, a doubled quote inside), a comment to the line's
// end, $names, @macros, words, numbers, and any other byte on its own.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "platform/ascii_case.h"

namespace minify {

enum class token_kind : uint8_t { blank, string, comment, variable, macro, word, number, other };

struct token {
  token_kind kind;
  size_t begin;
  size_t end;
  // A word right after "." (blanks aside): an object's member, never a
  // function of the script.
  bool member;
};

// What a byte can begin: the tokenizer's first look, by byte.
enum class byte_class : uint8_t { other, blank, comment, quote, sigil, digit, letter };

struct byte_classes {
  byte_class of[256] = {};
  constexpr byte_classes() {
    for (int c = 0; c < 256; ++c) {
      const bool digit = c >= '0' && c <= '9';
      of[c] = digit         ? byte_class::digit
              : kWordBytes[c] ? byte_class::letter
              : c == ' ' || c == '\t' ? byte_class::blank
              : c == ';'    ? byte_class::comment
              : c == '"' || c == '\'' ? byte_class::quote
              : c == '$' || c == '@'  ? byte_class::sigil
                                      : byte_class::other;
    }
  }
};
inline constexpr byte_classes kBytes;
inline bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The end of the string that opens at `at`: after its closing quote, or the
// line's end when it is not closed. A doubled quote stays inside.
inline size_t string_close(std::string_view line, size_t at) {
  const char quote = line[at];
  size_t i = at + 1;
  while (i < line.size()) {
    if (line[i] != quote) {
      ++i;
    } else if (i + 1 < line.size() && line[i + 1] == quote) {
      i += 2;
    } else {
      return i + 1;
    }
  }
  return i;
}

// The end of the run of name bytes that goes on at `j`.
inline size_t word_end(std::string_view line, size_t j) {
  const char* p = line.data();
  const size_t n = line.size();
  while (j < n && is_word_byte(p[j])) ++j;
  return j;
}

// The end of the run of blanks and tabs that goes on at `j`; a longer run
// (indentation, padding) eight bytes at a time.
inline size_t blank_end(std::string_view line, size_t j) {
  const char* p = line.data();
  const size_t n = line.size();
  constexpr uint64_t kOnes = 0x0101010101010101ull;
  constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
  // Most runs are one blank.
  if (j < n && p[j] != ' ' && p[j] != '\t') return j;
  while (j + 8 <= n) {
    uint64_t v;
    std::memcpy(&v, p + j, 8);
    // A byte of x is 0 where the byte of v is a blank, of y where a tab.
    const uint64_t x = v ^ (kOnes * ' ');
    const uint64_t y = v ^ (kOnes * '\t');
    // The high bit set in each byte that is neither (no carries between bytes).
    const uint64_t nx = ((x & kLow7) + kLow7) | x;
    const uint64_t ny = ((y & kLow7) + kLow7) | y;
    const uint64_t other = nx & ny & ~kLow7;
    if (other != 0) return j + static_cast<size_t>(std::countr_zero(other) / 8);
    j += 8;
  }
  while (j < n && (p[j] == ' ' || p[j] == '\t')) ++j;
  return j;
}

// Calls each(token) for every token of `line`, in order.
template <class Each>
void for_each_token(std::string_view line, Each each) {
  const char* p = line.data();
  const size_t n = line.size();
  size_t i = 0;
  char last = 0;  // the last byte before, blanks aside
  while (i < n) {
    const char c = p[i];
    token t{token_kind::other, i, i + 1, false};
    switch (kBytes.of[static_cast<unsigned char>(c)]) {
      case byte_class::blank: {
        const size_t j = blank_end(line, i + 1);
        each(token{token_kind::blank, i, j, false});
        i = j;
        continue;
      }
      case byte_class::comment:
        t = {token_kind::comment, i, n, false};
        break;
      case byte_class::quote:
        t = {token_kind::string, i, string_close(line, i), false};
        break;
      case byte_class::sigil:
        if (i + 1 < n && is_word_byte(p[i + 1])) {
          t = {c == '$' ? token_kind::variable : token_kind::macro, i, word_end(line, i + 2), false};
        }
        break;
      case byte_class::digit: {
        // 12, 1.5, 0x1F, 1e5, 1e-5.
        size_t j = i + 1;
        while (j < n) {
          const char d = p[j];
          if (is_word_byte(d)) {
            ++j;
          } else if (d == '.' && j + 1 < n && is_digit(p[j + 1])) {
            ++j;
          } else if ((d == '-' || d == '+') && (p[j - 1] == 'e' || p[j - 1] == 'E') &&
                     c != '0' && j + 1 < n && is_digit(p[j + 1])) {
            ++j;
          } else {
            break;
          }
        }
        t = {token_kind::number, i, j, false};
        break;
      }
      case byte_class::letter:
        t = {token_kind::word, i, word_end(line, i + 1), last == '.'};
        break;
      case byte_class::other:
        break;
    }
    each(t);
    last = p[t.end - 1];
    i = t.end;
  }
}

// Where a directive or comment-block line's text begins and ends: only the
// blanks around it go.
inline std::string_view trimmed(std::string_view line) {
  size_t b = 0;
  size_t e = line.size();
  while (b < e && (line[b] == ' ' || line[b] == '\t')) ++b;
  while (e > b && (line[e - 1] == ' ' || line[e - 1] == '\t')) --e;
  return line.substr(b, e - b);
}

// Whether the line is a directive: "#" first after blanks.
inline bool is_directive(std::string_view line) {
  const std::string_view t = trimmed(line);
  return !t.empty() && t.front() == '#';
}

}  // namespace minify
