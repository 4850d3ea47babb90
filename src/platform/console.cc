// Writing to standard output: buffering by what stdout is, and the first
// failed write kept for the end of the run.
#include "platform/console.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/terminal.h"

namespace console {

namespace {

// The first write to standard output that failed, as an errno value, and
// whether standard output is closed for good.
int first_error = 0;
bool closed = false;

void note_failure() {
  if (first_error == 0) first_error = errno != 0 ? errno : EIO;
}

}  // namespace

void setup_stdout() {
  if (platform::stdout_is_terminal()) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
  } else {
    static char buffer[1 << 16];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
  }
}

void out(std::string_view text) {
  if (closed || text.empty()) return;
  errno = 0;
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size()) note_failure();
}

void out(long long number) { out(std::to_string(number)); }

void flush() {
  if (closed) return;
  errno = 0;
  if (std::fflush(stdout) != 0) note_failure();
}

bool close(std::string* err) {
  flush();
  if (closed) return first_error == 0;
  closed = true;
  // A write elsewhere (the key-press prompt) may have failed unseen.
  if (std::ferror(stdout) && first_error == 0) first_error = EIO;
  errno = 0;
  if (std::fclose(stdout) != 0) note_failure();
  if (first_error == 0) return true;
  *err = std::strerror(first_error);
  return false;
}

}  // namespace console
