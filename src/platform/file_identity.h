// Which file on disk a path names, whatever the spelling of the path: one
// file reached through two folders, a symbolic link or another case is one
// identity. Device and inode on Linux; volume serial number and file index
// on Windows.
#pragma once

#include <compare>
#include <cstdint>
#include <string>

namespace platform {

struct file_identity {
  uint64_t volume = 0;
  uint64_t index = 0;
  auto operator<=>(const file_identity&) const = default;
};

// The identity of the regular file at `path` (links followed); false when
// there is none there, or it is a folder, FIFO or device.
bool identify_regular_file(const std::string& path, file_identity* identity);

}  // namespace platform
