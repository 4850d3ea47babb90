#include "driver/inert_values.h"

#include <string>
#include <utility>

#include "platform/atoi.h"
#include "platform/folder_check.h"
#include "report/diagnostics.h"

namespace {

// A lower-case c, f or g among the three places reads as a pass meant but
// written in the wrong case: only upper-case letters select.
void check_pass_selection(const arguments& args) {
  const std::string passes = args.pass_selection;
  if (passes.substr(0, 3).find_first_of("cfg") == std::string::npos) return;
  std::string selected;
  for (auto [on, letter] : {std::pair{args.remove_comments, "C"}, std::pair{args.remove_functions, "F"},
                            std::pair{args.remove_vars, "G"}}) {
    if (!on) continue;
    if (!selected.empty()) selected += " and ";
    selected += letter;
  }
  std::string what = selected.empty() ? "selects no optional pass" : "selects only " + selected;
  diagnostics::warning("pass selection '" + passes + "' " + what + ": the letters are upper case",
                       "pass-selection");
}

void check_runs(const arguments& args) {
  if (!args.remove_functions || platform::atoi_reads_digits(args.runs_text)) return;
  diagnostics::warning(std::string("run count '") + args.runs_text +
                       "' is not a number: the unused-function pass makes no run",
                       "run-count");
}

void check_include_folders(const arguments& args) {
  const std::string quoted = args.quoted_include_dir;
  const std::string angle = args.angle_include_dir;
  auto warn = [](const std::string& folder, const char* which) {
    diagnostics::warning("include folder '" + folder + "' (" + which + ") is not a folder",
                         "include-folder");
  };
  bool quoted_is_folder = platform::names_a_folder(quoted);
  if (quoted == angle) {
    if (!quoted_is_folder) warn(quoted, "QUOTED_DIR and ANGLE_DIR");
    return;
  }
  if (!quoted_is_folder) warn(quoted, "QUOTED_DIR");
  if (!platform::names_a_folder(angle)) warn(angle, "ANGLE_DIR");
}

}  // namespace

void warn_about_inert_values(const arguments& args) {
  check_include_folders(args);
  check_pass_selection(args);
  check_runs(args);
}
