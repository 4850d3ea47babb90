// The minify switches as pragmas: "; au3shrink: minify" (and
// minify-whitespace, minify-identifiers), so that the setting travels with
// the script.
#include "names/keep_list.h"
#include "script/autoitsourcefile.h"

autoitsourcefile::minify_switches autoitsourcefile::read_minify_pragmas() const {
  minify_switches on;
  for (const int32_t i : comment_lines) {
    const std::string_view line = lines[static_cast<size_t>(i)];
    if (is_switch_pragma(line, "MINIFY")) {
      on.whitespace = on.identifiers = on.tree_shaking = true;
    } else if (is_switch_pragma(line, "MINIFY-WHITESPACE")) {
      on.whitespace = true;
    } else if (is_switch_pragma(line, "MINIFY-IDENTIFIERS")) {
      on.identifiers = true;
    }
  }
  return on;
}
