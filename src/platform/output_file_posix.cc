// Replacing the output on POSIX systems.
#ifndef _WIN32

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <cstring>

#include "platform/output_blocks.h"
#include "platform/output_file.h"

namespace platform {
namespace {

// While a temporary file exists, an interrupt (Ctrl-C, kill, a closed
// terminal) removes it before the process ends, so interrupted runs leave
// nothing beside the output. Only SIGKILL can still leave one behind.
constexpr std::array<int, 4> kSignals = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
char pending_temp[PATH_MAX];
volatile sig_atomic_t temp_pending = 0;

void remove_temp_and_reraise(int signal_number) {
  if (temp_pending) unlink(pending_temp);
  ::signal(signal_number, SIG_DFL);
  ::raise(signal_number);
}

class interrupt_guard {
 public:
  // Holds interrupts back until the temporary file's name is known, so that
  // none can end the process between creating the file and arming the guard.
  void hold() {
    sigset_t block;
    sigemptyset(&block);
    for (int signal_number : kSignals) sigaddset(&block, signal_number);
    sigprocmask(SIG_BLOCK, &block, &saved_mask_);
    held_ = true;
  }
  // From here on an interrupt removes `path` before the process ends. One
  // temporary file at a time is guarded.
  void arm(const std::string& path) {
    if (!temp_pending && path.size() < sizeof pending_temp) {
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
    release();
  }
  void release() {
    if (held_) sigprocmask(SIG_SETMASK, &saved_mask_, nullptr);
    held_ = false;
  }
  void disarm() {
    release();
    if (!armed_) return;
    temp_pending = 0;
    for (size_t i = 0; i < kSignals.size(); ++i) sigaction(kSignals[i], &saved_[i], nullptr);
    armed_ = false;
  }

 private:
  std::array<struct sigaction, 4> saved_{};
  sigset_t saved_mask_;
  bool held_ = false;
  bool armed_ = false;
};

bool fail(int error, std::string* err) {
  *err = std::strerror(error);
  return false;
}

// The folder part of `path` with its final "/", or "" for a bare name.
std::string folder_prefix(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The file a write to `path` reaches: symbolic links are followed, also to a
// target that does not exist yet, so the links survive.
bool follow_links(const std::string& path, std::string* target, std::string* err) {
  std::string current = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat info;
    if (lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
      *target = std::move(current);
      return true;
    }
    char link[PATH_MAX];
    ssize_t length = readlink(current.c_str(), link, sizeof link - 1);
    if (length < 0) return fail(errno, err);
    std::string next(link, static_cast<size_t>(length));
    current = next.starts_with('/') ? next : folder_prefix(current) + next;
  }
  return fail(ELOOP, err);
}

// A folder with the sticky bit (/tmp) lets only the owners of a file or of
// the folder rename over the file.
bool sticky_folder_forbids_replacing(const std::string& target, const struct stat& file) {
  std::string folder = folder_prefix(target);
  struct stat info;
  if (stat(folder.empty() ? "." : folder.c_str(), &info) != 0) return false;
  uid_t me = geteuid();
  return (info.st_mode & S_ISVTX) != 0 && me != 0 && file.st_uid != me && info.st_uid != me;
}

int write_all(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t got = ::write(fd, data, size > (size_t{1} << 30) ? (size_t{1} << 30) : size);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return got < 0 ? errno : ENOSPC;
    data += got;
    size -= static_cast<size_t>(got);
  }
  return 0;
}

// The replacing file takes the replaced one's owner and group where the
// process may set them (root), then its mode: changing the owner clears the
// set-user-ID and set-group-ID bits.
int take_owner_and_mode(int fd, const struct stat& replaced) {
  if (replaced.st_uid != geteuid() || replaced.st_gid != getegid()) {
    if (fchown(fd, replaced.st_uid, replaced.st_gid) != 0 &&
        fchown(fd, static_cast<uid_t>(-1), replaced.st_gid) != 0) {
      // Not allowed: the file becomes the user's, as a new file would.
    }
  }
  return fchmod(fd, replaced.st_mode & 07777) == 0 ? 0 : errno;
}

}  // namespace

struct output_file::state {
  std::string target;
  std::string temp;  // empty when the target is written in place
  int fd = -1;
  bool existed = false;
  struct stat replaced = {};
  interrupt_guard guard;

