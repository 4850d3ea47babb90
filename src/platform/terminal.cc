#include "platform/terminal.h"

#include <cstdio>
#include <cstdlib>

#ifdef _WIN32
#include <io.h>
#else
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace platform {

#ifdef _WIN32

bool stdout_is_terminal() { return _isatty(_fileno(stdout)) != 0; }

void ignore_broken_pipe() {}

void wait_for_key_press() {
  std::fflush(stdout);
  [[maybe_unused]] int ignored = std::system("PAUSE");
}

#else

bool stdout_is_terminal() { return isatty(STDOUT_FILENO) != 0; }

void ignore_broken_pipe() { ::signal(SIGPIPE, SIG_IGN); }

namespace {

struct termios saved_settings;
volatile sig_atomic_t settings_changed = 0;

void restore_and_reraise(int signal_number) {
  if (settings_changed) tcsetattr(STDIN_FILENO, TCSANOW, &saved_settings);
  ::signal(signal_number, SIG_DFL);
  ::raise(signal_number);
}

// Reads one byte; false at end of file or on an error other than EINTR.
bool read_one_byte() {
  char byte;
  for (;;) {
    ssize_t got = ::read(STDIN_FILENO, &byte, 1);
    if (got >= 0) return got == 1;
    if (errno != EINTR) return false;
  }
}

}  // namespace

void wait_for_key_press() {
  std::fputs("Press any key to continue . . . ", stdout);
  std::fflush(stdout);
  if (isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &saved_settings) == 0) {
    struct sigaction action = {};
    struct sigaction old_int, old_term, old_hup;
    action.sa_handler = restore_and_reraise;
    sigaction(SIGINT, &action, &old_int);
    sigaction(SIGTERM, &action, &old_term);
    sigaction(SIGHUP, &action, &old_hup);
    struct termios raw = saved_settings;
    raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    if (tcsetattr(STDIN_FILENO, TCSANOW, &raw) == 0) settings_changed = 1;
    read_one_byte();
    if (settings_changed) tcsetattr(STDIN_FILENO, TCSANOW, &saved_settings);
    settings_changed = 0;
    sigaction(SIGINT, &old_int, nullptr);
    sigaction(SIGTERM, &old_term, nullptr);
    sigaction(SIGHUP, &old_hup, nullptr);
  } else {
    read_one_byte();
  }
  std::fputs("\n", stdout);
  std::fflush(stdout);
}

#endif

}  // namespace platform
