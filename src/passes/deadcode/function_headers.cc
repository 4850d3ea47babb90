#include "passes/deadcode/function_headers.h"

#include <array>
#include <cstring>
#include <span>
#include <vector>

#include "passes/deadcode/name_table.h"
#include "script/normalize.h"
#include "script/two_threads.h"

bool is_function_header(std::string_view line, std::string_view normalized_line) {
  if (!begins_like_function_header(normalized_line)) return false;
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

function_headers find_function_headers(const line_table& lines, const normalized_lines& transformed_lines,
                                       std::span<const int32_t> candidates) {
  // The candidates are read whole, each asked for some lines ahead; each
  // half of them on a thread of its own.
  struct part {
    std::vector<int32_t> lines;
    std::vector<std::string_view> names;
  };
  std::array<part, 2> parts;
  // A candidate's line is asked for in two steps: its view, then its text.
  constexpr size_t kAhead = 8;
  two_threads::split(0, candidates.size(), [&](int half, size_t first, size_t last) {
    part& found_here = parts[half];
    for (size_t c = first; c < last; ++c) {
      if (c + 2 * kAhead < last) {
        prefetch(lines.slot_address(static_cast<size_t>(candidates[c + 2 * kAhead])));
      }
      if (c + kAhead < last) prefetch(lines[static_cast<size_t>(candidates[c + kAhead])].data());
      const int32_t i = candidates[c];
      const std::string_view normalized_line = transformed_lines[i];
      if (!is_function_header(lines[i], normalized_line)) continue;
      found_here.lines.push_back(i);
      found_here.names.push_back(function_name(normalized_line));
    }
  });
  function_headers found;
  const std::vector<std::string_view> names =
      two_threads::joined(std::move(parts[0].names), parts[1].names);
  found.headers.reserve(names.size());
  for (const int32_t line : two_threads::joined(std::move(parts[0].lines), parts[1].lines)) {
    found.headers.push_back({line, 0});
  }
  // Equal names share the number of the first of them. The keys are views
  // of the normalized lines, whose text stays in place.
  const name_table& table = found.table.emplace(names, name_table::links::suffixes);
  found.names.reserve(names.size());
  int32_t empty_name = -1;
  for (size_t h = 0; h < names.size(); ++h) {
    const int32_t first = table.first_equal(static_cast<int32_t>(h));
    int32_t& number = found.headers[h].name;
    if (first >= 0 && first != static_cast<int32_t>(h)) {
      number = found.headers[static_cast<size_t>(first)].name;
    } else if (first < 0 && empty_name >= 0) {  // the table keeps empty names apart
      number = empty_name;
    } else {
      number = static_cast<int32_t>(found.names.size());
      if (first < 0) empty_name = number;
      found.names.emplace_back(names[h]);
      if (!is_word(names[h])) found.other_names.push_back(number);
    }
  }
  return found;
}
