// Which recorded variables some other line still mentions.

// Every line is searched once, for all names together; afterwards a usage test
// costs O(1) and blanking a declaration line costs the number of names it
// holds.
//
// A line mentions a variable when its normalized text holds the name, or,
// for a name $X, holds "X" or 'X' as a whole string: that is how Eval,
// Assign and IsDeclared name a variable.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "names/name_matcher.h"
#include "names/name_table.h"
#include "passes/variables/small_counts.h"
#include "passes/variables/variable_scan.h"
#include "script/line_table.h"
#include "script/normalized_lines.h"

class autoitsourcefile;

class variable_usage {
 public:
  // Indexes the normalized copy of `script` for the names of `table`.
  variable_usage(const autoitsourcefile& script, const variable_table& table);

  // Whether a line other than k's declaration line mentions k in the
  // normalized copy. The empty name is held by every line, blank or not.
  bool used(int32_t k) const;

  // Line `line` has just been blanked in the normalized copy. A line that
  // declares more than one variable is never blanked: the names it holds
  // are not kept for this.
  void line_blanked(int32_t line);

  // The first line other than k's declaration line that held k's name when
  // the index was made; 0 when none did (or the name is empty). Noted only
  // for a run that keeps records of its variables; 0 otherwise.
  int32_t first_mention(int32_t k) const;

 private:
  // What the count of some lines finds, on one thread: per name, the lines
  // that hold it; the declaration lines among them with their names; the
  // marks and scratch its searches use.
  struct count_part;
  // Counts lines [first, last) of the normalized copy into `part`.
  void count_lines(const normalized_lines& transformed_lines, int32_t first, int32_t last,
                   count_part& part);
  // Calls on_name(name) once for every name that text mentions.
  template <class F>
  void for_each_name_mentioned(std::string_view text, count_part& part, F&& on_name) const;

  // Variables with the same name share one entry, their name's number: the
  // index of the first of them in the names' table (variable k is k - 1),
  // asked of the table each time rather than kept per variable.
  int32_t name_of(int32_t k) const;

  int32_t line_count_;
  const variable_table& table_;
  // Per name: how many non-blank lines hold it.
  small_counts counts_;
  // Per name, for the run's records only: the first two lines that held it.
  std::vector<std::array<int32_t, 2>> first_lines_;
  // Per variable: whether its own declaration line holds its name. Bytes,
  // not bits: the two halves of the count set theirs at the same time.
  std::vector<char> held_by_own_line_;
  // The lines that declare one variable alone, ascending, with the names
  // each holds (a range of line_names_); whether a line has been blanked
  // since is in blanked_.
  std::vector<int32_t> declaration_lines_;
  std::vector<uint32_t> line_names_begin_;
  std::vector<int32_t> line_names_;
  std::vector<bool> blanked_;

  // Every name, looked up from each "$" of a line (the names "$" + word
  // bytes, nearly every real one, stand only there) and from each quoted
  // word.
  std::optional<name_table> names_;
  // The names that hold other bytes, and "X" and 'X' for such a name $X,
  // searched for anywhere in the line.
  std::optional<name_matcher> other_strings_;
  std::vector<int32_t> other_owner_;
};
