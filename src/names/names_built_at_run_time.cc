// Names a script builds at run time. Before the dead-code passes, every line
// is walked once for its chains ("_On_" & $sEvent) and for the calls that
// take a name no string shows (Call($fCallback)). A chain that a naming call
// takes (Call, Execute, GUICtrlSetOnEvent, Eval, ...) keeps every name that
// matches its pattern, like a keep-list entry; after the passes, the kept
// names are noted, the other chains warn about the deleted names they
// match, and a name held in a variable warns once.
#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <numeric>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "names/built_name_constants.h"
#include "names/name_chains.h"
#include "names/name_table.h"
#include "script/autoitsourcefile.h"
#include "script/run_records.h"
#include "script/normalize.h"
#include "script/two_threads.h"

namespace {

// At most this many names are listed in one message.
constexpr size_t kListed = 3;

// The names of a list, at most kListed of them, then "and N more"; a
// --keep= value takes them with "," between.
template <class Names>
std::string listed(const Names& names, size_t count, std::string_view between = ", ") {
  std::string text;
  for (size_t k = 0; k < count && k < kListed; ++k) {
    if (k > 0) text += between;
    text += names(k);
  }
  if (count > kListed) text += " and " + std::to_string(count - kListed) + " more";
  return text;
}

// The pattern as a keep entry spells it: P*S, or P for a whole name.
std::string pattern_text(const name_chain& chain) {
  return chain.whole ? chain.prefix : chain.prefix + "*" + chain.suffix;
}

// Deleted names of one kind, sorted, for pattern look-ups. The functions'
// list and the variables' are held in different ways: the index reads either
// through `at`.
class deleted_index {
 public:
  // Variables are looked up without their "$".
  template <class Deleted>
  deleted_index(const Deleted& deleted, bool variables)
      : at_([&deleted](size_t i) { return deleted_name(deleted[i]); }) {
    for (size_t i = 0; i < deleted.size(); ++i) {
      std::string_view key = deleted[i].name;
      if (variables && !key.empty() && key.front() == '$') key.remove_prefix(1);
      if (!key.empty()) sorted_.push_back({key, i});
    }
    std::sort(sorted_.begin(), sorted_.end());
    sorted_.erase(std::unique(sorted_.begin(), sorted_.end(),
                              [](const entry& a, const entry& b) { return a.key == b.key; }),
                  sorted_.end());
    by_end_.resize(sorted_.size());
    std::iota(by_end_.begin(), by_end_.end(), size_t{0});
    std::sort(by_end_.begin(), by_end_.end(),
              [&](size_t a, size_t b) { return ends_before(sorted_[a].key, sorted_[b].key); });
  }

  // The deleted names that match the pattern P*S (or equal P, for a whole
  // name), in sorted order. A pattern met before is answered from memory.
  const std::vector<size_t>& matching(const name_chain& chain) {
    std::string key = upper_copy(pattern_text(chain));
    auto [at, added] = answers_.try_emplace(key);
    std::vector<size_t>& found = at->second;
    if (!added) return found;
    const std::string prefix = upper_copy(chain.prefix);
    const std::string suffix = upper_copy(chain.suffix);
    const auto first = std::lower_bound(sorted_.begin(), sorted_.end(), entry{prefix, 0});
    if (chain.whole) {
      if (first != sorted_.end() && first->key == prefix) found.push_back(first->index);
      return found;
    }
    auto fits = [&](std::string_view name) {
      return name.size() >= prefix.size() + suffix.size() && name.starts_with(prefix) &&
             name.ends_with(suffix);
    };
    // The names that begin with P lie together in sorted_, those that end
    // with S together in by_end_: the shorter run is read, so that many
    // patterns that share a long run ("Fn_" & $x & "_Open", "Fn_" & $x &
    // "_Close", ...) do not each read every name that begins "FN_".
    const auto last = std::partition_point(
        first, sorted_.end(), [&](const entry& e) { return e.key.starts_with(prefix); });
    const auto end_first = std::partition_point(by_end_.begin(), by_end_.end(), [&](size_t k) {
      return ends_before(sorted_[k].key, suffix);
    });
    const auto end_last = std::partition_point(
        end_first, by_end_.end(), [&](size_t k) { return sorted_[k].key.ends_with(suffix); });
    if (last - first <= end_last - end_first) {
      for (auto it = first; it != last; ++it) {
        if (fits(it->key)) found.push_back(it->index);
      }
      return found;
    }
    std::vector<size_t> places;
    for (auto it = end_first; it != end_last; ++it) {
      if (fits(sorted_[*it].key)) places.push_back(*it);
    }
    std::sort(places.begin(), places.end());
    for (const size_t k : places) found.push_back(sorted_[k].index);
    return found;
  }

