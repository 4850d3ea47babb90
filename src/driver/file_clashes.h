// A written file must not land on another file the run reads or writes: the
// output on an included file (it may be the input: a run in place), a map or
// metafile on the input, an included file, the output, or each other.

// Compared by identity, not by spelling, so that "./in.au3", an absolute path
// and a link are seen for the file they name.
#pragma once

#include <string>

#include "driver/arguments.h"
#include "script/autoitsourcefile.h"

// After the include pass, before anything is written: false, with *err
// naming both paths, when the output, the map or the metafile would replace
// another file of the run.
bool check_file_clashes(const arguments& args, const autoitsourcefile& script, std::string* err);
