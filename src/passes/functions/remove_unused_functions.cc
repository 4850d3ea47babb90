// Deletes every function that no other line uses, over the given number of
// runs. Deletions take effect at once: later functions of the same run see
// the lines already blanked.
//
// Headers and uses are found once, before the first run: the pass only
// blanks whole lines, so a later run's headers are the earlier run's headers
// still standing, and a name's uses are the lines found at the start that are
// not blanked yet. Each run then costs a walk over its headers only.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "passes/functions/function_eraser.h"
#include "passes/functions/function_headers.h"
#include "passes/functions/function_notes.h"
#include "passes/functions/function_reach.h"
#include "passes/functions/function_usage_index.h"
#include "names/keep_list.h"
#include "report/console.h"
#include "report/progress.h"
#include "script/autoitsourcefile.h"

namespace {

void print_run_line(int64_t run) {
  console::out("\nRun: ");
  console::out(static_cast<long long>(run));
  console::out("\n");
}

// What a run prints from its header search on; the same for every run that
// finds the same headers.
std::string search_report(const normalized_lines& transformed_lines,
                          const std::vector<function_header>& headers, const progress& report) {
  std::string text = "search: searching functions...\n";
  int32_t number = 0;
  for (const function_header& header : headers) {
    ++number;
    if (report.verbose()) {
      text += "found function: " + std::to_string(number) + ":  ";
      text += function_name(transformed_lines[header.line]);
      text += '\n';
    } else if (report.dot_due(header.line)) {
      text += '.';
    }
  }
  text += "\nfinihed: searching functions\n";
  return text;
}

}  // namespace

