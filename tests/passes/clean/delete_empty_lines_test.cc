// Tests of dropping blank lines, on small and large scripts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/same_lines.h"
#include "support/script_builder.h"

namespace {

using lines_t = std::vector<std::string>;

lines_t compacted(const lines_t& input) {
  return lines_after(input, [](autoitsourcefile& s) { s.delete_empty_lines(); });
}

TEST(DeleteEmptyLines, Compaction) {
  EXPECT_EQ(compacted({"", "a", "", " \t ", "  b  ", "\r", "\f", std::string(1, '\0'), "c", "\t"}),
            (lines_t{"a", "  b  ", "\r", "\f", std::string(1, '\0'), "c"}));
  EXPECT_EQ(compacted({"", " ", "\t \t"}), lines_t{});
  EXPECT_EQ(compacted({"x", " y", "z "}), (lines_t{"x", " y", "z "}));
  EXPECT_EQ(compacted({}), lines_t{});
}

TEST(DeleteEmptyLines, LargeScriptKeepsOrder) {
  lines_t input, kept;
  for (int i = 0; i < 100000; ++i) {
    input.push_back(i % 3 == 0 ? std::to_string(i) : (i % 3 == 1 ? "" : " \t"));
    if (i % 3 == 0) kept.push_back(std::to_string(i));
  }
  EXPECT_TRUE(same_lines(compacted(input), kept));
}

}  // namespace
