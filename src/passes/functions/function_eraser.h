// Deletes a function from the table: blanks it, in both copies, from its
// header line through the first line whose normalized text begins with
// "ENDFUNC", or through the last line when none follows.
#pragma once

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "passes/functions/function_usage_index.h"
#include "script/autoitsourcefile.h"

class function_eraser {
 public:
  // Lines blanked go out of the index's counts.
  function_eraser(autoitsourcefile& script, function_usage_index& index);
  // Returns the last line blanked.
  int32_t erase_from(int32_t header_line);

  // The name of the header on `line`, standing or blanked in this run by
  // the deletion of a function before it that has no EndFunc (a deletion
  // may still come to it). Asked for in rising line order within a run.
  std::string_view header_name(int32_t line);
  // A new run: the headers blanked so far are gone from its list.
  void next_run() {
    blanked_headers_.clear();
    next_blanked_ = 0;
  }

 private:
  // The first line at or after `line` that no deletion has erased yet
  // (line_count + 1 when there is none).
  int32_t first_left_from(int32_t line);

  autoitsourcefile& script_;
  function_usage_index& index_;
  // Erased lines hold nothing, "ENDFUNC" least of all, so a deletion may step
  // over them, which keeps overlapping deletions (headers without EndFunc)
  // from walking the same lines again. The index tells which lines are
  // erased: those it no longer counts. Per erased line: one more than a line
  // past it to try, or 0 for the next line (the links are set and shortened
  // as they are followed, so each stretch of erased lines is soon stepped
  // over in one step). A number per line, not a node per deletion; made
  // only when a deletion first meets an erased line, as most never do.
  std::vector<int32_t> next_left_;
  // Header lines that a deletion blanked on its way (not the one it began
  // at), with their names, in line order.
  std::vector<std::pair<int32_t, std::string_view>> blanked_headers_;
  size_t next_blanked_ = 0;
};
