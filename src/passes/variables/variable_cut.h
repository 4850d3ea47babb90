// The second phase's cuts: how an unused variable leaves its declaration.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "names/name_table.h"
#include "passes/variables/variable_scan.h"

class autoitsourcefile;

// A byte that would carry a name on: an ASCII letter, digit or "_".
inline bool continues_name(char c) { return is_word_byte(c); }

// Whether `name` could be recorded by the declaration scan: no blank, tab
// or comma in it, and no declaring word at its start (the scan drops a
// declaring word as soon as it has read one). Such a name is found as an
// item by comparing it only where items begin, which costs about the
// line's length.
bool as_scanned(std::string_view name);

// The declaring word that `line` begins at x (blanks and tabs allowed
// anywhere, letter case ignored): its length, and in *end the position
// after it. 0 when there is none.
size_t declaring_word_at(std::string_view line, size_t x, size_t* end);

// First position at or after `from` where `name` stands as an item of the
// declaration held in `upper_line` (an upper-case copy with its blanks):
// not followed by a letter, digit or "_", and preceded by a "," (blanks
// between allowed) or by nothing but declaring words. An empty name never
// stands. npos when there is none.
size_t find_item(std::string_view upper_line, std::string_view name, size_t from);

// Removes the item `name` from the declaration `line`, which it shares with
// the item recorded before it and/or the one recorded after it
// (`next_name`). Items go with the comma that separates them from a
// remaining neighbour; when the name, or the next item after it, cannot be
// found as an item, the line stays as it is.
void cut_shared_item(std::string& line, std::string_view name, bool previous_shares,
                     bool next_shares, std::string_view next_name);

// Whether variable k shares its declaration line with the variable recorded
// just before or just after it.
bool shares_line(const variable_table& table, int32_t count, int32_t k);

// Cuts unused variable k out of its declaration line. A variable alone on
// its line takes the line with it, in both copies, and its recorded line
// becomes -1; true in that case only.
bool cut_variable(autoitsourcefile& script, variable_table& table, int32_t k);

// Cuts the unused variables k with unused[k] set (each sharing its line)
// out of their lines, as cut_variable on each in turn would, but each
// line's cuts together. Such cuts change `lines` only.
void cut_shared_variables(autoitsourcefile& script, const variable_table& table,
                          const std::vector<bool>& unused);

// Appends the `count` variables the pass deleted to
// script.deleted_variable_names, in number order, each on its line as it
// stood before. `shared` marks those cut from a line they share; the others
// were cut alone, their line marked -1 in the table. The lines are there
// already, from number `first_line` on, in number order: one for each
// variable cut alone and for each line that shared cuts began on.
void list_deleted_variables(autoitsourcefile& script, const variable_table& table,
                            const std::vector<bool>& shared, size_t first_line, int32_t count);
