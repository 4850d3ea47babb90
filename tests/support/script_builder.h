// Builds script objects for unit tests and reads back what passes left.
#pragma once

#include <string>
#include <vector>

#include "script/autoitsourcefile.h"

// A script object whose line table holds `lines` (slot 1 on), as if read
// from a file. With normalize, the normalized copy is built too.
void load_lines(autoitsourcefile& script, const std::vector<std::string>& lines,
                bool normalize = false);

// Lines 1 to line_count.
std::vector<std::string> current_lines(const autoitsourcefile& script);
std::vector<std::string> current_transformed_lines(const autoitsourcefile& script);

// Runs `body` and returns everything it printed on standard output.
template <class F>
std::string captured_stdout(F&& body);

std::string begin_capture();
std::string end_capture();

template <class F>
std::string captured_stdout(F&& body) {
  begin_capture();
  body();
  return end_capture();
}
