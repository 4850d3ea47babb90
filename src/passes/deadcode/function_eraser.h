// Deletes a function from the table: blanks it, in both copies, from its
// header line through the first line whose normalized text begins with
// "ENDFUNC", or through the last line when none follows.
#pragma once

#include <cstdint>
#include <map>

#include "passes/deadcode/function_usage_index.h"
#include "script/autoitsourcefile.h"

class function_eraser {
 public:
  // Lines blanked go out of the index's counts.
  function_eraser(autoitsourcefile& script, function_usage_index& index);
  // Returns the last line blanked.
  int32_t erase_from(int32_t header_line);

 private:
  autoitsourcefile& script_;
  function_usage_index& index_;
  // Erased lines hold nothing, "ENDFUNC" least of all, so a deletion may step
  // over them: the erased lines as first -> last runs, which keeps
  // overlapping deletions (headers without EndFunc) from walking the same
  // lines again. A deletion that steps over runs takes them into its own, so
  // each run is stepped over once. There are no more runs than functions,
  // far fewer than lines.
  std::map<int32_t, int32_t> erased_;
};
