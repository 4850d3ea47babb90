// Resolving an include path on each platform: as built on Windows; elsewhere
// component by component, ignoring the case of a-z.
#include "platform/include_path.h"

#ifndef _WIN32
#include <dirent.h>
#include <sys/stat.h>
#endif

#include "platform/ascii_case.h"

namespace platform {

#ifdef _WIN32

std::string folder_of(std::string_view path) {
  size_t cut = path.find_last_of("\\/");
  if (cut != std::string_view::npos) return std::string(path.substr(0, cut));
  // "C:main.au3" lies in the current folder of drive C.
  if (path.size() >= 2 && path[1] == ':') return std::string(path.substr(0, 2)) + ".";
  return ".";
}

std::string shown_path(std::string_view built) { return std::string(built); }

bool include_path_resolver::resolve(std::string_view built, std::string* path) {
  if (built.find('\0') != std::string_view::npos) return false;
  path->assign(built);
  return true;
}

#else

std::string folder_of(std::string_view path) {
  size_t cut = path.rfind('/');
  return cut == std::string_view::npos ? "." : std::string(path.substr(0, cut));
}

std::string shown_path(std::string_view built) {
  std::string shown(built);
  for (char& c : shown) {
    if (c == '\\') c = '/';
  }
  return shown;
}

namespace {

std::string joined(const std::string& folder, std::string_view name) {
  std::string path = folder;
  if (!path.empty() && path.back() != '/') path += '/';
  path += name;
  return path;
}

bool entry_exists(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0;
}

}  // namespace

const include_path_resolver::listing& include_path_resolver::entries_of(
    const std::string& folder) {
  auto found = listings_.find(folder);
  if (found != listings_.end()) return found->second;
  listing& entries = listings_[folder];
  if (DIR* dir = opendir(folder.c_str())) {
    while (const dirent* entry = readdir(dir)) {
      std::string name = entry->d_name;
      auto [slot, added] = entries.emplace(upper_copy(name), name);
      if (!added && name < slot->second) slot->second = name;
    }
    closedir(dir);
  }
  return entries;
}

bool include_path_resolver::resolve(std::string_view built, std::string* path) {
  if (built.find('\0') != std::string_view::npos) return false;
  std::string wanted(built);
  for (char& c : wanted) {
    if (c == '\\') c = '/';
  }
  // An empty first component stands for the root; empty components further
  // on are separators written twice and name nothing.
  std::string resolved = (!wanted.empty() && wanted[0] == '/') ? "/" : "";
  size_t start = 0;
  while (start <= wanted.size()) {
    size_t end = wanted.find('/', start);
    if (end == std::string::npos) end = wanted.size();
    std::string_view component = std::string_view(wanted).substr(start, end - start);
    start = end + 1;
    if (component.empty()) continue;
    std::string exact = joined(resolved, component);
    if (entry_exists(exact)) {
      resolved = std::move(exact);
      continue;
    }
    const listing& entries = entries_of(resolved.empty() ? "." : resolved);
    auto match = entries.find(upper_copy(component));
    if (match == entries.end()) return false;
    resolved = joined(resolved, match->second);
  }
  if (resolved.empty()) return false;
  // A final separator demands a folder; keep it so that a file is refused.
  if (wanted.back() == '/' && resolved.back() != '/') resolved += '/';
  *path = std::move(resolved);
  return true;
}

#endif

}  // namespace platform
