// Noting and looking up the runs of lines that tell each slot's file and line.
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
  uint32_t file = 0;
  int64_t line = 0;
  if (!locate(slot, &file, &line)) return {};
  return {files_[file], line};
}

bool line_origins::locate(size_t slot, uint32_t* file, int64_t* line) const {
  auto after = std::upper_bound(runs_.begin(), runs_.end(), slot,
                                [](size_t s, const run& r) { return s < r.slot; });
  if (after == runs_.begin()) return false;
  const run& r = *(after - 1);
  *file = r.file;
  *line = r.line + static_cast<int64_t>(slot - r.slot);
  return true;
}

void line_origins::clear() {
  files_.clear();
  runs_.clear();
}

bool line_origins::cursor::find(size_t slot, uint32_t* file, int64_t* line) {
  const std::vector<run>& runs = origins_->runs_;
  // Slots rise, so the run that covers this one is at or after the last.
  if (next_ > 0 && runs[next_ - 1].slot > slot) next_ = 0;
  while (next_ < runs.size() && runs[next_].slot <= slot) ++next_;
  if (next_ == 0) return false;
  const run& r = runs[next_ - 1];
  *file = r.file;
  *line = r.line + static_cast<int64_t>(slot - r.slot);
  return true;
}