  deleted_name operator[](size_t i) const { return at_(i); }

 private:
  struct entry {
    std::string_view key;
    size_t index;
    bool operator<(const entry& other) const { return key < other.key; }
  };
  // Whether a comes before b when both are read from their last byte back.
  static bool ends_before(std::string_view a, std::string_view b) {
    for (size_t i = 1; i <= a.size() && i <= b.size(); ++i) {
      const auto x = static_cast<unsigned char>(a[a.size() - i]);
      const auto y = static_cast<unsigned char>(b[b.size() - i]);
      if (x != y) return x < y;
    }
    return a.size() < b.size();
  }

  std::function<deleted_name(size_t)> at_;
  std::vector<entry> sorted_;
  // Places in sorted_, ordered by the names read backwards.
  std::vector<size_t> by_end_;
  std::unordered_map<std::string, std::vector<size_t>> answers_;
};

// The name as written in the function's header, or as recorded when the
// header shows none.
std::string_view written_function_name(const deleted_name& function) {
  const std::string_view name = ::written_function_name(function.line);
  return name.empty() ? std::string_view(function.name) : name;
}

// Variables as written in their declaration lines. Every "$name" of a line
// is taken once, when the line is first asked about, so that a line with
// many variables is read once, not once per variable.
class written_variables {
 public:
  std::string_view of(const deleted_name& variable) {
    auto [at, added] = by_line_.try_emplace(variable.line.data());
    if (added) {
      const std::string_view line = variable.line;
      for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] != '$') continue;
        size_t end = i + 1;
        while (end < line.size() && is_word_byte(line[end])) ++end;
        at->second.try_emplace(upper_copy(line.substr(i, end - i)), line.substr(i, end - i));
        i = end - 1;
      }
    }
    auto found = at->second.find(std::string(variable.name));
    return found == at->second.end() ? std::string_view(variable.name) : found->second;
  }

 private:
  std::unordered_map<const char*, std::unordered_map<std::string, std::string_view>> by_line_;
};

}  // namespace

void autoitsourcefile::find_names_built_at_run_time(bool keep_them) {
  // Each half of the script is walked on a thread of its own; the halves'
  // findings are then joined in line order.
  struct part {
    std::vector<located_chain> chains;
    std::vector<located_held_name> held;
  };
  std::array<part, 2> parts;
  two_threads::split(1, static_cast<size_t>(line_count) + 1,
                     [&](int half, size_t first, size_t last) {
                       std::vector<name_chain> chains;
                       std::vector<held_name> held;
                       for (size_t i = first; i < last; ++i) {
                         const std::string_view line = lines[i];
                         if (line.empty() || !may_build_name(line)) continue;
                         find_name_chains(line, chains, held);
                         const auto slot = static_cast<int32_t>(i);
                         for (name_chain& c : chains) parts[half].chains.push_back({slot, std::move(c)});
                         for (held_name& h : held) {
                           parts[half].held.push_back({slot, std::move(h.shown), h.role});
                         }
                         chains.clear();
                         held.clear();
                       }
                     });
  built_chains = two_threads::joined(std::move(parts[0].chains), parts[1].chains);
  held_names = two_threads::joined(std::move(parts[0].held), parts[1].held);

  // A chain that begins with a variable stands for that variable's one
  // literal, where it has one; otherwise its name cannot be seen.
  std::vector<std::string> heads;
  for (const located_chain& c : built_chains) {
    if (!c.chain.head_variable.empty()) heads.push_back(c.chain.head_variable);
  }
  if (!heads.empty()) {
    const built_name_constants constants(*this, heads);
    std::vector<located_chain> resolved;
    resolved.reserve(built_chains.size());
    for (located_chain& c : built_chains) {
      if (!c.chain.head_variable.empty()) {
        const std::string* literal = constants.literal_of(c.chain.head_variable);
        if (literal == nullptr || literal->size() < 2 || !name_bytes_only(*literal)) {
          held_names.push_back({c.slot, c.chain.shown, c.chain.role});
          continue;
        }
        c.chain.prefix = *literal;
      }
      resolved.push_back(std::move(c));
    }
    built_chains = std::move(resolved);
    std::stable_sort(held_names.begin(), held_names.end(),
                     [](const located_held_name& a, const located_held_name& b) {
                       return a.slot < b.slot;
                     });
  }

  if (!keep_them) return;
  for (located_chain& c : built_chains) {
    if (c.chain.role == name_role::none) continue;
    keep_entry entry;
    std::string& pattern = built_patterns.emplace_back(c.chain.role == name_role::variable ? "$" : "");
    pattern += pattern_text(c.chain);
    entry.text = keep_texts.emplace_back(upper_copy(pattern));
    const line_origin where = origins.of(static_cast<size_t>(c.slot));
    entry.place = &keep_places.emplace_back(keep_place{where.file, where.line, pattern, true});
    keep_entries.push_back(entry);
    c.kept = true;
  }
}

