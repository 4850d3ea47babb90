// Which names the renamer leaves alone, and the short names of the rest.
#include "passes/minify/choose_names.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>

#include "names/autoit_words.h"
#include "names/keep_list.h"
#include "passes/minify/line_kinds.h"
#include "passes/minify/line_tokens.h"
#include "passes/minify/short_names.h"
#include "platform/ascii_case.h"
#include "script/line_table.h"
#include "script/two_threads.h"

namespace minify {

namespace {

// `name` in upper case, after `before`, in `out`.
std::string_view upper(std::string& out, std::string_view name, std::string_view before = {}) {
  out.assign(before);
  for (const char ch : name) out += upper_ascii(ch);
  return out;
}

// AutoIt's words by the renamer's hash: a name is compared with them only
// where a hash agrees.
const name_index& autoit_word_index() {
  static const name_index index = [] {
    name_index words;
    bool added = false;
    for (const std::string& word : autoit_words()) words.insert(word, &added);
    return words;
  }();
  return index;
}

void keep(name_info& info, kept_as_written why) {
  if (info.kept == kept_as_written::none) info.kept = why;
}

// A call that may read any variable it can see by a name no string shows:
// every global, and every variable the function around it uses.
void hold_variables(census& c, const line_table& lines, bool blocks_possible) {
  if (c.held_variables.empty()) return;
  for (name_info& v : c.variables) {
    if (v.global) keep(v, kept_as_written::held_variable);
  }
  std::vector<bool> walked(c.functions.size(), false);
  for (const held_call& call : c.held_variables) {
    if (call.function < 0 || walked[static_cast<size_t>(call.function)]) continue;
    walked[static_cast<size_t>(call.function)] = true;
    const census::function_lines range = c.functions[static_cast<size_t>(call.function)];
    // Comment blocks inside a function are rare; reading their names as
    // code only keeps more names as written.
    (void)blocks_possible;
    for (int32_t slot = range.first; slot <= range.last; ++slot) {
      const std::string_view line = lines[static_cast<size_t>(slot)];
      for_each_token(line, [&](const token& t) {
        if (t.kind != token_kind::variable) return;
        const uint32_t at = c.variable_index.find(line.substr(t.begin + 1, t.end - t.begin - 1));
        if (at != name_index::npos) keep(c.variables[at], kept_as_written::held_variable);
      });
    }
  }
}

// The short names that may not be given, by number: AutoIt's words and
// variables, the words strings show, the names the output keeps
// unrenamed. Only numbers below a limit are held, enough for every name to
// be given.
class taken_names {
 public:
  taken_names(const census& c, size_t to_give) {
    size_t most = to_give + c.string_words.size() + c.variables.size() + c.words.size() +
                  autoit_words().size() + std::size(kAutoitVariables);
    taken_.assign(most, false);
    auto take = [&](std::string_view name) {
      const uint64_t n = short_name_number(name, taken_.size());
      if (n != UINT64_MAX) taken_[n] = true;
    };
    for (uint32_t i = 0; i < c.string_words.size(); ++i) take(c.string_words.key(i));
    for (uint32_t i = 0; i < c.variables.size(); ++i) {
      if (c.variables[i].kept != kept_as_written::none) take(c.variable_index.key(i));
    }
    for (uint32_t i = 0; i < c.words.size(); ++i) {
      const name_info& word = c.words[i];
      if (!word.declared || word.kept != kept_as_written::none) take(c.word_index.key(i));
    }
    for (const std::string& word : autoit_words()) take(word);
    for (const std::string_view name : kAutoitVariables) take(name);
  }
  bool taken(uint64_t n) const { return n < taken_.size() && taken_[n]; }

