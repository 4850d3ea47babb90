// Tests of splitting text into lines the way the Windows runtime reads it.
#include <gtest/gtest.h>

#include <random>
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

// The rule, one byte at a time.
std::vector<std::string> split_by_hand(const std::string& bytes) {
  std::vector<std::string> lines;
  std::string line;
  bool open = false;
  for (char c : bytes) {
    if (c == '\x1a') break;
    if (c == '\n') {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
      line.clear();
      open = false;
    } else {
      line += c;
      open = true;
    }
  }
  if (open) lines.push_back(line);
  return lines;
}

TEST(SplitTextLines, LongTextsAgreeWithTheRuleWhereverTheMarksFall) {
  // Lengths past several blocks of 64 bytes, so that line ends and the end
  // mark fall at every place in a block, in the steps of eight and in the
  // last bytes.
  std::mt19937 random(2024);
  const std::string marks = "\n\n\n\r\x1a";
  for (int round = 0; round < 3000; ++round) {
    std::string bytes(random() % 300, 'x');
    for (char& c : bytes) {
      const unsigned pick = random() % 100;
      if (pick < 8) c = marks[pick % 4];
      if (pick == 8 && random() % 8 == 0) c = '\x1a';
    }
    const std::vector<std::string> lines = split_by_hand(bytes);
    EXPECT_EQ(split(bytes), lines) << round;
    // The bound the table is sized by: the lines found, or one more.
    bool end_mark = false;
    const size_t bound = platform::text_line_bound(bytes, &end_mark);
    EXPECT_TRUE(bound == lines.size() || bound == lines.size() + 1) << round;
    EXPECT_EQ(end_mark, bytes.find('\x1a') != std::string::npos) << round;
  }
}

}  // namespace
