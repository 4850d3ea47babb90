// Cutting unused variables out of their declaration lines: where an item
// stands, the cut of one variable or of a line's few, and the list of deleted names.
#include "passes/variables/variable_cut.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "passes/variables/variable_line_cuts.h"
#include "script/autoitsourcefile.h"
#include "script/normalize.h"
#include "script/two_threads.h"

namespace {

constexpr size_t npos = std::string_view::npos;
// Up to this many cuts of one line are made one by one.
constexpr size_t kFewCuts = 4;

// Every start position of `pattern` in `text` at or after `from`, in order
// (Knuth-Morris-Pratt, so a line costs time linear in its length).
template <class F>
void for_each_occurrence(std::string_view text, std::string_view pattern, size_t from, F&& on_hit) {
  const size_t m = pattern.size();
  if (m == 0 || from >= text.size()) return;
  std::vector<size_t> border(m, 0);
  for (size_t i = 1, k = 0; i < m; ++i) {
    while (k > 0 && pattern[i] != pattern[k]) k = border[k - 1];
    if (pattern[i] == pattern[k]) ++k;
    border[i] = k;
  }
  for (size_t i = from, k = 0; i < text.size(); ++i) {
    while (k > 0 && text[i] != pattern[k]) k = border[k - 1];
    if (text[i] == pattern[k]) ++k;
    if (k == m) {
      if (!on_hit(i + 1 - m)) return;
      k = border[k - 1];
    }
  }
}

// For each position x of the line (0 to its length): whether the text
// before x, blanks and tabs aside, ends in a "," or is one or more
// declaring words and nothing else.
std::vector<bool> item_starts(std::string_view upper_line) {
  std::string stripped;
  stripped.reserve(upper_line.size());
  for (char c : upper_line) {
    if (!is_blank_or_tab(c)) stripped.push_back(c);
  }
  // No word is a prefix of another, so the words split the prefix in one
  // way only, found left to right.
  std::vector<bool> ends_word(stripped.size() + 1, false);
  for (size_t pos = 0; pos < stripped.size();) {
    size_t matched = 0;
    for (std::string_view word : declaring_words) {
      if (std::string_view(stripped).substr(pos, word.size()) == word) matched = word.size();
    }
    if (matched == 0) break;
    pos += matched;
    ends_word[pos] = true;
  }

  std::vector<bool> starts(upper_line.size() + 1, false);
  size_t kept = 0;  // non-blank bytes before x
  char last = 0;    // the last of them
  for (size_t x = 0; x <= upper_line.size(); ++x) {
    starts[x] = (kept > 0 && last == ',') || ends_word[kept];
    if (x < upper_line.size() && !is_blank_or_tab(upper_line[x])) {
      ++kept;
      last = upper_line[x];
    }
  }
  return starts;
}

size_t find_item(std::string_view upper_line, std::string_view name, size_t from,
                 const std::vector<bool>& starts) {
  size_t found = npos;
  for_each_occurrence(upper_line, name, from, [&](size_t x) {
    const size_t end = x + name.size();
    if (starts[x] && (end == upper_line.size() || !continues_name(upper_line[end]))) {
      found = x;
      return false;
    }
    return true;
  });
  return found;
}

// find_item for a name as the scan records it, without an upper-case copy
// of the line: the name is compared only at the first non-blank byte after
// each "," and after each declaring word of the run that begins the line
// (where a name holds no blank, no item can begin on a blank). A comparison
// stops at the next "," (names hold none) or, where a declaring word
// begins, within the word (no name begins with one), so the bytes compared
// are about the line's length.
size_t find_scanned_item(std::string_view line, std::string_view name, size_t from) {
  const size_t n = line.size();
  const size_t m = name.size();
  // The first non-blank byte after the declaring word last passed; npos
  // once the run of them is over.
  auto after_word = [&](size_t x) {
    size_t end = 0;
    if (declaring_word_at(line, x, &end) == 0) return npos;
    while (end < n && is_blank_or_tab(line[end])) ++end;
    return end;
  };
  size_t word_item = after_word(0);
  char last = 0;  // the last non-blank byte before x
  for (size_t x = 0; x < n; ++x) {
    const char c = line[x];
    if (is_blank_or_tab(c)) continue;
    const bool starts = last == ',' || x == word_item;
    if (x == word_item) word_item = after_word(x);
    last = c;
    if (!starts || x < from || n - x < m) continue;
    size_t i = 0;
    while (i < m && upper_ascii(line[x + i]) == name[i]) ++i;
    if (i == m && (x + m == n || !continues_name(line[x + m]))) return x;
  }
  return npos;
}

// The "," found by stepping back from x - 1; npos when there is none.
size_t comma_before(std::string_view line, size_t x) {
  while (x > 0) {
    --x;
    if (line[x] == ',') return x;
  }
  return npos;
}

}  // namespace

