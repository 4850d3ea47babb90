// Whether an include folder argument names a folder, on each platform.
#include "platform/folder_check.h"

#include <string>

#ifdef _WIN32
#include <windows.h>

#include "platform/file_names.h"
#else
#include <sys/stat.h>

#include "platform/include_path.h"
#endif

namespace platform {

#ifdef _WIN32

bool names_a_folder(std::string_view path) {
  if (path.empty() || path.find('\0') != std::string_view::npos) return false;
  DWORD attributes = GetFileAttributesW(wide_path(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

#else

bool names_a_folder(std::string_view path) {
  std::string resolved;
  if (!include_path_resolver().resolve(path, &resolved)) return false;
  struct stat info;
  return stat(resolved.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

#endif

}  // namespace platform
