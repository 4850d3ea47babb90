// Which file on disk a path names, whatever the spelling of the path: one file
// reached through two folders, a symbolic link or another case is one identity.

// Device and inode on Linux; volume serial number and file index on Windows.
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

// Where a write to `path` lands: the regular file there (links followed),
// or, when there is none yet, the folder it would be made in and its name
// in that folder (links followed, also to a target that does not exist).
struct write_target {
  file_identity identity;  // the file's, or the folder's when `name` is set
  std::string name;        // empty when the file exists
};
// False when `path` leads to neither (a device, a FIFO, a missing folder):
// no other path of the run can name the same file then.
bool identify_write_target(const std::string& path, write_target* target);
// One file: the same file, or one name in one folder (on Windows in any
// letter case).
bool same_file(const write_target& a, const write_target& b);

}  // namespace platform
