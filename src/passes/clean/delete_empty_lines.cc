// PLACEHOLDER: replaced by the real pass.
#include "script/autoitsourcefile.h"

void autoitsourcefile::delete_empty_lines() {}
