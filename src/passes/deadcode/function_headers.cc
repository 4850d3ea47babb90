#include "passes/deadcode/function_headers.h"

#include <cstring>
#include <span>
#include <vector>

#include "passes/deadcode/name_table.h"
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
  // Most lines are passed over on their first normalized bytes; the others
  // are then read whole, each asked for some lines ahead.
  struct candidate {
    int32_t line;
    std::string_view normalized;
  };
  std::vector<candidate> candidates;
  for (int32_t i = 1; i <= line_count; ++i) {
    const std::string_view normalized_line = transformed_lines[i];
    if (normalized_line.size() >= 4 && std::memcmp(normalized_line.data(), "FUNC", 4) == 0) {
      candidates.push_back({i, normalized_line});
    }
  }
  function_headers found;
  std::vector<std::string_view> names;
  // A candidate's line is asked for in two steps: its view, then its text.
  const std::span<const std::string_view> views = lines.views();
  constexpr size_t kAhead = 8;
  for (size_t c = 0; c < candidates.size(); ++c) {
    if (c + 2 * kAhead < candidates.size()) {
      prefetch(&views[static_cast<size_t>(candidates[c + 2 * kAhead].line)]);
    }
    if (c + kAhead < candidates.size()) {
      prefetch(views[static_cast<size_t>(candidates[c + kAhead].line)].data());
    }
    const auto [i, normalized_line] = candidates[c];
    if (!is_function_header(lines[i], normalized_line)) continue;
    found.headers.push_back({i, 0});
    names.push_back(function_name(normalized_line));
  }
  // Equal names share the number of the first of them. The keys are views
  // of the normalized lines, whose text stays in place.
  const name_table table(names, name_table::links::prefixes);
  std::vector<int32_t> number(names.size(), -1);
  int32_t found_empty = -1;
  for (size_t h = 0; h < names.size(); ++h) {
    const int32_t first = table.first_equal(static_cast<int32_t>(h));
    if (first >= 0 && first != static_cast<int32_t>(h)) {
      number[h] = number[static_cast<size_t>(first)];
      continue;
    }
    // A new name (an empty one, which the table keeps apart, only once).
    if (first < 0 && found_empty >= 0) {
      number[h] = found_empty;
      continue;
    }
    number[h] = static_cast<int32_t>(found.names.size());
    if (first < 0) found_empty = number[h];
    found.names.emplace_back(names[h]);
  }
  for (size_t h = 0; h < names.size(); ++h) found.headers[h].name = number[h];
  return found;
}
