// The seven positional arguments of a run, and the options among them.
#pragma once

#include <string>
#include <vector>

struct arguments {
  const char* input = nullptr;
  const char* output = nullptr;
  const char* quoted_include_dir = nullptr;
  const char* angle_include_dir = nullptr;
  bool remove_comments = false;
  bool remove_functions = false;
  bool remove_vars = false;
  int runs = 0;
  const char* output_mode = "";
  // Each --keep=LIST, in order.
  std::vector<std::string> keep;
};

// Decodes argv. Options may stand anywhere; only the exact form --keep=LIST
// is one, so that "---" or "--G" stays a pass selection. False when too few
// positional arguments are given for the passes that argument 5 selects.
bool parse_arguments(int argc, char** argv, arguments* args);

// What to print on standard error when parse_arguments fails.
std::string usage_text();
