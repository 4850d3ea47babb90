#include "passes/deadcode/function_headers.h"

#include <cstring>
#include <functional>

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

namespace {

// The number of each distinct name, in order of first appearance: an open
// addressing table of views of the normalized lines, whose text stays in
// place.
class name_numbers {
 public:
  // The name's number; a new name gets the next one.
  int32_t number_of(std::string_view name) {
    if (2 * (views_.size() + 1) > slots_.size()) grow();
    size_t s = slot_of(name);
    for (; slots_[s] >= 0; s = (s + 1) & (slots_.size() - 1)) {
      if (views_[static_cast<size_t>(slots_[s])] == name) return slots_[s];
    }
    slots_[s] = static_cast<int32_t>(views_.size());
    views_.push_back(name);
    return slots_[s];
  }
  const std::vector<std::string_view>& names() const { return views_; }

 private:
  size_t slot_of(std::string_view name) const {
    return std::hash<std::string_view>{}(name) & (slots_.size() - 1);
  }
  void grow() {
    slots_.assign(slots_.empty() ? 1024 : 2 * slots_.size(), -1);
    for (size_t id = 0; id < views_.size(); ++id) {
      size_t s = slot_of(views_[id]);
      while (slots_[s] >= 0) s = (s + 1) & (slots_.size() - 1);
      slots_[s] = static_cast<int32_t>(id);
    }
  }

  std::vector<std::string_view> views_;
  std::vector<int32_t> slots_;
};

}  // namespace

function_headers find_function_headers(const line_table& lines, const line_table& transformed_lines,
                                       int32_t line_count) {
  function_headers found;
  name_numbers numbers;
  for (int32_t i = 1; i <= line_count; ++i) {
    // Most lines are passed over on their first normalized bytes.
    const std::string_view normalized_line = transformed_lines[i];
    if (normalized_line.size() < 4 || std::memcmp(normalized_line.data(), "FUNC", 4) != 0) continue;
    if (!is_function_header(lines[i], normalized_line)) continue;
    found.headers.push_back({i, numbers.number_of(function_name(normalized_line))});
  }
  found.names.assign(numbers.names().begin(), numbers.names().end());
  return found;
}
