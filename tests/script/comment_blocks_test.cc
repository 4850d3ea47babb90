// The block rule that the comment pass and the include pass share.
#include "script/comment_blocks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using comment_blocks::line_fate;

// The fate of each line, in order, with how much an opening line keeps.
std::vector<std::string> fates(const std::vector<std::string>& lines) {
  comment_blocks::walker blocks;
  std::vector<std::string> out;
  for (const std::string& line : lines) {
    size_t keep = 0;
    switch (blocks.next(comment_blocks::marks_of(line), &keep)) {
      case line_fate::kept: out.push_back("kept"); break;
      case line_fate::opens: out.push_back("opens:" + line.substr(0, keep)); break;
      case line_fate::emptied: out.push_back("emptied"); break;
    }
  }
  return out;
}

TEST(CommentBlocks, MarksFollowTheLineComment) {
  // An opener behind ";" opens nothing; a closer counts wherever it stands.
  EXPECT_EQ(comment_blocks::marks_of("x ; #cs").opens_cs, comment_blocks::npos);
  EXPECT_EQ(comment_blocks::marks_of("x = '; not' #cs").opens_cs, 12u);
  EXPECT_TRUE(comment_blocks::marks_of("; #ce").closes_cs);
  EXPECT_TRUE(comment_blocks::marks_of("x #comments-end").closes_comments);
  EXPECT_FALSE(comment_blocks::marks_of("#CS").any());
}

TEST(CommentBlocks, KindsDoNotCloseEachOtherAndNothingNests) {
  EXPECT_EQ(fates({"a #cs", "#comments-end", "#cs", "#ce x", "#ce", "b"}),
            (std::vector<std::string>{"opens:a ", "emptied", "emptied", "emptied", "kept", "kept"}));
  // The opening line is not searched for its closer.
  EXPECT_EQ(fates({"#comments-start #comments-end", "x", "#comments-end", "y"}),
            (std::vector<std::string>{"opens:", "emptied", "emptied", "kept"}));
}

TEST(CommentBlocks, CommentsStartBeforeCsOpensWhenTheCsBlockEnds) {
  // The line that closes "#cs" does not close the waiting block, even when
  // it holds its closer.
  EXPECT_EQ(fates({"k #comments-start #cs", "#ce #comments-end", "x", "#comments-end", "y"}),
            (std::vector<std::string>{"opens:k ", "emptied", "emptied", "emptied", "kept"}));
  // After the "#cs" the other opener is cut away with it.
  EXPECT_EQ(fates({"#cs #comments-start", "#ce", "y"}),
            (std::vector<std::string>{"opens:", "emptied", "kept"}));
}

}  // namespace
