// The block rule that the comment pass and the include pass share.
#include "script/comment_blocks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using comment_blocks::marker;

// Per line, in order: "-" for a line that goes with a block, else the line.
std::vector<std::string> kept(const std::vector<std::string>& lines) {
  comment_blocks::walker blocks;
  std::vector<std::string> out;
  for (const std::string& line : lines) {
    out.push_back(blocks.in_block(comment_blocks::marker_of(line)) ? "-" : line);
  }
  return out;
}

TEST(CommentBlocks, MarkerIsTheLinesFirstTextInAnyCase) {
  EXPECT_EQ(comment_blocks::marker_of("#CS Columns"), marker::opens);
  EXPECT_EQ(comment_blocks::marker_of("\t #Comments-Start"), marker::opens);
  EXPECT_EQ(comment_blocks::marker_of("\t#ce ; end"), marker::closes);
  EXPECT_EQ(comment_blocks::marker_of("#cE;x"), marker::closes);
  EXPECT_EQ(comment_blocks::marker_of("#COMMENTS-END(old)"), marker::closes);
  // Not a marker: a longer word, text before it, or a string.
  EXPECT_EQ(comment_blocks::marker_of("#csv"), marker::none);
  EXPECT_EQ(comment_blocks::marker_of("#cs-x"), marker::none);
  EXPECT_EQ(comment_blocks::marker_of("#ce_1"), marker::none);
  EXPECT_EQ(comment_blocks::marker_of("#comments-startx"), marker::none);
  EXPECT_EQ(comment_blocks::marker_of("x() #cs"), marker::none);
  EXPECT_EQ(comment_blocks::marker_of("$s = \"#cs\""), marker::none);
  EXPECT_EQ(comment_blocks::marker_of("; #cs"), marker::none);
  EXPECT_EQ(comment_blocks::marker_of("#c"), marker::none);
  EXPECT_EQ(comment_blocks::marker_of(""), marker::none);
}

TEST(CommentBlocks, SpellingsCloseEachOtherAndBlocksNest) {
  EXPECT_EQ(kept({"a", "#cs", "#COMMENTS-START", "#Cs x", "#ce", "b", "#comments-end", "c",
                  "#CE", "d", "#ce", "e"}),
            (std::vector<std::string>{"a", "-", "-", "-", "-", "-", "-", "-", "-", "d", "#ce",
                                      "e"}));
}

TEST(CommentBlocks, OpenBlockRunsToTheEnd) {
  EXPECT_EQ(kept({"#cs", "#cs", "#ce", "x"}), (std::vector<std::string>{"-", "-", "-", "-"}));
}

}  // namespace
