// The unused-variable pass: records every declared variable, then cuts out,
// in number order, each one that no other line mentions.
#include <optional>
#include <vector>

#include "names/keep_list.h"
#include "passes/variables/own_line_reads.h"
#include "passes/variables/variable_cut.h"
#include "passes/variables/variable_notes.h"
#include "passes/variables/variable_scan.h"
#include "passes/variables/variable_usage.h"
#include "platform/console.h"
#include "platform/free_memory.h"
#include "report/progress.h"
#include "script/autoitsourcefile.h"

void autoitsourcefile::remove_unused_vars(const char* output_mode) {
  unused_vars_timer.start();
  const progress report(output_mode);
  console::out("start: remove unused variables...\n");
  console::out("start: searching variables...\n\n");

  variable_table table;
  scan_variables(*this, table, report);
  console::out("\nfinished: searching variables\n");

  // Each deletion takes effect at once: a line blanked here no longer keeps
  // alive the variables tested after it. Cuts inside a shared line change
  // `lines` only, which no usage test reads, so they wait until every
  // variable is tested and are then made line by line.
  std::optional<variable_usage> usage;
  usage.emplace(*this, table);
  // Names on the keep-list count as used; every name is matched, so that an
  // entry matching only used variables is not reported as matching none.
  keep_list keep(keep_entries, keep_list::kind::variables);
  // The variables to cut from a line they share, a bit each.
  std::vector<bool> shares_cut(static_cast<size_t>(variable_count) + 1, false);
  int32_t last_shared_line = -1;
  // The deleted names are listed once the usage tables are gone, when a
  // run keeps no records, so that the two never take room together. Each
  // name goes with its line as it stood before the deletion, listed now:
  // for each variable cut alone (the cut blanks its line) and each shared
  // line (cut later), in number order. Room for every variable: only what
  // is filled is ever touched, and nothing is copied as it fills.
  const size_t first_line = deleted_variable_names.line_count();
  deleted_variable_names.reserve_lines(static_cast<size_t>(variable_count));
  int32_t deleted_here = 0;
  own_line_reads own_reads(*this, table);
  // For --why: the variables kept because their own declaration reads them.
  std::vector<bool> read_by_own_line;
  if (records.reasons_on) read_by_own_line.resize(static_cast<size_t>(variable_count) + 1);
  for (int32_t k = 1; k <= variable_count; ++k) {
    // A variable whose cut would take a call with it stays, declaration and
    // all: the program needs the call, read or not.
    // Nor does one that what stays of its declaration still reads.
    const keep_entry* keeper = keep.keeps(table.variable_names[k]);
    if (usage->used(k) || table.item_calls[k]) continue;
    if (own_reads.read_by_rest(k)) {
      if (!read_by_own_line.empty()) read_by_own_line[static_cast<size_t>(k)] = true;
      continue;
    }
    const int32_t declared = table.declaration_lines[k];
    if (keeper != nullptr) {
      if (keeper->built()) {
        note_kept_by_built_name(*keeper, {table.variable_names[k], lines[declared], declared});
      }
      continue;
    }
    ++deleted_vars;
    ++deleted_here;
    report.event("delete variable (variablenr.: ", k, "): ", table.variable_names[k], k);
    if (shares_line(table, variable_count, k)) {
      if (declared != last_shared_line) deleted_variable_names.add_line(lines[declared], declared);
      last_shared_line = declared;
      shares_cut[k] = true;
      own_reads.cut(k);
      continue;
    }
    deleted_variable_names.add_line(lines[declared], declared);
    if (cut_variable(*this, table, k)) usage->line_blanked(declared);
  }
  // What --why and the metafile show of each variable, while the usage
  // tables still stand; then their room goes to the cuts.
  if (records.reasons_on) {
    list_deleted_variables(*this, table, shares_cut, first_line, deleted_here);
    note_variables(*this, table, *usage, read_by_own_line);
  }
  usage.reset();
  // Nothing asks whether an item calls something any more.
  table.item_calls = std::vector<char>();
  platform::return_free_memory();
  cut_shared_variables(*this, table, shares_cut);
  platform::return_free_memory();
  if (!records.reasons_on) {
    list_deleted_variables(*this, table, shares_cut, first_line, deleted_here);
  }
  keep.warn_unmatched(warnings);

  console::out("\nfinished: remove unused variables\n\n");
  unused_vars_timer.stop();
}
