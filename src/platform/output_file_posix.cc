// Replacing the output on POSIX systems.
#ifndef _WIN32

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/ending_signals.h"
#include "platform/output_blocks.h"
#include "platform/output_file.h"

namespace platform {
namespace {

bool fail(int error, std::string* err) {
  *err = std::strerror(error);
  return false;
}

// The folder part of `path` with its final "/", or "" for a bare name.
std::string folder_prefix(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string base_name(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A folder held open, so that files in it are named relative to it: the
// temporary file's name, longer than the output's, never meets the limit on
// a path's length. -1 and errno when it cannot be opened.
int open_folder(const std::string& folder) {
#ifdef O_PATH
  constexpr int kFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;  // needs no right to list it
#else
  constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
#endif
  return ::open(folder.empty() ? "." : folder.c_str(), kFlags);
}

// The system's folder for temporary files, with its final "/".
std::string system_temp_folder() {
  const char* set = std::getenv("TMPDIR");
  std::string folder = set != nullptr && *set != '\0' ? set : "/tmp";
  if (!folder.ends_with('/')) folder += '/';
  return folder;
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
bool sticky_folder_forbids_replacing(int folder, const struct stat& file) {
  struct stat info;
  if (fstat(folder, &info) != 0) return false;
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

// A temporary file with a fresh name in an open folder. While it exists, an
// ending signal removes it, or names it when it is to be kept.
class temp_file {
 public:
  temp_file() = default;
  temp_file(const temp_file&) = delete;
  temp_file& operator=(const temp_file&) = delete;
  ~temp_file() { remove(); }

  // Creates the file in `folder` (an open folder, taken over; `shown` is
  // its path for messages, ending in "/" or empty); 0 or an errno value.
  int create(int folder, std::string shown, mode_t mode) {
    remove();
    folder_ = folder;
    shown_ = std::move(shown);
    // Held back until the name is known, so that no signal ends the
    // process between making the file and knowing what to remove.
    const sigset_t saved = hold_ending_signals();
    int error = EEXIST;
    for (int attempt = 0; attempt < kTempAttempts && error == EEXIST; ++attempt) {
      std::string name = temp_file_name();
      fd_ = ::openat(folder_, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
      if (fd_ >= 0) {
        name_ = std::move(name);
        place_ = remove_on_ending_signal(folder_, name_.c_str());
        error = 0;
        if (place_ < 0) {
          // More files under way than a run makes: none is left unwatched.
          ::close(std::exchange(fd_, -1));
          unlinkat(folder_, name_.c_str(), 0);
          name_.clear();
          error = EMFILE;
        }
      } else {
        error = errno;
      }
    }
    release_ending_signals(saved);
    if (error != 0) close_folder();
    return error;
  }
  bool exists() const { return !name_.empty(); }
  int fd() const { return fd_; }
  int folder() const { return folder_; }
  const char* name() const { return name_.c_str(); }
  std::string path() const { return shown_ + name_; }
  // 0 or the error that closing reported (a write that failed late).
  int close_file() {
    int error = fd_ >= 0 && ::close(fd_) != 0 ? errno : 0;
    fd_ = -1;
    return error;
  }
  // From here on an ending signal keeps the file and writes `note`, which
  // must stay as it is until the file is removed or kept.
  void keep_on_signal(const std::string& note) {
    const sigset_t saved = hold_ending_signals();
    note_on_ending_signal(place_, note.data(), note.size());
    release_ending_signals(saved);
  }
  // The file stays where it is now (moved to the output, or kept on purpose).
  void keep() {
    forget_on_ending_signal(std::exchange(place_, -1));
    close_file();
    name_.clear();
    close_folder();
  }
  void remove() {
    close_file();
    if (exists()) {
      unlinkat(folder_, name_.c_str(), 0);
      forget_on_ending_signal(std::exchange(place_, -1));
      name_.clear();
    }
    close_folder();
  }

 private:
  void close_folder() {
    if (folder_ >= 0) ::close(folder_);
    folder_ = -1;
  }

  int folder_ = -1;
  int fd_ = -1;
  int place_ = -1;  // in the list of what an ending signal does
  std::string name_;
  std::string shown_;
};

}  // namespace

struct output_file::state {
  std::string path;    // as given, for messages
  std::string target;  // symbolic links followed
  int folder = -1;     // the target's folder
  std::string name;    // the target's name in it
  int fd = -1;         // the target itself, when it is written in place
  bool existed = false;
  struct stat replaced = {};
  // Replacing: the new file, moved over the target when complete. In place
  // (a regular file): the complete script, written before the target is.
  temp_file temp;
  bool temp_aside = false;  // in the system's temporary folder
  std::string note;         // what a signal says while the target is rewritten
  bool written = false;     // write is done; replace comes next
  // A device or FIFO: what replace writes to it.
  line_reader lines;
  size_t first = 0;
  size_t last = 0;

  ~state() {
    if (fd >= 0) ::close(fd);
    if (folder >= 0) ::close(folder);
  }

  int create_beside(mode_t mode) {
    int copy = fcntl(folder, F_DUPFD_CLOEXEC, 0);
    if (copy < 0) return errno;
    temp_aside = false;
    return temp.create(copy, folder_prefix(target), mode);
  }
  int create_aside() {
    const std::string where = system_temp_folder();
    int opened = open_folder(where);
    if (opened < 0) return errno;
    temp_aside = true;
    return temp.create(opened, where, 0600);
  }
  // The copy of a file written in place goes beside it, or to the system's
  // temporary folder when the output's folder takes no new file.
  int create_copy() {
    int error = create_beside(0600);
    return error == 0 ? 0 : create_aside();
  }
};

output_file::output_file() = default;

output_file::~output_file() { discard(); }

bool output_file::open(const std::string& path, std::string* err) {
  discard();
  // Names no file anywhere.
  if (path.empty()) return fail(ENOENT, err);
  auto s = std::make_unique<state>();
  s->path = path;
  struct stat info;
  // A FIFO or device is written where it is, as shell redirection would,
  // also one reached through /dev/stdout, /dev/fd/N or /proc/self/fd/N, whose
  // links name no path ("pipe:[...]").
  if (stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    if (S_ISDIR(info.st_mode)) return fail(EISDIR, err);
    s->fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (s->fd < 0 || fstat(s->fd, &s->replaced) != 0) return fail(errno, err);
    s->existed = true;
    state_ = std::move(s);
    return true;
  }
  if (!follow_links(path, &s->target, err)) return false;
  s->folder = open_folder(folder_prefix(s->target));
  if (s->folder < 0) return fail(errno, err);
  s->name = base_name(s->target);
  s->existed = fstatat(s->folder, s->name.c_str(), &info, 0) == 0;
  if (s->existed && S_ISDIR(info.st_mode)) return fail(EISDIR, err);
  if (!s->existed) {
    // A new output gets the mode a new file gets (the umask applies).
    if (int error = s->create_beside(0666)) return fail(error, err);
    state_ = std::move(s);
    return true;
  }
  // Opening for writing asks the system whether the user may write the
  // file, as shell redirection would.
  s->fd = ::openat(s->folder, s->name.c_str(), O_WRONLY | O_CLOEXEC);
  if (s->fd < 0 || fstat(s->fd, &s->replaced) != 0) return fail(errno, err);
  bool in_place = !S_ISREG(s->replaced.st_mode) || s->replaced.st_nlink > 1 ||
                  sticky_folder_forbids_replacing(s->folder, s->replaced);
  int error = 0;
  if (!in_place) {
    // Replaced: the temporary file stays private until it takes the
    // replaced file's mode.
    error = s->create_beside(0600);
    if (error == 0) {
      ::close(std::exchange(s->fd, -1));
    } else if (error == EACCES || error == EPERM) {
      // A folder that takes no new file: the file itself is written.
      error = s->create_aside();
    }
  } else if (S_ISREG(s->replaced.st_mode)) {
    error = s->create_copy();
  }
  if (error != 0) return fail(error, err);
  state_ = std::move(s);
  return true;
}

bool output_file::commit(const line_reader& lines, size_t first, size_t last,
                         int64_t* size, std::string* err) {
  return write(lines, first, last, size, err) && replace(err);
}

bool output_file::write(const line_reader& lines, size_t first, size_t last, int64_t* size,
                        std::string* err) {
  if (!state_) return fail(EBADF, err);
  state& s = *state_;
  auto write_to = [&](int fd) {
    return write_text_blocks(
        lines, first, last, [fd](const char* data, size_t n) { return write_all(fd, data, n); },
        size, head_);
  };
  int error = 0;
  if (s.fd < 0) {
    // Replaced: the complete file is moved over the target.
    error = write_to(s.temp.fd());
    if (error == 0 && s.existed) error = take_owner_and_mode(s.temp.fd(), s.replaced);
    if (int closing = s.temp.close_file(); error == 0) error = closing;
  } else if (!s.temp.exists()) {
    // A device or FIFO takes the text when the others are complete.
    *size = static_cast<int64_t>(head_.size()) + stored_size(lines, first, last);
  } else {
    // In place: the complete text first goes to the copy, on another file
    // system when the output's is full; the file is rewritten by replace.
    error = write_to(s.temp.fd());
    if ((error == ENOSPC || error == EDQUOT) && !s.temp_aside) {
      s.temp.remove();
      if (s.create_aside() == 0) error = write_to(s.temp.fd());
    }
    if (int closing = s.temp.close_file(); error == 0) error = closing;
  }
  if (error == 0) {
    s.written = true;
    s.lines = lines;
    s.first = first;
    s.last = last;
    return true;
  }
  state_.reset();
  return fail(error, err);
}

bool output_file::moves_over() const { return state_ && state_->written && state_->fd < 0; }

bool output_file::replace(std::string* err) {
  if (!state_ || !state_->written) return fail(EBADF, err);
  state& s = *state_;
  int error = 0;
  std::string kept;
  if (s.fd < 0) {
    if (renameat(s.temp.folder(), s.temp.name(), s.folder, s.name.c_str()) != 0) error = errno;
    if (error == 0) s.temp.keep();
  } else {
    int64_t size = 0;
    auto write_to = [&](int fd) {
      return write_text_blocks(
          s.lines, s.first, s.last,
          [fd](const char* data, size_t n) { return write_all(fd, data, n); }, &size, head_);
    };
    if (!s.temp.exists()) {
      // A device or FIFO.
      error = write_to(s.fd);
    } else {
      s.note = "error: cannot write " + role_ + " '" + s.path + "': interrupted; " +
               complete_text_in(s.temp.path()) + "\n";
      s.temp.keep_on_signal(s.note);
      if (lseek(s.fd, 0, SEEK_SET) != 0) error = errno;
      if (error == 0) error = write_to(s.fd);
      // The file is cut to what was written.
      if (error == 0 && ftruncate(s.fd, size) != 0) error = errno;
      if (int closing = ::close(std::exchange(s.fd, -1)); closing != 0 && error == 0) {
        error = errno;
      }
      if (error != 0) {
        kept = s.temp.path();
        s.temp.keep();
      }
    }
  }
  if (s.fd >= 0 && ::close(std::exchange(s.fd, -1)) != 0 && error == 0) error = errno;
  s.temp.remove();
  state_.reset();
  if (error == 0) return true;
  *err = std::strerror(error);
  if (!kept.empty()) *err += "; " + complete_text_in(kept);
  return false;
}

namespace {
sigset_t saved_for_moves;
}  // namespace

void hold_moves() { saved_for_moves = hold_ending_signals(); }

void release_moves() { release_ending_signals(saved_for_moves); }

void output_file::discard() { state_.reset(); }

}  // namespace platform

#endif