  // Creates the temporary file beside the target; 0 or an errno value.
  int create_temp() {
    std::string folder = folder_prefix(target);
    guard.hold();
    for (int attempt = 0; attempt < kTempAttempts; ++attempt) {
      std::string name = folder + temp_file_name();
      // A new output gets the mode a new file gets (the umask applies); a
      // replacing one stays private until it takes the replaced file's mode.
      fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, existed ? 0600 : 0666);
      if (fd >= 0) {
        temp = std::move(name);
        guard.arm(temp);
        return 0;
      }
      if (errno != EEXIST) break;
    }
    int error = errno;
    guard.release();
    return error;
  }
};

output_file::output_file() = default;

output_file::~output_file() { discard(); }

bool output_file::open(const std::string& path, std::string* err) {
  discard();
  // Names no file anywhere.
  if (path.empty()) return fail(ENOENT, err);
  auto s = std::make_unique<state>();
  if (!follow_links(path, &s->target, err)) return false;
  struct stat info;
  s->existed = stat(s->target.c_str(), &info) == 0;
  if (s->existed && S_ISDIR(info.st_mode)) return fail(EISDIR, err);
  if (s->existed) {
    // Opening for writing asks the system whether the user may write the
    // file, as shell redirection would; a device or FIFO is written through
    // this descriptor.
    int fd = ::open(s->target.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return fail(errno, err);
    if (fstat(fd, &s->replaced) != 0) {
      int error = errno;
      ::close(fd);
      return fail(error, err);
    }
    bool in_place = !S_ISREG(s->replaced.st_mode) || s->replaced.st_nlink > 1 ||
                    sticky_folder_forbids_replacing(s->target, s->replaced);
    if (!in_place) {
      int error = s->create_temp();
      if (error == 0) {
        ::close(fd);
        state_ = std::move(s);
        return true;
      }
      // A folder that takes no new file: write the file itself.
      if (error != EACCES && error != EPERM) {
        ::close(fd);
        return fail(error, err);
      }
    }
    s->fd = fd;
  } else if (int error = s->create_temp()) {
    return fail(error, err);
  }
  state_ = std::move(s);
  return true;
}

bool output_file::commit(std::span<const std::string_view> lines, size_t first, size_t last,
                         int64_t* size, std::string* err) {
  if (!state_) return fail(EBADF, err);
  state& s = *state_;
  int error = write_text_blocks(
      lines, first, last, [&](const char* data, size_t n) { return write_all(s.fd, data, n); },
      size, head_);
  if (s.temp.empty()) {
    // In place: a regular file is cut to what was written.
    if (error == 0 && S_ISREG(s.replaced.st_mode) && ftruncate(s.fd, *size) != 0) error = errno;
  } else if (error == 0 && s.existed) {
    error = take_owner_and_mode(s.fd, s.replaced);
  }
  if (::close(s.fd) != 0 && error == 0) error = errno;
  s.fd = -1;
  if (!s.temp.empty()) {
    if (error == 0 && rename(s.temp.c_str(), s.target.c_str()) != 0) error = errno;
    if (error != 0) unlink(s.temp.c_str());
    s.temp.clear();
  }
  s.guard.disarm();
  state_.reset();
  return error == 0 ? true : fail(error, err);
}

void output_file::discard() {
  if (!state_) return;
  state& s = *state_;
  if (s.fd >= 0) ::close(s.fd);
  if (!s.temp.empty()) unlink(s.temp.c_str());
  s.guard.disarm();
  state_.reset();
}

}  // namespace platform

#endif
