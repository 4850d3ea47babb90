// The renamer's decisions on a census: which names keep their names and
// why, and the short name each other one takes.
#pragma once

#include <string>
#include <vector>

#include "passes/minify/name_census.h"
#include "script/names_at_run_time.h"

class line_table;

namespace minify {

// Marks every name that must keep its name (never-rename rules, keep
// entries, built names, names held at run time), then gives the others
// their short names, the most mentioned first. `entries` are the keep-list
// entries; those with `built` set stand for patterns the script builds.
void choose_names(census& c, const line_table& lines, bool blocks_possible,
                  const std::vector<keep_entry>& entries);

}  // namespace minify
