#include "passes/deadcode/function_headers.h"

#include <unordered_map>

#include "script/normalize.h"

bool is_function_header(std::string_view line, std::string_view normalized_line) {
  if (normalized_line.substr(0, 4) != "FUNC") return false;
  size_t start = 0;
  while (start < line.size() && is_blank_or_tab(line[start])) ++start;
  if (line.size() - start < 5) return false;
  for (size_t k = 0; k < 4; ++k) {
    if (upper_ascii(line[start + k]) != "FUNC"[k]) return false;
  }
  return is_blank_or_tab(line[start + 4]);
}

std::string_view function_name(std::string_view normalized_header) {
  std::string_view rest = normalized_header.substr(4);
  return rest.substr(0, rest.find('('));
}

function_headers find_function_headers(const line_table& lines, const line_table& transformed_lines,
                                       int32_t line_count) {
  function_headers found;
  // Keys are views of the normalized lines, whose text stays in place.
  std::unordered_map<std::string_view, int32_t> name_ids;
  for (int32_t i = 1; i <= line_count; ++i) {
    if (!is_function_header(lines[i], transformed_lines[i])) continue;
    auto [it, added] = name_ids.try_emplace(function_name(transformed_lines[i]),
                                            static_cast<int32_t>(found.names.size()));
    if (added) found.names.emplace_back(it->first);
    found.headers.push_back({i, it->second});
  }
  return found;
}
