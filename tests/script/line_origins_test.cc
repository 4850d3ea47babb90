// The source file and line of each slot of the expanded script.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

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

// Keep entries and warnings hold views of the names: adding files must not
// move a name, short ones (kept inside the string) included.
TEST(LineOrigins, ANameStaysInPlaceAsFilesAreAdded) {
  line_origins origins;
  origins.start_run(1, origins.add_file("main.au3"), 1);
  const std::string_view name = origins.of(1).file;
  for (int i = 0; i < 1000; ++i) origins.add_file("inc" + std::to_string(i) + ".au3");
  EXPECT_EQ(origins.of(1).file.data(), name.data());
  EXPECT_EQ(name, "main.au3");
}

}  // namespace
