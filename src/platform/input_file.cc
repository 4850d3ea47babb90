#include "platform/input_file.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace platform {

size_t text_line_bound(std::string_view bytes) {
  // A plain sum of 0s and 1s, which the compiler turns into vector code.
  size_t line_ends = 0;
  for (char c : bytes) line_ends += c == '\n' ? 1 : 0;
  return line_ends + 1;
}

namespace {

bool read_stream(std::FILE* file, std::string* bytes, std::string* err) {
  // A regular file is read straight into a buffer of its size; anything else
  // (a pipe, a file still growing) in blocks until its end.
  struct stat info;
  size_t expected = 0;
  if (fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
    expected = static_cast<size_t>(info.st_size);
  }
  bytes->resize(expected);
  size_t have = expected == 0 ? 0 : std::fread(bytes->data(), 1, expected, file);
  bytes->resize(have);
  if (have == expected) {
    char buffer[1 << 16];
    for (;;) {
      size_t got = std::fread(buffer, 1, sizeof buffer, file);
      bytes->append(buffer, got);
      if (got < sizeof buffer) break;
    }
  }
  if (std::ferror(file)) {
    *err = std::strerror(errno);
    return false;
  }
  return true;
}

bool is_directory(std::FILE* file) {
  struct stat info;
  return fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

bool read_file_bytes(const std::string& path, bool regular_only, std::string* bytes,
                     std::string* err) {
#ifdef _WIN32
  struct stat info;
  if (regular_only && stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    *err = "not a regular file";
    return false;
  }
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    *err = std::strerror(errno);
    return false;
  }
#else
  // O_NONBLOCK so that opening a FIFO without a writer cannot hang us.
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    *err = std::strerror(errno);
    return false;
  }
  struct stat info;
  if (fstat(fd, &info) != 0) {
    *err = std::strerror(errno);
    ::close(fd);
    return false;
  }
  if (S_ISDIR(info.st_mode) || (regular_only && !S_ISREG(info.st_mode))) {
    *err = S_ISDIR(info.st_mode) ? std::strerror(EISDIR) : "not a regular file";
    ::close(fd);
    return false;
  }
  int flags = fcntl(fd, F_GETFL);
  if (flags >= 0) fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  std::FILE* file = fdopen(fd, "rb");
  if (file == nullptr) {
    *err = std::strerror(errno);
    ::close(fd);
    return false;
  }
#endif
  bool ok = read_stream(file, bytes, err);
  std::fclose(file);
  return ok;
}

input_file::~input_file() { close(); }

bool input_file::open(const std::string& path) {
  close();
  file_ = std::fopen(path.c_str(), "rb");
  if (file_ == nullptr) {
    int error = errno;
    // Windows refuses to open a folder with "Permission denied"; say what it is.
    struct stat info;
    if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) error = EISDIR;
    error_ = std::strerror(error);
    return false;
  }
  if (is_directory(file_)) {
    error_ = std::strerror(EISDIR);
    close();
    return false;
  }
  error_.clear();
  return true;
}

bool input_file::read_all(std::string* bytes, std::string* err) {
  if (file_ == nullptr) {
    *err = error_;
    return false;
  }
  bool ok = read_stream(file_, bytes, err);
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
