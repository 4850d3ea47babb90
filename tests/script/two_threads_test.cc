// Tests of splitting work in two halves on two threads.
#include "script/two_threads.h"

#include <gtest/gtest.h>

#include <array>
#include <stdexcept>
#include <utility>
#include <vector>

namespace {

TEST(TwoThreads, HalvesCoverTheRangeOnceInOrder) {
  for (size_t n : {0, 1, 2, 7, 1000}) {
    std::array<std::vector<size_t>, 2> seen;
    two_threads::split(5, 5 + n, [&](int part, size_t first, size_t last) {
      for (size_t i = first; i < last; ++i) seen[part].push_back(i);
    });
    const std::vector<size_t> joined = two_threads::joined(std::move(seen[0]), seen[1]);
    ASSERT_EQ(joined.size(), n);
    for (size_t i = 0; i < n; ++i) EXPECT_EQ(joined[i], 5 + i);
  }
}

TEST(TwoThreads, TheCutMovesTheMiddleForward) {
  std::array<std::pair<size_t, size_t>, 2> got{};
  two_threads::split_at(
      0, 100, [](size_t middle) { return middle + 7; },
      [&](int part, size_t first, size_t last) { got[part] = {first, last}; });
  EXPECT_EQ(got[0], (std::pair<size_t, size_t>{0, 57}));
  EXPECT_EQ(got[1], (std::pair<size_t, size_t>{57, 100}));
}

TEST(TwoThreads, AFailureInEitherHalfReachesTheCallerAfterBoth) {
  for (int failing : {0, 1}) {
    std::array<bool, 2> ran{};
    EXPECT_THROW(two_threads::split(0, 100,
                                    [&](int part, size_t, size_t) {
                                      ran[part] = true;
                                      if (part == failing) throw std::runtime_error("half");
                                    }),
                 std::runtime_error);
    EXPECT_TRUE(ran[0] && ran[1]);
  }
}

}  // namespace
