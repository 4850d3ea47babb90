// The words AutoIt itself owns: its keywords, its built-in functions and its
// own variables. A renamed name never takes one of them, and none of them is
// ever renamed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Every keyword and built-in function, in upper case.
const std::vector<std::string>& autoit_words();

// Whether `name` (any case, no "$") is a variable AutoIt sets itself
// ($CmdLine, $CmdLineRaw).
bool is_autoit_variable(std::string_view name);

// AutoIt's own variables, as the help writes them.
inline constexpr std::string_view kAutoitVariables[] = {"CmdLine", "CmdLineRaw"};
