// Where each line of the expanded script came from: the file, as the user finds
// it, and the line of that file.

// Kept as runs (a run starts at a slot and goes on line by line in one file),
// so a script with n includes costs about 2n entries, whatever its length. The
// runs describe the slots as they stand before the blank lines are dropped: the
// dead-code passes name a line's source by its slot, and a run that wants the
// sources of its output lines notes, as the blank lines go, the slot each
// output line had.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

struct line_origin {
  // The name the origins keep: it stays valid until they are cleared, so
  // whatever names the file can hold this view instead of a copy.
  std::string_view file;
  int64_t line = 0;
};

class line_origins {
 public:
  // Registers a file by the path shown to the user; returns its number.
  uint32_t add_file(std::string shown_path);
  // From `slot` on, the slots hold lines `line`, `line` + 1, ... of `file`.
  // Slots must not decrease from one call to the next.
  void start_run(size_t slot, uint32_t file, int64_t line);
  // The source of the line in `slot`; an empty file name when no run covers it.
  line_origin of(size_t slot) const;
  // The same as a file number; false when no run covers the slot.
  bool locate(size_t slot, uint32_t* file, int64_t* line) const;
  void clear();

  size_t file_count() const { return files_.size(); }
  const std::string& file_name(uint32_t file) const { return files_[file]; }

  // The file number and line of slots asked for in rising order, each in
  // constant time on average: one walk along the runs for the whole table.
  class cursor {
   public:
    explicit cursor(const line_origins& origins) : origins_(&origins) {}
    // False when no run covers the slot (then *file and *line are left).
    bool find(size_t slot, uint32_t* file, int64_t* line);

   private:
    const line_origins* origins_;
    size_t next_ = 0;  // the first run that starts after the last slot found
  };
  // Calls on_run(first_slot, end_slot, file) for each run, in slot order,
  // the last one ending at `end`.
  template <class F>
  void for_each_run(size_t end, F&& on_run) const {
    for (size_t r = 0; r < runs_.size(); ++r) {
      const size_t stop = r + 1 < runs_.size() ? runs_[r + 1].slot : end;
      if (runs_[r].slot < stop) on_run(runs_[r].slot, stop, runs_[r].file);
    }
  }

 private:
  struct run {
    size_t slot;
    uint32_t file;
    int64_t line;
  };
  // A deque, so that a name never moves as files are added: views of it
  // stay valid.
  std::deque<std::string> files_;
  std::vector<run> runs_;
};
