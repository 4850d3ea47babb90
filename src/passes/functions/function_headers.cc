// Finding the function headers of the script and numbering their names.
#include "passes/functions/function_headers.h"

#include <array>
#include <cstring>
#include <span>
#include <vector>

#include "names/name_table.h"
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
  // half of them on a thread of its own. A half finds at most a header per
  // candidate, so its list is sized once instead of doubling as it fills.
  std::array<std::vector<int32_t>, 2> parts;
  // A candidate's line is asked for in two steps: its view, then its text.
  constexpr size_t kAhead = 8;
  two_threads::split(0, candidates.size(), [&](int half, size_t first, size_t last) {
    std::vector<int32_t>& found_here = parts[half];
    found_here.reserve(last - first);
    for (size_t c = first; c < last; ++c) {
      if (c + 2 * kAhead < last) {
        prefetch(lines.slot_address(static_cast<size_t>(candidates[c + 2 * kAhead])));
      }
      if (c + kAhead < last) prefetch(lines[static_cast<size_t>(candidates[c + kAhead])].data());
      const int32_t i = candidates[c];
      if (is_function_header(lines[i], transformed_lines[i])) found_here.push_back(i);
    }
  });
  function_headers found;
  found.headers.reserve(parts[0].size() + parts[1].size());
  for (std::vector<int32_t>& part : parts) {
    for (const int32_t line : part) found.headers.push_back({line, 0});
    part = std::vector<int32_t>();  // not "= {}", which keeps the room
  }
  return found;
}

void number_function_names(function_headers& found, const normalized_lines& transformed_lines) {
  // The table keeps where each name stands in the normalized copy: the part
  // of its header line that function_name reads.
  auto name_of = [&transformed_lines, headers = found.headers.data()](size_t h) {
    return function_name(transformed_lines[headers[h].line]);
  };
  // Equal names share the number of the first of them, given as the
  // table is built.
  int32_t empty_name = -1;
  auto number_name = [&](int32_t id, int32_t first) {
    const auto h = static_cast<size_t>(id);
    int32_t number = 0;
    if (first >= 0 && first != id) {
      number = found.headers[static_cast<size_t>(first)].name;
    } else if (first < 0 && empty_name >= 0) {  // the table keeps empty names apart
      number = empty_name;
    } else {
      number = found.name_count++;
      if (first < 0) empty_name = number;
      const std::string_view name = name_of(h);
      if (!is_word(name)) {
        found.other_names.push_back(number);
        found.other_name_texts.push_back(name);
      }
    }
    found.headers[h].name = static_cast<uint32_t>(number);
  };
  found.table.emplace(
      transformed_lines.text_start(), found.headers.size(),
      [name_of](int32_t h) { return name_of(static_cast<size_t>(h)); },
      name_table::links::suffixes, number_name);
}
