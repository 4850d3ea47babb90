// The monotonic clock behind the pass timers.
#include "platform/clock.h"

#include <chrono>

namespace platform {
namespace {
const auto process_start = std::chrono::steady_clock::now();
}

long long clock_ms() {
  auto elapsed = std::chrono::steady_clock::now() - process_start;
  return std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
}

}  // namespace platform
