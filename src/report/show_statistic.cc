// The closing report: eight pass timings, then the three counters.
#include <cstdio>

#include "platform/console.h"
#include "script/autoitsourcefile.h"

namespace {

void timing_line(const char* label, const pass_timer& timer) {
  char text[128];
  std::snprintf(text, sizeof text, "%-30s%6.3f seconds\n", label, timer.accumulated);
  console::out(text);
}

void counter_line(const char* label, int32_t count, const char* after) {
  char text[64];
  std::snprintf(text, sizeof text, "%-20s%d%s", label, count, after);
  console::out(text);
}

}  // namespace

void autoitsourcefile::show_statistic() {
  complete_timer.stop();
  timing_line("time read includes:", includes_timer);
  timing_line("time remove comments:", comments_timer);
  timing_line("time remove upheavals (_):", upheavals_timer);
  timing_line("time remove regions:", regions_timer);
  timing_line("time remove unused vars:", unused_vars_timer);
  timing_line("time remove unused functions:", unused_functions_timer);
  timing_line("time remove empty lines:", empty_lines_timer);
  timing_line("time complete:", complete_timer);
  console::out("\n");
  counter_line("includet files: ", include_count, "\n\n");
  counter_line("deleted vars: ", deleted_vars, "\n");
  counter_line("deleted functions: ", deleted_functions, "\n\n");
  console::flush();
}
