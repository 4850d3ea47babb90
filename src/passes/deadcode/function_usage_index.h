// Which lines use which function names, found for all names together in one
// walk over the script. A line uses a name when its normalized text holds
// NAME( or the name in double or single quotes anywhere, or the name as a
// whole word. Since the unused-function pass only ever blanks whole lines,
// the lines found here stay the only ones that can use a name; a line being
// blanked is forgotten, and a name is used while some counted line uses it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class function_usage_index {
 public:
  // names: distinct function names; lines 1..line_count of the normalized table.
  function_usage_index(const std::vector<std::string>& names,
                       const std::vector<std::string>& transformed_lines, int32_t line_count);

  // Number of counted lines that use the name.
  int32_t lines_using(int32_t name) const { return lines_using_[name]; }
  bool counts_line(int32_t line) const { return counted_[line]; }
  // Whether the line is counted and uses the name.
  bool line_uses(int32_t line, int32_t name) const;
  // The line is being blanked: its uses stop counting. Later calls do nothing.
  void forget_line(int32_t line);

 private:
  // Names used by line i: used_names_[uses_begin_[i] .. uses_begin_[i + 1]).
  std::vector<size_t> uses_begin_;
  std::vector<int32_t> used_names_;
  std::vector<bool> counted_;
  std::vector<int32_t> lines_using_;
};
