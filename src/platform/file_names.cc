// Turning byte-string paths into what the system takes, and the system's error
// texts back.
#include "platform/file_names.h"

#include "platform/ascii_case.h"

#ifdef _WIN32
#include <windows.h>

#include <cerrno>
#include <cstring>
#endif

namespace platform {

bool is_reserved_device_name(std::string_view path) {
  size_t cut = path.find_last_of("/\\:");
  std::string_view name = cut == std::string_view::npos ? path : path.substr(cut + 1);
  name = name.substr(0, name.find('.'));
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  std::string upper;
  for (char c : name) upper += upper_ascii(c);
  if (upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL" ||
      upper == "CONIN$" || upper == "CONOUT$") {
    return true;
  }
  return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) &&
         upper[3] >= '1' && upper[3] <= '9';
}

#ifdef _WIN32

namespace {

std::wstring widen(std::string_view text, UINT code_page, DWORD flags) {
  if (text.empty()) return {};
  int size = MultiByteToWideChar(code_page, flags, text.data(), static_cast<int>(text.size()),
                                 nullptr, 0);
  if (size <= 0) return {};
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(code_page, flags, text.data(), static_cast<int>(text.size()), wide.data(),
                      size);
  return wide;
}

}  // namespace

std::wstring wide_path(std::string_view path) {
  std::wstring wide;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find_first_of("/\\", start);
    if (end == std::string_view::npos) end = path.size();
    std::string_view component = path.substr(start, end - start);
    std::wstring part = widen(component, CP_UTF8, MB_ERR_INVALID_CHARS);
    if (part.empty() && !component.empty()) part = widen(component, CP_ACP, 0);
    wide += part;
    if (end < path.size()) wide += static_cast<wchar_t>(path[end]);
    start = end + 1;
  }
  return wide;
}

std::string utf8_of(std::wstring_view text) {
  if (text.empty()) return {};
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string narrow(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(), size,
                      nullptr, nullptr);
  return narrow;
}

std::string error_text(unsigned long code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_DRIVE:
      return std::strerror(ENOENT);
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
      return std::strerror(EACCES);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return std::strerror(ENOSPC);
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return std::strerror(EEXIST);
    case ERROR_DIRECTORY:
      return std::strerror(EISDIR);
    default:
      break;
  }
  wchar_t* message = nullptr;
  DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
  std::string text = length > 0 ? utf8_of(std::wstring_view(message, length)) : std::string();
  if (message != nullptr) LocalFree(message);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' ||
                           text.back() == '.')) {
    text.pop_back();
  }
  if (text.empty()) text = "Windows error " + std::to_string(code);
  return text;
}

#endif

}  // namespace platform
