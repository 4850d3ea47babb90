#include "script/normalized_lines.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <new>

namespace {

TEST(NormalizedLines, LinesAreTheirPlacesInOneText) {
  normalized_lines copy;
  copy.reserve_text(4, 16);
  std::memcpy(copy.text_at(0), "ABCDEF", 6);
  copy.set(0, 0, 0);
  copy.set(1, 0, 2);
  copy.set(2, 2, 0);
  copy.set(3, 2, 4);
  ASSERT_EQ(copy.size(), 4u);
  EXPECT_EQ(copy[1], "AB");
  EXPECT_EQ(copy[2], "");
  EXPECT_EQ(copy[3], "CDEF");
  // Emptying a line leaves its neighbours as they are.
  copy.clear(1);
  EXPECT_EQ(copy[1], "");
  EXPECT_EQ(copy[3], "CDEF");
}

TEST(NormalizedLines, ResizedCopyHoldsEmptyLines) {
  normalized_lines copy;
  copy.resize(3);
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(copy[i], "");
}

TEST(NormalizedLines, TextPastThirtyTwoBitsIsRefusedBeforeAnyRoomIsTaken) {
  if constexpr (sizeof(size_t) > 4) {
    normalized_lines copy;
    EXPECT_THROW(copy.reserve_text(1, size_t{UINT32_MAX} + 1), std::bad_alloc);
  }
}

}  // namespace
