// Include expansion on files on disk: the spliced table, the console lines,
// the include list and the warnings.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "passes/include/expansion_run.h"
#include "support/temp_folder.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

using lines_t = std::vector<std::string>;

using SearchIncludes = include_folder_test;

TEST_F(SearchIncludes, NestedIncludesExpandDepthFirstInTextOrder) {
  folder.write("a.au3", "#include <b.au3>\na2\n#include <c.au3>\n");
  folder.write("b.au3", "#include <c.au3>\nb2\n");
  folder.write("c.au3", "c1\n");
  folder.write("d.au3", "d1\n");
  expansion_run run = expand({"#include <a.au3>", "#include <d.au3>", "m"}, root, "unused");
  EXPECT_EQ(run.lines, (lines_t{"", "", "", "c1", "", "b2", "", "a2", "", "", "", "d1", "", "m"}));
  // Each "finished" comes right after its read, before the nested directives.
  EXPECT_EQ(run.out, taken_up("A.AU3", in("A.AU3")) + taken_up("B.AU3", in("B.AU3")) +
                         taken_up("C.AU3", in("C.AU3")) + already_listed("C.AU3", in("C.AU3")) +
                         taken_up("D.AU3", in("D.AU3")));
  EXPECT_EQ(run.included_files, (lines_t{in("A.AU3"), in("B.AU3"), in("C.AU3"), in("D.AU3")}));
}

TEST_F(SearchIncludes, MainLinesAfterIncludesComeThroughInOrder) {
  // The expansion is written over the table that holds the main script:
  // the lines an included file pushes ahead of the reading wait their turn.
  folder.write("big.au3", "b1\nb2\nb3\nb4\nb5\n");
  folder.write("small.au3", "#include <tiny.au3>\ns1\n");
  folder.write("tiny.au3", "t1\n");
  expansion_run run = expand({"m1", "#include <big.au3>", "m3", "; m4", "#include <small.au3>",
                              "m6", "m7", "#include <big.au3>", "m9"},
                             root, "unused");
  EXPECT_EQ(run.lines, (lines_t{"m1", "", "b1", "b2", "b3", "b4", "b5", "", "m3", "; m4", "",
                                "", "t1", "", "s1", "", "m6", "m7", "", "m9"}));
}

TEST_F(SearchIncludes, NotesTheCommentLinesOfTheExpandedScript) {
  // The slots of lines that begin with ";", included ones too, for the keep
  // pragmas; a ";" later in a line does not count.
  folder.write("lib.au3", "  ; from lib\nx ; not this\n");
  autoitsourcefile script("");
  expansion_run run = expand(script, {"; first", "#include <lib.au3>", "\t;last"}, root, root);
  EXPECT_EQ(run.lines, (lines_t{"; first", "", "  ; from lib", "x ; not this", "", "\t;last"}));
  EXPECT_EQ(script.comment_lines, (std::vector<int32_t>{1, 3, 6}));
  // A script without includes is walked once all the same.
  expand(script, {"a", ";b"}, root, root);
  EXPECT_EQ(script.comment_lines, (std::vector<int32_t>{2}));
}

TEST_F(SearchIncludes, DuplicatePathsByCaseBlanksAndFolderString) {
  folder.write("mylib.au3", "lib\n");
  expansion_run run =
      expand({"#include \"My Lib.au3\"", "#INCLUDE\t\"m y l i b . A U 3\"", "#include <mylib.au3>"},
             root, root);
  EXPECT_EQ(run.lines, (lines_t{"", "lib", "", "", ""}));
  EXPECT_EQ(run.out, taken_up("MYLIB.AU3", in("MYLIB.AU3")) +
                         already_listed("MYLIB.AU3", in("MYLIB.AU3")) +
                         already_listed("MYLIB.AU3", in("MYLIB.AU3")));
  // The same folder written another way is another path to the same file:
  // spliced once, the second directive reported with its own path.
  expansion_run other = expand({"#include <mylib.au3>", "#include \"mylib.au3\""}, root + "/", root);
  EXPECT_EQ(other.lines, (lines_t{"", "lib", "", ""}));
  EXPECT_EQ(other.included_files, (lines_t{root + "/\\MYLIB.AU3"}));
  EXPECT_EQ(other.out, taken_up("MYLIB.AU3", root + "/\\MYLIB.AU3") +
                           already_listed("MYLIB.AU3", in("MYLIB.AU3")));
}

