#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/input_file.h"

namespace {

std::vector<std::string> split(const std::string& bytes) {
  std::vector<std::string> lines;
  platform::for_each_text_line(bytes, [&](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

using lines = std::vector<std::string>;

TEST(SplitTextLines, LineEnds) {
  EXPECT_EQ(split("a\r\nb\r\n"), (lines{"a", "b"}));
  EXPECT_EQ(split("a\n\nb"), (lines{"a", "", "b"}));
  EXPECT_EQ(split("a\nb\n"), (lines{"a", "b"}));
  EXPECT_EQ(split(""), lines{});
  EXPECT_EQ(split("\n"), lines{""});
  EXPECT_EQ(split("\r\n\r\n"), (lines{"", ""}));
}

TEST(SplitTextLines, CarriageReturnsThatEndNoLine) {
  // Only the CR right before an LF goes with it.
  EXPECT_EQ(split("a\r\r\n"), lines{"a\r"});
  EXPECT_EQ(split("a\rb"), lines{"a\rb"});
  EXPECT_EQ(split("a\r"), lines{"a\r"});
  EXPECT_EQ(split("\r"), lines{"\r"});
}

TEST(SplitTextLines, CtrlZEndsTheInput) {
  EXPECT_EQ(split("a\nb\x1a" "c\nd\n"), (lines{"a", "b"}));
  EXPECT_EQ(split("\x1a" "a\n"), lines{});
  EXPECT_EQ(split("a\r\x1a\n"), lines{"a\r"});
}

TEST(SplitTextLines, EveryOtherBytePassesThrough) {
  std::string bytes;
  for (int c = 0; c < 256; ++c) {
    if (c != '\n' && c != 0x1a) bytes.push_back(static_cast<char>(c));
  }
  EXPECT_EQ(split(bytes + "\n" + bytes), (lines{bytes, bytes}));
}

}  // namespace