void autoitsourcefile::note_kept_by_built_name(const keep_entry& entry, const deleted_name& name) {
  kept_by_built_names.push_back({static_cast<int32_t>(&entry - keep_entries.data()), name});
}

void autoitsourcefile::warn_about_names_built_at_run_time() {
  written_variables written_vars;
  auto written = [&](const deleted_name& name) -> std::string_view {
    return !name.name.empty() && name.name.front() == '$' ? written_vars.of(name)
                                                          : written_function_name(name);
  };

  // What the built names kept: one note per line of the source, its
  // patterns and the names they kept, in the order the lines stand.
  std::map<std::pair<std::string_view, int64_t>, std::pair<std::vector<int32_t>, std::vector<size_t>>>
      by_place;
  std::vector<std::pair<std::string_view, int64_t>> places;
  for (size_t k = 0; k < kept_by_built_names.size(); ++k) {
    const keep_entry& entry = keep_entries[static_cast<size_t>(kept_by_built_names[k].entry)];
    auto [at, added] = by_place.try_emplace({entry.file(), entry.line()});
    if (added) places.push_back(at->first);
    std::vector<int32_t>& entries = at->second.first;
    if (std::find(entries.begin(), entries.end(), kept_by_built_names[k].entry) == entries.end()) {
      entries.push_back(kept_by_built_names[k].entry);
    }
    at->second.second.push_back(k);
  }
  std::sort(places.begin(), places.end(), [&](const auto& a, const auto& b) {
    return by_place[a].first.front() < by_place[b].first.front();
  });
  for (const auto& place : places) {
    const std::vector<int32_t>& entries = by_place[place].first;
    const std::vector<size_t>& kept = by_place[place].second;
    std::string text = "kept " + listed([&](size_t k) {
      return std::string(written(kept_by_built_names[kept[k]].name));
    }, kept.size());
    text += kept.size() == 1 ? ": the script builds its name at run time ("
                             : ": the script builds their names at run time (";
    for (size_t e = 0; e < entries.size(); ++e) {
      if (e > 0) text += ", ";
      text += keep_entries[static_cast<size_t>(entries[e])].written();
    }
    text += ')';
    notes.push_back({place.first, place.second, std::move(text)});
  }

  if (deleted_function_names.empty() && deleted_variable_names.empty()) return;
  // Without chains or held names, no deleted name can be warned about.
  if (built_chains.empty() && held_names.empty()) return;
  deleted_index functions(deleted_function_names, false);
  deleted_index variables(deleted_variable_names, true);
  // Declarations the variable pass blanked whole are read as they were: a
  // chain there went with them, and so did the variables of the line.
  // Each as its first deleted variable and their count.
  std::unordered_map<int32_t, std::pair<size_t, size_t>> lost;
  const deleted_variables& deleted = deleted_variable_names;
  for (size_t k = 0; k < deleted.size();) {
    const int32_t slot = deleted[k].slot;
    size_t end = k + 1;
    while (end < deleted.size() && deleted[end].slot == slot) ++end;
    if (lines[slot].empty()) lost.emplace(slot, std::pair(k, end - k));
    k = end;
  }

  const size_t first_chain_warning = warnings.size();
  std::vector<int32_t> warned_slots;
  for (const located_chain& c : built_chains) {
    if (c.kept) continue;
    auto lost_here = lost.find(c.slot);
    // A line the function pass blanked was dead code: it builds nothing.
    if (lines[c.slot].empty() && lost_here == lost.end()) continue;
    const bool is_variable = c.chain.role == name_role::variable;
    deleted_index& index = is_variable ? variables : functions;
    const std::vector<size_t>& found = index.matching(c.chain);
    if (found.empty()) continue;
    std::string text = is_variable ? "a variable name is built at run time ("
                                   : "a function name is built at run time (";
    text += c.chain.shown;
    text += "): deleted ";
    text += listed([&](size_t k) { return std::string(written(index[found[k]])); }, found.size());
    text += found.size() == 1 ? "; keep it with --keep=" : "; keep them with --keep=";
    if (is_variable) text += '$';
    text += pattern_text(c.chain);
    if (lost_here != lost.end()) {
      const size_t with_first = lost_here->second.first;
      const size_t with_count = lost_here->second.second;
      text += with_count == 1 ? ", and this line's unused variable with --keep="
                              : ", and this line's unused variables with --keep=";
      auto written_at = [&](size_t k) {
        return std::string(written_vars.of(deleted[with_first + k]));
      };
      text += listed(written_at, with_count, ",");
    }
    const line_origin where = origins.of(static_cast<size_t>(c.slot));
    warnings.push_back({where.file, where.line, std::move(text), "built-name"});
    warned_slots.push_back(c.slot);
  }

  // Names held in variables: one warning for the functions such a name may
  // have reached and one for the variables, each at the first place still
  // standing, listing the others for the metafile.
  size_t next_chain_warning = 0;
  for (const name_role role : {name_role::function, name_role::variable}) {
    std::vector<const located_held_name*> standing;
    for (const located_held_name& h : held_names) {
      if (h.role == role && !lines[h.slot].empty()) standing.push_back(&h);
    }
    if (standing.empty()) continue;
    std::string text = held_name_warning(role, standing.front()->shown, standing.size() - 1);
    if (text.empty()) continue;
    const line_origin where = origins.of(static_cast<size_t>(standing.front()->slot));
    run_warning warning(where.file, where.line, std::move(text),
                        role == name_role::function ? "held-name" : "held-variable");
    for (size_t k = 0; k < standing.size() && standing.size() > 1; ++k) {
      const line_origin at = origins.of(static_cast<size_t>(standing[k]->slot));
      warning.more.push_back({at.file, at.line, standing[k]->shown});
    }
    // In line order among the chains' warnings.
    const auto later = std::upper_bound(warned_slots.begin(), warned_slots.end(),
                                        standing.front()->slot);
    const size_t at =
        std::max(next_chain_warning, static_cast<size_t>(later - warned_slots.begin()));
    warnings.insert(warnings.begin() + static_cast<std::ptrdiff_t>(first_chain_warning + at),
                    std::move(warning));
    warned_slots.insert(warned_slots.begin() + static_cast<std::ptrdiff_t>(at),
                        standing.front()->slot);
    next_chain_warning = at + 1;
  }
}

