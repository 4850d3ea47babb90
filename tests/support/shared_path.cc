// Every unit test runs the passes on two threads, however small its script:
// the split work and its joining are then checked by every test of a pass.
#include "script/two_threads.h"

namespace {
[[maybe_unused]] const bool kLowered = (two_threads::minimum_lines = 1, true);
}  // namespace
