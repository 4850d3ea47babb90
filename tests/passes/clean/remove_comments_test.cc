// Tests of the comment pass: line comments outside strings, and comment blocks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/script_builder.h"

namespace {

using lines_t = std::vector<std::string>;

// The pass never changes the number of lines.
lines_t without_comments(const lines_t& input) {
  int32_t count = 0;
  lines_t left = lines_after(input, [](autoitsourcefile& s) { s.remove_comments(); }, &count);
  EXPECT_EQ(count, static_cast<int32_t>(input.size()));
  return left;
}

TEST(RemoveComments, LineCommentWalk) {
  struct example {
    std::string line, kept;
  };
  const example examples[] = {
      {"; whole line", ""},
      {"x = 1 \t; note", "x = 1 \t"},
      {"no comment here  ", "no comment here  "},
      {R"(MsgBox(0, "a;b", 'c;d') ; note)", R"(MsgBox(0, "a;b", 'c;d') )"},
      {R"($s = "it's ; here" ;c)", R"($s = "it's ; here" )"},
      {R"($s = 'say "hi; there"' ; c)", R"($s = 'say "hi; there"' )"},
      {R"($s = "a "" ; b" ; c)", R"($s = "a "" ; b" )"},
      {R"($s = 'a '' ; b' ; c)", R"($s = 'a '' ; b' )"},
      {R"($s = "open ; never closed)", R"($s = "open ; never closed)"},
      {R"($s = 'open "; x)", R"($s = 'open "; x)"},
      {R"("";x)", R"("")"},
  };
  for (const example& e : examples) {
    EXPECT_EQ(without_comments({e.line}), lines_t{e.kept}) << e.line;
  }
}

TEST(RemoveComments, OpenStringDoesNotCarryToNextLine) {
  EXPECT_EQ(without_comments({R"($a = "open ; x)", "b = 2 ; c", "'", "c ; d"}),
            (lines_t{R"($a = "open ; x)", "b = 2 ", "'", "c "}));
}

TEST(RemoveComments, Blocks) {
  struct example {
    const char* what;
    lines_t input, kept;
  };
  const example examples[] = {
      {"markers after code", {"code #cs tail", "in", "x #ce after", "kept"}, {"code ", "", "", "kept"}},
      {"marker in a string", {R"(MsgBox(0, "#cs"))", "in", "#ce", "b"}, {R"(MsgBox(0, ")", "", "", "b"}},
      {"opener in a line comment", {"x ; #cs", "y"}, {"x ", "y"}},
      {"closer in a line comment", {"#cs", "a ; #ce", "b ; c"}, {"", "", "b "}},
      {"upper case is no marker", {"#CS", "a", "#ce", "#Comments-Start", "b"},
       {"#CS", "a", "#ce", "#Comments-Start", "b"}},
      {"longer words", {"#csfoo", "a", "#cement", "b"}, {"", "", "", "b"}},
      {"first close ends nesting", {"#cs", "#cs", "a", "#ce", "b", "#ce"}, {"", "", "", "", "b", "#ce"}},
      {"unclosed runs to the end", {"a", "#cs", "b", "", "c"}, {"a", "", "", "", ""}},
      {"open and close on one line", {"x #cs y #ce", "a", "#ce z", "b"}, {"x ", "", "", "b"}},
      {"opener on the last line", {"a", "b #cs c"}, {"a", "b "}},
      {"long form", {"#comments-start", "a", "#comments-end x", "b"}, {"", "", "", "b"}},
      {"kinds do not close each other",
       {"#comments-start", "#ce", "#comments-end", "#cs", "#comments-end", "#ce", "c"},
       {"", "", "", "", "", "", "c"}},
      {"both openers on one line",
       {"a #comments-start b #cs", "x #ce", "y", "#comments-end", "z"}, {"a ", "", "", "", "z"}},
      {"both openers side by side",
       {"#comments-start#cs", "a", "#ce", "b", "#comments-end", "c"}, {"", "", "", "", "", "c"}},
  };
  for (const example& e : examples) EXPECT_EQ(without_comments(e.input), e.kept) << e.what;
}

TEST(RemoveComments, UnclosedBlockOverLargeScript) {
  lines_t input(100001, "x = 1 ; #CE is no marker");
  input[0] = "#cs";
  lines_t kept(input.size(), "");
  EXPECT_EQ(without_comments(input), kept);
}

TEST(RemoveComments, ConsoleAndFlag) {
  autoitsourcefile script("");
  load_lines(script, {"a ; b"});
  EXPECT_FALSE(script.comments_removed);
  EXPECT_EQ(captured_stdout([&] { script.remove_comments(); }),
            "start: remove comments...\nfinished: remove comments\n\n");
  EXPECT_TRUE(script.comments_removed);
}

}  // namespace
