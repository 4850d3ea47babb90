// PLACEHOLDER: replaced by the real pass.
#include "script/autoitsourcefile.h"

void autoitsourcefile::remove_regions() {}
