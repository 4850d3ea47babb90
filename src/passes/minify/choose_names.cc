// Which names the renamer leaves alone, and the short names of the rest.
#include "passes/minify/choose_names.h"

#include <algorithm>
#include <cstdint>

#include "names/autoit_words.h"
#include "names/keep_list.h"
#include "passes/minify/line_kinds.h"
#include "passes/minify/line_tokens.h"
#include "script/line_table.h"

namespace minify {

namespace {

std::string upper(std::string_view text, std::string_view before = {}) {
  std::string u(before);
  u += text;
  for (char& ch : u) {
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 32);
  }
  return u;
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

// Whether `name` may be given as a new name: nothing of AutoIt's, nothing a
// string shows, nothing the output keeps unrenamed.
bool free_name(const census& c, std::string_view name) {
  if (c.string_words.contains(name)) return false;
  const uint32_t v = c.variable_index.find(name);
  if (v != name_index::npos && c.variables[v].kept != kept_as_written::none) return false;
  const uint32_t w = c.word_index.find(name);
  if (w != name_index::npos) {
    const name_info& word = c.words[w];
    if (!word.declared || word.kept != kept_as_written::none) return false;
  }
  // No single letter is AutoIt's.
  return name.size() == 1 || (!is_autoit_word(name) && !is_autoit_variable(name));
}

// Short names for the names no rule kept, the most mentioned first, then
// the first met.
void give_names(census& c, std::vector<name_info>& all, bool variables) {
  struct ranked {
    uint64_t key;  // fewer mentions, then a later first line, rank later
    uint32_t id;
    bool operator<(const ranked& other) const {
      return key != other.key ? key < other.key : id < other.id;
    }
  };
  std::vector<ranked> order;
  for (uint32_t i = 0; i < all.size(); ++i) {
    if (all[i].kept != kept_as_written::none) continue;
    order.push_back({(uint64_t{UINT32_MAX - all[i].count} << 32) | static_cast<uint32_t>(all[i].first_slot), i});
  }
  std::sort(order.begin(), order.end());
  uint64_t next = 0;
  for (const ranked& r : order) {
    std::string name;
    do {
      name = nth_short_name(next++);
    } while (!free_name(c, name));
    name_info& info = all[r.id];
    info.new_at = static_cast<uint32_t>(c.new_names.size());
    if (variables) c.new_names += '$';
    c.new_names += name;
    info.new_size = static_cast<uint8_t>(c.new_names.size() - info.new_at);
  }
}

}  // namespace

void choose_names(census& c, const line_table& lines, bool blocks_possible,
                  const std::vector<keep_entry>& entries) {
  hold_variables(c, lines, blocks_possible);
  keep_list kept_functions(entries, keep_list::kind::functions);
  keep_list kept_variables(entries, keep_list::kind::variables);
  for (uint32_t i = 0; i < c.variables.size(); ++i) {
    name_info& v = c.variables[i];
    const std::string_view name = c.variable_index.key(i);
    if (is_autoit_variable(name)) {
      v.kept = kept_as_written::not_own;
    } else if (c.string_words.contains(name)) {
      v.kept = kept_as_written::in_string;
    } else if (const keep_entry* e = kept_variables.keeps(upper(name, "$"))) {
      v.kept = e->built() ? kept_as_written::built_name : kept_as_written::keep_entry;
      v.kept_by = static_cast<int32_t>(e - entries.data());
    }
  }
  for (uint32_t i = 0; i < c.words.size(); ++i) {
    name_info& w = c.words[i];
    const std::string_view name = c.word_index.key(i);
    if (!w.declared || is_autoit_word(name)) {
      w.kept = kept_as_written::not_own;
    } else if (c.string_words.contains(name)) {
      w.kept = kept_as_written::in_string;
    } else if (const keep_entry* e = kept_functions.keeps(upper(name))) {
      w.kept = e->built() ? kept_as_written::built_name : kept_as_written::keep_entry;
      w.kept_by = static_cast<int32_t>(e - entries.data());
    } else if (!c.held_functions.empty()) {
      w.kept = kept_as_written::held_function;
    }
  }
  give_names(c, c.words, false);
  give_names(c, c.variables, true);
}

}  // namespace minify
