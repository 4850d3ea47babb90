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
      {"markers after code open nothing", {"code #cs tail", "in", "x #ce after", "kept"},
       {"code #cs tail", "in", "x #ce after", "kept"}},
      {"marker in a string", {R"(MsgBox(0, "#cs"))", "b"}, {R"(MsgBox(0, "#cs"))", "b"}},
      {"opener in a line comment", {"x ; #cs", "y"}, {"x ", "y"}},
      {"closer in a line comment", {"#cs", "a ; #ce", "b ; c"}, {"", "", ""}},
      {"any case, indented, text after", {"\t#CS Columns", "a", " #Ce ; end", "b"},
       {"", "", "", "b"}},
      {"longer words", {"#csfoo", "a", "#cs-x", "#cement", "b"},
       {"#csfoo", "a", "#cs-x", "#cement", "b"}},
      {"blocks nest", {"#cs", "#CS", "a", "#ce", "b", "#ce", "c"}, {"", "", "", "", "", "", "c"}},
      {"unclosed runs to the end", {"a", "#cs", "b", "", "c"}, {"a", "", "", "", ""}},
      {"closer outside a block stays", {"a", "#ce", "b"}, {"a", "#ce", "b"}},
      {"opener on the last line", {"a", "#cs c"}, {"a", ""}},
      {"long form", {"#comments-start", "a", "#comments-end x", "b"}, {"", "", "", "b"}},
      {"spellings close each other",
       {"#comments-start", "#ce", "c", "#cs", "#COMMENTS-END", "d"}, {"", "", "c", "", "", "d"}},
  };
  for (const example& e : examples) EXPECT_EQ(without_comments(e.input), e.kept) << e.what;
}

TEST(RemoveComments, UnclosedBlockOverLargeScript) {
  lines_t input(100001, "x = 1 ; #ce is no marker");
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
