// Blank-line compaction: every line that is empty or holds only blanks and tabs
// is dropped and the table closes up.

// The earlier passes only empty lines; this is where they leave the table. The
// normalized copy is not moved: nothing reads it afterwards. The origins stay
// as they are: a run that traces its output notes the slot each line came from.
#include <algorithm>
#include <string_view>

#include "platform/console.h"
#include "script/autoitsourcefile.h"
#include "script/normalize.h"

namespace {

// Only the blank and the tab are white: a CR or a form feed is content.
bool has_content(std::string_view line) {
  return std::any_of(line.begin(), line.end(), [](char c) { return !is_blank_or_tab(c); });
}

}  // namespace

void autoitsourcefile::delete_empty_lines() {
  empty_lines_timer.start();
  console::out("start: remove empty lines...\n");
  int32_t kept = 0;
  auto compact = [&](auto note_slot) {
    for (int32_t i = 1; i <= line_count; ++i) {
      if (!has_content(lines[i])) continue;
      ++kept;
      note_slot(i);
      // kept <= i: a line only ever moves up, onto a slot already read.
      if (kept != i) lines.take(kept, i);
    }
  };
  // The slot each output line had, for the line map, only when asked for.
  if (records.output_lines_on) {
    records.output_slots.clear();
    records.output_slots.reserve(static_cast<size_t>(line_count));
    compact([&](int32_t slot) { records.output_slots.push_back(slot); });
  } else {
    compact([](int32_t) {});
  }
  line_count = kept;
  console::out("finished: remove empty lines\n\n");
  empty_lines_timer.stop();
}
