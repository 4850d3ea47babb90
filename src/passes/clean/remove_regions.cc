// Region directives (#Region, #EndRegion in any case and spacing) only fold
// code in the editor: their lines are emptied in both tables.
#include <string_view>

#include "report/console.h"
#include "script/autoitsourcefile.h"

void autoitsourcefile::remove_regions() {
  regions_timer.start();
  console::out("start: remove regions...\n");
  for (int32_t i = 1; i <= line_count; ++i) {
    std::string_view normal = transformed_lines[i];
    if (normal.starts_with("#REGION") || normal.starts_with("#ENDREGION")) {
      transformed_lines.clear(i);
      lines.clear(i);
    }
  }
  console::out("finished: remove regions\n\n");
  regions_timer.stop();
}
