// What both platforms' output writers share: the text in large blocks and
// the names of temporary files.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace platform {

inline constexpr std::string_view kLineEnd = "\r\n";
inline constexpr std::string_view kTempPrefix = ".au3shrink-";
// How many random names to try before giving up on a folder.
inline constexpr int kTempAttempts = 1000;

// A fresh random name for a temporary file: kTempPrefix and 12 letters or
// digits, from a generator seeded once per process.
std::string temp_file_name();

// Sends lines[first..last], each followed by CR LF, in blocks of about a
// megabyte to write_block(data, size), which writes all of it and returns 0
// or an errno value. Returns 0 or that error; *written counts what was sent.
template <class WriteBlock>
int write_text_blocks(std::span<const std::string_view> lines, size_t first, size_t last,
                      WriteBlock&& write_block, int64_t* written) {
  constexpr size_t kBlock = size_t{1} << 20;
  std::string buffer;
  buffer.reserve(kBlock);
  *written = 0;
  auto drain = [&]() -> int {
    if (buffer.empty()) return 0;
    int error = write_block(buffer.data(), buffer.size());
    if (error == 0) *written += static_cast<int64_t>(buffer.size());
    buffer.clear();
    return error;
  };
  for (size_t i = first; i <= last && i < lines.size(); ++i) {
    for (std::string_view text : {lines[i], kLineEnd}) {
      if (buffer.size() + text.size() > kBlock) {
        if (int error = drain()) return error;
      }
      if (text.size() > kBlock) {
        if (int error = write_block(text.data(), text.size())) return error;
        *written += static_cast<int64_t>(text.size());
      } else {
        buffer += text;
      }
    }
  }
  return drain();
}

}  // namespace platform
