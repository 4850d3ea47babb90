// Argument values that make a part of the run do nothing, such as a pass
// selection in lower case, are legal; a warning on standard error says so.
#pragma once

#include "driver/arguments.h"

void warn_about_inert_values(const arguments& args);
