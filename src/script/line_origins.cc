#include "script/line_origins.h"

#include <algorithm>
#include <utility>

uint32_t line_origins::add_file(std::string shown_path) {
  files_.push_back(std::move(shown_path));
  return static_cast<uint32_t>(files_.size() - 1);
}

void line_origins::start_run(size_t slot, uint32_t file, int64_t line) {
  // A file with no lines leaves a run that covers nothing: the new one takes its place.
  if (!runs_.empty() && runs_.back().slot >= slot) runs_.pop_back();
  runs_.push_back({slot, file, line});
}

line_origin line_origins::of(size_t slot) const {
  auto after = std::upper_bound(runs_.begin(), runs_.end(), slot,
                                [](size_t s, const run& r) { return s < r.slot; });
  if (after == runs_.begin()) return {};
  const run& r = *(after - 1);
  return {files_[r.file], r.line + static_cast<int64_t>(slot - r.slot)};
}

void line_origins::clear() {
  files_.clear();
  runs_.clear();
}
