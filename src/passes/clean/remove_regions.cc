// Region directives (#Region, #EndRegion in any case and spacing) only fold
// code in the editor: their lines are emptied in both tables.
#include "platform/console.h"
#include "script/autoitsourcefile.h"

void autoitsourcefile::remove_regions() {
  regions_timer.start();
  console::out("start: remove regions...\n");
  // Only the lines noted by the normalizing pass can be directives.
  for (const int32_t i : region_lines) {
    transformed_lines.clear(i);
    lines.clear(i);
  }
  console::out("finished: remove regions\n\n");
  regions_timer.stop();
}
