// Tests of the clock.
#include "platform/clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

// The clock counts milliseconds: a real pause of a fifth of a second reads
// as at least 200 ticks, and far fewer than a microsecond clock would give.
TEST(Clock, CountsMillisecondsOfRealTime) {
  const long long before = platform::clock_ms();
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const long long elapsed = platform::clock_ms() - before;
  EXPECT_GE(elapsed, 200);
  EXPECT_LT(elapsed, 20000) << "not milliseconds";
  EXPECT_GE(before, 0) << "counted from the start of the process";
}

}  // namespace
