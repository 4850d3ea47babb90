#include "platform/output_file.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>

#include <signal.h>

#include <array>
#include <climits>
#include <cstdlib>
#endif

namespace platform {
namespace {

// Collects the output in large blocks so that writing costs a few system
// calls however many lines there are.
class block_writer {
 public:
  explicit block_writer(int fd) : fd_(fd) { buffer_.reserve(kBlock); }

  bool add(std::string_view text) {
    if (buffer_.size() + text.size() > kBlock && !drain()) return false;
    if (text.size() > kBlock) return write_all(text.data(), text.size());
    buffer_ += text;
    return true;
  }
  bool drain() {
    bool ok = write_all(buffer_.data(), buffer_.size());
    buffer_.clear();
    return ok;
  }
  int64_t written() const { return written_; }
  int error() const { return error_; }

 private:
  static constexpr size_t kBlock = 1 << 20;

  bool write_all(const char* data, size_t size) {
    while (size > 0) {
      unsigned chunk = size > (1u << 30) ? (1u << 30) : static_cast<unsigned>(size);
#ifdef _WIN32
      int got = _write(fd_, data, chunk);
#else
      ssize_t got = ::write(fd_, data, chunk);
      if (got < 0 && errno == EINTR) continue;
#endif
      if (got <= 0) {
        error_ = got < 0 ? errno : ENOSPC;
        return false;
      }
      data += got;
      size -= static_cast<size_t>(got);
      written_ += got;
    }
    return true;
  }

  int fd_;
  std::string buffer_;
  int64_t written_ = 0;
  int error_ = 0;
};

bool write_to_fd(int fd, std::span<const std::string_view> lines, size_t first, size_t last,
                 int64_t* size, int* error) {
  constexpr std::string_view kLineEnd = "\r\n";
  block_writer writer(fd);
  bool ok = true;
  for (size_t i = first; ok && i <= last && i < lines.size(); ++i) {
    ok = writer.add(lines[i]) && writer.add(kLineEnd);
  }
  ok = ok && writer.drain();
  *size = writer.written();
  *error = writer.error();
  return ok;
}

std::string directory_of(const std::string& path) {
  size_t slash = path.find_last_of(
#ifdef _WIN32
      "/\\:"
#else
      "/"
#endif
  );
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash + (path[slash] == ':' ? 1 : 0));
}

// The file that a write should replace: the target itself, or, for a
// symbolic link, the file it leads to, so the link survives.
std::string replace_target(const std::string& path) {
#ifndef _WIN32
  struct stat info;
  if (lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved) != nullptr) return resolved;
  }
#endif
  return path;
}

#ifdef _WIN32
int errno_of(DWORD code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    default:
      return EIO;
  }
}
#endif

#ifndef _WIN32
// While a temporary file exists, an interrupt (Ctrl-C, kill, a closed
// terminal) removes it before the process ends, so interrupted runs leave
// nothing beside the output. Only SIGKILL can still leave one behind.
char pending_temp[PATH_MAX];
volatile sig_atomic_t temp_pending = 0;

void remove_temp_and_reraise(int signal_number) {
  if (temp_pending) unlink(pending_temp);
  ::signal(signal_number, SIG_DFL);
  ::raise(signal_number);
}

class temp_guard {
 public:
  // Holds interrupts back until the temporary file's name is known, so that
  // none can end the process between creating the file and arming the guard.
  temp_guard() {
    sigset_t block;
    sigemptyset(&block);
    for (int signal_number : kSignals) sigaddset(&block, signal_number);
    sigprocmask(SIG_BLOCK, &block, &saved_mask_);
  }
  // From here on an interrupt removes `path` before the process ends.
  void arm(const std::string& path) {
    if (path.size() < sizeof pending_temp) {
      path.copy(pending_temp, path.size());
      pending_temp[path.size()] = '\0';
      struct sigaction action = {};
      action.sa_handler = remove_temp_and_reraise;
      for (size_t i = 0; i < kSignals.size(); ++i) {
        sigaction(kSignals[i], nullptr, &saved_[i]);
        // A signal the process was told to ignore (nohup) stays ignored.
        if (saved_[i].sa_handler != SIG_IGN) sigaction(kSignals[i], &action, nullptr);
      }
      temp_pending = 1;
      armed_ = true;
    }
    unblock();
  }
  ~temp_guard() {
    unblock();
    if (!armed_) return;
    temp_pending = 0;
    for (size_t i = 0; i < kSignals.size(); ++i) sigaction(kSignals[i], &saved_[i], nullptr);
  }
  temp_guard(const temp_guard&) = delete;
  temp_guard& operator=(const temp_guard&) = delete;

 private:
  void unblock() {
    if (blocked_) sigprocmask(SIG_SETMASK, &saved_mask_, nullptr);
    blocked_ = false;
  }

  static constexpr std::array<int, 4> kSignals = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
  std::array<struct sigaction, 4> saved_{};
  sigset_t saved_mask_;
  bool blocked_ = true;
  bool armed_ = false;
};
#endif

bool fail(int error, std::string* err) {
  *err = std::strerror(error);
  return false;
}

}  // namespace

bool write_lines(const std::string& path, std::span<const std::string_view> lines, size_t first,
                 size_t last, int64_t* size, std::string* err) {
  int error = 0;
  // Names no file anywhere; without this Windows reports a failed rename.
  if (path.empty()) return fail(ENOENT, err);
  const std::string target = replace_target(path);
  struct stat existing;
  bool exists = stat(target.c_str(), &existing) == 0;
  if (exists && S_ISDIR(existing.st_mode)) return fail(EISDIR, err);

  if (exists && !S_ISREG(existing.st_mode)) {
    // A device or FIFO cannot be replaced by renaming; write into it.
#ifdef _WIN32
    int fd = _open(target.c_str(), _O_WRONLY | _O_BINARY);
#else
    int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
#endif
    if (fd < 0) return fail(errno, err);
    bool ok = write_to_fd(fd, lines, first, last, size, &error);
#ifdef _WIN32
    _close(fd);
#else
    if (::close(fd) != 0 && ok) ok = false, error = errno;
#endif
    return ok ? true : fail(error, err);
  }

  std::string temp = directory_of(target) + "/.au3shrink-XXXXXX";
#ifdef _WIN32
  temp.push_back('\0');
  if (_mktemp_s(temp.data(), temp.size()) != 0) return fail(errno, err);
  temp.pop_back();
  int fd = _open(temp.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
#else
  temp_guard guard;
  int fd = mkstemp(temp.data());
  if (fd >= 0) guard.arm(temp);
#endif
  if (fd < 0) return fail(errno, err);

  bool ok = write_to_fd(fd, lines, first, last, size, &error);
#ifdef _WIN32
  if (_close(fd) != 0 && ok) ok = false, error = errno;
  if (ok && !MoveFileExA(temp.c_str(), target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ok = false;
    error = errno_of(GetLastError());
  }
#else
  mode_t mode;
  if (exists) {
    mode = existing.st_mode & 07777;
  } else {
    mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  if (ok && fchmod(fd, mode) != 0) ok = false, error = errno;
  if (::close(fd) != 0 && ok) ok = false, error = errno;
  if (ok && rename(temp.c_str(), target.c_str()) != 0) ok = false, error = errno;
#endif
  if (!ok) {
    std::remove(temp.c_str());
    return fail(error, err);
  }
  return true;
}

}  // namespace platform
