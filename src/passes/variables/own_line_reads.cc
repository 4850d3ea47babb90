// Reading what stays of a shared declaration line for the variables its
// initial values read, as the cuts of the line go on.
#include "passes/variables/own_line_reads.h"

#include <algorithm>
#include <cstdint>

#include "names/name_table.h"
#include "passes/variables/declaration_depth.h"
#include "passes/variables/variable_cut.h"
#include "script/autoitsourcefile.h"

own_line_reads::own_line_reads(const autoitsourcefile& script, const variable_table& table)
    : script_(script), table_(table) {}

void own_line_reads::take_line_of(int32_t k) {
  const int32_t line = table_.declaration_lines[k];
  if (line == line_) return;
  line_ = line;
  first_ = k;
  while (first_ > 1 && table_.declaration_lines[first_ - 1] == line) --first_;
  reads_.clear();
  by_name_.clear();
  standing_.clear();
  // The items as the declaration scan takes them: split at a "," outside
  // strings, parentheses and brackets, one name each, read up to its "=".
  const std::string_view text = script_.transformed_lines[line];
  text_ = text;
  // Positions are kept in 32 bits: a longer line is read by no item.
  if (text.size() >= UINT32_MAX) return;
  const bool comments_kept = !script_.comments_removed;
  declaration_depth depth;
  bool naming = true;
  uint32_t item = 0;
  for (size_t at = 0; at < text.size(); ++at) {
    const char c = text[at];
    if (c == '$') {
      const size_t end = word_run_end(text, at + 1);
      // The name the item declares is no read of it.
      const int32_t own = first_ + static_cast<int32_t>(item);
      const bool declared = naming && depth.top_level() && own <= script_.variable_count &&
                            table_.declaration_lines[own] == line &&
                            table_.variable_names[own] == text.substr(at, end - at);
      if (end > at + 1 && !declared) {
        reads_.push_back({item, static_cast<uint32_t>(at), static_cast<uint32_t>(end - at)});
      }
      at = end - 1;
      continue;
    }
    if (!depth.step(c)) continue;
    if (c == ';' && comments_kept) break;
    if (!depth.top_level()) continue;
    if (c == '=') naming = false;
    if (c == ',') {
      naming = true;
      ++item;
    }
  }
  by_name_.resize(reads_.size());
  for (uint32_t r = 0; r < reads_.size(); ++r) by_name_[r] = r;
  std::sort(by_name_.begin(), by_name_.end(), [&](uint32_t a, uint32_t b) {
    return name_of(reads_[a]) < name_of(reads_[b]);
  });
  standing_.assign(by_name_.size(), 0);
  for (size_t g = 0; g < by_name_.size();) {
    size_t end = g + 1;
    const std::string_view name = name_of(reads_[by_name_[g]]);
    while (end < by_name_.size() && name_of(reads_[by_name_[end]]) == name) ++end;
    standing_[g] = static_cast<uint32_t>(end - g);
    g = end;
  }
}

size_t own_line_reads::group_of(std::string_view name) const {
  const auto before = [&](uint32_t r, std::string_view n) { return name_of(reads_[r]) < n; };
  const auto at = std::lower_bound(by_name_.begin(), by_name_.end(), name, before);
  if (at == by_name_.end() || name_of(reads_[*at]) != name) return by_name_.size();
  return static_cast<size_t>(at - by_name_.begin());
}

std::pair<size_t, size_t> own_line_reads::reads_of(uint32_t item) const {
  const auto by_item = [](const read& r, uint32_t i) { return r.item < i; };
  const auto begin = std::lower_bound(reads_.begin(), reads_.end(), item, by_item);
  const auto end = std::lower_bound(begin, reads_.end(), item + 1, by_item);
  return {static_cast<size_t>(begin - reads_.begin()), static_cast<size_t>(end - reads_.begin())};
}

bool own_line_reads::read_by_rest(int32_t k) {
  if (!shares_line(table_, script_.variable_count, k)) return false;
  const std::string_view name = table_.variable_names[k];
  if (name.size() < 2 || name[0] != '$' || !is_word(name.substr(1))) return false;
  take_line_of(k);
  const size_t group = group_of(name);
  if (group == by_name_.size()) return false;
  int64_t elsewhere = standing_[group];
  const auto [begin, end] = reads_of(static_cast<uint32_t>(k - first_));
  for (size_t r = begin; r < end; ++r) elsewhere -= name_of(reads_[r]) == name ? 1 : 0;
  return elsewhere > 0;
}

void own_line_reads::cut(int32_t k) {
  take_line_of(k);
  const auto [begin, end] = reads_of(static_cast<uint32_t>(k - first_));
  for (size_t r = begin; r < end; ++r) --standing_[group_of(name_of(reads_[r]))];
}
