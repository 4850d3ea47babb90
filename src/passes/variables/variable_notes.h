// What the unused-variable pass notes in the run's records, when a run asks
// for them (--metafile): every variable it found, whether it was deleted,
// and what kept it (a keep entry, the first line that mentioned it, or its
// own declaration).
#pragma once

#include <vector>

#include "passes/variables/variable_scan.h"
#include "passes/variables/variable_usage.h"

class autoitsourcefile;

// Called once, after the pass has deleted what it deletes; the variables it
// deleted are the last script.deleted_vars of script.deleted_variable_names.
// read_by_own_line[k]: what stays of k's declaration reads k.
void note_variables(autoitsourcefile& script, const variable_table& table,
                    const variable_usage& usage, const std::vector<bool>& read_by_own_line);
