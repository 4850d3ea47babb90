#include "report/console.h"

#include <cstdio>
#include <string>

#include "platform/terminal.h"

namespace console {

void setup_stdout() {
  if (platform::stdout_is_terminal()) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
  } else {
    static char buffer[1 << 16];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
  }
}

void out(std::string_view text) { std::fwrite(text.data(), 1, text.size(), stdout); }

void out(long long number) { out(std::to_string(number)); }

void flush() { std::fflush(stdout); }

}  // namespace console
