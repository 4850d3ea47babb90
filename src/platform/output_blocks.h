// What both platforms' output writers share: the text in large blocks and
// the names of temporary files.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "platform/line_reader.h"

namespace platform {

inline constexpr std::string_view kLineEnd = "\r\n";
inline constexpr std::string_view kTempPrefix = ".au3shrink-";
// How many random names to try before giving up on a folder.
inline constexpr int kTempAttempts = 1000;

// Between the two, nothing that ends the process (an ending signal, a
// console event) acts: it waits until the files moved meanwhile are in
// their places. Not nested.
void hold_moves();
void release_moves();

// A fresh random name for a temporary file: kTempPrefix and 12 letters or
// digits, from a generator seeded once per process.
std::string temp_file_name();

// Sends `head`, then lines[first..last], each followed by CR LF, in blocks
// of about a megabyte to write_block(data, size), which writes all of it and
// returns 0 or an errno value. Returns 0 or that error; *written counts what
// was sent.
template <class WriteBlock>
int write_text_blocks(const line_reader& lines, size_t first, size_t last,
                      WriteBlock&& write_block, int64_t* written, std::string_view head = {}) {
  constexpr size_t kBlock = size_t{1} << 20;
  const auto buffer = std::make_unique_for_overwrite<char[]>(kBlock);
  size_t used = 0;
  *written = 0;
  auto send = [&](const char* data, size_t size) -> int {
    int error = write_block(data, size);
    if (error == 0) *written += static_cast<int64_t>(size);
    return error;
  };
  auto drain = [&]() -> int {
    const size_t size = std::exchange(used, 0);
    return size == 0 ? 0 : send(buffer.get(), size);
  };
  // The head is a few bytes, and the block has room for them.
  if (!head.empty()) std::memcpy(buffer.get(), head.data(), head.size());
  used = head.size();
  for (size_t i = first; i <= last && i < lines.size(); ++i) {
    const std::string_view text = lines[i];
    if (used + text.size() + kLineEnd.size() > kBlock) {
      if (int error = drain()) return error;
      // A line longer than a block goes out as it stands.
      if (text.size() + kLineEnd.size() > kBlock) {
        if (int error = send(text.data(), text.size())) return error;
        if (int error = send(kLineEnd.data(), kLineEnd.size())) return error;
        continue;
      }
    }
    if (!text.empty()) std::memcpy(buffer.get() + used, text.data(), text.size());
    std::memcpy(buffer.get() + used + text.size(), kLineEnd.data(), kLineEnd.size());
    used += text.size() + kLineEnd.size();
  }
  return drain();
}

}  // namespace platform
