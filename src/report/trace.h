// The way back from the output to the sources: the size each source file
// has in the expanded script and in the output, the line map (--map) and
// the size analysis (--analyze). Each is at most one walk over the lines.
#pragma once

#include <cstdint>
#include <string>

class autoitsourcefile;

// Each source file's lines and bytes in the expanded script, as it stands
// after the include pass (run before any line changes).
void measure_expanded_files(autoitsourcefile& script);

// One walk over the output lines, after the blank lines are dropped: each
// source file's lines and bytes in the output (when names are noted), and,
// when `map` is given, the line map: line k is FILE:LINE for output line k,
// lines separated by CR LF (the last one's line end is left to the writer).
// Returns the output's size, each line with its CR LF.
int64_t trace_output(autoitsourcefile& script, std::string* map);

// The output's bytes by source file, largest first, each with its share of
// the output, its bytes in the expanded script and its functions kept and
// deleted: the twenty largest, then one line for the rest, then the total.
std::string size_analysis(const autoitsourcefile& script);
