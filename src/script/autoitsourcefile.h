// The one script object of a run: the line table, its normalized copy, the
// include list, the dead-code counters and the pass timers. Every pass is a
// method; each is defined in the directory of its subsystem.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "platform/input_file.h"
#include "platform/output_file.h"
#include "report/pass_timer.h"
#include "script/line_origins.h"
#include "script/line_table.h"
#include "script/names_at_run_time.h"
#include "script/normalized_lines.h"
#include "script/run_records.h"

// Initial reservations only: the tables grow with the script.
constexpr int32_t MAX_LINES = 25000;
constexpr int32_t MAX_INCLUDES = 500;

class autoitsourcefile {
 public:
  // The input script, opened by the constructor, read by read_to_array.
  platform::input_file source_stream;
  // Its path as given on the command line.
  std::string source_path;
  // Its text as read_to_array split it, which `lines` keeps: the lines read
  // are views of it, in order.
  std::string_view source_text;
  // The output, opened by the first write and replaced whole by the last.
  platform::output_file output_stream;
  // Slot i holds line i without its line end; slot 0 is never used. Holds
  // at least line_count + 1 slots.
  line_table lines;
  // Slot i: line i upper-cased (a-z only) with every blank and tab removed.
  // Sized and filled by transform_lines; only the passes after it read it.
  normalized_lines transformed_lines;
  // Set by the include pass: the lines of the expanded script whose first
  // byte that is not blank is ";", in order. Only these can be keep pragmas.
  std::vector<int32_t> comment_lines;
  // Set by transform_lines: the lines whose normalized copy begins with
  // "FUNC", and those that begin with "DIM", "LOCAL", "GLOBAL" or "CONST",
  // in order. Only these can hold a function header or a declaration; the
  // later passes only shorten or empty lines, so no other line becomes one.
  std::vector<int32_t> header_lines;
  std::vector<int32_t> declaration_lines;
  // Set by transform_lines too: the lines whose normalized copy begins with
  // "#REGION" or "#ENDREGION", in order; the region pass empties them.
  std::vector<int32_t> region_lines;
  // The file and line each slot of `lines` came from, as the slots stand
  // before the blank lines are dropped: for messages that point at the source.
  line_origins origins;
  // What --map, --analyze and --metafile show; noted only when asked for.
  run_records records;
  int32_t line_count = 0;
  int32_t include_count = 0;
  // By file number in `origins`: 1 for a library's file (taken up by an
  // angle-bracket directive, or by such a file), not the user's own; files
  // past its end are the user's.
  std::vector<char> library_files;
  // Slots 1 to include_count: the include paths taken up; slot 0 unused.
  std::vector<std::string> included_files;
  int32_t function_count = 0;
  int32_t variable_count = 0;
  int32_t deleted_functions = 0;
  int32_t deleted_vars = 0;
  pass_timer includes_timer;
  pass_timer comments_timer;
  pass_timer upheavals_timer;
  pass_timer regions_timer;
  pass_timer unused_vars_timer;
  pass_timer unused_functions_timer;
  pass_timer empty_lines_timer;
  pass_timer complete_timer;
  // The output begins with the UTF-8 byte order mark: the script began with
  // a byte order mark, or a file of it was read as UTF-16 and is UTF-8 now.
  bool utf8_mark = false;
  // Set by remove_comments: the variable scan then knows that a ";" left in
  // a declaration cannot start a comment.
  bool comments_removed = false;
  // What the keep-list matches, the dead-code passes never delete; the
  // normalized text of each list its entries are views of, and their places.
  std::vector<keep_entry> keep_entries;
  std::deque<std::string> keep_texts;
  std::deque<keep_place> keep_places;
  // The patterns of the entries that built names gave, as written; in a
  // deque, so that the entries' views of them stay put.
  std::deque<std::string> built_patterns;
  // What the dead-code passes deleted, in the order of deletion.
  std::vector<deleted_name> deleted_function_names;
  deleted_variables deleted_variable_names;
  // Found before the dead-code passes: the chains that build names at run
  // time, the naming calls whose name no string shows, and, filled by the
  // passes, what the chains' patterns kept.
  std::vector<located_chain> built_chains;
  std::vector<located_held_name> held_names;
  std::vector<kept_name> kept_by_built_names;
  // Shown after the report: notes first, then warnings.
  std::vector<run_warning> notes;
  std::vector<run_warning> warnings;

