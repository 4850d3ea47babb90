// Tests of the normalized copy's layout in one text.
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

TEST(NormalizedLines, ASecondPartBeginsWhereItWasWritten) {
  // Two threads write their parts with room between; the second part's
  // first line must not take that room, nor the first part's last line.
  normalized_lines copy;
  copy.reserve_text(5, 16);
  copy.begin_part(3, 8);
  std::memcpy(copy.text_at(0), "AB??????CDE", 11);
  copy.set(0, 0, 0);
  copy.set(1, 0, 1);
  copy.set(2, 1, 1);
  copy.set(3, 8, 2);
  copy.set(4, 10, 1);
  ASSERT_EQ(copy.size(), 5u);
  EXPECT_EQ(copy[2], "B");
  EXPECT_EQ(copy[3], "CD");
  EXPECT_EQ(copy[4], "E");
  copy.clear(3);
  EXPECT_EQ(copy[3], "");
  EXPECT_EQ(copy[4], "E");
}

TEST(NormalizedLines, ResizedCopyHoldsEmptyLines) {
  normalized_lines copy;
  copy.resize(3);
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(copy[i], "");
}

TEST(NormalizedLines, TextPastThirtyOneBitsIsRefusedBeforeAnyRoomIsTaken) {
  normalized_lines copy;
  EXPECT_THROW(copy.reserve_text(1, size_t{1} << 31), std::bad_alloc);
}

}  // namespace
