// What the unused-function pass notes in the run's records, when a run asks
// for them (--analyze, --metafile): every header found, each deletion with
// its run and the mentions it took away, and what keeps each function left.
#pragma once

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "passes/functions/function_headers.h"
#include "passes/functions/function_reach.h"
#include "passes/functions/function_usage_index.h"
#include "script/line_table.h"
#include "script/normalized_lines.h"
#include "script/run_records.h"

class function_notes {
 public:
  // Records every header of `found`, before the first run. The index, made
  // from `found`, hands over from now on the uses each deletion takes away.
  function_notes(run_records& records, const function_headers& found, const line_table& lines,
                 function_usage_index* index);
  // The function whose header is `header_line` was deleted in `run`, its
  // lines blanked through `last`; headers among them that were still
  // standing went with it.
  void deleted(int32_t header_line, int32_t run, int32_t last);
  // Tree shaking, before the first deletion: the functions deleted for
  // want of reaching are marked so. When the reasons are asked for, every
  // line of a body not reached that names a function not reached goes to
  // the lost mentions, with the innermost function that holds it; the
  // mentions deletions take away are noted only for the names reached.
  // `reach` outlives the notes' use.
  void tree_shaken(const function_reach& reach);
  // After the last run: what keeps each function still standing, through
  // the uses still counted. One walk over the lines of the functions left
  // and one over the uses.
  // A function left reads its name from its header line, which stands.
  void finish(const function_usage_index& index, const std::vector<keep_entry>& entries, const normalized_lines& transformed_lines,
              int32_t line_count);

 private:
  int32_t record_at(int32_t slot) const;
  // The first record from r on that is still kept (size() when none).
  int32_t next_kept(int32_t r);
  void mark_gone(int32_t r);

  run_records& records_;
  std::vector<std::pair<int32_t, int32_t>> forgotten_;
  const function_reach* reach_ = nullptr;
  // For next_kept: each record points at a record at or after it that may
  // still be kept; paths are shortened as they are followed.
  std::vector<int32_t> next_;
};
