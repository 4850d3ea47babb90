// The first phase of the unused-variable pass: finds the declaration lines in
// the normalized copy and records every variable they declare.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "report/progress.h"
#include "script/packed_view.h"

class autoitsourcefile;

// The variables found by one call of the pass. Entry k (from 1; slot 0 is
// unused) is the k-th variable: its normalized name and its declaring line.
// Variables of one line have consecutive numbers, in order of appearance.
// A name is a view of the normalized copy, whose text never moves, or, for
// the rare name the declaration does not hold in one piece, of a copy the
// line table keeps: the names outlive the pass in the deleted-name lists.
// Names are packed views: a line declaring a million variables holds a
// million of them.
struct variable_table {
  packed_views variable_names = packed_views(1);
  std::vector<int32_t> declaration_lines = std::vector<int32_t>(1, 0);
  // Entry k: whether the item that declares variable k calls something, so
  // that cutting it would take the call away (see initializer_calls.h).
  std::vector<char> item_calls = std::vector<char>(1, 0);
};

// Words that introduce names rather than being one, in normalized form:
// the declaration keywords and STATIC ("Local Static $x" declares $X).
inline constexpr std::array<std::string_view, 5> declaring_words = {"DIM", "LOCAL", "GLOBAL",
                                                                    "CONST", "STATIC"};

// A normalized line declares variables when it begins with DIM, LOCAL, GLOBAL
// or CONST and holds no ENUM anywhere (enumerations are never cut).
bool is_declaration_line(std::string_view normalized_line);

// Walks one normalized declaration line and appends the names it declares to
// `names`, left to right. With comments_kept, a ";" outside strings ends the
// statement, so a trailing comment never becomes part of a name. A name is a
// view of the line when the line holds it in one piece (nearly always), else
// of a copy appended to `spilled`, whose strings never move.
void walk_declaration(std::string_view normalized_line, bool comments_kept, packed_views& names,
                      std::deque<std::string>& spilled);

// The same, appending copies of the names to `names`.
void walk_declaration(std::string_view normalized_line, bool comments_kept,
                      std::vector<std::string>& names);

// Records every variable of the script in `table`, raising
// script.variable_count, and announces each one (a line, or a dot for a
// declaring line number that is a multiple of 50).
void scan_variables(autoitsourcefile& script, variable_table& table, const progress& report);
