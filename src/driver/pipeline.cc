#include "driver/pipeline.h"

#include <new>
#include <string>

#include "driver/size_report.h"
#include "report/console.h"
#include "report/diagnostics.h"
#include "script/autoitsourcefile.h"

namespace {

int fail(const char* what, const char* path, const std::string& reason) {
  diagnostics::error(std::string("cannot ") + what + " '" + path + "': " + reason);
  return 1;
}

// The run itself; shrink() below only stands guard over it.
int shrink_script(const arguments& args) {
  std::string err;

  // Open the input; the overall timer starts here.
  autoitsourcefile script(args.input);
  // Load the script into the line table.
  if (!script.read_to_array(&err)) return fail("read input file", args.input, err);
  // Splice in every included file, nested ones too.
  if (!script.search_includes_and_add_to_lines(args.angle_include_dir, args.quoted_include_dir,
                                               &err)) {
    diagnostics::error(err);
    return 1;
  }
  // The keep-list for the dead-code passes: the options, then the pragmas,
  // read before comments go.
  if (args.remove_functions || args.remove_vars) {
    for (const std::string& list : args.keep) script.add_keep_list(list);
    script.read_keep_pragmas();
  }
  // First write, measured only: the expanded script's size in the output is
  // the unshrunk size. The output keeps what it held until the final write,
  // so a run that fails or is stopped before the end costs no file.
  int64_t unshrunk = script.measure_output(args.output, &err);
  if (unshrunk < 0) return fail("write output file", args.output, err);
  // Line comments and comment blocks.
  if (args.remove_comments) script.remove_comments();
  // Trailing blanks; continuation lines joined.
  script.remove_upheaval();
  // The normalized copy that every later pass compares against.
  script.transform_lines();
  // #Region and #EndRegion lines.
  script.remove_regions();
  // Names the script builds at run time; those a naming call builds are
  // kept, unless the user said otherwise.
  if (args.remove_functions || args.remove_vars) {
    script.find_names_built_at_run_time(!args.no_auto_keep);
  }
  // Functions that nothing calls, over the given number of runs.
  if (args.remove_functions) script.remove_unused_functions(args.runs, args.output_mode);
  // Variables that nothing mentions.
  if (args.remove_vars) script.remove_unused_vars(args.output_mode);
  // Deleted names that the script may build at run time; lines still
  // stand where they came from.
  script.warn_about_names_built_at_run_time();
  // Blank lines dropped; the table closes up.
  script.delete_empty_lines();
  // Final write: the shrunk script replaces the output at once.
  int64_t shrunk = script.write_to_file(args.output, &err);
  if (shrunk < 0) return fail("write output file", args.output, err);
  // Timings and counters, then the sizes.
  script.show_statistic();
  console::out(size_report(unshrunk, shrunk));
  console::out("Finished!!!\n\n");
  console::flush();
  for (const run_warning& note : script.notes) {
    diagnostics::note_at(note.file, note.line, note.text);
  }
  for (const run_warning& warning : script.warnings) {
    diagnostics::warning_at(warning.file, warning.line, warning.text);
  }
  return 0;
}

}  // namespace

int shrink(const arguments& args) {
  // A script or pipe larger than memory ends in a message, not an abort;
  // the output, not yet replaced, keeps what it held, and the temporary
  // file went with the script object.
  try {
    return shrink_script(args);
  } catch (const std::bad_alloc&) {
    return fail("shrink", args.input, "not enough memory");
  }
}
