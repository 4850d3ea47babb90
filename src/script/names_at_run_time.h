// What the dead-code passes share about names a script may reach only at run
// time: the keep-list, the names they deleted, and the warnings they leave
// for the user.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// One keep-list entry, normalized ("_ON_*", "$G_HMAIN"), with the place of
// the pragma that gave it (no file for an entry given on the command line).
struct keep_entry {
  std::string text;
  std::string file;
  int64_t line = 0;
};

// A function or variable a dead-code pass deleted: its name as the pass
// records it, and its header or declaration line as it stood before the
// deletion (a view into the line table, which keeps that text).
struct deleted_name {
  std::string name;
  std::string_view line;
  int32_t slot = 0;  // that line's number in the table
};

// A warning held back until the run's report is printed; no file when there
// is no place to point at.
struct run_warning {
  std::string file;
  int64_t line = 0;
  std::string text;
};
