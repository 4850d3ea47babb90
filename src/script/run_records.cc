#include "script/run_records.h"

#include "script/normalize.h"

keep_entry_finder::keep_entry_finder(const std::vector<keep_entry>& entries, bool variables)
    : variables_(variables) {
  for (size_t i = 0; i < entries.size(); ++i) {
    std::string_view text = entries[i].text;
    if (text.empty() || (text.front() == '$') != variables) continue;
    if (variables) text.remove_prefix(1);
    const auto index = static_cast<int32_t>(i);
    if (!text.empty() && text.back() == '*') {
      prefixes_.emplace_back(text.substr(0, text.size() - 1), index);
    } else {
      exact_.try_emplace(text, index);  // the first of equal entries
    }
  }
}

int32_t keep_entry_finder::find(std::string_view name) const {
  if (variables_ && !name.empty() && name.front() == '$') name.remove_prefix(1);
  int32_t found = -1;
  if (auto it = exact_.find(name); it != exact_.end()) found = it->second;
  for (const auto& [prefix, index] : prefixes_) {
    if (found >= 0 && index > found) break;  // prefixes_ is in entry order
    if (name.substr(0, prefix.size()) == prefix) return index;
  }
  return found;
}

std::string_view written_function_name(std::string_view header) {
  size_t at = 0;
  while (at < header.size() && is_blank_or_tab(header[at])) ++at;
  at += 4;  // "Func" in any case: only such lines are headers
  if (at > header.size()) return {};
  std::string_view rest = header.substr(at, header.find('(', at) - at);
  while (!rest.empty() && is_blank_or_tab(rest.front())) rest.remove_prefix(1);
  while (!rest.empty() && is_blank_or_tab(rest.back())) rest.remove_suffix(1);
  return rest;
}
