#include "script/normalize.h"

std::string upper_copy(std::string_view text) {
  std::string copy(text);
  for (char& c : copy) c = upper_ascii(c);
  return copy;
}

std::string normalized(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (char c : text) {
    if (!is_blank_or_tab(c)) result.push_back(upper_ascii(c));
  }
  return result;
}
