// PLACEHOLDER: replaced by the real pass.
#include "script/autoitsourcefile.h"

void autoitsourcefile::search_includes_and_add_to_lines(const char*, const char*) {}
