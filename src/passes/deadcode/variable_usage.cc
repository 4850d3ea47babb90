#include "passes/deadcode/variable_usage.h"

#include <string>
#include <unordered_map>

#include "passes/deadcode/name_matcher.h"
#include "script/autoitsourcefile.h"

variable_usage::variable_usage(const autoitsourcefile& script, const variable_table& table)
    : line_count_(script.line_count), table_(table) {
  const int32_t count = script.variable_count;

  // Scope is ignored, so equal names are one name: search each only once.
  std::vector<std::string> names;
  std::unordered_map<std::string_view, int32_t> number_of;
  name_of_.assign(count + 1, -1);
  for (int32_t k = 1; k <= count; ++k) {
    std::string_view name = table.variable_names[k];
    if (name.empty()) continue;  // held by every line: no need to search
    auto [it, added] = number_of.emplace(name, static_cast<int32_t>(names.size()));
    if (added) names.emplace_back(name);
    name_of_[k] = it->second;
  }

  const name_matcher matcher(names);
  holding_lines_.assign(names.size(), 0);
  std::vector<int32_t> last_line(names.size(), 0);
  held_by_own_line_.assign(count + 1, false);
  line_names_begin_.assign(static_cast<size_t>(line_count_) + 2, 0);
  blanked_.assign(static_cast<size_t>(line_count_) + 1, false);

  int32_t k = 1;  // the first variable not declared before line j
  for (int32_t j = 1; j <= line_count_; ++j) {
    line_names_begin_[j] = static_cast<uint32_t>(line_names_.size());
    while (k <= count && table.declaration_lines[k] < j) ++k;
    const bool declares = k <= count && table.declaration_lines[k] == j;
    matcher.for_each_match(script.transformed_lines[j], [&](auto id, auto) {
      const size_t n = static_cast<size_t>(id);
      if (last_line[n] == j) return;  // lines count once, however often they hold it
      last_line[n] = j;
      ++holding_lines_[n];
      // Only declaration lines are ever blanked by this pass.
      if (declares) line_names_.push_back(static_cast<int32_t>(n));
    });
    for (; k <= count && table.declaration_lines[k] == j; ++k) {
      held_by_own_line_[k] = name_of_[k] >= 0 && last_line[name_of_[k]] == j;
    }
  }
  line_names_begin_[static_cast<size_t>(line_count_) + 1] =
      static_cast<uint32_t>(line_names_.size());
}

bool variable_usage::used(int32_t k) const {
  const int32_t line = table_.declaration_lines[k];
  const bool own_line_exists = line >= 1 && line <= line_count_;
  if (name_of_[k] < 0) return line_count_ - (own_line_exists ? 1 : 0) > 0;
  int32_t others = holding_lines_[name_of_[k]];
  if (own_line_exists && held_by_own_line_[k] && !blanked_[line]) --others;
  return others > 0;
}

void variable_usage::line_blanked(int32_t line) {
  if (line < 1 || line > line_count_ || blanked_[line]) return;
  blanked_[line] = true;
  for (uint32_t i = line_names_begin_[line]; i < line_names_begin_[line + 1]; ++i) {
    --holding_lines_[line_names_[i]];
  }
}
