// Tests of the position set against a plain scan.
#include "passes/variables/position_set.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

// The set against a plain vector of flags, over sizes that need one, two
// and three levels of words, stretches taken out at random.
TEST(PositionSet, NextAndPreviousAsAPlainScanFindsThem) {
  std::mt19937 rng(4242);
  for (size_t n : {0u, 1u, 63u, 64u, 65u, 4095u, 4096u, 4097u, 300000u}) {
    std::vector<bool> in(n);
    for (size_t x = 0; x < n; ++x) in[x] = rng() % 3 != 0;
    position_set set(n, [&](size_t x) { return in[x]; });
    for (int round = 0; round < 40; ++round) {
      if (n > 0) {
        const size_t begin = rng() % n;
        const size_t end = begin + rng() % (round % 4 == 0 ? n : 200);
        set.erase(begin, end);
        for (size_t x = begin; x < end && x < n; ++x) in[x] = false;
      }
      for (int probe = 0; probe < 50; ++probe) {
        const size_t x = n == 0 ? 0 : rng() % (n + 2);
        size_t next = x;
        while (next < n && !in[next]) ++next;
        EXPECT_EQ(set.next(x), next < n ? next : position_set::npos) << n << " " << x;
        size_t previous = n == 0 ? 0 : std::min(x, n - 1) + 1;
        while (previous > 0 && !in[previous - 1]) --previous;
        EXPECT_EQ(set.previous(x), previous > 0 ? previous - 1 : position_set::npos)
            << n << " " << x;
        EXPECT_EQ(set.contains(x), x < n && in[x]);
      }
    }
  }
}

}  // namespace
