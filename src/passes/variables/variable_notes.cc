// What the unused-variable pass writes into the run's records.
#include "passes/variables/variable_notes.h"

#include "names/keep_list.h"

#include "script/autoitsourcefile.h"

void note_variables(autoitsourcefile& script, const variable_table& table,
                    const variable_usage& usage, const std::vector<bool>& read_by_own_line) {
  std::vector<run_records::variable_record>& notes = script.records.variables;
  notes.clear();
  notes.reserve(static_cast<size_t>(script.variable_count));
  keep_list finder(script.keep_entries, keep_list::kind::variables);
  // The pass deleted in number order, so its list follows the table.
  const deleted_variables& deleted = script.deleted_variable_names;
  size_t next = deleted.size() - static_cast<size_t>(script.deleted_vars);
  for (int32_t k = 1; k <= script.variable_count; ++k) {
    run_records::variable_record v;
    v.name = table.variable_names[k];
    v.slot = table.declaration_lines[k];
    // A variable cut from its line alone has its line marked -1 in the table.
    if (next < deleted.size() && deleted[next].name == v.name &&
        (v.slot == -1 || v.slot == deleted[next].slot)) {
      v.deleted = true;
      v.slot = deleted[next].slot;
      ++next;
    } else {
      const keep_entry* keeper = finder.keeps(v.name);
      v.keep_entry =
          keeper == nullptr ? -1 : static_cast<int32_t>(keeper - script.keep_entries.data());
      v.first_mention = usage.first_mention(k);
      v.kept_by_call = v.first_mention == 0 && table.item_calls[k] != 0;
      v.kept_by_own_line =
          static_cast<size_t>(k) < read_by_own_line.size() && read_by_own_line[k];
    }
    notes.push_back(std::move(v));
  }
}
