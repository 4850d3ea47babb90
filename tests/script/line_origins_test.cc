// The source file and line of each slot of the expanded script.
#include <gtest/gtest.h>

#include "script/line_origins.h"

namespace {

TEST(LineOrigins, RunsCountLinesOnFromTheirStart) {
  line_origins origins;
  EXPECT_EQ(origins.of(1).file, "");
  const uint32_t main = origins.add_file("main.au3");
  const uint32_t lib = origins.add_file("inc/lib.au3");
  origins.start_run(1, main, 1);
  origins.start_run(4, lib, 1);
  origins.start_run(9, main, 4);
  EXPECT_EQ(origins.of(3).file, "main.au3");
  EXPECT_EQ(origins.of(3).line, 3);
  EXPECT_EQ(origins.of(4).file, "inc/lib.au3");
  EXPECT_EQ(origins.of(8).line, 5);
  EXPECT_EQ(origins.of(9).file, "main.au3");
  EXPECT_EQ(origins.of(1000).line, 995);
}

TEST(LineOrigins, ARunThatCoversNothingIsReplaced) {
  line_origins origins;
  const uint32_t main = origins.add_file("main.au3");
  const uint32_t empty = origins.add_file("empty.au3");
  origins.start_run(1, main, 1);
  origins.start_run(3, empty, 1);
  origins.start_run(3, main, 3);
  EXPECT_EQ(origins.of(3).file, "main.au3");
  EXPECT_EQ(origins.of(3).line, 3);
}

}  // namespace
