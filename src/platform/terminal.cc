// Whether stdout is a terminal, and the key-press wait, on each platform.
#include "platform/terminal.h"

#include <cstdio>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <span>
#include <vector>

#include "platform/ending_signals.h"
#endif

namespace platform {

namespace {

constexpr const char* kPrompt = "Press any key to continue . . . ";

}  // namespace

#ifdef _WIN32

bool stdout_is_terminal() { return _isatty(_fileno(stdout)) != 0; }

void reserve_standard_streams() {}

namespace {

// Keys that only change another key (Shift, Ctrl, Alt, Caps Lock, ...) do
// not end the wait, as with the command interpreter's PAUSE.
bool is_modifier(WORD key) {
  switch (key) {
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU:
    case VK_CAPITAL:
    case VK_NUMLOCK:
    case VK_SCROLL:
    case VK_LWIN:
    case VK_RWIN:
      return true;
    default:
      return false;
  }
}

}  // namespace

void wait_for_key_press() {
  std::fputs(kPrompt, stdout);
  std::fflush(stdout);
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  if (input != nullptr && input != INVALID_HANDLE_VALUE && GetConsoleMode(input, &mode)) {
    INPUT_RECORD record;
    DWORD got = 0;
    while (ReadConsoleInputW(input, &record, 1, &got) && got == 1) {
      if (record.EventType == KEY_EVENT && record.Event.KeyEvent.bKeyDown &&
          !is_modifier(record.Event.KeyEvent.wVirtualKeyCode)) {
        break;
      }
    }
  } else if (input != nullptr && input != INVALID_HANDLE_VALUE) {
    char byte;
    DWORD got = 0;
    [[maybe_unused]] BOOL ignored = ReadFile(input, &byte, 1, &got, nullptr);
  }
  std::fputs("\n", stdout);
  std::fflush(stdout);
}

#else

bool stdout_is_terminal() { return isatty(STDOUT_FILENO) != 0; }

void reserve_standard_streams() {
  for (int fd : {STDOUT_FILENO, STDERR_FILENO}) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    // Open for reading only: writes fail with EBADF.
    int reserved = ::open("/dev/null", O_RDONLY);
    if (reserved >= 0 && reserved != fd) {
      dup2(reserved, fd);
      ::close(reserved);
    }
  }
}

namespace {

struct termios saved_settings;
struct termios raw_settings;
volatile sig_atomic_t settings_changed = 0;

void restore_and_reraise(int signal_number) {
  if (settings_changed) tcsetattr(STDIN_FILENO, TCSANOW, &saved_settings);
  ::signal(signal_number, SIG_DFL);
  ::raise(signal_number);
}

// Ctrl-Z: the shell gets its terminal back as it was; when the process goes
// on, the wait takes up its settings again.
void restore_and_stop(int) {
  int saved_errno = errno;
  if (settings_changed) tcsetattr(STDIN_FILENO, TCSANOW, &saved_settings);
  ::signal(SIGTSTP, SIG_DFL);
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGTSTP);
  sigprocmask(SIG_UNBLOCK, &stop, nullptr);
  ::raise(SIGTSTP);
  // Continued.
  struct sigaction again = {};
  again.sa_handler = restore_and_stop;
  sigaction(SIGTSTP, &again, nullptr);
  if (settings_changed) tcsetattr(STDIN_FILENO, TCSANOW, &raw_settings);
  errno = saved_errno;
}

void retake_settings(int) {
  int saved_errno = errno;
  if (settings_changed) tcsetattr(STDIN_FILENO, TCSANOW, &raw_settings);
  errno = saved_errno;
}

// Reads one byte; false at end of file or on an error other than EINTR.
bool read_one_byte(unsigned char* byte) {
  for (;;) {
    ssize_t got = ::read(STDIN_FILENO, byte, 1);
    if (got >= 0) return got == 1;
    if (errno != EINTR) return false;
  }
}

// A key that sends several bytes (an arrow key's escape sequence, a UTF-8
// letter) sends them together: whatever follows within a moment belongs to
// the same key.
void consume_rest_of_key() {
  constexpr int kWithinMs = 50;
  struct pollfd input = {STDIN_FILENO, POLLIN, 0};
  unsigned char rest[64];
  while (poll(&input, 1, kWithinMs) > 0 && (input.revents & POLLIN) != 0) {
    if (::read(STDIN_FILENO, rest, sizeof rest) <= 0) break;
  }
}

void wait_on_terminal() {
  // Signals that end the process: the terminal is restored first.
  const std::span<const int> ending = ending_signal_numbers();
  struct sigaction action = {};
  action.sa_handler = restore_and_reraise;
  std::vector<struct sigaction> old_ending(ending.size());
  for (size_t i = 0; i < ending.size(); ++i) {
    sigaction(ending[i], nullptr, &old_ending[i]);
    if (old_ending[i].sa_handler != SIG_IGN) sigaction(ending[i], &action, nullptr);
  }
  struct sigaction stop = {}, resume = {}, old_stop, old_resume;
  stop.sa_handler = restore_and_stop;
  resume.sa_handler = retake_settings;
  sigaction(SIGTSTP, nullptr, &old_stop);
  if (old_stop.sa_handler != SIG_IGN) sigaction(SIGTSTP, &stop, nullptr);
  sigaction(SIGCONT, &resume, &old_resume);

  raw_settings = saved_settings;
  raw_settings.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
  raw_settings.c_cc[VMIN] = 1;
  raw_settings.c_cc[VTIME] = 0;
  if (tcsetattr(STDIN_FILENO, TCSANOW, &raw_settings) == 0) settings_changed = 1;
  unsigned char byte = 0;
  if (read_one_byte(&byte)) consume_rest_of_key();
  if (settings_changed) tcsetattr(STDIN_FILENO, TCSANOW, &saved_settings);
  settings_changed = 0;

  for (size_t i = 0; i < ending.size(); ++i) sigaction(ending[i], &old_ending[i], nullptr);
  sigaction(SIGTSTP, &old_stop, nullptr);
  sigaction(SIGCONT, &old_resume, nullptr);
}

}  // namespace

void wait_for_key_press() {
  std::fputs(kPrompt, stdout);
  std::fflush(stdout);
  if (isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &saved_settings) == 0) {
    wait_on_terminal();
  } else {
    unsigned char byte;
    read_one_byte(&byte);
  }
  std::fputs("\n", stdout);
  std::fflush(stdout);
}

#endif

}  // namespace platform
