// Counting, per variable, the lines that mention it, in one walk over the
// script for all names.
#include "passes/variables/variable_usage.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <string>

#include "script/autoitsourcefile.h"
#include "script/two_threads.h"

namespace {

// "$" and at least one word byte after it.
bool is_dollar_word(std::string_view name) {
  return name.size() >= 2 && name[0] == '$' &&
         std::all_of(name.begin() + 1, name.end(), is_word_byte);
}

}  // namespace

struct variable_usage::count_part {
  explicit count_part(size_t names)
      : counts(names), marked(names / 64 + 1, 0), log_limit(std::max<size_t>(4096, names / 64)) {}
  // Per name, the lines that hold it.
  small_counts counts;
  std::vector<int32_t> declaration_lines;
  std::vector<uint32_t> line_names_begin;
  std::vector<int32_t> line_names;
  // A bit per name: found on the line last searched, so that a line counts
  // once, however often it holds a name. A chain walk stops at the first
  // name marked: the names after it were found with it. The names marked
  // are logged so that the next line clears just them; a line that marks
  // more than log_limit names (which it took as many bytes to find) clears
  // every bit instead, a word per 64 names.
  std::vector<uint64_t> marked;
  std::vector<int32_t> marked_log;
  size_t log_limit;
  bool log_full = false;
  bool is_marked(int32_t n) const { return (marked[static_cast<size_t>(n) >> 6] >> (n & 63) & 1) != 0; }
  void mark(int32_t n) {
    marked[static_cast<size_t>(n) >> 6] |= uint64_t{1} << (n & 63);
    if (log_full) return;
    if (marked_log.size() == log_limit) {
      log_full = true;
    } else {
      marked_log.push_back(n);
    }
  }
  // A new line: nothing is marked.
  void next_line() {
    if (log_full) {
      std::fill(marked.begin(), marked.end(), 0);
    } else {
      for (const int32_t n : marked_log) marked[static_cast<size_t>(n) >> 6] = 0;
    }
    marked_log.clear();
    log_full = false;
  }
  // The names that strings on the line name, counted after the chains: a
  // mark set for them first would cut short the chains they are part of.
  std::vector<int32_t> named_by_strings;
  name_matcher::marks string_marks;
  std::vector<uint64_t> hashes;
  std::string quoted;  // "$" + a quoted word, to look up
  // Per name, for the run's records only: the first two lines that held it.
  std::vector<std::array<int32_t, 2>> first_lines;
};

variable_usage::variable_usage(const autoitsourcefile& script, const variable_table& table)
    : line_count_(script.line_count), table_(table) {
  const int32_t count = script.variable_count;

  // Scope is ignored, so equal names are one name: the table keeps the
  // first, and each is searched only once.
  // The table reads the names from the variables' own list.
  const auto names = static_cast<size_t>(count);
  std::vector<std::string> other_strings;
  names_.emplace(table.variable_names, 1, name_table::links::prefixes,
                 [&](int32_t id, int32_t first) {
                   // An empty name is held by every line: no need to search.
                   if (first != id) return;
                   const std::string_view name = table.variable_names[static_cast<size_t>(id) + 1];
                   if (is_dollar_word(name)) return;
                   other_strings.emplace_back(name);
                   other_owner_.push_back(id);
                   if (name.size() >= 2 && name[0] == '$') {
                     for (const char* quote : {"\"", "'"}) {
                       other_strings.push_back(quote + std::string(name.substr(1)) + quote);
                       other_owner_.push_back(id);
                     }
                   }
                 });
  if (!other_strings.empty()) other_strings_.emplace(other_strings);

  held_by_own_line_.assign(count + 1, 0);
  blanked_.assign(static_cast<size_t>(line_count_) + 1, false);

  // Each half of the script is counted on a thread of its own; the halves'
  // counts add up, and their declaration lines follow one another. A half
  // that holds no line needs no tables.
  std::array<std::optional<count_part>, 2> parts;
  auto make_part = [&](std::optional<count_part>& part) {
    part.emplace(names);
    if (script.records.reasons_on) part->first_lines.assign(names, {0, 0});
  };
  make_part(parts[0]);
  two_threads::split(1, static_cast<size_t>(line_count_) + 1,
                     [&](int half, size_t first, size_t last) {
                       if (first == last) return;
                       if (!parts[half]) make_part(parts[half]);
                       count_lines(script.transformed_lines, static_cast<int32_t>(first),
                                   static_cast<int32_t>(last), *parts[half]);
                     });
  if (!parts[1]) parts[1].emplace(0);
  // The first half's counts become the table's; the marks go.
  counts_ = std::move(parts[0]->counts);
  parts[0]->marked = std::vector<uint64_t>();
  for (size_t n = 0; n < parts[1]->counts.size(); ++n) {
    if (const int32_t more = parts[1]->counts.get(n); more != 0) counts_.add(n, more);
  }
  if (script.records.reasons_on) {
    // The first half's first lines, then the second half's.
    first_lines_.assign(counts_.size(), {0, 0});
    for (size_t n = 0; n < counts_.size(); ++n) {
      size_t filled = 0;
      for (const std::optional<count_part>& part : parts) {
        if (n >= part->first_lines.size()) continue;
        for (int32_t line : part->first_lines[n]) {
          if (line != 0 && filled < 2) first_lines_[n][filled++] = line;
        }
      }
    }
  }
  parts[1]->counts = small_counts();
  parts[1]->marked = std::vector<uint64_t>();
  declaration_lines_ = two_threads::joined(std::move(parts[0]->declaration_lines),
                                           parts[1]->declaration_lines);
  // The second half's ranges of names begin after the first half's names.
  const auto shift = static_cast<uint32_t>(parts[0]->line_names.size());
  line_names_begin_ = std::move(parts[0]->line_names_begin);
  for (uint32_t begin : parts[1]->line_names_begin) line_names_begin_.push_back(begin + shift);
  line_names_ = two_threads::joined(std::move(parts[0]->line_names), parts[1]->line_names);
  line_names_begin_.push_back(static_cast<uint32_t>(line_names_.size()));
}

