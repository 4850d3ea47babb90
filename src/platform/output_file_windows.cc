// Replacing the output on Windows, through the UTF-16 API.
#ifdef _WIN32

#include <windows.h>

#include <vector>

#include "platform/file_names.h"
#include "platform/output_blocks.h"
#include "platform/output_file.h"

#ifndef REPLACEFILE_IGNORE_ACL_ERRORS
#define REPLACEFILE_IGNORE_ACL_ERRORS 0x00000004
#endif

namespace platform {
namespace {

bool fail(DWORD code, std::string* err) {
  *err = error_text(code);
  return false;
}

// The absolute path: a relative or drive-relative path ("Z:out.au3") is
// resolved against the current folder of its drive, so that the temporary
// file lands in the output's own folder.
std::wstring full_path(const std::wstring& path) {
  DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::wstring full(size, L'\0');
  DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) return path;
  full.resize(length);
  return full;
}

std::wstring folder_prefix(const std::wstring& path) {
  size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

// A console event (Ctrl-C, Ctrl-Break, a closed console; wine turns SIGINT
// into one) ends the process from another thread. While temporary files
// are between their deleted-on-close marks and their places, the event
// waits, and removes those that did not get there. While a file
// written in place is rewritten, it names the copy that holds the script.
// The lock is taken again by the thread that holds it, so that several
// files can be moved under one hold.
CRITICAL_SECTION moving_lock;
std::vector<std::wstring> moving_temps;
std::string rewriting_note;

BOOL WINAPI on_console_event(DWORD) {
  EnterCriticalSection(&moving_lock);
  for (const std::wstring& temp : moving_temps) DeleteFileW(temp.c_str());
  if (!rewriting_note.empty()) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), rewriting_note.data(),
              static_cast<DWORD>(rewriting_note.size()), &written, nullptr);
  }
  LeaveCriticalSection(&moving_lock);
  return FALSE;  // the default handling ends the process
}

void watch_console_events() {
  static const bool watching = [] {
    InitializeCriticalSection(&moving_lock);
    return SetConsoleCtrlHandler(on_console_event, TRUE) != 0;
  }();
  (void)watching;
}

// A deleted-on-close mark: the system removes the temporary file when the
// process ends in any way (a closed console, a kill) before it is committed.
bool mark_for_deletion(HANDLE handle, bool remove) {
  FILE_DISPOSITION_INFO disposition = {};
  disposition.DeleteFile = remove ? TRUE : FALSE;
  return SetFileInformationByHandle(handle, FileDispositionInfo, &disposition,
                                    sizeof disposition) != 0;
}

// Wine's ReplaceFileW is not one step: a process killed inside it can lose
// the replaced file. There the temporary file is renamed over the output,
// which is one step, and takes the output's attributes first; wine keeps no
// other security than the Unix mode, which no Windows call sets exactly.
bool replace_file_is_one_step() {
  static const bool wine =
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  return !wine;
}

// Moves `temp` over `target` at once; 0 or a Windows error code.
DWORD move_over(const std::wstring& temp, const std::wstring& target, bool existed) {
  if (existed && replace_file_is_one_step()) {
    // Keeps the replaced file's attributes and security.
    if (ReplaceFileW(target.c_str(), temp.c_str(), nullptr,
                     REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr,
                     nullptr)) {
      return 0;
    }
    return GetLastError();
  }
  if (existed) {
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                            FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & kKept) != 0) {
      SetFileAttributesW(temp.c_str(), attributes & kKept);
    }
  }
  if (MoveFileExW(temp.c_str(), target.c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return 0;
  }
  return GetLastError();
}

int write_all(HANDLE handle, const char* data, size_t size) {
  while (size > 0) {
    DWORD chunk = size > (size_t{1} << 30) ? (DWORD{1} << 30) : static_cast<DWORD>(size);
    DWORD got = 0;
    if (!WriteFile(handle, data, chunk, &got, nullptr)) return static_cast<int>(GetLastError());
    if (got == 0) return ERROR_DISK_FULL;
    data += got;
    size -= got;
  }
  return 0;
}

// The system's folder for temporary files, with its final backslash.
std::wstring system_temp_folder() {
  wchar_t buffer[MAX_PATH + 1];
  DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
  return length == 0 || length > MAX_PATH ? std::wstring() : std::wstring(buffer, length);
}

