// The short names counted both ways: from a number to a name and back.
#include "passes/minify/short_names.h"

namespace minify {

namespace {

constexpr std::string_view kFirst = "abcdefghijklmnopqrstuvwxyz";
constexpr std::string_view kNext = "abcdefghijklmnopqrstuvwxyz0123456789_";

// The place of `c` (any case) in kNext, or -1.
int next_place(char c) {
  if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  if (c >= 'a' && c <= 'z') return c - 'a';
  if (c >= '0' && c <= '9') return 26 + (c - '0');
  return c == '_' ? 36 : -1;
}

}  // namespace

void append_short_name(std::string& out, uint64_t n) {
  uint64_t span = kFirst.size();
  size_t length = 1;
  while (n >= span) {
    n -= span;
    span *= kNext.size();
    ++length;
  }
  const size_t at = out.size();
  out.resize(at + length);
  for (size_t k = length; k-- > 1;) {
    out[at + k] = kNext[n % kNext.size()];
    n /= kNext.size();
  }
  out[at] = kFirst[n];
}

std::string nth_short_name(uint64_t n) {
  std::string name;
  append_short_name(name, n);
  return name;
}

uint64_t short_name_number(std::string_view name, uint64_t limit) {
  constexpr uint64_t kNone = UINT64_MAX;
  // Past 12 characters the count would not fit in 64 bits; no run gives
  // out so many names.
  if (name.empty() || name.size() > 12) return kNone;
  // The names shorter than this one come first.
  uint64_t first = 0;
  uint64_t span = kFirst.size();
  for (size_t length = 1; length < name.size(); ++length) {
    first += span;
    if (first >= limit) return kNone;
    span *= kNext.size();
  }
  const int lead = next_place(name[0]);
  if (lead < 0 || lead >= 26) return kNone;
  uint64_t n = static_cast<uint64_t>(lead);
  for (size_t k = 1; k < name.size(); ++k) {
    const int place = next_place(name[k]);
    if (place < 0) return kNone;
    n = n * kNext.size() + static_cast<uint64_t>(place);
  }
  return first + n < limit ? first + n : kNone;
}

}  // namespace minify
