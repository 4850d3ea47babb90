// What the unused-variable pass notes in the run's records, when a run asks
// for them (--metafile): every variable it found, whether it was deleted,
// and what kept it (a keep entry, or the first line that mentioned it).
#pragma once

#include "passes/variables/variable_scan.h"
#include "passes/variables/variable_usage.h"

class autoitsourcefile;

// Called once, after the pass has deleted what it deletes; the variables it
// deleted are the last script.deleted_vars of script.deleted_variable_names.
void note_variables(autoitsourcefile& script, const variable_table& table,
                    const variable_usage& usage);
