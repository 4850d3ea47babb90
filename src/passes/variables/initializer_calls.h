// Whether the text an unused variable would take with it calls anything.
// A declaration such as `Local $hGui = GUICreate("t")` or
// `Global $oErr = ObjEvent("AutoIt.Error", "OnError")` does its work when it
// runs, whether or not the variable is read later; cutting it would change
// what the program does. Such a variable counts as used and stays.
#pragma once

#include <string_view>
#include <vector>

// Whether `word` (any letter case) is one of the built-in functions that
// only compute a value from their arguments (BitOR, StringLen, Ptr, ...),
// or one of the operators And, Or, Not, which a "(" may follow.
bool only_computes(std::string_view word);

// For each item of the declaration `line` (the text between two commas that
// separate declarations: outside strings, parentheses and brackets), in
// order, appends to `calls` whether that item holds a call: a name followed
// by "(" (blanks between allowed) that is not a macro (@ before it) and not
// one that only computes; a method call (".Name(") and a call through a
// variable ("$fn(", "$aF[0](") always count. With comments_kept, a ";" outside strings ends the line. The items
// are those that walk_declaration takes its names from, one name each. A
// line without any "(" gets a single flag: the caller pads the rest.
void item_calls(std::string_view line, bool comments_kept, std::vector<char>& calls);
