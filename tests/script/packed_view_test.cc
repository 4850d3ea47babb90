// Tests of packed views of every length.
#include "script/packed_view.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

TEST(PackedViews, ViewsOfEveryLengthReadBackAsTheyWere) {
  // Lengths up to 65534 are told by the view itself, longer ones by a view
  // kept aside; an empty one still points at text.
  const std::string text(70000, 'n');
  packed_views views(2);
  views.set(1, std::string_view(text).substr(5, 65534));
  views.push_back(std::string_view(text).substr(0, 65535));
  views.push_back(text);
  views.push_back({});
  packed_views moved = std::move(views);
  ASSERT_EQ(moved.size(), 5u);
  EXPECT_EQ(moved[0], "");
  EXPECT_NE(moved[0].data(), nullptr);
  EXPECT_EQ(moved[1].data(), text.data() + 5);
  EXPECT_EQ(moved[1].size(), 65534u);
  EXPECT_EQ(moved[2].size(), 65535u);
  EXPECT_EQ(moved[3].data(), text.data());
  EXPECT_EQ(moved[3].size(), 70000u);
  EXPECT_EQ(moved[4], "");
  moved.resize(7);
  EXPECT_EQ(moved[6], "");
}

}  // namespace
