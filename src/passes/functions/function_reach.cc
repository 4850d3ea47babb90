#include "passes/functions/function_reach.h"

#include <algorithm>
#include <climits>

namespace {

bool closes_function(std::string_view normalized_line) {
  return normalized_line.compare(0, 7, "ENDFUNC") == 0;
}

// The first use at or after `from` whose line is past `line`: galloping
// forward, so a walk through the uses in rising order costs no more than
// the uses it passes.
size_t first_past(std::span<const function_usage_index::use> uses, size_t from, int32_t line) {
  size_t low = from;
  size_t high = from;
  for (size_t step = 1; high < uses.size() && uses[high].line <= line; step *= 2) {
    low = high + 1;
    high = std::min(uses.size(), high + step);
  }
  return static_cast<size_t>(
      std::partition_point(uses.begin() + static_cast<std::ptrdiff_t>(low),
                           uses.begin() + static_cast<std::ptrdiff_t>(high),
                           [line](const function_usage_index::use& u) { return u.line <= line; }) -
      uses.begin());
}

}  // namespace

function_reach::function_reach(const std::vector<function_header>& headers, int32_t name_count,
                               std::span<const use> uses,
                               const normalized_lines& transformed_lines, int32_t line_count)
    : headers_(headers), uses_(uses) {
  const size_t n = headers.size();
  ends_.resize(n);
  group_of_.resize(n);
  first_use_.resize(n);
  walked_from_.assign(n, INT32_MAX);
  // A header before the end of the body before it shares that end: no
  // line between them closes a function. Each line is read once.
  size_t u = 0;
  for (size_t k = 0; k < n; ++k) {
    const int32_t start = headers[k].line;
    if (k > 0 && ends_[k - 1] >= start) {
      ends_[k] = ends_[k - 1];
      group_of_[k] = group_of_[k - 1];
    } else {
      int32_t line = start;
      while (line < line_count && !closes_function(transformed_lines[line])) ++line;
      ends_[k] = line;
      group_of_[k] = static_cast<int32_t>(k);
    }
    while (u < uses.size() && uses[u].line < start) ++u;
    first_use_[k] = static_cast<uint32_t>(u);
  }
  name_start_.assign(static_cast<size_t>(name_count) + 1, 0);
  for (const function_header& header : headers) ++name_start_[header.name + 1];
  for (size_t name = 0; name < static_cast<size_t>(name_count); ++name) {
    name_start_[name + 1] += name_start_[name];
  }
  by_name_.resize(n);
  std::vector<int32_t> filled(name_start_.begin(), name_start_.end() - 1);
  for (size_t k = 0; k < n; ++k) by_name_[filled[headers[k].name]++] = static_cast<int32_t>(k);
  reached_.assign(static_cast<size_t>(name_count), 0);
}

void function_reach::reach_from_top_level() {
  size_t u = 0;
  auto reach_uses_before = [&](int32_t line) {
    for (; u < uses_.size() && uses_[u].line < line; ++u) {
      const auto name = static_cast<size_t>(uses_[u].name);
      if (reached_[name] != 0) continue;
      reached_[name] = 1;
      pending_.push_back(uses_[u].name);
    }
  };
  for (size_t k = 0; k < headers_.size(); ++k) {
    if (group_of_[k] != static_cast<int32_t>(k)) continue;
    reach_uses_before(headers_[k].line);
    u = first_past(uses_, u, ends_[k]);
  }
  reach_uses_before(INT32_MAX);
  drain();
}

void function_reach::reach(int32_t name) {
  if (reached_[static_cast<size_t>(name)] != 0) return;
  reached_[static_cast<size_t>(name)] = 1;
  pending_.push_back(name);
  drain();
}

void function_reach::drain() {
  while (!pending_.empty()) {
    const auto name = static_cast<size_t>(pending_.back());
    pending_.pop_back();
    for (int32_t at = name_start_[name]; at < name_start_[name + 1]; ++at) {
      walk_body(static_cast<size_t>(by_name_[static_cast<size_t>(at)]));
    }
  }
}

void function_reach::walk_body(size_t k) {
  // The group's lines from walked_from_ on have been walked: a body that
  // begins earlier walks only the lines before them.
  int32_t& walked_from = walked_from_[static_cast<size_t>(group_of_[k])];
  const int32_t from = headers_[k].line;
  const int32_t to = std::min(ends_[k], walked_from - 1);
  if (from > to) return;
  walked_from = from;
  size_t h = k;  // the headers among the lines walked, for their own names
  for (size_t u = first_use_[k]; u < uses_.size() && uses_[u].line <= to; ++u) {
    const use& found = uses_[u];
    while (h < headers_.size() && headers_[h].line < found.line) ++h;
    if (h < headers_.size() && headers_[h].line == found.line &&
        static_cast<int32_t>(headers_[h].name) == found.name) {
      continue;
    }
    const auto name = static_cast<size_t>(found.name);
    if (reached_[name] != 0) continue;
    reached_[name] = 1;
    pending_.push_back(found.name);
  }
}
