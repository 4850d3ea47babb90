// Counting, per function name, the lines that use it, in one walk over the
// script for all names, and the uses each line holds.
#include "passes/functions/function_usage_index.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <optional>
#include <span>

#include "names/name_matcher.h"
#include "names/name_table.h"

#include "script/two_threads.h"

namespace {

std::vector<std::string> other_strings_of(const function_headers& found) {
  std::vector<std::string> strings;
  auto joined = [](std::string_view before, std::string_view name, std::string_view after) {
    std::string text(before);
    text.append(name).append(after);
    return text;
  };
  for (const std::string_view name : found.other_name_texts) {
    strings.push_back(joined("", name, "("));
    strings.push_back(joined("\"", name, "\""));
    strings.push_back(joined("'", name, "'"));
  }
  return strings;
}

std::vector<std::string> other_words_of(const function_headers& found) {
  std::vector<std::string> words;
  for (const std::string_view name : found.other_name_texts) {
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

struct function_usage_index::count_part {
  explicit count_part(size_t names) : names(names) {}

  // What the line being read did with a name: nothing yet, noted its use,
  // or noted it and reported its chain of names too (a chain reported from
  // one name has been reported from every name after it, so a later walk
  // stops there). Only the first name of equal ones is ever found in the
  // table, so a name stands for one table id.
  enum class met : uint8_t { no, noted, walked };
  void next_line(int32_t line) {
    line_ = line;
    few_.clear();
  }
  // Notes the name as met (or as walked) on this line; returns what the
  // line had done with it before.
  met mark(int32_t name, met how) {
    if (!stamps_.empty()) {
      uint32_t& stamp = stamps_[static_cast<size_t>(name)];
      met before = met::no;
      if (stamp >> 1 == static_cast<uint32_t>(line_)) {
        before = (stamp & 1) != 0 ? met::walked : met::noted;
      }
      if (how > before) stamp = static_cast<uint32_t>(line_) * 2 + (how == met::walked ? 1 : 0);
      return before;
    }
    for (auto& [n, had] : few_) {
      if (n != name) continue;
      const met before = had;
      if (how > before) had = how;
      return before;
    }
    if (few_.size() < kFew) {
      few_.emplace_back(name, how);
      return met::no;
    }
    // A line that meets many names: a stamp per name from now on, 2 *
    // line (+ 1 once walked), which no later line needs to clear.
    stamps_.assign(names, 0);
    for (const auto& [n, had] : few_) mark(n, had);
    few_.clear();
    return mark(name, how);
  }

  size_t names;
  std::vector<use> uses;
  // The headers on the part's lines whose one use is their own name: a bit
  // per header from first_header on. Each part has bits of its own, as a
  // word of them may hold headers of both.
  size_t first_header = 0;
  std::vector<uint64_t> apart;
  name_matcher::marks string_marks;
  std::vector<uint64_t> hashes;

 private:
  // The names a line meets are mostly few: they are looked through one by
  // one, and the stamps, a number per name, are made only for a line that
  // meets more.
  static constexpr size_t kFew = 16;
  int32_t line_ = 0;
  std::vector<std::pair<int32_t, met>> few_;
  std::vector<uint32_t> stamps_;
};

struct function_usage_index::finders {
  finders(function_headers& found)
      : word_names(std::move(*found.table)),
        headers(found.headers),
        other_strings(other_strings_of(found)),
        other_words(other_words_of(found), whole_word_bounds()) {
    has_word_names = found.other_names.size() < static_cast<size_t>(found.name_count);
    // The owners, in the order in which the strings were handed to the matchers.
    for (size_t k = 0; k < found.other_names.size(); ++k) {
      other_string_owner.insert(other_string_owner.end(), 3, found.other_names[k]);
      if (!found.other_name_texts[k].empty()) other_word_owner.push_back(found.other_names[k]);
    }
    found.table.reset();
  }
  // Names made of letters, digits and "_" only (every real function name),
  // found through the runs of those bytes in a line: the headers' table,
  // where no other name can match such a run; a table id is a header's
  // index, whose name it stands for.
  bool has_word_names = false;
  name_table word_names;
  std::span<const function_header> headers;
  // Any other name (empty, or holding other bytes) is searched for as the
  // strings NAME(, "NAME" and 'NAME' anywhere, and as NAME standing alone.
  name_matcher other_strings;
  std::vector<int32_t> other_string_owner;
  name_matcher other_words;
  std::vector<int32_t> other_word_owner;
};

function_usage_index::function_usage_index(function_headers& found,
                                           const normalized_lines& transformed_lines,
                                           int32_t line_count)
    : counted_(static_cast<size_t>(std::max(line_count, 0)) / 64 + 1, ~uint64_t{0}),
      headers_(&found.headers) {
  counted_[0] &= ~uint64_t{1};  // slot 0 is no line
  const size_t names = static_cast<size_t>(found.name_count);
  std::vector<function_header>& headers = found.headers;
  {
    const finders find(found);
    // Each half of the script is counted on a thread of its own; their uses
    // follow one another in line order. A half that holds no line needs no
    // tables.
    std::array<std::optional<count_part>, 2> parts;
    parts[0].emplace(names);
    two_threads::split(1, static_cast<size_t>(std::max(line_count, 0)) + 1,
                       [&](int half, size_t first, size_t last) {
                         if (first == last) return;
                         if (!parts[half]) parts[half].emplace(names);
                         count_lines(find, transformed_lines, first, last, *parts[half]);
                       });
    if (!parts[1]) parts[1].emplace(0);
    uses_ = two_threads::joined(std::move(parts[0]->uses), parts[1]->uses);
    for (const std::optional<count_part>& part : parts) {
      for (size_t w = 0; w < part->apart.size(); ++w) {
        for (uint64_t bits = part->apart[w]; bits != 0; bits &= bits - 1) {
          const auto bit = static_cast<size_t>(std::countr_zero(bits));
          headers[part->first_header + w * 64 + bit].own_use_apart = 1;
        }
      }
    }
  }
  // A line uses a name once at most, so the uses give the counts, once the
  // tables of the count are gone.
  counts_.assign(names, 0);
  for (const use& u : uses_) ++counts_[static_cast<size_t>(u.name)];
  for (const function_header& header : headers) {
    if (header.own_use_apart) ++counts_[header.name];
  }
}

void function_usage_index::count_lines(const finders& find,
                                       const normalized_lines& transformed_lines, size_t first,
                                       size_t last, count_part& part) const {
  // Room for a use per line: only what is filled is ever touched.
  part.uses.reserve(last - first);
  // The headers of these lines, met in line order.
  const std::span<const function_header> headers = find.headers;
  auto header_from = [&](size_t line) {
    return static_cast<size_t>(
        std::lower_bound(headers.begin(), headers.end(), line,
                         [](const function_header& header, size_t l) {
                           return static_cast<size_t>(header.line) < l;
                         }) -
        headers.begin());
  };
  auto h = header_from(first);
  part.first_header = h;
  part.apart.assign((header_from(last) - h + 63) / 64, 0);
  size_t next_header = h < headers.size() ? static_cast<size_t>(headers[h].line) : SIZE_MAX;
  for (size_t i = first; i < last; ++i) {
    if (transformed_lines[i].empty() && find.other_string_owner.empty()) continue;  // uses nothing
    const size_t before = part.uses.size();
    note_names_used(find, static_cast<int32_t>(i), transformed_lines[i], part);
    if (i != next_header) continue;
    if (part.uses.size() == before + 1 &&
        part.uses.back().name == static_cast<int32_t>(headers[h].name)) {
      // A header line that uses its own name only: the header keeps the use.
      part.uses.pop_back();
      const size_t bit = h - part.first_header;
      part.apart[bit / 64] |= uint64_t{1} << (bit % 64);
    }
    ++h;
    next_header = h < headers.size() ? static_cast<size_t>(headers[h].line) : SIZE_MAX;
  }
}

void function_usage_index::note_names_used(const finders& find, int32_t line,
                                           std::string_view text, count_part& part) const {
  using met = count_part::met;
  part.next_line(line);
  auto note = [&](int32_t name) {
    if (part.mark(name, met::noted) == met::no) part.uses.push_back({line, name});
  };
  if (!find.other_string_owner.empty()) {
    find.other_strings.for_each_name_in(text, part.string_marks,
                                        [&](int32_t id) { note(find.other_string_owner[id]); });
    find.other_words.for_each_bounded_name_in(text, part.string_marks,
                                              [&](int32_t id) { note(find.other_word_owner[id]); });
  }
  if (!find.has_word_names) return;
  // A word name is used by a run of word bytes that it ends when "(" follows
  // the run, and by a run that it equals when no "$" stands before the run
  // (it is then a whole word; "NAME" and 'NAME' are whole words too). Each
  // run is looked at once, which keeps the scan linear however many names
  // end alike.
  // The names a run ends are the longest of them and its chain.
  const name_table& table = find.word_names;
  auto owner = [&](int32_t id) { return find.headers[static_cast<size_t>(id)].name; };
  for (size_t begin = 0; begin < text.size();) {
    if (!is_word_byte(text[begin])) {
      ++begin;
      continue;
    }
    const size_t end = word_run_end(text, begin);
    std::string_view run = text.substr(begin, end - begin);
    if (end < text.size() && text[end] == '(') {
      for (int32_t id = table.longest_in(run, part.hashes); id >= 0; id = table.link(id)) {
        const int32_t name = owner(id);
        const met before = part.mark(name, met::walked);
        if (before == met::walked) break;
        if (before == met::no) part.uses.push_back({line, name});
      }
    } else if (begin == 0 || text[begin - 1] != '$') {
      int32_t id = table.find(run);
      if (id >= 0) note(owner(id));
    }
    begin = end;
  }
}

namespace {

// The first item of `items` (sorted by line) on `line` or a later one. From
// where the last search began, the search gallops forward, so a nearby line
// costs a few steps.
template <class Item, class Last>
size_t first_from(const std::vector<Item>& items, int32_t line, Last& last) {
  const size_t n = items.size();
  // Every item before `low` lies on an earlier line.
  size_t low = line >= last.line ? std::min(last.begin, n) : 0;
  size_t high = low;
  for (size_t step = 1; high < n && items[high].line < line; step *= 2) {
    low = high + 1;
    high = std::min(n, high + step);
  }
  auto before = [](const Item& item, int32_t l) { return item.line < l; };
  const Item* first = std::lower_bound(items.data() + low, items.data() + high, line, before);
  last.begin = static_cast<size_t>(first - items.data());
  last.line = line;
  return last.begin;
}

}  // namespace

size_t function_usage_index::first_use_from(int32_t line) {
  return first_from(uses_, line, uses_from_);
}

size_t function_usage_index::first_header_from(int32_t line) {
  return first_from(*headers_, line, headers_from_);
}

std::pair<const function_usage_index::use*, const function_usage_index::use*>
function_usage_index::uses_of(int32_t line) {
  const use* first = uses_.data() + first_use_from(line);
  const use* last = first;
  while (last != uses_.data() + uses_.size() && last->line == line) ++last;
  return {first, last};
}

bool function_usage_index::line_uses(int32_t line, int32_t name) {
  if (!counts_line(line)) return false;
  auto [first, last] = uses_of(line);
  return std::any_of(first, last, [&](const use& u) { return u.name == name; });
}

void function_usage_index::forget_lines(int32_t first, int32_t last) {
  if (first > last) return;
  // The uses of the list and those apart, in line order.
  const std::vector<function_header>& headers = *headers_;
  size_t h = first_header_from(first);
  auto forget = [&](int32_t line, int32_t name) {
    if (!counts_line(line)) return;
    --counts_[static_cast<size_t>(name)];
    if (forgotten_ != nullptr) forgotten_->emplace_back(line, name);
  };
  auto headers_before = [&](int32_t line) {
    for (; h < headers.size() && headers[h].line < line; ++h) {
      if (headers[h].own_use_apart) forget(headers[h].line, static_cast<int32_t>(headers[h].name));
    }
  };
  for (size_t u = first_use_from(first); u < uses_.size() && uses_[u].line <= last; ++u) {
    headers_before(uses_[u].line);
    forget(uses_[u].line, uses_[u].name);
  }
  headers_before(last + 1);
  for (auto line = static_cast<uint32_t>(first); line <= static_cast<uint32_t>(last); ++line) {
    counted_[line >> 6] &= ~(uint64_t{1} << (line & 63));
  }
}
