// The Windows runtime's reading of a number, written out the same for every
// platform.
#include "platform/atoi.h"

#include <climits>

namespace platform {

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The first byte after the white space and the sign that atoi skips.
const char* after_blanks_and_sign(const char* p, bool* negative) {
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  *negative = false;
  if (*p == '+' || *p == '-') *negative = (*p++ == '-');
  return p;
}

}  // namespace

int atoi(const char* text) {
  if (text == nullptr) return 0;
  bool negative;
  const char* p = after_blanks_and_sign(text, &negative);
  long long value = 0;
  for (; is_digit(*p); ++p) {
    value = value * 10 + (*p - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) break;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

bool atoi_reads_digits(const char* text) {
  if (text == nullptr) return false;
  bool negative;
  return is_digit(*after_blanks_and_sign(text, &negative));
}

}  // namespace platform
