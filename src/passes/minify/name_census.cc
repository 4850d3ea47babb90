// One walk over the output's lines that counts every name, notes the words
// strings and directives show, the functions' lines, the calls that take a
// name no string shows and the names the script builds at run time.
#include "passes/minify/name_census.h"

#include <array>
#include <utility>

#include "names/name_chains.h"
#include "passes/minify/line_kinds.h"
#include "passes/minify/line_tokens.h"
#include "platform/ascii_case.h"
#include "script/line_table.h"
#include "script/two_threads.h"

namespace minify {

namespace {

bool same(std::string_view word, std::string_view upper) { return name_index::same(word, upper); }

// Every run of name bytes in `text` joins `words`.
void add_words(std::string_view text, name_index& words) {
  size_t i = 0;
  while (i < text.size()) {
    if (!is_word_byte(text[i])) {
      ++i;
      continue;
    }
    size_t j = i + 1;
    while (j < text.size() && is_word_byte(text[j])) ++j;
    bool added = false;
    words.insert(text.substr(i, j - i), &added);
    i = j;
  }
}

// The mentions of names, counted a batch at a time: each name's place in
// its table is asked for as the line is read, and the names are counted,
// in the order met, when the batch is full, by which time most places are
// at hand.
class mention_batch {
 public:
  mention_batch(census& c, census::mentions& mentions) : c_(c), mentions_(mentions) {}

  // A $name (no "$") or a word; `flag` marks a variable global, a word
  // declared by a Func header.
  void add(bool variable, std::string_view name, int32_t slot, bool flag) {
    const uint32_t hash = name_index::hash(name);
    (variable ? c_.variable_index : c_.word_index).prefetch(hash);
    pending_[size_++] = {name, hash, slot, variable, flag};
    if (size_ == kBatch) count();
  }

  // Counts the names of the batch; called when it is full, and at the end.
  void count() {
    for (size_t k = 0; k < size_; ++k) {
      const pending& p = pending_[k];
      name_index& index = p.variable ? c_.variable_index : c_.word_index;
      std::vector<name_info>& all = p.variable ? c_.variables : c_.words;
      bool added = false;
      const uint32_t id = index.insert(p.name, p.hash, &added);
      if (added) {
        all.emplace_back();
        all.back().first_slot = p.slot;
        all.back().hash = p.hash;
      }
      (p.variable ? mentions_.variables : mentions_.words).push(id);
      name_info& info = all[id];
      ++info.count;
      if (p.flag) (p.variable ? info.global : info.declared) = true;
    }
    size_ = 0;
  }

