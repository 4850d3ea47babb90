// The answers to --why, read from the run's records.
#include "report/why.h"

#include <algorithm>
#include <deque>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "script/autoitsourcefile.h"
#include "script/normalize.h"
#include "script/run_records.h"

namespace {

using function_record = run_records::function_record;

std::string place(const autoitsourcefile& script, int32_t slot) {
  const line_origin where = script.origins.of(static_cast<size_t>(slot));
  if (where.file.empty()) return "line " + std::to_string(slot);
  return std::string(where.file) + ":" + std::to_string(where.line);
}

std::string written(const function_record& f) { return std::string(written_function_name(f.header)); }

// "Name (file:line)": a function and where its header stands.
std::string function_at(const autoitsourcefile& script, const function_record& f) {
  return written(f) + " (" + place(script, f.slot) + ")";
}

// What a keep entry is, as the user finds it again.
std::string keep_entry_text(const keep_entry& entry) {
  if (entry.built()) {
    return std::string(entry.file()) + ":" + std::to_string(entry.line()) +
           ": the script builds the name at run time (" + std::string(entry.written()) + ")";
  }
  if (entry.file().empty()) {
    return "the keep entry '" + std::string(entry.text) + "' given by --keep";
  }
  return std::string(entry.file()) + ":" + std::to_string(entry.line()) + ": the keep entry '" +
         std::string(entry.text) + "' of a pragma";
}

// How the normalized line names the function: "names F", or "names F in
// a string" when it is quoted there (a callback given by name).
std::string how_named(std::string_view keeper_text, const function_record& f) {
  const std::string name = upper_copy(written(f));
  for (const char quote : {'"', '\''}) {
    const std::string quoted = quote + name + quote;
    if (keeper_text.find(quoted) != std::string_view::npos) {
      return "names " + written(f) + " in a string";
    }
  }
  return "names " + written(f);
}

// Per name number, the lost mentions of it (indices), for the functions
// that tree shaking deleted: their namers, themselves not reached.
std::vector<std::vector<size_t>> mentions_by_name(const run_records& records) {
  std::vector<std::vector<size_t>> by_name;
  const auto& mentions = records.lost_mentions;
  for (size_t m = 0; m < mentions.size(); ++m) {
    const auto name = static_cast<size_t>(mentions[m].name);
    if (by_name.size() <= name) by_name.resize(name + 1);
    by_name[name].push_back(m);
  }
  return by_name;
}

// A function tree shaking deleted: the functions whose lines name it, and
// the shortest circle through it, when there is one.
std::string why_unreached(const autoitsourcefile& script, int32_t r,
                          const std::vector<std::vector<size_t>>& by_name) {
  const std::vector<function_record>& all = script.records.functions;
  const auto& mentions = script.records.lost_mentions;
  const function_record& f = all[static_cast<size_t>(r)];
  auto namers_of = [&](int32_t name) {
    std::vector<int32_t> namers;
    if (static_cast<size_t>(name) >= by_name.size()) return namers;
    for (const size_t m : by_name[static_cast<size_t>(name)]) {
      const int32_t with = mentions[m].deleted_with;
      if (std::find(namers.begin(), namers.end(), with) == namers.end()) namers.push_back(with);
    }
    return namers;
  };
  const std::vector<int32_t> namers = namers_of(f.name);
  if (namers.empty()) return "  not reached: nothing names it\n";
  std::string text = "  not reached: named only by ";
  for (size_t k = 0; k < namers.size(); ++k) {
    if (k > 0) text += ", ";
    text += namers[k] == r ? "itself" : function_at(script, all[static_cast<size_t>(namers[k])]);
  }
  text += "\n";
  // Back from it through the namers, breadth first: the first namer met
  // that bears its name closes the shortest circle. `named[x]`: the
  // function x names on the way back to it.
  std::unordered_map<int32_t, int32_t> named;
  std::deque<int32_t> next;
  for (const int32_t namer : namers) {
    if (named.emplace(namer, r).second) next.push_back(namer);
  }
  while (!next.empty()) {
    const int32_t at = next.front();
    next.pop_front();
    if (all[static_cast<size_t>(at)].name == f.name) {
      if (at == r && named[at] == r) return text + "  a circle: " + written(f) + " names itself\n";
      text += "  a circle: ";
      int32_t from = at;
      do {
        const int32_t to = named[from];
        if (from != at) text += ", ";
        text += written(all[static_cast<size_t>(from)]) + " names " +
                written(all[static_cast<size_t>(to)]);
        from = to;
      } while (from != r);
      return text + "\n";
    }
    for (const int32_t namer : namers_of(all[static_cast<size_t>(at)].name)) {
      if (named.emplace(namer, at).second) next.push_back(namer);
    }
  }
  return text;
}

std::string why_function(const autoitsourcefile& script, int32_t r,
                         const std::vector<std::vector<size_t>>& by_name) {
  const std::vector<function_record>& all = script.records.functions;
  const function_record& f = all[static_cast<size_t>(r)];
  std::string text = "why " + written(f) + " (" + place(script, f.slot) + "): ";
  if (f.status == run_records::state::erased) {
    text += "deleted in run " + std::to_string(f.run) + ", with " +
            function_at(script, all[static_cast<size_t>(f.erased_with)]) +
            ", which has no EndFunc before it\n";
    return text;
  }
  if (f.status == run_records::state::deleted) {
    text += "deleted in run " + std::to_string(f.run) + "\n";
    if (f.unreached) return text + why_unreached(script, r, by_name);
    std::string lost;
    const auto& mentions = script.records.lost_mentions;
    for (size_t m = 0; m < f.lost_before && m < mentions.size(); ++m) {
      if (mentions[m].name != f.name) continue;
      const function_record& with = all[static_cast<size_t>(mentions[m].deleted_with)];
      lost += "  " + place(script, mentions[m].slot) + ": in " + function_at(script, with) +
              ", deleted in run " + std::to_string(with.run) + "\n";
    }
    text += lost.empty() ? "  nothing else named it\n"
                         : "  only these lines named it, and their functions were deleted "
                           "before it:\n" + lost;
    return text;
  }
  // Kept: the chain from its root to the name.
  std::vector<std::string> steps;
  std::unordered_set<int32_t> seen;
  int32_t at = r;
  std::string root;
  while (true) {
    const function_record& g = all[static_cast<size_t>(at)];
    if (!seen.insert(at).second) {
      root = "only functions that name each other keep it (a circle)";
      break;
    }
    if (g.keep_entry >= 0) {
      steps.push_back("  " + keep_entry_text(script.keep_entries[static_cast<size_t>(g.keep_entry)]) +
                      " keeps " + written(g) + "\n");
      root = script.keep_entries[static_cast<size_t>(g.keep_entry)].built()
                 ? "kept: the script builds its name at run time"
                 : "kept by a keep entry";
      break;
    }
    if (g.keeper_slot == 0) {
      root = at == r ? "kept: nothing names it any more, and no run was left to delete it"
                     : "kept by " + written(g) + ", which nothing names any more";
      break;
    }
    const std::string line = place(script, g.keeper_slot);
    if (g.keeper_function < 0) {
      steps.push_back("  " + line + ": top-level code " + how_named(g.keeper_text, g) + "\n");
      root = "kept, reached from top-level code";
      break;
    }
    const function_record& owner = all[static_cast<size_t>(g.keeper_function)];
    steps.push_back("  " + line + ": in " + function_at(script, owner) + ", " +
                    how_named(g.keeper_text, g) + "\n");
    at = g.keeper_function;
  }
  text += root + "\n";
  for (auto step = steps.rbegin(); step != steps.rend(); ++step) text += *step;
  return text;
}

std::string why_variable(const autoitsourcefile& script, const run_records::variable_record& v,
                         const std::string& asked) {
  std::string text = "why " + asked + " (" + place(script, v.slot) + "): ";
  if (v.deleted) return text + "deleted: no other line mentions it\n";
  if (v.keep_entry >= 0) {
    return text + "kept by " +
           keep_entry_text(script.keep_entries[static_cast<size_t>(v.keep_entry)]) + "\n";
  }
  if (v.first_mention > 0) {
    return text + "kept: " + place(script, v.first_mention) + " mentions it\n";
  }
  if (v.kept_by_call) return text + "kept: its declaration calls a function, which must still run\n";
  if (v.kept_by_own_line) return text + "kept: the rest of its declaration reads it\n";
  return text + "kept\n";
}

// With the renamer on: the new name of the function or variable `key`
// (normalized), or nothing when it kept its name.
std::string renamed_text(const run_records& records, const std::string& key,
                         const std::string& asked) {
  const bool variable = !key.empty() && key.front() == '$';
  const std::string_view bare = std::string_view(key).substr(variable ? 1 : 0);
  for (const run_records::renamed_name& r : records.renamed) {
    if (r.function() == variable || upper_copy(r.from()) != bare) continue;
    return asked + " is renamed " + (variable ? "$" : "") + std::string(r.to()) + " in the output\n";
  }
  return {};
}

}  // namespace

std::vector<std::string> why_answers(const autoitsourcefile& script,
                                     const std::vector<std::string>& names,
                                     std::vector<std::string>* unknown) {
  std::vector<std::string> answers;
  const run_records& records = script.records;
  const std::vector<std::vector<size_t>> by_name = mentions_by_name(records);
  for (const std::string& asked : names) {
    const std::string key = normalized(asked);
    std::string answer;
    if (!key.empty() && key.front() == '$') {
      for (const run_records::variable_record& v : records.variables) {
        if (v.name == key) answer += why_variable(script, v, asked);
      }
    } else {
      for (size_t r = 0; r < records.functions.size(); ++r) {
        if (upper_copy(written(records.functions[r])) == key) {
          answer += why_function(script, static_cast<int32_t>(r), by_name);
        }
      }
    }
    if (records.renames_on) answer += renamed_text(records, key, asked);
    if (answer.empty()) {
      unknown->push_back(asked);
    } else {
      answers.push_back(std::move(answer));
    }
  }
  return answers;
}
