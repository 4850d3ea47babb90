// One walk over the output's lines that counts every name, notes the words
// strings and directives show, the functions' lines, the calls that take a
// name no string shows and the names the script builds at run time.
#include "passes/minify/name_census.h"

#include "names/name_chains.h"
#include "passes/minify/line_kinds.h"
#include "passes/minify/line_tokens.h"
#include "script/line_table.h"

namespace minify {

namespace {

bool same(std::string_view word, std::string_view upper) { return name_index::same(word, upper); }

// Every run of name bytes in `text` joins `words`.
void add_words(std::string_view text, name_index& words) {
  size_t i = 0;
  while (i < text.size()) {
    if (!is_word_char(text[i])) {
      ++i;
      continue;
    }
    size_t j = i + 1;
    while (j < text.size() && is_word_char(text[j])) ++j;
    bool added = false;
    words.insert(text.substr(i, j - i), &added);
    i = j;
  }
}

name_info& count(name_index& index, std::vector<name_info>& all, std::string_view name,
                 int32_t slot) {
  bool added = false;
  const uint32_t id = index.insert(name, &added);
  if (added) {
    all.emplace_back();
    all.back().first_slot = slot;
  }
  name_info& info = all[id];
  ++info.count;
  return info;
}

// The call word of a shown call: "Call" of "Call($f)".
std::string_view call_word(std::string_view shown) { return shown.substr(0, shown.find('(')); }

void note_built_names(std::string_view code, int32_t slot, int32_t function, census& c) {
  std::vector<name_chain> chains;
  std::vector<held_name> held;
  find_name_chains(code, chains, held);
  for (const name_chain& chain : chains) {
    // A chain that begins with a variable may stand for any first piece.
    std::string prefix = chain.head_variable.empty() ? chain.prefix : std::string();
    if (!prefix.empty() && prefix.front() == '$') prefix.erase(0, 1);
    std::string pattern = chain.whole ? prefix : prefix + "*" + chain.suffix;
    for (char& ch : pattern) {
      if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 32);
    }
    c.built_names.push_back({pattern, slot, chain.shown});
    c.built_names.push_back({"$" + pattern, slot, chain.shown});
  }
  for (held_name& h : held) {
    const std::string_view word = call_word(h.shown);
    const bool execute = same(word, "EXECUTE");
    bool variable = execute;
    for (int32_t arg = 0; arg < 4; ++arg) {
      if (role_of_argument(word, arg) == name_role::variable) variable = true;
    }
    // Execute runs any text: it may call a function or read a variable.
    const bool takes_function = execute || !variable;
    if (takes_function) c.held_functions.push_back({slot, h.shown, function});
    if (variable) c.held_variables.push_back({slot, std::move(h.shown), function});
  }
}

}  // namespace

census take_census(const line_table& lines, int32_t line_count, bool blocks_possible) {
  census c;
  line_classifier classify(blocks_possible);
  int32_t function = -1;  // the function the walk is in
  for (int32_t slot = 1; slot <= line_count; ++slot) {
    const std::string_view line = lines[static_cast<size_t>(slot)];
    if (line.empty()) continue;
    const line_kind kind = classify.next(line);
    if (kind.kind == line_kind::what::block) continue;
    if (kind.kind == line_kind::what::directive) {
      add_words(line, c.string_words);
      continue;
    }
    const std::string_view code = line.substr(0, kind.code_end);
    int position = 0;     // tokens seen, blanks aside
    bool header = false;  // the line begins with Func (or Volatile Func)
    bool global = function < 0;
    bool ends_function = false;
    for_each_token(code, [&](const token& t) {
      if (t.kind == token_kind::blank || t.kind == token_kind::comment) return;
      const std::string_view text = code.substr(t.begin, t.end - t.begin);
      ++position;
      if (t.kind == token_kind::string) {
        add_words(text, c.string_words);
      } else if (t.kind == token_kind::variable) {
        name_info& info = count(c.variable_index, c.variables, text.substr(1), slot);
        if (global) info.global = true;
      } else if (t.kind == token_kind::word && !t.member) {
        if (position == 1 && same(text, "GLOBAL")) global = true;
        if (position == 1 && same(text, "ENDFUNC")) ends_function = true;
        const bool opens = (position == 1 || (position == 2 && header)) && same(text, "FUNC");
        name_info& info = count(c.word_index, c.words, text, slot);
        if (header && !opens && position <= 3) {
          info.declared = true;
          header = false;
        }
        if (opens) {
          header = true;
          c.functions.push_back({slot, line_count});
          function = static_cast<int32_t>(c.functions.size()) - 1;
          global = false;
        } else if (position == 1 && same(text, "VOLATILE")) {
          header = true;  // Func follows
        }
      }
    });
    if (may_build_name(code)) note_built_names(code, slot, function, c);
    if (ends_function && function >= 0) {
      c.functions[static_cast<size_t>(function)].last = slot;
      function = -1;
    }
  }
  return c;
}

std::string nth_short_name(uint64_t n) {
  constexpr std::string_view kFirst = "abcdefghijklmnopqrstuvwxyz";
  constexpr std::string_view kNext = "abcdefghijklmnopqrstuvwxyz0123456789_";
  uint64_t span = kFirst.size();
  size_t length = 1;
  while (n >= span) {
    n -= span;
    span *= kNext.size();
    ++length;
  }
  std::string name(length, ' ');
  for (size_t k = length; k-- > 1;) {
    name[k] = kNext[n % kNext.size()];
    n /= kNext.size();
  }
  name[0] = kFirst[n];
  return name;
}

}  // namespace minify
