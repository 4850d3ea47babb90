#include "driver/arguments.h"

#include <string_view>
#include <vector>

#include "platform/atoi.h"

namespace {

// The pass letters must stand at their positions exactly, in upper case.
bool selects(const char* passes, size_t position, char letter) {
  for (size_t i = 0; i < position; ++i) {
    if (passes[i] == '\0') return false;
  }
  return passes[position] == letter;
}

}  // namespace

bool parse_arguments(int argc, char** argv, arguments* args) {
  std::vector<char*> positional{argv[0]};
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg.starts_with("--keep=")) {
      args->keep.emplace_back(arg.substr(7));
    } else {
      positional.push_back(argv[i]);
    }
  }
  argc = static_cast<int>(positional.size());
  argv = positional.data();
  if (argc < 6) return false;
  args->input = argv[1];
  args->output = argv[2];
  args->quoted_include_dir = argv[3];
  args->angle_include_dir = argv[4];
  const char* passes = argv[5];
  args->remove_comments = selects(passes, 0, 'C');
  args->remove_functions = selects(passes, 1, 'F');
  args->remove_vars = selects(passes, 2, 'G');
  if (args->remove_functions || args->remove_vars) {
    if (argc < 8) return false;
    args->runs = platform::atoi(argv[6]);
    args->output_mode = argv[7];
  }
  return true;
}

std::string usage_text() {
  return "usage: au3shrink INPUT OUTPUT QUOTED_DIR ANGLE_DIR PASSES [RUNS MODE]\n"
         "\n"
         "Shrinks an AutoIt script: splices in its #include files, drops comments,\n"
         "region lines, unused functions, unused variables and blank lines.\n"
         "\n"
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
         "              (required when PASSES selects F or G)\n"
         "\n"
         "example:\n"
         "  au3shrink main.au3 main_small.au3 . /opt/autoit/Include CFG 3 C\n";
}
