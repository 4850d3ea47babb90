// What the dead-code passes share about names a script may reach only at run
// time: the keep-list, the names they deleted, and the warnings they leave
// for the user.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

// One keep-list entry, normalized ("_ON_*", "$G_HMAIN"), with the place of
// the pragma that gave it (no file for an entry given on the command line).
// The file is the name the script's line origins keep, shared by every
// entry of that file: a pragma of many entries costs no copy of the path
// per entry.
struct keep_entry {
  std::string text;
  std::string_view file;
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
// is no place to point at. The file is a view of the name the script's line
// origins keep (as line_origin and keep_entry hold it), so that thousands of
// warnings about one file cost no copy of its path each. A temporary string
// would leave the view dangling: it does not compile.
struct run_warning {
  run_warning(std::string_view file, int64_t line, std::string text)
      : file(file), line(line), text(std::move(text)) {}
  template <class Temporary>
    requires std::is_same_v<Temporary, std::string>
  run_warning(Temporary&& file, int64_t line, std::string text) = delete;

  std::string_view file;
  int64_t line = 0;
  std::string text;
};
