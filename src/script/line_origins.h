// Where each line of the expanded script came from: the file, as the user
// finds it, and the line of that file. Kept as runs (a run starts at a slot
// and goes on line by line in one file), so a script with n includes costs
// about 2n entries, whatever its length. Slots never move before the blank
// lines are dropped, so the dead-code passes can name a line's source.
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
  void clear();

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
