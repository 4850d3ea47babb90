// The kinds of warnings the user silenced: --no-warn=KINDS and
// "; au3shrink: no-warn KINDS" lines. A kind that is none is warned about.
#pragma once

#include <string>
#include <vector>

class autoitsourcefile;

void silence_kinds(const std::vector<std::string>& kinds);
// The pragmas of the expanded script (run after the include pass, which
// notes the comment lines): they silence the warnings given after them.
void read_no_warn_pragmas(const autoitsourcefile& script);
