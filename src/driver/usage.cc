#include "driver/usage.h"

// The build passes the project's version in; one number for the whole tool.
#ifndef AU3SHRINK_VERSION
#error "AU3SHRINK_VERSION must be defined by the build"
#endif

namespace {

constexpr const char* kSynopsis =
    "usage: au3shrink [OPTIONS] INPUT OUTPUT QUOTED_DIR ANGLE_DIR PASSES [RUNS MODE]\n"
    "\n"
    "Shrinks an AutoIt script: splices in its #include files, drops comments,\n"
    "region lines, unused functions, unused variables and blank lines.\n"
    "\n";

constexpr const char* kArguments =
    "  INPUT       the script to shrink\n"
    "  OUTPUT      where to write the shrunk script (may be INPUT itself)\n"
    "  QUOTED_DIR  folder searched for #include \"name\" files\n"
    "  ANGLE_DIR   folder searched for #include <name> files\n"
    "  PASSES      three letters, each in its place: C removes comments,\n"
    "              F unused functions, G unused variables; any other\n"
    "              character skips that pass (CFG, C--, -FG, ---)\n"
    "  RUNS        how many times the unused-function pass runs\n"
    "              (required when PASSES selects F or G)\n"
    "  MODE        C lists every function and variable found or deleted,\n"
    "              anything else prints progress dots\n"
    "              (required when PASSES selects F or G)\n";

constexpr const char* kOptions =
    "\n"
    "options, anywhere among the arguments:\n"
    "  --no-pause      end without waiting for a key press\n"
    "  --keep=LIST     names of functions and variables never to delete\n"
    "                  (see 'When a name is built at run time' in the README)\n"
    "  --no-auto-keep  do not keep the functions and variables whose names the\n"
    "                  script builds for Call, Execute, Eval, ... on its own\n"
    "  --tree-shaking  delete every function that top-level code cannot reach,\n"
    "                  even a recursive one or two that call each other\n"
    "                  (see docs/tree-shaking.md)\n"
    "  --map=FILE      write a line map: line k of FILE is the source file\n"
    "                  and line of line k of OUTPUT\n"
    "  --source-line-numbers\n"
    "                  write each @ScriptLineNumber of OUTPUT as the number\n"
    "                  of the source line it came from (the line --map names)\n"
    "  --metafile=FILE write what the run did as JSON: files, functions,\n"
    "                  variables, warnings, counters\n"
    "  --analyze       after the report, the output's bytes by source file\n"
    "  --strict        end with exit status 3 when a warning was printed\n"
    "  --no-warn=KINDS do not print warnings of these kinds (a comma list of\n"
    "                  the names in brackets at a warning's end; see\n"
    "                  docs/warnings.md); also '; au3shrink: no-warn KINDS'\n"
    "  --why=NAMES     after the report, why each function or $variable named\n"
    "                  was kept or deleted (a comma list; may be repeated)\n"
    "  --minify-whitespace\n"
    "                  drop every blank that separates no two words or operators\n"
    "  --minify-identifiers\n"
    "                  give the script's variables and functions short names,\n"
    "                  where no string or run-time name could tell\n"
    "  --minify        the two above and --tree-shaking (see docs/minify.md)\n"
    "  --where MAP LINE...\n"
    "                  print the source file, line and text of each LINE of\n"
    "                  a script shrunk with --map=MAP (no run)\n"
    "  --help          show this text (also -h or /? as the only argument)\n"
    "  --version       show the version\n";

constexpr const char* kExample =
    "\n"
    "example:\n"
    "  au3shrink main.au3 main_small.au3 . /opt/autoit/Include CFG 3 C\n";

}  // namespace

std::string help_text() { return std::string(kSynopsis) + kArguments + kOptions + kExample; }

std::string usage_error_text() {
  return std::string(kSynopsis) + kArguments + kExample +
         "\nrun 'au3shrink --help' for the options as well\n";
}

std::string where_usage_text() {
  return "usage: au3shrink --where MAP LINE...\n"
         "\n"
         "Prints, for each LINE of a script shrunk with --map=MAP, the source\n"
         "file and line it came from and the text of that line.\n";
}

std::string version_line() { return std::string("au3shrink ") + AU3SHRINK_VERSION + "\n"; }
