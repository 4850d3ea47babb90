// A line of the line map: FILE:LINE.

// A file name that holds a line feed or carriage return (or begins with a
// double quote) is written in double quotes with C-style escapes (\n, \r, \",
// \\), so that the map keeps one line per output line; every other name stands
// as it is.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The FILE part of a map line, ":" included.
std::string map_file_field(std::string_view path);

// Reads a map line back: false when it is not FILE:LINE with a line number
// above 0. The file may hold colons itself (C:\...): the last one ends it.
bool read_map_entry(std::string_view entry, std::string* file, int64_t* line);

// A line number of decimal digits only; 0 when `text` is none, and the
// largest value when it is too long to be any map's.
int64_t map_line_number(std::string_view text);
