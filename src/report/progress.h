// How the dead-code passes report items: a verbose line per item found or
// deleted, or a dot for every item whose number is a multiple of 50.
#pragma once

#include <cstdint>

class progress {
 public:
  // Verbose when the output mode begins with an upper-case "C".
  explicit progress(const char* output_mode);
  bool verbose() const { return verbose_; }
  // In dot mode, prints "." when number is a multiple of 50.
  void dot(int64_t number) const;
  // True when dot(number) prints a dot.
  bool dot_due(int64_t number) const { return !verbose_ && number % 50 == 0; }

 private:
  bool verbose_;
};
