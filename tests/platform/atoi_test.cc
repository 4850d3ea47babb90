// Tests of the number reading of the Windows runtime.
#include <gtest/gtest.h>

#include <climits>

#include "platform/atoi.h"

TEST(Atoi, DecimalPrefixWithSignAndWhiteSpace) {
  EXPECT_EQ(platform::atoi("3"), 3);
  EXPECT_EQ(platform::atoi("  -2x"), -2);
  EXPECT_EQ(platform::atoi("\t+7"), 7);
  EXPECT_EQ(platform::atoi("abc"), 0);
  EXPECT_EQ(platform::atoi(""), 0);
  EXPECT_EQ(platform::atoi("- 1"), 0);
  EXPECT_EQ(platform::atoi("0012"), 12);
}

TEST(Atoi, ClampsLikeTheWindowsRuntime) {
  EXPECT_EQ(platform::atoi("2147483647"), INT_MAX);
  EXPECT_EQ(platform::atoi("2147483648"), INT_MAX);
  EXPECT_EQ(platform::atoi("99999999999999999999999"), INT_MAX);
  EXPECT_EQ(platform::atoi("-2147483648"), INT_MIN);
  EXPECT_EQ(platform::atoi("-99999999999999999999999"), INT_MIN);
}

TEST(Atoi, ReadsDigitsTellsANumberFromNone) {
  EXPECT_TRUE(platform::atoi_reads_digits("3"));
  EXPECT_TRUE(platform::atoi_reads_digits(" -0"));
  EXPECT_TRUE(platform::atoi_reads_digits("2x"));
  EXPECT_FALSE(platform::atoi_reads_digits("abc"));
  EXPECT_FALSE(platform::atoi_reads_digits(""));
  EXPECT_FALSE(platform::atoi_reads_digits("- 1"));
  EXPECT_FALSE(platform::atoi_reads_digits(nullptr));
}
