// The metafile (--metafile=FILE): what a run did, as JSON, for tools and size
// budgets: the output, every source file, function and variable, the warnings
// and the report's counters.

// Places are FILE and LINE as warnings show them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "report/diagnostics.h"

class autoitsourcefile;

struct run_summary {
  std::string version;
  std::string input;
  std::string output;
  bool remove_comments = false;
  bool remove_functions = false;
  bool remove_vars = false;
  int runs = 0;
  int64_t unshrunk = 0;
  int64_t shrunk = 0;
  long long percent = 0;  // as the report rounds it
};

// The metafile's text, lines ending in CR LF but the last. `warnings`: every
// warning of the run, in the order printed.
std::string metafile_text(const autoitsourcefile& script, const run_summary& summary,
                          const std::vector<diagnostics::kept_warning>& warnings);
