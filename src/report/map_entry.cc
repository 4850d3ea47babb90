// Writing and reading back one FILE:LINE entry of the line map.
#include "report/map_entry.h"

#include <algorithm>

namespace {

bool needs_quotes(std::string_view path) {
  return path.find_first_of("\r\n") != std::string_view::npos || path.starts_with('"');
}

}  // namespace

std::string map_file_field(std::string_view path) {
  std::string field;
  if (!needs_quotes(path)) {
    field.reserve(path.size() + 1);
    field = path;
  } else {
    field = '"';
    for (char c : path) {
      switch (c) {
        case '\n': field += "\\n"; break;
        case '\r': field += "\\r"; break;
        case '"': field += "\\\""; break;
        case '\\': field += "\\\\"; break;
        default: field += c;
      }
    }
    field += '"';
  }
  field += ':';
  return field;
}

int64_t map_line_number(std::string_view text) {
  if (text.empty() ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return 0;
  }
  // Saturates: a line that large is past any map.
  if (text.size() > 18) return INT64_MAX;
  int64_t value = 0;
  for (char c : text) value = value * 10 + (c - '0');
  return value;
}

bool read_map_entry(std::string_view entry, std::string* file, int64_t* line) {
  const size_t colon = entry.rfind(':');
  if (colon == std::string_view::npos || colon == 0) return false;
  const std::string_view field = entry.substr(0, colon);
  *line = map_line_number(entry.substr(colon + 1));
  if (*line <= 0) return false;
  if (!field.starts_with('"')) {
    *file = field;
    return true;
  }
  // Quoted: escapes up to the closing quote, which ends the field.
  file->clear();
  for (size_t i = 1; i < field.size(); ++i) {
    char c = field[i];
    if (c == '"') return i + 1 == field.size();
    if (c == '\\') {
      if (++i == field.size()) return false;
      switch (field[i]) {
        case 'n': c = '\n'; break;
        case 'r': c = '\r'; break;
        case '"': c = '"'; break;
        case '\\': c = '\\'; break;
        default: return false;
      }
    }
    *file += c;
  }
  return false;
}
