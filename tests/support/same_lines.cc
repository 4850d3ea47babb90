// Comparing large line lists by count, size and hash.
#include "support/same_lines.h"

#include <cstdint>
#include <sstream>

namespace {

struct summary {
  size_t bytes = 0;
  uint64_t hash = 14695981039346656037ull;  // FNV-1a, each line and a separator
};

summary summarize(const std::vector<std::string>& lines) {
  summary s;
  for (const std::string& line : lines) {
    s.bytes += line.size();
    for (unsigned char c : line) s.hash = (s.hash ^ c) * 1099511628211ull;
    s.hash = (s.hash ^ 0x100) * 1099511628211ull;
  }
  return s;
}

std::string shown(const std::string& line) {
  return line.size() <= 60 ? line : line.substr(0, 60) + "... (" + std::to_string(line.size()) +
                                        " bytes)";
}

}  // namespace

testing::AssertionResult same_lines(const std::vector<std::string>& got,
                                    const std::vector<std::string>& want) {
  const summary g = summarize(got);
  const summary w = summarize(want);
  if (got.size() == want.size() && g.bytes == w.bytes && g.hash == w.hash && got == want) {
    return testing::AssertionSuccess();
  }
  std::ostringstream message;
  message << "got " << got.size() << " lines, " << g.bytes << " bytes, hash " << std::hex
          << g.hash << "; expected " << std::dec << want.size() << " lines, " << w.bytes
          << " bytes, hash " << std::hex << w.hash << std::dec;
  for (size_t i = 0; i < got.size() && i < want.size(); ++i) {
    if (got[i] != want[i]) {
      message << "; first difference at line " << i << ": got \"" << shown(got[i])
              << "\", expected \"" << shown(want[i]) << "\"";
      break;
    }
  }
  return testing::AssertionFailure() << message.str();
}
