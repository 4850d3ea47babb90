// Tests of line map entries: every path reads back as written.
#include <gtest/gtest.h>

#include <string>

#include "report/map_entry.h"

namespace {

// A map line as the map writes it for `path`, read back.
TEST(MapEntry, EveryPathReadsBackAsWritten) {
  const std::string paths[] = {"in.au3", "C:\\lib\\x.au3", "a:b/in.au3", "line\nfeed.au3",
                               "carriage\rreturn.au3", "\"quoted\".au3", "back\\slash\n\"both\""};
  for (const std::string& path : paths) {
    const std::string entry = map_file_field(path) + "42";
    EXPECT_EQ(entry.find_first_of("\r\n"), std::string::npos) << entry;
    std::string file;
    int64_t line = 0;
    ASSERT_TRUE(read_map_entry(entry, &file, &line)) << entry;
    EXPECT_EQ(file, path);
    EXPECT_EQ(line, 42);
  }
}

TEST(MapEntry, PlainPathsStandAsTheyAre) {
  EXPECT_EQ(map_file_field("C:\\lib\\x.au3"), "C:\\lib\\x.au3:");
  EXPECT_EQ(map_file_field("a\nb"), "\"a\\nb\":");
}

TEST(MapEntry, BrokenEntriesAreNoEntries) {
  std::string file;
  int64_t line = 0;
  for (const char* entry : {"", ":3", "in.au3", "in.au3:", "in.au3:x", "in.au3:0", "\"a:3",
                            "\"a\\q\":3", "\"a\"b:3"}) {
    EXPECT_FALSE(read_map_entry(entry, &file, &line)) << entry;
  }
}

}  // namespace
