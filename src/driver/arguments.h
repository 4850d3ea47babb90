// The seven positional arguments of a run.
#pragma once

#include <string>

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
};

// Decodes argv. False when too few arguments are given for the passes that
// argument 5 selects.
bool parse_arguments(int argc, char** argv, arguments* args);

// What to print on standard error when parse_arguments fails.
std::string usage_text();
