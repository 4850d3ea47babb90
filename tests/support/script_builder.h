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

// Runs `pass` on a script of `input` lines with its console output held back;
// returns the lines it left and, through line_count, how many there are.
template <class Pass>
std::vector<std::string> lines_after(const std::vector<std::string>& input, Pass pass,
                                     int32_t* line_count = nullptr) {
  autoitsourcefile script("");
  load_lines(script, input);
  captured_stdout([&] { pass(script); });
  if (line_count != nullptr) *line_count = script.line_count;
  return current_lines(script);
}
