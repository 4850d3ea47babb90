// Tests of the list of deleted names and their lines.
#include "script/names_at_run_time.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// What goes in comes back, name by name, whether names share their line or
// not: a line is told apart by its slot and by its text, since a slot's
// text may differ between two deletions.
TEST(DeletedVariables, EachNameReadBackWithItsOwnLine) {
  const std::string text = "Local $a, $b\nLocal $c\nLocal $c, $d";
  const std::string_view all(text);
  const std::string_view first = all.substr(0, 12);
  const std::string_view second = all.substr(13, 8);
  const std::string_view third = all.substr(22);
  const std::vector<deleted_name> in = {{first.substr(6, 2), first, 4},
                                        {first.substr(10, 2), first, 4},
                                        {second.substr(6, 2), second, 7},
                                        {third.substr(6, 2), third, 7},
                                        {third.substr(10, 2), first, 7}};
  deleted_variables deleted;
  EXPECT_TRUE(deleted.empty());
  deleted.reserve(in.size());
  for (const deleted_name& name : in) deleted.push_back(name);
  ASSERT_EQ(deleted.size(), in.size());
  for (size_t i = 0; i < in.size(); ++i) {
    const deleted_name out = deleted[i];
    EXPECT_EQ(out.name.data(), in[i].name.data()) << i;
    EXPECT_EQ(out.name, in[i].name) << i;
    EXPECT_EQ(out.line.data(), in[i].line.data()) << i;
    EXPECT_EQ(out.line.size(), in[i].line.size()) << i;
    EXPECT_EQ(out.slot, in[i].slot) << i;
  }
}

// Lines noted first, names added later on them by number, as a pass that
// lists its names late does.
TEST(DeletedVariables, NamesAddedLaterOnLinesNotedFirst) {
  const std::string text = "Local $a, $b\nLocal $c";
  const std::string_view first = std::string_view(text).substr(0, 12);
  const std::string_view second = std::string_view(text).substr(13);
  deleted_variables deleted;
  deleted.push_back({second.substr(6, 2), second, 9});  // an earlier pass's
  const size_t from = deleted.line_count();
  deleted.reserve_lines(2);
  EXPECT_EQ(deleted.add_line(first, 3), from);
  EXPECT_EQ(deleted.add_line(second, 5), from + 1);
  deleted.push_back_on_line(first.substr(6, 2), from);
  deleted.push_back_on_line(second.substr(6, 2), from + 1);
  deleted.push_back_on_line(first.substr(10, 2), from);
  ASSERT_EQ(deleted.size(), 4u);
  EXPECT_EQ(deleted[0].slot, 9);
  EXPECT_EQ(deleted[1].name, "$a");
  EXPECT_EQ(deleted[1].line.data(), first.data());
  EXPECT_EQ(deleted[1].slot, 3);
  EXPECT_EQ(deleted[2].name, "$c");
  EXPECT_EQ(deleted[2].line.data(), second.data());
  EXPECT_EQ(deleted[2].slot, 5);
  EXPECT_EQ(deleted[3].name, "$b");
  EXPECT_EQ(deleted[3].line.size(), first.size());
  EXPECT_EQ(deleted[3].slot, 3);
}

}  // namespace