 private:
  static constexpr size_t kBatch = 64;
  struct pending {
    std::string_view name;
    uint32_t hash;
    int32_t slot;
    bool variable;
    bool flag;
  };
  census& c_;
  census::mentions& mentions_;
  std::array<pending, kBatch> pending_;
  size_t size_ = 0;
};

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
    for (char& ch : pattern) ch = upper_ascii(ch);
    c.built_names.push_back({pattern, slot, chain.shown});
    c.built_names.push_back({"$" + pattern, slot, chain.shown});
  }
  auto add_held = [&](std::string_view word, std::string shown) {
    const bool execute = same(word, "EXECUTE");
    bool variable = execute;
    for (int32_t arg = 0; arg < 4; ++arg) {
      if (role_of_argument(word, arg) == name_role::variable) variable = true;
    }
    // Execute runs any text: it may call a function or read a variable.
    const bool takes_function = execute || !variable;
    if (takes_function) c.held_functions.push_back({slot, shown, function});
    if (variable) c.held_variables.push_back({slot, std::move(shown), function});
  };
  for (const held_name& h : held) add_held(call_word(h.shown), h.shown);
  // A naming call whose name is neither one string nor a chain the finder
  // read ("$g_" & $sKey, which no pattern holds) is held as well.
  std::vector<token> tokens;
  for_each_token(code, [&](const token& t) {
    if (t.kind != token_kind::blank && t.kind != token_kind::comment) tokens.push_back(t);
  });
  auto text_of = [&](size_t k) {
    return code.substr(tokens[k].begin, tokens[k].end - tokens[k].begin);
  };
  for (size_t i = 0; i + 1 < tokens.size(); ++i) {
    if (tokens[i].kind != token_kind::word || tokens[i].member || text_of(i + 1) != "(") continue;
    const std::string_view word = text_of(i);
    if (!is_naming_call(word)) continue;
    bool reported = false;
    for (const held_name& h : held) reported = reported || same(call_word(h.shown), word);
    if (reported) continue;
    int32_t argument = 0;
    int depth = 0;
    size_t begin = i + 2;
    for (size_t j = i + 2; j <= tokens.size(); ++j) {
      const std::string_view t = j < tokens.size() ? text_of(j) : std::string_view();
      const bool ends = j == tokens.size() || (depth == 0 && (t == "," || t == ")"));
      if (!ends) {
        if (t == "(" || t == "[") ++depth;
        if (t == ")" || t == "]") --depth;
        continue;
      }
      const name_role role = role_of_argument(word, argument);
      // One string, or a function named by its bare word (_OnClose).
      const bool one_string = j == begin + 1 && (tokens[begin].kind == token_kind::string ||
                                                 tokens[begin].kind == token_kind::word);
      bool chained = false;
      for (const name_chain& chain : chains) chained = chained || chain.role == role;
      if (role != name_role::none && j > begin && !one_string && !chained) {
        std::string shown(word);
        shown += '(';
        shown += code.substr(tokens[begin].begin, tokens[j - 1].end - tokens[begin].begin);
        shown += ')';
        add_held(word, std::move(shown));
      }
      if (j == tokens.size() || t == ")") break;
      ++argument;
      begin = j + 1;
    }
  }
}