size_t find_item(std::string_view upper_line, std::string_view name, size_t from) {
  if (name.empty()) return npos;
  if (as_scanned(name)) return find_scanned_item(upper_line, name, from);
  return find_item(upper_line, name, from, item_starts(upper_line));
}

bool as_scanned(std::string_view name) {
  if (name.find_first_of(" \t,") != std::string_view::npos) return false;
  for (std::string_view word : declaring_words) {
    if (name.starts_with(word)) return false;
  }
  return true;
}

size_t declaring_word_at(std::string_view line, size_t x, size_t* end) {
  for (std::string_view word : declaring_words) {
    size_t y = x;
    size_t i = 0;
    for (; i < word.size(); ++i, ++y) {
      while (y < line.size() && is_blank_or_tab(line[y])) ++y;
      if (y == line.size() || upper_ascii(line[y]) != word[i]) break;
    }
    if (i == word.size()) {
      *end = y;
      return word.size();
    }
  }
  return 0;
}

void cut_shared_item(std::string& line, std::string_view name, bool previous_shares,
                     bool next_shares, std::string_view next_name) {
  if (name.empty()) return;
  // Names as the scan records them (nearly all) are looked for in the line
  // itself; others in an upper-case copy, at every place they occur.
  const bool scanned = as_scanned(name) && as_scanned(next_name);
  std::string upper;
  std::vector<bool> starts;
  if (!scanned) {
    upper = upper_copy(line);
    starts = item_starts(upper);
  }
  auto find = [&](std::string_view item, size_t from) {
    return scanned ? find_scanned_item(line, item, from) : find_item(upper, item, from, starts);
  };
  const size_t p = find(name, 0);
  if (p == npos) return;

  // The item before went with the comma in front of this one: this is
  // now the first item left.
  size_t comma_p = npos;
  if (previous_shares) {
    size_t x = p;
    while (x > 0 && is_blank_or_tab(line[x - 1])) --x;
    if (x > 0 && line[x - 1] == ',') {
      comma_p = x - 1;
    } else {
      previous_shares = false;
    }
  }

  size_t comma_q = npos;
  if (next_shares) {
    const size_t q = next_name.empty() ? npos : find(next_name, p + name.size());
    if (q == npos) return;
    comma_q = comma_before(line, q);
    if (comma_q == npos || comma_q < p + name.size()) return;
  }

  if (previous_shares && next_shares) {
    line.erase(comma_p, comma_q - comma_p);
  } else if (previous_shares) {
    line.erase(comma_p);
  } else if (next_shares) {
    line.erase(p, comma_q + 1 - p);
  } else {
    line.clear();  // It was the last item left.
  }
}

bool shares_line(const variable_table& table, int32_t count, int32_t k) {
  const int32_t line = table.declaration_lines[k];
  return (k > 1 && table.declaration_lines[k - 1] == line) ||
         (k < count && table.declaration_lines[k + 1] == line);
}

bool cut_variable(autoitsourcefile& script, variable_table& table, int32_t k) {
  const int32_t line = table.declaration_lines[k];
  const int32_t count = script.variable_count;
  const bool previous_shares = k > 1 && table.declaration_lines[k - 1] == line;
  const bool next_shares = k < count && table.declaration_lines[k + 1] == line;
  if (!previous_shares && !next_shares) {
    script.lines.clear(line);
    script.transformed_lines.clear(line);
    table.declaration_lines[k] = -1;
    return true;
  }
  std::string text(script.lines[line]);
  cut_shared_item(text, table.variable_names[k], previous_shares, next_shares,
                  next_shares ? std::string_view(table.variable_names[k + 1]) : std::string_view());
  script.lines.set(line, text);
  return false;
}

namespace {

// The cuts of one line as the pass makes them, read from the variable table
// by number rather than copied out of it. The line's variables are numbers
// [first, last); the cuts are all of them, or those `listed`.
class table_cuts final : public shared_cut_list {
 public:
  table_cuts(const variable_table& table, int32_t first, int32_t last,
             const std::vector<int32_t>* listed)
      : table_(table), first_(first), last_(last), listed_(listed) {}
  size_t size() const override {
    return listed_ != nullptr ? listed_->size() : static_cast<size_t>(last_ - first_);
  }
  shared_cut operator[](size_t i) const override {
    const int32_t k = listed_ != nullptr ? (*listed_)[i] : first_ + static_cast<int32_t>(i);
    const bool next_shares = k + 1 < last_;
    return {table_.variable_names[k], k > first_, next_shares,
            next_shares ? std::string_view(table_.variable_names[k + 1]) : std::string_view()};
  }

