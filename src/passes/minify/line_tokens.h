// The tokens of one line of code as the minify passes read it: blanks,
// strings (either quote, a doubled quote inside), a comment to the line's
// end, $names, @macros, words, numbers, and any other byte on its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

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

// Letters, digits and "_", by byte.
struct word_bytes {
  bool is[256] = {};
  constexpr word_bytes() {
    for (int c = 0; c < 256; ++c) {
      is[c] = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    }
  }
};
inline constexpr word_bytes kWordBytes;
inline bool is_word_char(char c) { return kWordBytes.is[static_cast<unsigned char>(c)]; }
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

// Calls each(token) for every token of `line`, in order.
template <class Each>
void for_each_token(std::string_view line, Each each) {
  size_t i = 0;
  char last = 0;  // the last byte before, blanks aside
  while (i < line.size()) {
    const char c = line[i];
    token t{token_kind::other, i, i + 1, false};
    if (c == ' ' || c == '\t') {
      size_t j = i + 1;
      while (j < line.size() && (line[j] == ' ' || line[j] == '\t')) ++j;
      t = {token_kind::blank, i, j, false};
    } else if (c == ';') {
      t = {token_kind::comment, i, line.size(), false};
    } else if (c == '"' || c == '\'') {
      t = {token_kind::string, i, string_close(line, i), false};
    } else if ((c == '$' || c == '@') && i + 1 < line.size() && is_word_char(line[i + 1])) {
      size_t j = i + 1;
      while (j < line.size() && is_word_char(line[j])) ++j;
      t = {c == '$' ? token_kind::variable : token_kind::macro, i, j, false};
    } else if (is_digit(c)) {
      // 12, 1.5, 0x1F, 1e5, 1e-5.
      size_t j = i + 1;
      while (j < line.size()) {
        const char d = line[j];
        if (is_word_char(d)) {
          ++j;
        } else if (d == '.' && j + 1 < line.size() && is_digit(line[j + 1])) {
          ++j;
        } else if ((d == '-' || d == '+') && (line[j - 1] == 'e' || line[j - 1] == 'E') &&
                   line[i] != '0' && j + 1 < line.size() && is_digit(line[j + 1])) {
          ++j;
        } else {
          break;
        }
      }
      t = {token_kind::number, i, j, false};
    } else if (is_word_char(c)) {
      size_t j = i + 1;
      while (j < line.size() && is_word_char(line[j])) ++j;
      t = {token_kind::word, i, j, last == '.'};
    }
    each(t);
    if (t.kind != token_kind::blank) last = line[t.end - 1];
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
