// Elapsed wall-clock time in whole milliseconds, the tick of every pass timer.
#pragma once

namespace platform {

// Milliseconds since the process started, from a monotonic clock.
long long clock_ms();

}  // namespace platform
