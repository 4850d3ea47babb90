// au3shrink --where MAP LINE...: the way back from a line of a shrunk script
// to the source file and line it came from, through the map --map wrote.
#pragma once

#include "driver/arguments.h"

// Prints "FILE:LINE: text" on standard output for each LINE of
// args.where_lines, in the order given, the text read from the source file
// now. Returns 1 when the map cannot be read or a LINE is no line of it
// (every other LINE is still answered), else 0.
int where_lines(const arguments& args);
