// The minify pass: every line written again with its spare blanks gone
// and its names renamed, the renames noted for the metafile and --why, and a
// note for each reason that kept names as written.
#include <algorithm>
#include <array>
#include <bit>
#include <deque>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "passes/minify/choose_names.h"
#include "passes/minify/line_kinds.h"
#include "passes/minify/line_rewrite.h"
#include "passes/minify/name_census.h"
#include "platform/free_memory.h"
#include "script/autoitsourcefile.h"
#include "script/two_threads.h"

namespace {

using minify::census;
using minify::kept_as_written;
using minify::name_info;

// At most this many names are listed in one note.
constexpr size_t kListed = 3;

// One note per reason that kept names of the script's own as written.
void note_kept_names(autoitsourcefile& script, const census& c,
                     const std::vector<keep_entry>& entries) {
  struct reason {
    kept_as_written why;
    const char* text;
  };
  constexpr reason kReasons[] = {
      {kept_as_written::in_string, "a string or directive of the output shows them"},
      {kept_as_written::keep_entry, "the keep-list keeps them"},
      {kept_as_written::built_name, "the script may build their names at run time"},
  };
  for (const reason& r : kReasons) {
    std::vector<std::string> names;
    int32_t first_slot = 0;
    // The entry that kept the first name listed, when it stands in a file:
    // the note points there rather than at the name.
    const keep_entry* entry = nullptr;
    size_t count = 0;
    auto gather = [&](const std::vector<name_info>& all, const minify::name_index& index,
                      bool variables) {
      for (uint32_t i = 0; i < all.size(); ++i) {
        const name_info& n = all[i];
        if (n.kept != r.why) continue;
        if (count == 0 || n.first_slot < first_slot) first_slot = n.first_slot;
        if (names.empty() && n.kept_by >= 0 && !entries[static_cast<size_t>(n.kept_by)].file().empty()) {
          entry = &entries[static_cast<size_t>(n.kept_by)];
        }
        if (names.size() < kListed) {
          names.emplace_back(variables ? "$" : "");
          names.back() += index.key(i);
        }
        ++count;
      }
    };
    gather(c.words, c.word_index, false);
    gather(c.variables, c.variable_index, true);
    if (count == 0) continue;
    std::string text = "not renamed, as ";
    text += r.text;
    text += ": ";
    for (size_t k = 0; k < names.size(); ++k) {
      if (k > 0) text += ", ";
      text += names[k];
    }
    if (count > names.size()) text += " and " + std::to_string(count - names.size()) + " more";
    if (entry != nullptr) {
      script.notes.emplace_back(entry->file(), entry->line(), std::move(text));
      continue;
    }
    const line_origin at = script.origins.of(static_cast<size_t>(first_slot));
    script.notes.emplace_back(at.file, at.line, std::move(text));
  }
  auto held_note = [&](const std::vector<minify::held_call>& calls, const std::string& what) {
    if (calls.empty()) return;
    std::string text = what;
    text += ": ";
    text += calls.front().shown;
    text += " takes a name that no string shows";
    if (calls.size() > 1) text += " (and " + std::to_string(calls.size() - 1) + " more such calls)";
    const line_origin at = script.origins.of(static_cast<size_t>(calls.front().slot));
    script.notes.emplace_back(at.file, at.line, std::move(text));
  };
  bool any_function = false;
  for (const name_info& w : c.words) any_function = any_function || w.declared;
  if (any_function) held_note(c.held_functions, "no function is renamed");
  held_note(c.held_variables,
            "the globals and the variables of the function around the call are not renamed");
}

// The keep entries, then one for each name pattern the script builds, its
// place in `places`.
std::vector<keep_entry> entries_with_built_names(const autoitsourcefile& script, const census& c,
                                                 std::deque<keep_place>& places) {
  std::vector<keep_entry> entries = script.keep_entries;
  for (const census::built& b : c.built_names) {
    const line_origin at = script.origins.of(static_cast<size_t>(b.slot));
    entries.push_back({b.pattern, &places.emplace_back(keep_place{at.file, at.line, b.shown, true})});
  }
  return entries;
}

// Each name's new text packed in one word: its bytes (at most 7) from the
// lowest up, their number in the top byte; 0 where the name keeps its text.
// The rewrite copies the whole word and moves on by the number: one small
// table read for each mention, not a name's record and then its text.
// New names are never longer (a "$" and six characters name billions).
static_assert(std::endian::native == std::endian::little, "new names are packed low byte first");
uint64_t packed(std::string_view name) {
  uint64_t word = uint64_t{name.size()} << 56;
  std::memcpy(&word, name.data(), std::min<size_t>(name.size(), 7));
  return name.empty() ? 0 : word;
}

// The packed new names of one half's numbers: the census's own, or, for the
// second half, its numbers turned into the census's by `ids`.
std::vector<uint64_t> packed_new_names(const census& c, const std::vector<name_info>& all,
                                       const std::vector<uint32_t>* ids) {
  const size_t size = ids != nullptr ? ids->size() : all.size();
  std::vector<uint64_t> table(size);
  for (size_t i = 0; i < size; ++i) {
    table[i] = packed(c.new_name(all[ids != nullptr ? (*ids)[i] : i]));
  }
  return table;
}

// What the rewrite of one half takes from the census: the numbers of its
// mentions, in the order met, and what each number's name becomes.
struct half_renames {
  minify::mention_reader variables;
  minify::mention_reader words;
  std::vector<uint64_t> new_variables;
  std::vector<uint64_t> new_words;
};

// Writes lines [first, last) again, renamed by `renames` unless it is null.
// The lines are one half of the census's walk, split where it split them;
// their names come in the order the census met them, so each takes the next
// number of its half's list, which is let go as it is read.
void rewrite_lines(line_table& lines, line_table::builder& text, minify::line_classifier& classify,
                   size_t first, size_t last, bool whitespace, half_renames* renames) {
  auto rename = [&](const minify::token& t) -> uint64_t {
    if (renames == nullptr) return 0;
    uint32_t id = 0;
    if (t.kind == minify::token_kind::variable) {
      return renames->variables.next(&id) ? renames->new_variables[id] : 0;
    }
    return renames->words.next(&id) ? renames->new_words[id] : 0;
  };
  for (size_t slot = first; slot < last; ++slot) {
    const std::string_view line = lines[slot];
    if (line.empty()) continue;
    const minify::line_kind kind = classify.next(line);
    if (kind.kind != minify::line_kind::what::code) {
      if (whitespace) lines.put_kept(slot, minify::trimmed(line));
      continue;
    }
    const std::string_view code = line.substr(0, kind.code_end);
    std::string_view rest = line.substr(kind.code_end);
    // A rest opens a comment block: kept as it is, but for its trailing blanks.
    if (whitespace) rest = rest.substr(0, rest.find_last_not_of(" \t") + 1);
    text.build_if_changed(slot, minify::most_rewritten(code) + rest.size(), [&](char* out) {
      size_t size = minify::rewrite_code(code, whitespace, rename, out);
      std::memcpy(out + size, rest.data(), rest.size());
      return size + rest.size();
    });
  }
}

}  // namespace

