// The command line: seven positional arguments and a few options. Options
// are only the exact forms below and may stand anywhere among the positional
// arguments; every other argument is positional (`---`, `--G` and `-FG` are
// pass selections, an unknown `--word` is a path, with a warning).
#pragma once

#include <string>
#include <vector>

struct arguments {
  const char* input = nullptr;
  const char* output = nullptr;
  const char* quoted_include_dir = nullptr;
  const char* angle_include_dir = nullptr;
  const char* pass_selection = "";  // argument 5 as written
  bool remove_comments = false;
  bool remove_functions = false;
  bool remove_vars = false;
  const char* runs_text = nullptr;  // argument 6 as written; read only for F or G
  int runs = 0;
  const char* output_mode = "";

  bool help = false;      // --help anywhere, or -h or /? as the only argument
  bool version = false;   // --version
  bool no_pause = false;  // --no-pause: the run ends without the key-press wait
  // --no-auto-keep: names that the script builds for a naming call
  // (Call("_On_" & $e)) are not kept on their own.
  bool no_auto_keep = false;
  // --tree-shaking: the unused-function pass's first run deletes every
  // function that top-level code and the keep-list cannot reach.
  bool tree_shaking = false;
  // Each --keep=LIST's LIST as written, in command-line order: names of
  // functions and variables never to delete.
  std::vector<std::string> keep;
  // --map=FILE and --metafile=FILE: written with the output, like it.
  bool map = false;
  std::string map_file;
  bool metafile = false;
  std::string metafile_file;
  // --source-line-numbers: @ScriptLineNumber becomes the number of the
  // source line, as the output is written.
  bool source_line_numbers = false;
  bool analyze = false;  // --analyze: output bytes by source file after the report
  bool strict = false;   // --strict: a run that printed a warning ends with 3
  // Each --no-warn=KINDS's kinds, split at commas: warnings of these kinds
  // are not printed (nor counted by --strict).
  std::vector<std::string> no_warn;
  // --why=NAMES, each comma list split: functions and $variables whose
  // keeping or deletion is explained after the report.
  std::vector<std::string> why;
  // --minify-whitespace: spare blanks go; --minify-identifiers: variables
  // and functions get short names; --minify turns on both and tree_shaking.
  bool minify_whitespace = false;
  bool minify_identifiers = false;
  // --where: a mode of its own; the positional arguments are MAP and LINEs.
  bool where = false;
  const char* where_map = nullptr;
  std::vector<const char*> where_lines;

  // Warnings about the command line itself (an unknown --word, "--", an
  // extra argument, a value after a blank), in argument order, each with
  // its kind; main prints them.
  struct warning {
    std::string text;
    const char* kind;
  };
  std::vector<warning> warnings;
  // When the arguments are too few: what is missing, as a sentence.
  std::string missing;
};

// Decodes argv. Options are decoded in every case; false when too few
// positional arguments are given for the passes that argument 5 selects (or,
// with --where, no MAP or no LINE), with args->missing saying what lacks.
bool parse_arguments(int argc, char** argv, arguments* args);
