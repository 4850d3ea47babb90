// The command line: seven positional arguments and a few options. Options
// are only the exact forms below and may stand anywhere among the positional
// arguments; every other argument is positional (`---`, `--G` and `-FG` are
// pass selections, an unknown `--word` is a path).
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
  // Each --keep=LIST's LIST as written, in command-line order: names of
  // functions and variables never to delete.
  std::vector<std::string> keep;
};

// Decodes argv. Options are decoded in every case; false when too few
// positional arguments are given for the passes that argument 5 selects.
bool parse_arguments(int argc, char** argv, arguments* args);