// Creates a temporary file in `folder`, marked to be deleted on close; 0 or
// a Windows error code.
DWORD create_temp_in(const std::wstring& folder, HANDLE* handle, std::wstring* path) {
  for (int attempt = 0; attempt < kTempAttempts; ++attempt) {
    std::wstring name = folder + wide_path(temp_file_name());
    *handle = CreateFileW(name.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    if (*handle != INVALID_HANDLE_VALUE) {
      *path = std::move(name);
      mark_for_deletion(*handle, true);
      return 0;
    }
    DWORD code = GetLastError();
    if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) return code;
  }
  return ERROR_FILE_EXISTS;
}

}  // namespace

struct output_file::state {
  std::string path;    // as given, for messages
  std::wstring target;
  std::wstring temp;  // empty when the target is written in place
  HANDLE handle = INVALID_HANDLE_VALUE;
  bool existed = false;
  bool regular = true;
  // A regular file written in place gets the complete script here first:
  // beside it, or in the system's temporary folder.
  std::wstring copy;
  HANDLE copy_handle = INVALID_HANDLE_VALUE;
  bool copy_aside = false;
  bool written = false;  // write is done; replace comes next
  // What replace writes to a device or a file written in place.
  line_reader lines;
  size_t first = 0;
  size_t last = 0;

  // Creates the temporary file beside the target; 0 or a Windows error code.
  DWORD create_temp() { return create_temp_in(folder_prefix(target), &handle, &temp); }
  DWORD create_copy(bool beside) {
    drop_copy();
    copy_aside = !beside;
    const std::wstring folder = beside ? folder_prefix(target) : system_temp_folder();
    if (folder.empty() && !beside) return ERROR_PATH_NOT_FOUND;
    return create_temp_in(folder, &copy_handle, &copy);
  }
  // The copy as messages name it.
  std::string copy_shown() const {
    if (copy_aside) return utf8_of(copy);
    size_t slash = path.find_last_of("\\/:");
    std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    return folder + utf8_of(copy.substr(folder_prefix(copy).size()));
  }
  void drop_copy() {
    if (copy_handle != INVALID_HANDLE_VALUE) CloseHandle(copy_handle);  // deleted on close
    if (!copy.empty()) DeleteFileW(copy.c_str());
    copy_handle = INVALID_HANDLE_VALUE;
    copy.clear();
  }
};

output_file::output_file() = default;

output_file::~output_file() { discard(); }

