// Gives a benchmark's script object a fresh line table, as if read from a
// file, so that every timed run starts from the same text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "script/autoitsourcefile.h"

// `text` holds slot 0 (unused) and then the lines. With normalize the
// normalized copy is built too; otherwise it is all empty lines.
inline void load_text(autoitsourcefile& script, const std::vector<std::string>& text,
                      bool normalize) {
  script.lines = line_table(text);
  script.line_count = static_cast<int32_t>(text.size() - 1);
  script.transformed_lines.resize(text.size());
  if (normalize) script.transform_lines();
}