// The census of lines [first, last), which begin outside every function.
void count_lines(const line_table& lines, int32_t first, int32_t last, int32_t line_count,
                 line_classifier& classify, census& c, census::mentions& mentions) {
  int32_t function = -1;  // the function the walk is in
  mention_batch batch(c, mentions);
  for (int32_t slot = first; slot < last; ++slot) {
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
    // Only a line with a string and an "&", or a naming call, can build a
    // name; the chain finder looks closer.
    bool strings = false;
    bool joins = false;
    bool calls = false;
    std::string_view word_before;  // the token before, when a word
    for_each_token(code, [&](const token& t) {
      if (t.kind == token_kind::blank || t.kind == token_kind::comment) return;
      const std::string_view text = code.substr(t.begin, t.end - t.begin);
      ++position;
      if (t.kind == token_kind::other) {
        joins = joins || text.front() == '&';
        calls = calls || (!word_before.empty() && text.front() == '(' && is_naming_call(word_before));
      }
      word_before = t.kind == token_kind::word ? text : std::string_view();
      if (t.kind == token_kind::string) {
        strings = true;
        add_words(text, c.string_words);
      } else if (t.kind == token_kind::variable) {
        batch.add(true, text.substr(1), slot, global);
      } else if (t.kind == token_kind::word && !t.member) {
        if (position == 1 && same(text, "GLOBAL")) global = true;
        if (position == 1 && same(text, "ENDFUNC")) ends_function = true;
        const bool opens = (position == 1 || (position == 2 && header)) && same(text, "FUNC");
        const bool declares = header && !opens && position <= 3;
        batch.add(false, text, slot, declares);
        if (declares) header = false;
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
    if (((strings && joins) || calls) && may_build_name(code)) {
      note_built_names(code, slot, function, c);
    }
    if (ends_function && function >= 0) {
      c.functions[static_cast<size_t>(function)].last = slot;
      function = -1;
    }
  }
  batch.count();
}

// Whether the line begins with Func: a header, which no function holds.
bool begins_with_func(std::string_view line) {
  size_t at = line.find_first_not_of(" \t");
  if (at == std::string_view::npos || line.size() - at < 5) return false;
  return same(line.substr(at, 4), "FUNC") && !is_word_byte(line[at + 4]);
}

// Part `from` of a census added to `into`, which holds the lines before.
void merge(census& into, census&& from) {
  // The second half's names are looked up on two threads; those the first
  // half did not meet are added after, in the order met. Returns each name's
  // number in `into`. The second half's tables go as soon as they are done
  // with and the first's grow once each, so that a script of many names
  // holds no more than one table's old room beside its new.
  auto merge_names = [](name_index& index, std::vector<name_info>& all, name_index& more_index,
                        std::vector<name_info>& more) {
    std::vector<uint32_t> new_id(more.size());
    two_threads::split(0, more.size(), [&](int, size_t first, size_t last) {
      for (size_t i = first; i < last; ++i) {
        new_id[i] = index.find(more_index.key(static_cast<uint32_t>(i)), more[i].hash);
      }
    });
    const std::vector<std::string_view> more_keys = std::move(more_index).take_keys();
    size_t added_names = 0;
    for (const uint32_t id : new_id) added_names += id == name_index::npos ? 1 : 0;
    const size_t first_added = all.size();
    all.reserve(all.size() + added_names);
    for (uint32_t i = 0; i < more.size(); ++i) {
      if (new_id[i] == name_index::npos) {
        all.push_back(more[i]);
        continue;
      }
      name_info& info = all[new_id[i]];
      info.count += more[i].count;
      info.global = info.global || more[i].global;
      info.declared = info.declared || more[i].declared;
    }
    std::vector<name_info>().swap(more);
    index.reserve(index.size() + added_names);
    size_t next = first_added;
    for (uint32_t i = 0; i < new_id.size(); ++i) {
      if (new_id[i] != name_index::npos) continue;
      bool added = false;
      // Added in the order their records were: the same numbers.
      new_id[i] = index.insert(more_keys[i], all[next++].hash, &added);
    }
    return new_id;
  };
  into.second_variable_ids =
      merge_names(into.variable_index, into.variables, from.variable_index, from.variables);
  into.second_word_ids = merge_names(into.word_index, into.words, from.word_index, from.words);
  for (uint32_t i = 0; i < from.string_words.size(); ++i) {
    bool added = false;
    into.string_words.insert(from.string_words.key(i), &added);
  }
  const int32_t offset = static_cast<int32_t>(into.functions.size());
  into.functions.insert(into.functions.end(), from.functions.begin(), from.functions.end());
  for (auto* calls : {&from.held_functions, &from.held_variables}) {
    for (held_call& call : *calls) {
      if (call.function >= 0) call.function += offset;
    }
  }
  into.held_functions.insert(into.held_functions.end(), from.held_functions.begin(),
                             from.held_functions.end());
  into.held_variables.insert(into.held_variables.end(), from.held_variables.begin(),
                             from.held_variables.end());
  into.built_names.insert(into.built_names.end(), from.built_names.begin(), from.built_names.end());
}

}  // namespace

census take_census(const line_table& lines, int32_t line_count, bool blocks_possible) {
  // Each half of the script is counted on a thread of its own, then the
  // second half's census is added to the first's. The halves meet at a
  // Func header, outside every function and comment block.
  std::array<census, 2> part;
  std::array<line_classifier, 2> classify{line_classifier(blocks_possible),
                                          line_classifier(blocks_possible)};
  const size_t end = static_cast<size_t>(line_count) + 1;
  auto cut_at = [&](size_t middle) {
    for (size_t slot = 1; slot < end; ++slot) {
      const std::string_view line = lines[slot];
      if (slot >= middle && begins_with_func(line) && !classify[1].inside()) return slot;
      classify[1].pass(line);
    }
    return end;
  };
  std::array<census::mentions, 2> mentions;
  size_t second_half = end;
  two_threads::split_at(1, end, cut_at, [&](int half, size_t first, size_t last) {
    if (half == 1) second_half = first;
    count_lines(lines, static_cast<int32_t>(first), static_cast<int32_t>(last), line_count,
                classify[half], part[half], mentions[half]);
  });
  merge(part[0], std::move(part[1]));
  part[0].halves = std::move(mentions);
  part[0].second_half = second_half;
  return std::move(part[0]);
}

}  // namespace minify