 private:
  std::vector<bool> taken_;
};

// The names no rule kept, the most mentioned first, then the first met: a
// name's number follows its first line. Sorted by count a byte at a time,
// the least first, each pass keeping the order of the one before.
std::vector<uint32_t> ranked(const std::vector<name_info>& all) {
  std::vector<uint32_t> order;
  uint32_t most = 0;
  for (uint32_t i = 0; i < all.size(); ++i) {
    if (all[i].kept != kept_as_written::none) continue;
    order.push_back(i);
    most = std::max(most, all[i].count);
  }
  std::vector<uint32_t> sorted(order.size());
  for (int shift = 0; shift < 32 && (most >> shift) != 0; shift += 8) {
    std::array<size_t, 257> start{};
    // Most mentions first: the bytes of the count, turned over.
    auto digit = [&](uint32_t id) { return 255 - ((all[id].count >> shift) & 255); };
    for (const uint32_t id : order) ++start[digit(id) + 1];
    for (size_t d = 1; d < start.size(); ++d) start[d] += start[d - 1];
    for (const uint32_t id : order) sorted[start[digit(id)]++] = id;
    order.swap(sorted);
  }
  return order;
}

// Short names for `order`, into `pool`, skipping those taken.
void give_names(const taken_names& taken, const std::vector<uint32_t>& order,
                std::vector<name_info>& all, bool variables, std::string& pool) {
  uint64_t next = 0;
  for (const uint32_t id : order) {
    while (taken.taken(next)) ++next;
    name_info& info = all[id];
    info.new_at = static_cast<uint32_t>(pool.size());
    if (variables) pool += '$';
    append_short_name(pool, next++);
    info.new_size = static_cast<uint8_t>(pool.size() - info.new_at);
  }
}

}  // namespace

void choose_names(census& c, const line_table& lines, bool blocks_possible,
                  const std::vector<keep_entry>& entries) {
  hold_variables(c, lines, blocks_possible);
  // The variables on one thread, the words on another: what keeps each
  // name, then the order they take short names in.
  std::vector<uint32_t> word_order;
  std::vector<uint32_t> variable_order;
  auto mark_variables = [&] {
    keep_list kept_variables(entries, keep_list::kind::variables);
    std::string text;
    for (uint32_t i = 0; i < c.variables.size(); ++i) {
      name_info& v = c.variables[i];
      const std::string_view name = c.variable_index.key(i);
      const keep_entry* e = nullptr;
      if (is_autoit_variable(name)) {
        v.kept = kept_as_written::not_own;
      } else if (c.string_words.contains(name, v.hash)) {
        v.kept = kept_as_written::in_string;
      } else if (!kept_variables.empty() &&
                 (e = kept_variables.keeps(upper(text, name, "$"))) != nullptr) {
        v.kept = e->built() ? kept_as_written::built_name : kept_as_written::keep_entry;
        v.kept_by = static_cast<int32_t>(e - entries.data());
      }
    }
    variable_order = ranked(c.variables);
  };
  auto mark_words = [&] {
    keep_list kept_functions(entries, keep_list::kind::functions);
    const name_index& autoit = autoit_word_index();
    std::string text;
    for (uint32_t i = 0; i < c.words.size(); ++i) {
      name_info& w = c.words[i];
      const std::string_view name = c.word_index.key(i);
      const keep_entry* e = nullptr;
      if (!w.declared || autoit.contains(name, w.hash)) {
        w.kept = kept_as_written::not_own;
      } else if (c.string_words.contains(name, w.hash)) {
        w.kept = kept_as_written::in_string;
      } else if (!kept_functions.empty() &&
                 (e = kept_functions.keeps(upper(text, name))) != nullptr) {
        w.kept = e->built() ? kept_as_written::built_name : kept_as_written::keep_entry;
        w.kept_by = static_cast<int32_t>(e - entries.data());
      } else if (!c.held_functions.empty()) {
        w.kept = kept_as_written::held_function;
      }
    }
    word_order = ranked(c.words);
  };
  // Each half runs once, here or on the second thread.
  two_threads::split(0, c.variables.size() + c.words.size(), [&](int half, size_t, size_t) {
    if (half == 0) {
      mark_variables();
    } else {
      mark_words();
    }
  });
  const taken_names taken(c, std::max(word_order.size(), variable_order.size()));
  // Each list into a pool of its own, the variables' then added to the words'.
  std::string variable_names;
  two_threads::split(0, word_order.size() + variable_order.size(), [&](int half, size_t, size_t) {
    if (half == 0) {
      give_names(taken, word_order, c.words, false, c.new_names);
    } else {
      give_names(taken, variable_order, c.variables, true, variable_names);
    }
  });
  const auto offset = static_cast<uint32_t>(c.new_names.size());
  for (name_info& v : c.variables) {
    if (v.new_size != 0) v.new_at += offset;
  }
  c.new_names += variable_names;
}

}  // namespace minify