void variable_usage::count_lines(const normalized_lines& transformed_lines, int32_t first,
                                 int32_t last, count_part& part) {
  const int32_t count = static_cast<int32_t>(held_by_own_line_.size()) - 1;
  const std::vector<int32_t>& declared_on = table_.declaration_lines;
  // The first variable not declared before line j (declarations go by line).
  int32_t k = static_cast<int32_t>(
      std::lower_bound(declared_on.begin() + 1, declared_on.begin() + 1 + count, first) -
      declared_on.begin());
  for (int32_t j = first; j < last; ++j) {
    while (k <= count && declared_on[k] < j) ++k;
    const bool declares = k <= count && declared_on[k] == j;
    const std::string_view text = transformed_lines[j];
    if (!declares && text.empty()) continue;  // mentions nothing
    // The pass blanks a declaration line only when it declares one variable
    // alone: the names of a line of many are never taken back.
    const bool may_be_blanked = declares && (k == count || declared_on[k + 1] != j);
    if (may_be_blanked) {
      part.declaration_lines.push_back(j);
      part.line_names_begin.push_back(static_cast<uint32_t>(part.line_names.size()));
    }
    for_each_name_mentioned(text, part, [&](int32_t n) {
      const auto name = static_cast<size_t>(n);
      if (!part.first_lines.empty()) {
        const int32_t holding_lines = part.counts.get(name);
        if (holding_lines < 2) part.first_lines[name][holding_lines] = j;
      }
      part.counts.increment(name);
      if (may_be_blanked) part.line_names.push_back(n);
    });
    for (; k <= count && declared_on[k] == j; ++k) {
      const int32_t name = name_of(k);
      held_by_own_line_[k] = name >= 0 && part.is_marked(name);
    }
  }
}

// A name "$" + word stands only where a "$" does, as the start of the "$"
// and the run of word bytes after it: the longest such name there leads to
// all the shorter ones. "X" holds no other name $X than the one of the
// whole quoted run. Each byte belongs to at most one run, so a line costs
// its length, however many names there are and however they begin alike.
template <class F>
void variable_usage::for_each_name_mentioned(std::string_view text, count_part& part,
                                             F&& on_name) const {
  part.next_line();
  part.named_by_strings.clear();
  if (other_strings_) {
    other_strings_->for_each_name_in(text, part.string_marks, [&](int32_t id) {
      part.named_by_strings.push_back(other_owner_[id]);
    });
  }
  const size_t size = text.size();
  // "$" and a run, or a quoted run with a "$" before it, shorter than every
  // name holds none.
  const size_t shortest = std::max<size_t>(names_->min_length(), 2);
  for (size_t p = 0; p < size; ++p) {
    const char c = text[p];
    if (c != '$' && c != '"' && c != '\'') continue;
    const size_t end = word_run_end(text, p + 1);
    if (end - p < shortest) {
      p = end - 1;
      continue;
    }
    if (c == '$') {
      for (int32_t id = names_->longest_in(text.substr(p, end - p), part.hashes);
           id >= 0 && !part.is_marked(id); id = names_->link(id)) {
        part.mark(id);
        on_name(id);
      }
    } else if (end < size && text[end] == c) {
      part.quoted.assign(1, '$');
      part.quoted.append(text.substr(p + 1, end - p - 1));
      const int32_t id = names_->find(part.quoted);
      if (id >= 0) part.named_by_strings.push_back(id);
    }
    p = end - 1;  // the run holds no "$" and no quote; its end may be one
  }
  for (const int32_t id : part.named_by_strings) {
    if (part.is_marked(id)) continue;
    part.mark(id);
    on_name(id);
  }
}

int32_t variable_usage::name_of(int32_t k) const {
  return names_->find(table_.variable_names[static_cast<size_t>(k)]);
}

bool variable_usage::used(int32_t k) const {
  const int32_t line = table_.declaration_lines[k];
  const bool own_line_exists = line >= 1 && line <= line_count_;
  const int32_t name = name_of(k);
  if (name < 0) return line_count_ - (own_line_exists ? 1 : 0) > 0;
  int32_t others = counts_.get(static_cast<size_t>(name));
  if (own_line_exists && held_by_own_line_[k] && !blanked_[line]) --others;
  return others > 0;
}

void variable_usage::line_blanked(int32_t line) {
  if (line < 1 || line > line_count_ || blanked_[line]) return;
  blanked_[line] = true;
  const auto at = std::lower_bound(declaration_lines_.begin(), declaration_lines_.end(), line);
  if (at == declaration_lines_.end() || *at != line) return;
  const auto d = static_cast<size_t>(at - declaration_lines_.begin());
  for (uint32_t i = line_names_begin_[d]; i < line_names_begin_[d + 1]; ++i) {
    counts_.decrement(static_cast<size_t>(line_names_[i]));
  }
}

int32_t variable_usage::first_mention(int32_t k) const {
  const int32_t name = first_lines_.empty() ? -1 : name_of(k);
  if (name < 0) return 0;
  const int32_t own = table_.declaration_lines[k];
  for (int32_t line : first_lines_[static_cast<size_t>(name)]) {
    if (line != 0 && line != own) return line;
  }
  return 0;
}
