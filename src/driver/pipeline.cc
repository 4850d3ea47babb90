// The order of the passes in one run, the writes of the output, the map and
// the metafile, and the one place where a failed step is reported.
#include "driver/pipeline.h"

#include <cmath>
#include <new>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "driver/file_clashes.h"
#include "driver/no_warn.h"
#include "driver/size_report.h"
#include "platform/console.h"
#include "report/diagnostics.h"
#include "report/metafile.h"
#include "report/trace.h"
#include "report/why.h"
#include "script/autoitsourcefile.h"
#include "script/source_line_numbers.h"
#include "script/text_encoding.h"
#include "script/two_threads.h"

namespace {

// Writes `text` (its last line end left to the writer) to the temporary
// file of `file`; `whole` must stay until the file is replaced.
bool write_text(platform::output_file& file, const std::string& text,
                const std::span<const std::string_view>& whole, std::string* err) {
  int64_t size = 0;
  if (text.empty()) return file.write({}, 1, 0, &size, err);
  return file.write(whole, 0, 0, &size, err);
}

int fail(const char* what, const char* path, const std::string& reason) {
  diagnostics::error(std::string("cannot ") + what + " '" + path + "': " + reason);
  return 1;
}

// The warning about a --why name that the run did not find.
std::string unknown_why_name(const std::string& name) {
  return "--why: '" + name + "' is neither a function nor a variable the run found";
}

// The metafile's text; `shrunk` is the output's size, as the report gives
// it. `unknown`: the --why names the run did not find.
std::string metafile_of(const autoitsourcefile& script, const arguments& args, int64_t unshrunk,
                        int64_t shrunk, const std::vector<std::string>& unknown) {
  const run_summary summary{AU3SHRINK_VERSION, args.input, args.output, args.remove_comments,
                            args.remove_functions, args.remove_vars, args.runs, unshrunk, shrunk,
                            std::llround(static_cast<double>(percentage_saved(unshrunk, shrunk)))};
  // The warnings printed so far and those the report is followed by, but
  // the silenced ones: every warning printed, no other.
  std::vector<diagnostics::kept_warning> warnings = diagnostics::kept_warnings();
  for (const run_warning& w : script.warnings) {
    if (diagnostics::silenced(w.kind)) continue;
    warnings.push_back({std::string(w.file), w.line, w.text, std::string(w.kind), {}});
    diagnostics::kept_warning& kept = warnings.back();
    for (const run_place& p : w.more) kept.places.push_back({std::string(p.file), p.line, p.text});
  }
  if (!diagnostics::silenced("why-unknown")) {
    for (const std::string& name : unknown) {
      warnings.push_back({{}, 0, unknown_why_name(name), "why-unknown", {}});
    }
  }
  return metafile_text(script, summary, warnings);
}

// The places a warning stands for, as the messages module takes them.
std::vector<diagnostics::warning_place> places_of(const run_warning& w) {
  std::vector<diagnostics::warning_place> places;
  for (const run_place& p : w.more) places.push_back({std::string(p.file), p.line, p.text});
  return places;
}

// The run itself; shrink() below only stands guard over it.
int shrink_script(const arguments& args) {
  std::string err;

  // Open the input; the overall timer starts here.
  autoitsourcefile script(args.input);
  // What --map, --analyze and --metafile show is noted only when asked for.
  script.records.output_lines_on =
      args.map || args.analyze || args.metafile || args.source_line_numbers;
  script.records.names_on = args.analyze || args.metafile || !args.why.empty();
  script.records.reasons_on = args.metafile || !args.why.empty();
  // Load the script into the line table.
  if (!script.read_to_array(&err)) return fail("read input file", args.input, err);
  // Splice in every included file, nested ones too.
  if (!script.search_includes_and_add_to_lines(args.angle_include_dir, args.quoted_include_dir,
                                               &err)) {
    diagnostics::error(err);
    return 1;
  }
  // The minify switches, from the options and the pragmas, read before
  // comments go.
  const autoitsourcefile::minify_switches pragmas = script.read_minify_pragmas();
  const bool minify_whitespace = args.minify_whitespace || pragmas.whitespace;
  const bool minify_identifiers = args.minify_identifiers || pragmas.identifiers;
  if (pragmas.tree_shaking) script.tree_shaking_asked = true;
  // The keep-list for the dead-code passes and the renamer: the options,
  // then the pragmas, read before comments go.
  if (args.remove_functions || args.remove_vars || minify_identifiers) {
    for (const std::string& list : args.keep) script.add_keep_list(list);
    script.read_keep_pragmas();
  }
  // An output, map or metafile that would replace another file of the run
  // is an error before anything is written.
  if (!check_file_clashes(args, script, &err)) {
    diagnostics::error(err);
    return 1;
  }
  // First write, measured only: the expanded script's size in the output is
  // the unshrunk size. The output keeps what it held until the final write,
  // so a run that fails or is stopped before the end costs no file.
  int64_t unshrunk = script.measure_output(args.output, &err);
  if (unshrunk < 0) return fail("write output file", args.output, err);
  // The map and the metafile are written like the output: opened now, so
  // that one that cannot be written fails before the work, and replaced at
  // the end.
  platform::output_file map_file;
  platform::output_file metafile;
  map_file.set_role("map file");
  metafile.set_role("metafile");
  if (args.map && !map_file.open(args.map_file, &err)) {
    return fail("write map file", args.map_file.c_str(), err);
  }
  if (args.metafile && !metafile.open(args.metafile_file, &err)) {
    return fail("write metafile", args.metafile_file.c_str(), err);
  }
  // The pragmas that silence kinds of warnings, before any warning about
  // the script's names.
  read_no_warn_pragmas(script);
  if (script.records.names_on) measure_expanded_files(script);
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
  if (args.remove_functions) {
    script.remove_unused_functions(args.runs, args.output_mode,
                                   args.tree_shaking || script.tree_shaking_asked);
  }
  // Variables that nothing mentions.
  if (args.remove_vars) script.remove_unused_vars(args.output_mode);
  // Deleted names that the script may build at run time; lines still
  // stand where they came from.
  script.warn_about_names_built_at_run_time();
  // Spare blanks and long names; lines stay where they are.
  script.minify(minify_whitespace, minify_identifiers);
  // The answers to --why, while the lines still stand in their slots.
  std::vector<std::string> unknown;
  const std::vector<std::string> why = why_answers(script, args.why, &unknown);
  // Blank lines dropped; the table closes up.
  script.delete_empty_lines();
  // The source's line numbers go in as the output is written: the unshrunk
  // size above stays that of the script as read.
  if (args.source_line_numbers) put_source_line_numbers(script);
  // Final write: the shrunk script goes whole to the output's temporary
  // file. Meanwhile, on a second thread where a large script makes it worth
  // one: where each output line came from, the line map and the metafile,
  // which only read the lines.
  int64_t shrunk = -1;
  std::string map;
  std::string meta;
  two_threads::split(1, static_cast<size_t>(script.line_count) + 1,
                     [&](int half, size_t, size_t) {
                       if (half == 0) {
                         shrunk = script.stage_output(args.output, &err);
                       } else if (script.records.output_lines_on) {
                         const int64_t traced = trace_output(script, args.map ? &map : nullptr);
                         // The report counts the UTF-8 mark too.
                         const auto mark = static_cast<int64_t>(
                             script.utf8_mark ? text_encoding::kUtf8Mark.size() : 0);
                         if (args.metafile) {
                           meta = metafile_of(script, args, unshrunk, traced + mark, unknown);
                         }
                       }
                     });
  if (shrunk < 0) return fail("write output file", args.output, err);
  // The map and the metafile are complete too before any file is replaced:
  // one that cannot be written costs none of them.
  const std::string_view map_text = map, meta_text = meta;
  const std::span<const std::string_view> map_lines(&map_text, 1), meta_lines(&meta_text, 1);
  if (args.map && !write_text(map_file, map, map_lines, &err)) {
    return fail("write map file", args.map_file.c_str(), err);
  }
  if (args.metafile && !write_text(metafile, meta, meta_lines, &err)) {
    return fail("write metafile", args.metafile_file.c_str(), err);
  }
  platform::output_file* const written[] = {&map_file, &metafile, &script.output_stream};
  const char* const roles[] = {"write map file", "write metafile", "write output file"};
  const char* const paths[] = {args.map_file.c_str(), args.metafile_file.c_str(), args.output};
  size_t failed = 0;
  if (!platform::replace_together(written, &failed, &err)) {
    return fail(roles[failed], paths[failed], err);
  }
  console::out("file written.\n\n");
  // Timings and counters, then the sizes.
  script.show_statistic();
  console::out(size_report(unshrunk, shrunk));
  console::out("Finished!!!\n\n");
  console::flush();
  for (const run_warning& note : script.notes) {
    diagnostics::note_at(note.file, note.line, note.text);
  }
  for (const run_warning& warning : script.warnings) {
    diagnostics::warning_at(warning.file, warning.line, warning.text, warning.kind,
                            places_of(warning));
  }
  if (args.analyze) diagnostics::note(size_analysis(script));
  for (const std::string& answer : why) diagnostics::note(answer);
  for (const std::string& name : unknown) {
    diagnostics::warning(unknown_why_name(name), "why-unknown");
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