  explicit autoitsourcefile(const char* path);
  ~autoitsourcefile();
  autoitsourcefile(const autoitsourcefile&) = delete;
  autoitsourcefile& operator=(const autoitsourcefile&) = delete;

  // Loads every line of the input, as UTF-8 when it is UTF-16. False, with
  // *err set, when it cannot be read or is not valid UTF-16.
  bool read_to_array(std::string* err);
  void output_current_lines();
  // False, with *err set, when an include file cannot be decoded.
  bool search_includes_and_add_to_lines(const char* angle_include_dir,
                                        const char* quoted_include_dir, std::string* err);
  // The first write, which only measures: opens the output at `path` (so an
  // output that cannot be written fails now, before the work) and returns
  // the size lines 1..line_count would take there, each ending in CR LF. The
  // file keeps what it held. -1, with *err set, when it cannot be written.
  int64_t measure_output(const char* path, std::string* err);
  // The final write: lines 1..line_count, each ending in CR LF, replace the
  // output at once (the one measure_output opened, else `path`). Returns the
  // size written; -1, with *err set, when it cannot be written, and then the
  // output keeps what it held.
  int64_t write_to_file(const char* path, std::string* err);
  // The final write's first step, for a run that writes other files with
  // the output: the lines go whole to the output's temporary file, and
  // output_stream puts them at the path when the other files are complete
  // too (platform::replace_together). The size, or -1 with *err set.
  int64_t stage_output(const char* path, std::string* err);
  void transform_lines();
  void remove_comments();
  void remove_upheaval();
  void remove_regions();
  // With tree_shaking, run 1 deletes every function that top-level code and
  // the keep-list cannot reach, not only those that nothing names.
  void remove_unused_functions(int runs, const char* output_mode, bool tree_shaking = false);
  void remove_unused_vars(const char* output_mode);
  void delete_empty_lines();
  // Squeezes the spare blanks out of every line (whitespace) and gives the
  // script's variables and functions short names (identifiers), where
  // nothing could tell; no line is joined, split or emptied. Run after the
  // dead-code passes.
  void minify(bool whitespace, bool identifiers);
  // Which minify switches the "; au3shrink: minify..." lines of the
  // expanded script turn on ("minify" turns on tree shaking too); read
  // before the comments are removed.
  struct minify_switches {
    bool whitespace = false;
    bool identifiers = false;
    bool tree_shaking = false;
  };
  minify_switches read_minify_pragmas() const;
  // Keep-list entries from a comma-separated list given on the command line.
  void add_keep_list(std::string_view list);
  // Keep-list entries from the "; au3shrink: keep LIST" lines of the
  // expanded script; run after the include pass, which notes the lines that
  // begin with ";", and before the comments are removed.
  void read_keep_pragmas();
  // A "; au3shrink: tree-shaking" line was read with the keep pragmas: the
  // script asks for tree shaking as --tree-shaking does.
  bool tree_shaking_asked = false;
  // Finds where the script builds names at run time; with keep_them, the
  // names a naming call builds (Call("_On_" & $e)) join the keep-list. Run
  // after the normalized copy is made and before the dead-code passes.
  void find_names_built_at_run_time(bool keep_them);
  // A dead-code pass kept `name` only because of the built-name entry.
  void note_kept_by_built_name(const keep_entry& entry, const deleted_name& name);
  // Notes for the names the built names kept, and warnings for the deleted
  // names that a chain or a name held in a variable may reach; run before
  // the blank lines are dropped.
  void warn_about_names_built_at_run_time();
  // The warning for the names a call given a name held at run time
  // (`shown`, `other_places` more such calls) may have reached, by `role`;
  // empty when it reached nothing the user would keep.
  std::string held_name_warning(name_role role, std::string_view shown, size_t other_places);
  void show_statistic();
};
