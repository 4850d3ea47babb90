// Finding an include file by the path the script names.

// Include paths are built for a case-insensitive file system that takes the
// backslash as its separator. On Windows they are opened as built; elsewhere
// each backslash becomes "/" and every component is matched ignoring the case
// of a-z.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace platform {

// The folder part of a path as this platform reads it ("." when it has none),
// for looking up files named relative to the file at `path`.
std::string folder_of(std::string_view path);

// A built include path as this platform shows paths: on Linux each
// backslash becomes "/".
std::string shown_path(std::string_view built);

class include_path_resolver {
 public:
  // The path to open for `built`; false when no file can have that name
  // (a NUL byte in it, or a component that matches no entry).
  bool resolve(std::string_view built, std::string* path);

 private:
#ifndef _WIN32
  // Per folder: upper-cased entry name -> the first such entry in byte order.
  // Filled once per folder, so many includes from one folder cost one listing.
  using listing = std::map<std::string, std::string>;
  std::map<std::string, listing> listings_;

  const listing& entries_of(const std::string& folder);
#endif
};

}  // namespace platform
