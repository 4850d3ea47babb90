// Which recorded variables some other line still mentions. Every line is
// searched once, for all names together; afterwards a usage test costs O(1)
// and blanking a declaration line costs the number of names it holds.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "passes/deadcode/variable_scan.h"

class autoitsourcefile;

class variable_usage {
 public:
  // Indexes the normalized copy of `script` for the names of `table`.
  variable_usage(const autoitsourcefile& script, const variable_table& table);

  // Whether a line other than k's declaration line holds k's name in the
  // normalized copy. The empty name is held by every line, blank or not.
  bool used(int32_t k) const;

  // Line `line` has just been blanked in the normalized copy.
  void line_blanked(int32_t line);

 private:
  int32_t line_count_;
  const variable_table& table_;
  // Variables with the same name share one entry: their name's number.
  std::vector<int32_t> name_of_;
  // Per name: how many non-blank lines hold it.
  std::vector<int32_t> holding_lines_;
  // Per variable: whether its own declaration line holds its name.
  std::vector<bool> held_by_own_line_;
  // Per declaration line: the names it holds (a range of line_names_), and
  // whether it has been blanked since.
  std::vector<uint32_t> line_names_begin_;
  std::vector<int32_t> line_names_;
  std::vector<bool> blanked_;
};
