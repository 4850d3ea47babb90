// Telling which file a path names: by device and inode, or by volume and file
// index on Windows.
#include "platform/file_identity.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/file_names.h"
#else
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#endif

namespace platform {

#ifdef _WIN32

bool identify_regular_file(const std::string& path, file_identity* identity) {
  // A device is never opened, not even to ask what it is.
  if (is_reserved_device_name(path)) return false;
  HANDLE file = CreateFileW(wide_path(path).c_str(), 0,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info;
  const bool known = GetFileType(file) == FILE_TYPE_DISK &&
                     GetFileInformationByHandle(file, &info) &&
                     (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  CloseHandle(file);
  if (!known) return false;
  identity->volume = info.dwVolumeSerialNumber;
  identity->index = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  return true;
}

namespace {

bool identify_folder(const std::wstring& folder, file_identity* identity) {
  // Backup semantics: the only way to open a folder for its information.
  HANDLE handle = CreateFileW(folder.c_str(), 0,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION info;
  const bool known = GetFileInformationByHandle(handle, &info) &&
                     (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  CloseHandle(handle);
  if (!known) return false;
  identity->volume = info.dwVolumeSerialNumber;
  identity->index = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  return true;
}

}  // namespace

bool identify_write_target(const std::string& path, write_target* target) {
  if (path.empty() || is_reserved_device_name(path)) return false;
  target->name.clear();
  if (identify_regular_file(path, &target->identity)) return true;
  const std::wstring wide = wide_path(path);
  if (GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
  DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (size == 0) return false;
  std::wstring full(size, L'\0');
  DWORD length = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) return false;
  full.resize(length);
  const size_t slash = full.find_last_of(L"\\/");
  if (slash == std::wstring::npos || slash + 1 == full.size()) return false;
  if (!identify_folder(full.substr(0, slash + 1), &target->identity)) return false;
  target->name = utf8_of(full.substr(slash + 1));
  return true;
}

bool same_file(const write_target& a, const write_target& b) {
  if (a.identity != b.identity || a.name.empty() != b.name.empty()) return false;
  if (a.name.empty()) return true;
  const std::wstring x = wide_path(a.name), y = wide_path(b.name);
  return CompareStringOrdinal(x.c_str(), static_cast<int>(x.size()), y.c_str(),
                              static_cast<int>(y.size()), TRUE) == CSTR_EQUAL;
}

#else

bool identify_regular_file(const std::string& path, file_identity* identity) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  identity->volume = static_cast<uint64_t>(info.st_dev);
  identity->index = static_cast<uint64_t>(info.st_ino);
  return true;
}

bool identify_write_target(const std::string& path, write_target* target) {
  if (path.empty()) return false;
  target->name.clear();
  std::string current = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat info;
    const bool there = lstat(current.c_str(), &info) == 0;
    if (there && S_ISLNK(info.st_mode)) {
      char link[PATH_MAX];
      const ssize_t length = readlink(current.c_str(), link, sizeof link - 1);
      if (length < 0) return false;
      std::string next(link, static_cast<size_t>(length));
      const size_t slash = current.rfind('/');
      current = next.starts_with('/') || slash == std::string::npos
                    ? next
                    : current.substr(0, slash + 1) + next;
      continue;
    }
    if (there) return identify_regular_file(current, &target->identity);
    // No file there yet: the folder it would be made in.
    const size_t slash = current.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : current.substr(0, slash + 1);
    if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;
    target->identity.volume = static_cast<uint64_t>(info.st_dev);
    target->identity.index = static_cast<uint64_t>(info.st_ino);
    target->name = slash == std::string::npos ? current : current.substr(slash + 1);
    return !target->name.empty();
  }
  return false;
}

bool same_file(const write_target& a, const write_target& b) {
  return a.identity == b.identity && a.name == b.name;
}

#endif

}  // namespace platform