bool output_file::open(const std::string& path, std::string* err) {
  discard();
  if (path.empty()) return fail(ERROR_FILE_NOT_FOUND, err);
  watch_console_events();
  auto s = std::make_unique<state>();
  s->path = path;
  s->target = is_reserved_device_name(path) ? wide_path(path) : full_path(wide_path(path));
  DWORD attributes = GetFileAttributesW(s->target.c_str());
  s->existed = attributes != INVALID_FILE_ATTRIBUTES || is_reserved_device_name(path);
  if (s->existed && attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return fail(ERROR_DIRECTORY, err);
  }
  // A read-only file is refused, as redirection refuses it (wine run as
  // root would open it for writing all the same).
  if (s->existed && attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    return fail(ERROR_ACCESS_DENIED, err);
  }
  if (s->existed) {
    // Opening for writing asks the system whether the user may write the
    // file (its security); a device is written through this handle.
    HANDLE handle = CreateFileW(s->target.c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return fail(GetLastError(), err);
    BY_HANDLE_FILE_INFORMATION info = {};
    s->regular = GetFileType(handle) == FILE_TYPE_DISK && !is_reserved_device_name(path);
    bool in_place = !s->regular || (GetFileInformationByHandle(handle, &info) &&
                                    info.nNumberOfLinks > 1);
    DWORD code = 0;
    if (!in_place) {
      code = s->create_temp();
      if (code == 0) {
        CloseHandle(handle);
        state_ = std::move(s);
        return true;
      }
      // A folder that takes no new file: the file itself is written, and
      // its copy goes elsewhere.
      if (code == ERROR_ACCESS_DENIED) code = s->create_copy(false);
    } else if (s->regular) {
      code = s->create_copy(true);
      if (code != 0) code = s->create_copy(false);
    }
    if (code != 0) {
      CloseHandle(handle);
      return fail(code, err);
    }
    s->handle = handle;
  } else if (DWORD code = s->create_temp()) {
    return fail(code, err);
  }
  state_ = std::move(s);
  return true;
}

bool output_file::commit(const line_reader& lines, size_t first, size_t last,
                         int64_t* size, std::string* err) {
  return write(lines, first, last, size, err) && replace(err);
}

bool output_file::write(const line_reader& lines, size_t first, size_t last, int64_t* size,
                        std::string* err) {
  if (!state_) return fail(ERROR_INVALID_HANDLE, err);
  state& s = *state_;
  auto write_to = [&](HANDLE handle) {
    return static_cast<DWORD>(write_text_blocks(
        lines, first, last,
        [handle](const char* data, size_t n) { return write_all(handle, data, n); }, size,
        head_));
  };
  DWORD code = 0;
  if (s.temp.empty() && s.copy_handle == INVALID_HANDLE_VALUE) {
    // A device takes the text when the others are complete.
    *size = static_cast<int64_t>(head_.size()) + stored_size(lines, first, last);
  } else if (s.temp.empty()) {
    // In place: the complete text first goes to the copy, on another volume
    // when the output's is full; the file is rewritten by replace.
    code = write_to(s.copy_handle);
    if ((code == ERROR_DISK_FULL || code == ERROR_HANDLE_DISK_FULL) && !s.copy_aside &&
        s.create_copy(false) == 0) {
      code = write_to(s.copy_handle);
    }
  } else {
    // Still marked to be deleted on close until replace moves it.
    code = write_to(s.handle);
  }
  if (code != 0) {
    discard();
    return fail(code, err);
  }
  s.written = true;
  s.lines = lines;
  s.first = first;
  s.last = last;
  return true;
}

bool output_file::moves_over() const {
  return state_ && state_->written && !state_->temp.empty();
}

bool output_file::replace(std::string* err) {
  if (!state_ || !state_->written) return fail(ERROR_INVALID_HANDLE, err);
  state& s = *state_;
  int64_t size = 0;
  auto write_to = [&](HANDLE handle) {
    return static_cast<DWORD>(write_text_blocks(
        s.lines, s.first, s.last,
        [handle](const char* data, size_t n) { return write_all(handle, data, n); }, &size,
        head_));
  };
  DWORD code = 0;
  std::string kept;
  if (s.temp.empty() && s.copy_handle == INVALID_HANDLE_VALUE) {
    // A device.
    code = write_to(s.handle);
    CloseHandle(s.handle);
  } else if (s.temp.empty()) {
    // From here on the copy outlives a killed process.
    if (!mark_for_deletion(s.copy_handle, false)) code = GetLastError();
    if (code == 0) {
      EnterCriticalSection(&moving_lock);
      rewriting_note = "error: cannot write " + role_ + " '" + s.path + "': interrupted; " +
                       complete_text_in(s.copy_shown()) + "\n";
      LeaveCriticalSection(&moving_lock);
      code = write_to(s.handle);
      // The file is cut to what was written.
      if (code == 0 && !SetEndOfFile(s.handle)) code = GetLastError();
      if (code == 0) {
        mark_for_deletion(s.copy_handle, true);
      } else {
        kept = s.copy_shown();
        CloseHandle(s.copy_handle);
        s.copy_handle = INVALID_HANDLE_VALUE;
        s.copy.clear();
      }
      EnterCriticalSection(&moving_lock);
      rewriting_note.clear();
      LeaveCriticalSection(&moving_lock);
    }
    s.drop_copy();
    CloseHandle(s.handle);
  } else {
    EnterCriticalSection(&moving_lock);
    moving_temps.push_back(s.temp);
    if (!mark_for_deletion(s.handle, false)) code = GetLastError();
    CloseHandle(s.handle);
    if (code == 0) code = move_over(s.temp, s.target, s.existed);
    if (code != 0) DeleteFileW(s.temp.c_str());
    moving_temps.pop_back();
    LeaveCriticalSection(&moving_lock);
    s.temp.clear();
  }
  s.handle = INVALID_HANDLE_VALUE;
  state_.reset();
  if (code == 0) return true;
  fail(code, err);
  if (!kept.empty()) *err += "; " + complete_text_in(kept);
  return false;
}

void hold_moves() {
  watch_console_events();
  EnterCriticalSection(&moving_lock);
}

void release_moves() { LeaveCriticalSection(&moving_lock); }

void output_file::discard() {
  if (!state_) return;
  state& s = *state_;
  if (s.handle != INVALID_HANDLE_VALUE) CloseHandle(s.handle);
  if (!s.temp.empty()) DeleteFileW(s.temp.c_str());
  s.drop_copy();
  state_.reset();
}

}  // namespace platform

#endif
