// The walk of tree shaking: from the names reached, through the bodies of their
// functions, to every name those bodies use.
#include "passes/functions/function_reach.h"

function_reach::function_reach(const std::vector<function_header>& headers, int32_t name_count,
                               std::span<const use> uses,
                               const normalized_lines& transformed_lines, int32_t line_count)
    : headers_(headers),
      uses_(uses),
      transformed_lines_(transformed_lines),
      line_count_(line_count) {
  const size_t n = headers.size();
  const auto names = static_cast<size_t>(name_count);
  reached_.assign(names, 0);
  first_use_.resize(n);
  closes_.assign(n, false);
  walked_.assign(n, false);
  // Top-level code: before the first header, and after each EndFunc up to
  // the next header. Only those uses are looked at now; the others wait
  // for their bodies to be reached.
  const int32_t first_header = n > 0 ? headers.front().line : INT32_MAX;
  for (size_t u = 0; u < uses.size() && uses[u].line < first_header; ++u) mark(uses[u].name);
  for_each_segment([&](size_t h, const use* first, const use* last, int32_t body_end) {
    first_use_[h] = static_cast<uint32_t>(first - uses.data());
    closes_[h] = body_end != INT32_MAX;
    for (const use* u = last; u != first && (u - 1)->line > body_end; --u) mark((u - 1)->name);
  });
  // Each name its headers, when a name has more than one.
  if (names < n) {
    name_start_.assign(names + 1, 0);
    for (const function_header& header : headers) ++name_start_[header.name];
    for (size_t name = 1; name < names; ++name) name_start_[name] += name_start_[name - 1];
    name_start_[names] = static_cast<int32_t>(n);
    by_name_.resize(n);
    for (size_t k = n; k-- > 0;) by_name_[--name_start_[headers[k].name]] = static_cast<int32_t>(k);
  }
  drain();
}

void function_reach::reach(int32_t name) {
  mark(name);
  drain();
}

void function_reach::finish() {
  first_use_ = std::vector<uint32_t>();
  closes_ = std::vector<bool>();
  walked_ = std::vector<bool>();
  name_start_ = std::vector<int32_t>();
  by_name_ = std::vector<int32_t>();
  pending_ = std::vector<int32_t>();
}

void function_reach::mark(int32_t name) {
  char& reached = reached_[static_cast<size_t>(name)];
  if (reached != 0) return;
  reached = 1;
  pending_.push_back(name);
}

void function_reach::drain() {
  while (!pending_.empty()) {
    const auto name = static_cast<size_t>(pending_.back());
    pending_.pop_back();
    if (by_name_.empty()) {
      walk_from(name);  // header n bears name n
      continue;
    }
    for (int32_t at = name_start_[name]; at < name_start_[name + 1]; ++at) {
      walk_from(static_cast<size_t>(by_name_[static_cast<size_t>(at)]));
    }
  }
}

void function_reach::walk_from(size_t h) {
  // The uses after an EndFunc, up to the next header, are top-level code,
  // whose names are reached already.
  for (size_t k = h; k < headers_.size() && !walked_[k]; ++k) {
    walked_[k] = true;
    const size_t last = k + 1 < headers_.size() ? first_use_[k + 1] : uses_.size();
    for (size_t u = first_use_[k]; u < last; ++u) {
      if (!is_own_name(k, uses_[u])) mark(uses_[u].name);
    }
    if (closes_[k]) break;
  }
}