void autoitsourcefile::minify(bool whitespace, bool identifiers) {
  if (!whitespace && !identifiers) return;
  // The dead-code passes are done with the normalized copy; only the
  // answers to --why and the metafile read it again (a keeper line's text).
  // Without them it goes, and the new text takes its room.
  if (!records.names_on) {
    transformed_lines = normalized_lines();
    platform::return_free_memory();
  }
  const bool blocks_possible = !comments_removed;
  std::array<half_renames, 2> renames;
  size_t second_half = 0;  // where the census split the lines
  if (identifiers) {
    census c = minify::take_census(lines, line_count, blocks_possible);
    // The keep entries as they are, unless the script builds names: a copy
    // of a long list would cost its room again.
    std::deque<keep_place> built_places;
    std::vector<keep_entry> with_built;
    if (!c.built_names.empty()) with_built = entries_with_built_names(*this, c, built_places);
    const std::vector<keep_entry>& entries = c.built_names.empty() ? keep_entries : with_built;
    minify::choose_names(c, lines, blocks_possible, entries);
    note_kept_names(*this, c, entries);
    records.renames_on = true;
    if (records.names_on) {
      for (uint32_t i = 0; i < c.words.size(); ++i) {
        if (c.words[i].new_size != 0) {
          records.renamed.emplace_back(true, c.word_index.key(i), c.new_name(c.words[i]));
        }
      }
      for (uint32_t i = 0; i < c.variables.size(); ++i) {
        if (c.variables[i].new_size != 0) {
          records.renamed.emplace_back(false, c.variable_index.key(i),
                                       c.new_name(c.variables[i]).substr(1));
        }
      }
    }
    // The rewrite finds each name by number: of the census, only the
    // mention lists and a packed new name for each number of each half go
    // on; its tables go here.
    for (int half = 0; half < 2; ++half) {
      half_renames& r = renames[static_cast<size_t>(half)];
      r.variables = minify::mention_reader(std::move(c.halves[half].variables));
      r.words = minify::mention_reader(std::move(c.halves[half].words));
      r.new_variables = packed_new_names(c, c.variables, half == 1 ? &c.second_variable_ids : nullptr);
      r.new_words = packed_new_names(c, c.words, half == 1 ? &c.second_word_ids : nullptr);
    }
    second_half = c.second_half;
  }
  // Each half of the script is written again on a thread of its own, split
  // where the census split it; the second half's classifier first follows
  // the comment blocks down to it.
  std::array<std::optional<line_table::builder>, 2> text;
  for (auto& part : text) part.emplace(lines);
  std::array<minify::line_classifier, 2> classify{minify::line_classifier(blocks_possible),
                                                  minify::line_classifier(blocks_possible)};
  const size_t end = static_cast<size_t>(line_count) + 1;
  auto cut_at = [&](size_t middle) {
    if (identifiers) middle = second_half;
    for (size_t slot = 1; slot < middle; ++slot) classify[1].pass(lines[slot]);
    return middle;
  };
  two_threads::split_at(1, end, cut_at, [&](int half, size_t first, size_t last) {
    rewrite_lines(lines, *text[half], classify[half], first, last, whitespace,
                  identifiers ? &renames[static_cast<size_t>(half)] : nullptr);
  });
  for (auto& part : text) lines.adopt(std::move(*part));
}
