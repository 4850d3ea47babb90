// Where a line builds a name at run time: a string literal joined by "&" to
// further pieces ("_On_" & $sEvent), which the dead-code passes cannot see
// as a use of any one name, and the calls that take a function's or a
// variable's name (Call, Execute, GUICtrlSetOnEvent, Eval, ...) with a name
// they cannot see at all (Call($fCallback)).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "script/names_at_run_time.h"

// Whether `word` (any case) is one of the calls that take a name.
bool is_naming_call(std::string_view word);

// The role of argument `argument` (from 0) of the call `word` (any case).
name_role role_of_argument(std::string_view word, int32_t argument);

// A call that takes a name that no string shows: Call($fCallbackName, ...).
// Only the first of a line is shown; the others' text is empty.
struct held_name {
  std::string shown;
  name_role role = name_role::function;
};

// Walks `line` up to its comment (a ";" outside strings) and appends what it
// finds. A chain that makes up one whole argument of a call takes that
// argument's role; any other one, wherever a literal begins an expression,
// has none.
void find_name_chains(std::string_view line, std::vector<name_chain>& chains,
                      std::vector<held_name>& held);

// Whether find_name_chains can find anything in `line`: it joins a literal
// with "&", or it calls one of the naming calls. Far cheaper than the walk,
// and false for most lines.
bool may_build_name(std::string_view line);

// The bits of a line's text the built-name walks share. A string opens at
// a double or single quote; string_end gives the position after the one
// that opens at `at` (its text, doubled quotes undone, appended to *text
// when given), or the line's end when it is not closed.
inline bool opens_string(char c) { return c == '"' || c == '\''; }
size_t string_end(std::string_view line, size_t at, std::string* text);
size_t skip_blanks(std::string_view line, size_t at);

// Whether text can stand in a name: only ASCII letters, digits and "_".
bool name_bytes_only(std::string_view text);