std::string autoitsourcefile::held_name_warning(name_role role, std::string_view shown,
                                                size_t other_places) {
  // The likely targets: what was deleted in the user's own files that no
  // other line names (a deleted variable is one nothing names).
  auto own = [&](int32_t slot) {
    uint32_t file = 0;
    int64_t line = 0;
    return !origins.locate(static_cast<size_t>(slot), &file, &line) ||
           file >= library_files.size() || library_files[file] == 0;
  };
  struct target {
    std::string_view key;      // as recorded, upper case, without a "$"
    std::string_view written;  // as the source spells it
  };
  std::vector<target> targets;
  written_variables written_vars;
  if (role == name_role::function) {
    for (const deleted_name& f : deleted_function_names) {
      if (f.unnamed && own(f.slot)) targets.push_back({f.name, written_function_name(f)});
    }
  } else {
    for (size_t k = 0; k < deleted_variable_names.size(); ++k) {
      const deleted_name v = deleted_variable_names[k];
      if (!own(v.slot)) continue;
      std::string_view key = v.name;
      if (!key.empty() && key.front() == '$') key.remove_prefix(1);
      targets.push_back({key, written_vars.of(v)});
    }
  }
  if (targets.empty()) return {};
  std::sort(targets.begin(), targets.end(),
            [](const target& a, const target& b) { return a.key < b.key; });
  targets.erase(std::unique(targets.begin(), targets.end(),
                            [](const target& a, const target& b) { return a.key == b.key; }),
                targets.end());
  const bool variables = role == name_role::variable;
  std::string text = variables ? "a variable is read or set by a name held at run time ("
                               : "a function is called by a name held at run time (";
  text += shown;
  text += variables ? "); deleted variables it may name: "
                    : "); deleted functions nothing else names: ";
  text += listed([&](size_t k) { return std::string(targets[k].written); }, targets.size());
  text += targets.size() == 1 ? "; keep it with --keep=" : "; keep them with --keep=";
  // One entry that covers them all: their common start, when it says
  // something; else the names themselves, when few.
  size_t common = targets.front().key.size();
  for (const target& t : targets) {
    size_t n = 0;
    while (n < common && n < t.key.size() && t.key[n] == targets.front().key[n]) ++n;
    common = n;
  }
  const std::string_view dollar = variables ? "$" : "";
  if (targets.size() == 1) {
    text += std::string(dollar) + std::string(targets.front().written).substr(variables ? 1 : 0);
  } else if (common >= 2) {
    text += std::string(dollar) +
            std::string(targets.front().written.substr(variables ? 1 : 0, common)) + "*";
  } else if (targets.size() <= kListed) {
    text += listed([&](size_t k) { return std::string(targets[k].written); }, targets.size(), ",");
  } else {
    text.resize(text.size() - std::string_view("=").size());
    text += " or a pragma";
  }
  if (other_places > 0) {
    text += " (and " + std::to_string(other_places) +
            (other_places == 1 ? " more place)" : " more places)");
  }
  return text;
}