 private:
  const variable_table& table_;
  int32_t first_;
  int32_t last_;
  const std::vector<int32_t>* listed_;
};

}  // namespace

void cut_shared_variables(autoitsourcefile& script, const variable_table& table,
                          const std::vector<bool>& unused) {
  const auto count = static_cast<size_t>(script.variable_count);
  const std::vector<int32_t>& line_of = table.declaration_lines;
  // The lines lie far apart in memory: each is asked for in two steps some
  // variables ahead, its view and then its text with the variable's name.
  constexpr size_t kAhead = 8;
  // The variables of one line have consecutive numbers; each half of them
  // is cut on a thread of its own, the halves meeting where a line begins.
  auto line_starts = [&](size_t k) {
    while (k > 1 && k <= count && line_of[k] == line_of[k - 1]) ++k;
    return k;
  };
  std::array<std::optional<line_table::builder>, 2> text_of;
  for (auto& part : text_of) part.emplace(script.lines);
  two_threads::split_at(1, count + 1, line_starts, [&](int half, size_t first, size_t last) {
    // Reading ahead stops at the half's last variable: the lines past it
    // are the other half's, which its thread is rewriting. A variable cut
    // alone has no line any more (-1).
    auto ahead_line = [&](size_t k, size_t n) { return line_of[std::min(k + n, last - 1)]; };
    std::string text;
    // The cuts of a line that keeps some of its variables; a line that
    // loses them all needs no list.
    std::vector<int32_t> listed;
    for (size_t k = first; k < last;) {
      if (const int32_t ahead = ahead_line(k, 2 * kAhead); ahead >= 0) {
        prefetch(script.lines.slot_address(static_cast<size_t>(ahead)));
      }
      if (const int32_t ahead = ahead_line(k, kAhead); ahead >= 0) {
        prefetch(script.lines[static_cast<size_t>(ahead)].data());
      }
      const int32_t line = line_of[k];
      size_t line_end = k + 1;
      size_t cut_count = unused[k] ? 1 : 0;
      for (; line_end < last && line_of[line_end] == line; ++line_end) {
        if (unused[line_end]) ++cut_count;
      }
      const size_t line_first = k;
      k = line_end;
      if (cut_count == 0) continue;
      listed.clear();
      if (cut_count < line_end - line_first) {
        for (size_t v = line_first; v < line_end; ++v) {
          if (unused[v]) listed.push_back(static_cast<int32_t>(v));
        }
      }
      const table_cuts cuts(table, static_cast<int32_t>(line_first), static_cast<int32_t>(line_end),
                            listed.empty() ? nullptr : &listed);
      const std::string_view old_text = script.lines[line];
      // A few cuts cost less one by one, each about the line once. Many are
      // made together, the text going straight into the table.
      if (cuts.size() > kFewCuts) {
        text_of[half]->build(static_cast<size_t>(line), old_text.size(),
                             [&](char* out) { return write_cut_line(old_text, cuts, out); });
        continue;
      }
      text.assign(old_text);
      for (size_t c = 0; c < cuts.size(); ++c) {
        const shared_cut cut = cuts[c];
        cut_shared_item(text, cut.name, cut.previous_shares, cut.next_shares, cut.next_name);
      }
      text_of[half]->build(static_cast<size_t>(line), text.size(), [&](char* out) {
        if (!text.empty()) std::memcpy(out, text.data(), text.size());
        return text.size();
      });
    }
  });
  for (auto& part : text_of) script.lines.adopt(std::move(*part));
}

void list_deleted_variables(autoitsourcefile& script, const variable_table& table,
                            const std::vector<bool>& shared, size_t first_line, int32_t count) {
  deleted_variables& names = script.deleted_variable_names;
  names.reserve(names.size() + static_cast<size_t>(count));
  size_t next_line = first_line;
  int32_t shared_slot = -1;
  size_t shared_line = 0;
  for (int32_t k = 1; k <= script.variable_count; ++k) {
    const int32_t slot = table.declaration_lines[k];
    if (slot == -1) {
      names.push_back_on_line(table.variable_names[k], next_line++);
    } else if (shared[static_cast<size_t>(k)]) {
      if (slot != shared_slot) {
        shared_slot = slot;
        shared_line = next_line++;
      }
      names.push_back_on_line(table.variable_names[k], shared_line);
    }
  }
}