TEST_F(SearchIncludes, MainScriptIsNotListedAndEveryRunStartsAfresh) {
  folder.write("main.au3", "x\n#include \"main.au3\"\n");
  autoitsourcefile script("");
  expand(script, {"#include \"main.au3\""}, "unused", root);
  expansion_run again = expand(script, {"x", "#include \"main.au3\""}, "unused", root);
  EXPECT_EQ(again.lines, (lines_t{"x", "", "x", "", ""}));
  EXPECT_EQ(again.included_files, (lines_t{in("MAIN.AU3")}));
}

TEST_F(SearchIncludes, UnopenableFilesGrowTheTableByOneWarnAndStayListed) {
  folder.write("empty.au3", "");
  lines_t input = {"#include \"nope.au3\"", "#include \"NOPE.AU3\"", "#include \"\"",
                   "#include \"empty.au3\""};
  expansion_run run = expand(input, "unused", root);
  EXPECT_EQ(run.lines, lines_t(7, ""));
  EXPECT_EQ(run.out, taken_up("NOPE.AU3", in("NOPE.AU3")) +
                         already_listed("NOPE.AU3", in("NOPE.AU3")) + taken_up("", in("")) +
                         taken_up("EMPTY.AU3", in("EMPTY.AU3")));
  // An empty file is no failure.
  EXPECT_EQ(warned_paths(run.err), (lines_t{cannot_open(in("NOPE.AU3")), cannot_open(in(""))}));
}

#ifndef _WIN32
TEST_F(SearchIncludes, FifoWithoutWriterNeitherBlocksNorReads) {
  ASSERT_EQ(mkfifo((root + "/pipe.au3").c_str(), 0600), 0);
  expansion_run run = expand({"#include <pipe.au3>"}, root, "unused");
  EXPECT_EQ(run.lines, (lines_t{"", ""}));
  EXPECT_EQ(warned_paths(run.err), (lines_t{cannot_open(in("PIPE.AU3"))}));
}
#endif

TEST_F(SearchIncludes, DeepNestingGrowsTheTablesWithoutTheCallStack) {
  constexpr int depth = 2000;
  for (int i = 0; i < depth; ++i) {
    std::string text = std::string("l").append(std::to_string(i)).append("\n");
    if (i + 1 < depth) {
      text.append("#include \"f").append(std::to_string(i + 1)).append(".au3\"\n");
    }
    folder.write(std::string("f").append(std::to_string(i)).append(".au3"), text);
  }
  folder.write("f1999.au3", "l1999\n" + std::string(30000, '\n'));
  autoitsourcefile script("");
  expansion_run run = expand(script, {"#include \"f0.au3\"", "end"}, "unused", root);
  // Per file its line and an emptied directive, then one empty line per file.
  ASSERT_EQ(script.line_count, 1 + 2 * depth - 1 + 30000 + depth + 1);
  EXPECT_EQ(run.lines[2 * depth - 1], "l1999");
  EXPECT_EQ(run.lines.back(), "end");
  EXPECT_EQ(run.include_count, depth);
}

// "#include-once" is emptied wherever it stands: as the main script's very
// first line, before and after the first included file, and in that file.
TEST_F(SearchIncludes, IncludeOnceEmptiedAlsoAsTheFirstLine) {
  EXPECT_EQ(expand({"#include-once", "m"}, root, root).lines, (lines_t{"", "m"}));
  folder.write("c.au3", "#include-once\nc1\n");
  expansion_run run = expand({"#include-once", "#include <c.au3>", "#include-once", "m"}, root, root);
  EXPECT_EQ(run.lines, (lines_t{"", "", "", "c1", "", "", "m"}));
}

}  // namespace
