// The words AutoIt itself owns: its keywords, its built-in functions and its
// own variables. A renamed name never takes one of them, and none of them is
// ever renamed.
#pragma once

#include <string_view>

// Whether `word` (any case, no "$") is a keyword or a built-in function.
bool is_autoit_word(std::string_view word);

// Whether `name` (any case, no "$") is a variable AutoIt sets itself
// ($CmdLine, $CmdLineRaw).
bool is_autoit_variable(std::string_view name);
