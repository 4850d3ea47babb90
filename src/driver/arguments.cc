#include "driver/arguments.h"

#include <string_view>

#include "platform/atoi.h"

namespace {

// The pass letters must stand at their positions exactly, in upper case.
bool selects(const char* passes, size_t position, char letter) {
  for (size_t i = 0; i < position; ++i) {
    if (passes[i] == '\0') return false;
  }
  return passes[position] == letter;
}

// Takes `word` as an option when it is one; false leaves it positional.
bool take_option(std::string_view word, arguments* args) {
  constexpr std::string_view keep = "--keep=";
  if (word == "--help") {
    args->help = true;
  } else if (word == "--version") {
    args->version = true;
  } else if (word == "--no-pause") {
    args->no_pause = true;
  } else if (word == "--no-auto-keep") {
    args->no_auto_keep = true;
  } else if (word.substr(0, keep.size()) == keep) {
    args->keep.emplace_back(word.substr(keep.size()));
  } else {
    return false;
  }
  return true;
}

}  // namespace

bool parse_arguments(int argc, char** argv, arguments* args) {
  if (argc == 2 && (std::string_view(argv[1]) == "-h" || std::string_view(argv[1]) == "/?")) {
    args->help = true;
    return true;
  }
  std::vector<const char*> positional;
  for (int i = 1; i < argc; ++i) {
    if (!take_option(argv[i], args)) positional.push_back(argv[i]);
  }
  if (positional.size() < 5) return false;
  args->input = positional[0];
  args->output = positional[1];
  args->quoted_include_dir = positional[2];
  args->angle_include_dir = positional[3];
  const char* passes = positional[4];
  args->pass_selection = passes;
  args->remove_comments = selects(passes, 0, 'C');
  args->remove_functions = selects(passes, 1, 'F');
  args->remove_vars = selects(passes, 2, 'G');
  if (args->remove_functions || args->remove_vars) {
    if (positional.size() < 7) return false;
    args->runs_text = positional[5];
    args->runs = platform::atoi(positional[5]);
    args->output_mode = positional[6];
  }
  return true;
}