void autoitsourcefile::remove_unused_functions(int runs, const char* output_mode,
                                               bool tree_shaking) {
  unused_functions_timer.start();
  const progress report(output_mode);
  console::out("start: remove unused functions...\n");
  if (runs == 1) {
    console::out("1 Run\n");
  } else {
    console::out(static_cast<long long>(runs));
    console::out(" Runs\n");
  }

  if (runs >= 1) {
    function_headers found = find_function_headers(lines, transformed_lines, header_lines);
    // The candidates are the headers found, and the others can never become
    // one: they are let go now, before the names' table takes its room, and
    // the headers left stand for them at the end.
    header_lines = std::vector<int32_t>();
    number_function_names(found, transformed_lines);
    std::vector<function_header>& headers = found.headers;
    // Names on the keep-list count as used in every run.
    keep_list keep(keep_entries, keep_list::kind::functions);
    // Per name, the entry that keeps it; no table while none does.
    // Names are numbered in order of first appearance: each is asked about
    // at its first header.
    std::vector<const keep_entry*> kept;
    int32_t next_name = 0;
    for (const function_header& header : headers) {
      if (header.name != next_name) continue;
      ++next_name;
      const keep_entry* keeper = keep.keeps(function_name(transformed_lines[header.line]));
      if (keeper == nullptr) continue;
      if (kept.empty()) kept.resize(static_cast<size_t>(found.name_count), nullptr);
      kept[header.name] = keeper;
    }
    // A name that a built name keeps is noted once, however many runs keep it.
    std::vector<char> noted(kept.size(), 0);
    keep.warn_unmatched(warnings);
    std::optional<function_usage_index> index;
    std::optional<function_eraser> eraser;
    if (!headers.empty()) {
      index.emplace(found, transformed_lines, line_count);
      for (function_header& header : headers) {
        header.uses_own_name = header.own_use_apart || index->line_uses(header.line, header.name);
      }
      eraser.emplace(*this, *index);
    }
    // The run's records, when asked for: every header, each deletion, and
    // at the end what keeps the functions left.
    std::optional<function_notes> notes;
    if (records.names_on) {
      notes.emplace(records, found, lines, records.reasons_on && index ? &*index : nullptr);
    }
    // Tree shaking: run 1 deletes every function the running program cannot
    // reach, a circle of functions that only name each other too.
    std::optional<function_reach> reach;
    if (tree_shaking && index) {
      reach.emplace(headers, found.name_count, index->uses(), transformed_lines, line_count);
      if (!kept.empty()) {
        for (const function_header& header : headers) {
          const keep_entry* keeper = kept[header.name];
          if (keeper != nullptr && !keeper->built()) {
            reach->reach(static_cast<int32_t>(header.name));
          }
        }
        // What nothing else reaches stands by the built name alone: noted.
        for (const function_header& header : headers) {
          const keep_entry* keeper = kept[header.name];
          if (keeper == nullptr || !keeper->built() ||
              reach->reached(static_cast<int32_t>(header.name)) || noted[header.name] != 0) {
            continue;
          }
          noted[header.name] = 1;
          note_kept_by_built_name(
              *keeper, {function_name(transformed_lines[header.line]), lines[header.line], header.line});
        }
        for (const function_header& header : headers) {
          if (kept[header.name] != nullptr) reach->reach(static_cast<int32_t>(header.name));
        }
      }
      if (notes) notes->tree_shaken(*reach);
      reach->finish();
    }

    // The deleted names are read only to warn about the names the script
    // builds at run time: without such a place, none is kept. Where they
    // are, room for every header: a list that doubles as it fills would
    // hold the old room and the new at once.
    const bool keep_deleted = !built_chains.empty() || !held_names.empty();
    if (keep_deleted) {
      deleted_function_names.reserve(deleted_function_names.size() + headers.size());
    }
    // What names each function before any deletion: one that no other line
    // names is what a name held at run time may have reached.
    std::vector<int32_t> first_uses;
    if (!held_names.empty() && index) {
      first_uses.resize(static_cast<size_t>(found.name_count));
      for (const function_header& header : headers) {
        first_uses[header.name] = index->lines_using(header.name) - (header.uses_own_name ? 1 : 0);
      }
    }
    for (int64_t run = 1; run <= runs; ++run) {
      function_count = static_cast<int32_t>(headers.size());
      print_run_line(run);
      if (eraser) eraser->next_run();
      const std::string searched = search_report(transformed_lines, headers, report);
      console::out(searched);

      bool deleted_any = false;
      for (size_t k = 0; k < headers.size(); ++k) {
        const function_header& header = headers[k];
        if (reach && run == 1) {
          // A header blanked with a function before it went already: its
          // deletion would go on past the lines it held.
          if (reach->reached(static_cast<int32_t>(header.name)) || !index->counts_line(header.line)) {
            continue;
          }
        } else {
          // The header's own line does not count as a use.
          int32_t uses = index->lines_using(header.name);
          if (header.uses_own_name && index->counts_line(header.line)) --uses;
          if (uses > 0) continue;
        }
        if (const keep_entry* keeper = kept.empty() ? nullptr : kept[header.name]) {
          if (keeper->built() && noted[header.name] == 0) {
            noted[header.name] = 1;
            note_kept_by_built_name(*keeper, {eraser->header_name(header.line),
                                              lines[header.line], header.line});
          }
          continue;
        }

        deleted_any = true;
        ++deleted_functions;
        const auto number = static_cast<int64_t>(k + 1);
        const std::string_view name = eraser->header_name(header.line);
        report.event("delete function (functionnr.: ", number, "): ", name, number);
        if (keep_deleted) {
          const bool unnamed = !first_uses.empty() && first_uses[header.name] <= 0;
          deleted_function_names.push_back({name, lines[header.line], header.line, unnamed});
        }
        const int32_t last = eraser->erase_from(header.line);
        if (notes) notes->deleted(header.line, static_cast<int32_t>(run), last);
      }

      if (!deleted_any) {
        // Nothing changed, so every later run finds and prints the same.
        for (int64_t later = run + 1; later <= runs; ++later) {
          print_run_line(later);
          console::out(searched);
        }
        break;
      }
      // A header blanked by this run's deletions opens nothing in the next.
      std::erase_if(headers, [&](const function_header& header) {
        return transformed_lines[header.line].empty();
      });
      index->headers_moved();
    }
    if (notes && index && records.reasons_on) {
      notes->finish(*index, keep_entries, transformed_lines, line_count);
    }
    header_lines.reserve(headers.size());
    for (const function_header& header : headers) header_lines.push_back(header.line);
  }

  console::out("finished: remove unused functions\n\n");
  unused_functions_timer.stop();
}
