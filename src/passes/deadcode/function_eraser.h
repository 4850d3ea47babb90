// Deletes a function from the table: blanks it, in both copies, from its
// header line through the first line whose normalized text begins with
// "ENDFUNC", or through the last line when none follows.
#pragma once

#include <cstdint>
#include <vector>

#include "passes/deadcode/function_usage_index.h"
#include "script/autoitsourcefile.h"

class function_eraser {
 public:
  // Lines blanked go out of the index's counts.
  function_eraser(autoitsourcefile& script, function_usage_index& index);
  void erase_from(int32_t header_line);

 private:
  int32_t first_unerased_from(int32_t line);

  autoitsourcefile& script_;
  function_usage_index& index_;
  // Erased lines hold nothing, "ENDFUNC" least of all, so a deletion may step
  // over them: next_[i] leads towards the first line at or after i not yet
  // erased, which keeps overlapping deletions (headers without EndFunc)
  // from walking the same lines again.
  std::vector<int32_t> next_;
};
