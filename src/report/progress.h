// How the dead-code passes report items: a verbose line per item found or
// deleted, or a dot for every item whose number is a multiple of 50.
#pragma once

#include <cstdint>
#include <string_view>

class progress {
 public:
  // Verbose when the output mode begins with an upper-case "C".
  explicit progress(const char* output_mode);
  bool verbose() const { return verbose_; }
  // In dot mode, prints "." when number is a multiple of 50.
  void dot(int64_t number) const;
  // One event: in verbose mode the line `before` number `between` name;
  // in dot mode a dot when dot_number is a multiple of 50.
  void event(std::string_view before, int64_t number, std::string_view between,
             std::string_view name, int64_t dot_number) const;
  // True when dot(number) prints a dot.
  bool dot_due(int64_t number) const { return !verbose_ && number % 50 == 0; }

 private:
  bool verbose_;
};
