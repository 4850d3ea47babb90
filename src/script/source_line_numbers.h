// --source-line-numbers: every @ScriptLineNumber of the output, outside
// strings and comments, becomes the number of the source line its output
// line came from, so that a log line of the shrunk script still points into
// the script the user wrote.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class autoitsourcefile;

// `line` with each @ScriptLineNumber (any letter case, not followed by a
// letter, digit or "_") outside strings and its line comment replaced by
// `number`; false, with *out untouched, when it holds none.
bool with_line_number(std::string_view line, int64_t number, std::string* out);

// Puts the source line numbers into the output lines. Needs the output
// lines' slots (records.output_lines_on) noted by the blank-line pass.
void put_source_line_numbers(autoitsourcefile& script);
