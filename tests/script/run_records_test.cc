// The run's records: keep entries found again, names as written, origins
// walked in slot order.
#include "script/run_records.h"

#include <gtest/gtest.h>

#include <vector>

#include "script/line_origins.h"

namespace {

TEST(WrittenFunctionName, BetweenFuncAndTheParenthesis) {
  EXPECT_EQ(written_function_name("  func  _My_Name ($a)"), "_My_Name");
  EXPECT_EQ(written_function_name("Func\tNoParens"), "NoParens");
  EXPECT_EQ(written_function_name("Func"), "");
}

TEST(LineOriginsCursor, FollowsRunsInSlotOrder) {
  line_origins origins;
  const uint32_t main = origins.add_file("main.au3");
  const uint32_t lib = origins.add_file("lib.au3");
  origins.start_run(1, main, 1);
  origins.start_run(3, lib, 1);
  origins.start_run(6, main, 3);
  line_origins::cursor cursor(origins);
  uint32_t file = 9;
  int64_t line = 0;
  const struct {
    size_t slot;
    uint32_t file;
    int64_t line;
  } expected[] = {{1, main, 1}, {4, lib, 2}, {5, lib, 3}, {9, main, 6}};
  for (const auto& e : expected) {
    ASSERT_TRUE(cursor.find(e.slot, &file, &line));
    EXPECT_EQ(file, e.file);
    EXPECT_EQ(line, e.line);
  }
  EXPECT_FALSE(line_origins::cursor(origins).find(0, &file, &line));
  size_t covered = 0;
  origins.for_each_run(10, [&](size_t first, size_t end, uint32_t) { covered += end - first; });
  EXPECT_EQ(covered, 9u);
}

}  // namespace
