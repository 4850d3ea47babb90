// Opening and reading a script or include file whole, as bytes.
#include "platform/input_file.h"

#include "platform/large_pages.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "platform/file_names.h"
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

constexpr const char* kDevice = "Is a device";
constexpr const char* kNotRegular = "Not a regular file";

// A regular file is read straight into a buffer of its size; anything else
// (a pipe, a file still growing) in blocks until its end, the buffer
// doubling as it fills. A full buffer grows only once a block read past it
// finds more bytes, so a file of the size expected is not copied.
bool read_stream(std::FILE* file, size_t expected, file_bytes* bytes, std::string* err) {
  size_t room = expected;
  bytes->data = std::make_unique_for_overwrite<char[]>(room);
  platform::prefer_large_pages(bytes->data.get(), room);
  bytes->size = room == 0 ? 0 : std::fread(bytes->data.get(), 1, room, file);
  char block[1 << 16];
  while (bytes->size == room && !std::ferror(file)) {
    const size_t got = std::fread(block, 1, sizeof block, file);
    if (got == 0) break;
    room = std::max(2 * room, room + sizeof block);
    auto grown = std::make_unique_for_overwrite<char[]>(room);
    platform::prefer_large_pages(grown.get(), room);
    if (bytes->size > 0) std::memcpy(grown.get(), bytes->data.get(), bytes->size);
    std::memcpy(grown.get() + bytes->size, block, got);
    bytes->data = std::move(grown);
    bytes->size += got;
    bytes->size += std::fread(bytes->data.get() + bytes->size, 1, room - bytes->size, file);
  }
  if (std::ferror(file)) {
    *err = std::strerror(errno);
    return false;
  }
  return true;
}

// Opens `path` for reading in binary. Directories and devices are refused,
// and with regular_only every other kind of file that is not a regular one.
// *size is the file's size when it is a regular file, else 0.
std::FILE* open_for_reading(const std::string& path, [[maybe_unused]] bool regular_only,
                            size_t* size, std::string* err) {
  *size = 0;
#ifdef _WIN32
  // Every file that is not a disk file is refused, whatever regular_only says.
  if (is_reserved_device_name(path)) {
    *err = kDevice;
    return nullptr;
  }
  std::wstring wide = wide_path(path);
  DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    *err = std::strerror(EISDIR);
    return nullptr;
  }
  HANDLE handle = CreateFileW(wide.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    *err = error_text(GetLastError());
    return nullptr;
  }
  DWORD type = GetFileType(handle);
  if (type != FILE_TYPE_DISK) {
    CloseHandle(handle);
    *err = type == FILE_TYPE_CHAR ? kDevice : kNotRegular;
    return nullptr;
  }
  LARGE_INTEGER length;
  if (GetFileSizeEx(handle, &length) && length.QuadPart > 0) {
    // More than the address space holds (a 32-bit program).
    if (static_cast<unsigned long long>(length.QuadPart) > PTRDIFF_MAX) {
      CloseHandle(handle);
      *err = std::strerror(EFBIG);
      return nullptr;
    }
    *size = static_cast<size_t>(length.QuadPart);
  }
  int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
  if (fd < 0) {
    CloseHandle(handle);
    *err = std::strerror(errno);
    return nullptr;
  }
  std::FILE* file = _fdopen(fd, "rb");
  if (file == nullptr) {
    *err = std::strerror(errno);
    _close(fd);
  }
  return file;
#else
  // A device is refused before it is opened: opening one can block or act.
  struct stat info;
  if (stat(path.c_str(), &info) == 0 && (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode))) {
    *err = kDevice;
    return nullptr;
  }
  // An include never waits for a FIFO's writer (O_NONBLOCK); the input
  // does, as reading it from a shell would.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | (regular_only ? O_NONBLOCK : 0));
  if (fd < 0 || fstat(fd, &info) != 0) {
    *err = std::strerror(errno);
    if (fd >= 0) ::close(fd);
    return nullptr;
  }
  const char* refused = nullptr;
  if (S_ISDIR(info.st_mode)) {
    refused = std::strerror(EISDIR);
  } else if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode)) {
    refused = kDevice;
  } else if (regular_only && !S_ISREG(info.st_mode)) {
    refused = kNotRegular;
  }
  if (refused != nullptr) {
    *err = refused;
    ::close(fd);
    return nullptr;
  }
  if (regular_only) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  if (S_ISREG(info.st_mode) && info.st_size > 0) *size = static_cast<size_t>(info.st_size);
  std::FILE* file = fdopen(fd, "rb");
  if (file == nullptr) {
    *err = std::strerror(errno);
    ::close(fd);
  }
  return file;
#endif
}

}  // namespace

bool read_file_bytes(const std::string& path, bool regular_only, file_bytes* bytes,
                     std::string* err) {
  size_t size = 0;
  std::FILE* file = open_for_reading(path, regular_only, &size, err);
  if (file == nullptr) return false;
  bool ok = read_stream(file, size, bytes, err);
  std::fclose(file);
  return ok;
}

input_file::~input_file() { close(); }

bool input_file::open(const std::string& path) {
  close();
  file_ = open_for_reading(path, /*regular_only=*/false, &size_, &error_);
  if (file_ == nullptr) return false;
  error_.clear();
  return true;
}

bool input_file::read_all(file_bytes* bytes, std::string* err) {
  if (file_ == nullptr) {
    *err = error_;
    return false;
  }
  bool ok = read_stream(file_, size_, bytes, err);
  // Released once read: Windows refuses to replace a file that is open, and
  // the output path may be this very file.
  close();
  return ok;
}

void input_file::close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

}  // namespace platform
