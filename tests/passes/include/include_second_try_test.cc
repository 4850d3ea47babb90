// Files whose names hold blanks, and quoted names followed by a comment: read
// by a second try with the name as written, while everything printed and
// listed keeps the blank-free name.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "passes/include/expansion_run.h"
#include "support/temp_folder.h"

namespace {

using lines_t = std::vector<std::string>;

using IncludeSecondTry = include_folder_test;

TEST_F(IncludeSecondTry, BlankFreeNameFirstThenTheNameAsWritten) {
  folder.write("My Lib.au3", "with blank\n");
  folder.write("MyLib.au3", "without\n");
  folder.write("Our Lib.au3", "ours\n");
  lines_t input = {"#include \"My Lib.au3\"", "#include <  Our Lib.au3\t>"};
#ifndef _WIN32  // Windows allows no tab in a file name
  folder.write("tab\tbed.au3", "tabbed\n");
  input.push_back("#include <tab\tbed.au3>");
#endif
  expansion_run run = expand(input, root, root);
  lines_t expected = {"", "without", "", "", "ours", ""};
#ifndef _WIN32
  expected.insert(expected.end(), {"", "tabbed", ""});
#endif
  EXPECT_EQ(run.lines, expected);
  EXPECT_EQ(run.err, "");
  ASSERT_EQ(run.included_files.size(), input.size());
  EXPECT_EQ(run.included_files[1], in("OURLIB.AU3"));
}

TEST_F(IncludeSecondTry, CommentAfterQuotedNameKeepsThePathAsBuilt) {
  folder.write("x.au3", "x1\n");
  expansion_run run = expand({"#include \"x.au3\" ; c", "#include \"x.au3\""}, "unused", root);
  // Listed as built; the plain directive names the same file, spliced once.
  EXPECT_EQ(run.lines, (lines_t{"", "x1", "", ""}));
  EXPECT_EQ(run.out, taken_up("X.AU3\";", in("X.AU3\";")) + already_listed("X.AU3", in("X.AU3")));
  EXPECT_EQ(run.included_files, (lines_t{in("X.AU3\";")}));
}

TEST_F(IncludeSecondTry, NoFileEitherWayWarnsWithThePathAsBuilt) {
  folder.write("a b.au3", "ab\n");
  expansion_run run = expand(
      {"#include \"no such.au3\" ; c", "#include 'no such.au3' ; c", "#include <a b.au3"}, root,
      root);
  EXPECT_EQ(run.lines, lines_t(6, ""));
  EXPECT_EQ(warned_paths(run.err),
            (lines_t{cannot_open(in("NOSUCH.AU3\";")), cannot_open(in("NOSUCH.AU3';")),
                     cannot_open(in("AB.AU3"))}));
}

}  // namespace
