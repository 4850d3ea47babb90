#include "passes/deadcode/function_usage_index.h"

#include <algorithm>
#include <array>

namespace {

std::vector<std::string> other_strings_of(const function_headers& found) {
  std::vector<std::string> strings;
  auto joined = [](std::string_view before, std::string_view name, std::string_view after) {
    std::string text(before);
    text.append(name).append(after);
    return text;
  };
  for (int32_t other : found.other_names) {
    const std::string_view name = found.names[static_cast<size_t>(other)];
    strings.push_back(joined("", name, "("));
    strings.push_back(joined("\"", name, "\""));
    strings.push_back(joined("'", name, "'"));
  }
  return strings;
}

std::vector<std::string> other_words_of(const function_headers& found) {
  std::vector<std::string> words;
  for (int32_t other : found.other_names) {
    const std::string_view name = found.names[static_cast<size_t>(other)];
    if (!name.empty()) words.emplace_back(name);
  }
  return words;
}

// A whole word: no letter, digit, "_" or "$" right before it, no letter,
// digit or "_" right after it.
match_bounds whole_word_bounds() {
  match_bounds bounds;
  for (int c = 0; c < 256; ++c) {
    bounds.after[c] = !kWordBytes[c];
    bounds.before[c] = !kWordBytes[c] && c != '$';
  }
  return bounds;
}

}  // namespace

function_usage_index::function_usage_index(function_headers& found,
                                           const line_table& transformed_lines,
                                           int32_t line_count)
    : counted_(static_cast<size_t>(std::max(line_count, 0)) + 1, false),
      counts_(found.names.size()),
      word_names_(std::move(*found.table)),
      word_marks_(found.headers.size()),
      other_strings_(other_strings_of(found)),
      other_words_(other_words_of(found), whole_word_bounds()) {
  word_name_owner_.reserve(found.headers.size());
  for (const function_header& header : found.headers) word_name_owner_.push_back(header.name);
  has_word_names_ = found.other_names.size() < found.names.size();
  // The owners, in the order in which the strings were handed to the matchers.
  for (int32_t owner : found.other_names) {
    other_string_owner_.insert(other_string_owner_.end(), 3, owner);
    if (!found.names[static_cast<size_t>(owner)].empty()) other_word_owner_.push_back(owner);
  }

  // Room for a use per line: only what is filled is ever touched.
  uses_.reserve(static_cast<size_t>(std::max(line_count, 0)));
  for (int32_t i = 1; i <= line_count; ++i) {
    counted_[i] = true;
    if (transformed_lines[i].empty() && other_string_owner_.empty()) continue;  // uses nothing
    for_each_name_used(i, transformed_lines[i],
                       [&](int32_t name) { uses_.push_back({i, name}); });
  }
}

template <class F>
void function_usage_index::for_each_name_used(int32_t line, std::string_view text,
                                              F&& on_name) {
  auto note = [&](int32_t name) {
    name_count& count = counts_[static_cast<size_t>(name)];
    if (count.last_line == line) return;
    count.last_line = line;
    ++count.lines_using;
    on_name(name);
  };
  if (!other_string_owner_.empty()) {
    other_strings_.for_each_name_in(text, [&](int32_t id) { note(other_string_owner_[id]); });
    other_words_.for_each_bounded_name_in(text, [&](int32_t id) { note(other_word_owner_[id]); });
  }
  if (!has_word_names_) return;
  // A word name is used by a run of word bytes that it ends when "(" follows
  // the run, and by a run that it equals when no "$" stands before the run
  // (it is then a whole word; "NAME" and 'NAME' are whole words too). Each
  // run is looked at once, which keeps the scan linear however many names
  // end alike.
  // The names a run ends are the longest of them and its chain.
  word_marks_.next_scan();
  for (size_t begin = 0; begin < text.size();) {
    if (!is_word_byte(text[begin])) {
      ++begin;
      continue;
    }
    const size_t end = word_run_end(text, begin);
    std::string_view run = text.substr(begin, end - begin);
    if (end < text.size() && text[end] == '(') {
      word_marks_.report(word_names_, word_names_.longest_in(run),
                         [&](int32_t id) { note(word_name_owner_[id]); });
    } else if (begin == 0 || text[begin - 1] != '$') {
      int32_t id = word_names_.find(run);
      if (id >= 0) note(word_name_owner_[id]);
    }
    begin = end;
  }
}

size_t function_usage_index::first_use_from(int32_t line) {
  const size_t n = uses_.size();
  // Every use before `low` lies on an earlier line. From the last look-up,
  // the search gallops forward, so a nearby line costs a few steps.
  size_t low = line >= last_line_ ? last_begin_ : 0;
  size_t high = low;
  for (size_t step = 1; high < n && uses_[high].line < line; step *= 2) {
    low = high + 1;
    high = std::min(n, high + step);
  }
  auto before = [](const use& u, int32_t l) { return u.line < l; };
  const use* first = std::lower_bound(uses_.data() + low, uses_.data() + high, line, before);
  last_begin_ = static_cast<size_t>(first - uses_.data());
  last_line_ = line;
  return last_begin_;
}

std::pair<const function_usage_index::use*, const function_usage_index::use*>
function_usage_index::uses_of(int32_t line) {
  const use* first = uses_.data() + first_use_from(line);
  const use* last = first;
  while (last != uses_.data() + uses_.size() && last->line == line) ++last;
  return {first, last};
}

bool function_usage_index::line_uses(int32_t line, int32_t name) {
  if (!counted_[line]) return false;
  auto [first, last] = uses_of(line);
  return std::any_of(first, last, [&](const use& u) { return u.name == name; });
}

void function_usage_index::forget_lines(int32_t first, int32_t last) {
  if (first > last) return;
  for (size_t u = first_use_from(first); u < uses_.size() && uses_[u].line <= last; ++u) {
    if (counted_[uses_[u].line]) --counts_[static_cast<size_t>(uses_[u].name)].lines_using;
  }
  for (int32_t line = first; line <= last; ++line) counted_[line] = false;
}
