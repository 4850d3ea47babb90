// One run of the shrinker over already decoded arguments.
#pragma once

#include "driver/arguments.h"

// Runs every pass in order, writes the output twice and prints the report.
// Returns the exit status: 0 when the run completed, 1 when the input could
// not be read or the output not written (the reason is on standard error).
int shrink(const arguments& args);
