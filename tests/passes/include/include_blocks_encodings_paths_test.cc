// Include expansion where the comment pass, the file's encoding or the form
// of the name matter: directives in comment blocks, UTF-16 files and whole
// paths.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "passes/include/expansion_run.h"
#include "support/script_builder.h"

namespace {

using lines_t = std::vector<std::string>;

using IncludeInCommentBlock = include_folder_test;

TEST_F(IncludeInCommentBlock, DirectiveInABlockIsALineOfIt) {
  folder.write("lib.au3", "Func Hello()\nEndFunc\n");
  expansion_run run = expand({"#cs", "#include \"lib.au3\"", "#include-once", "#ce",
                              "#include \"lib.au3\"", "Hello()"},
                             root, root);
  // Neither listed nor counted: the real directive further down reads the file.
  EXPECT_EQ(run.lines, (lines_t{"#cs", "#include \"lib.au3\"", "#include-once", "#ce", "",
                                "Func Hello()", "EndFunc", "", "Hello()"}));
  EXPECT_EQ(run.out, taken_up("LIB.AU3", in("LIB.AU3")));
  EXPECT_EQ(run.include_count, 1);
}

TEST_F(IncludeInCommentBlock, BlocksFollowTheCommentPassRule) {
  folder.write("a.au3", "a\n");
  folder.write("b.au3", "b\n");
  // "#ce" closes "#comments-start"; markers in any case nest; a marker
  // behind ";" or after other text opens nothing.
  expansion_run run = expand({"#comments-start", "#ce", "#include <a.au3>", "#CS Columns",
                              "\t#cs", "#ce", "#include <b.au3>", "#COMMENTS-END", "x ; #cs",
                              "y = 1 #cs", "#include <b.au3>"},
                             root, root);
  EXPECT_EQ(run.lines, (lines_t{"#comments-start", "#ce", "", "a", "", "#CS Columns", "\t#cs",
                                "#ce", "#include <b.au3>", "#COMMENTS-END", "x ; #cs",
                                "y = 1 #cs", "", "b", ""}));
  EXPECT_EQ(run.include_count, 2);
}

TEST_F(IncludeInCommentBlock, IncludedFilesBlocksCountAndAnOpenOneRunsOn) {
  // Its own block hides its directive; a block it leaves open goes on into
  // the lines after its directive, as the comment pass sees the expanded
  // script.
  folder.write("open.au3", "#cs\n#include <b.au3>\n#ce\n#cs\n");
  folder.write("b.au3", "b\n");
  expansion_run run =
      expand({"#include <open.au3>", "#include <b.au3>", "#ce", "#include <b.au3>"}, root, root);
  EXPECT_EQ(run.lines, (lines_t{"", "#cs", "#include <b.au3>", "#ce", "#cs", "", "#include <b.au3>",
                                "#ce", "", "b", ""}));
  EXPECT_EQ(run.include_count, 2);
}

TEST_F(IncludeInCommentBlock, MarkerAfterADirectiveGoesWithItsLine) {
  // A marker behind a directive is not its line's first text: it opens nothing.
  folder.write("a.au3", "a\n");
  folder.write("b.au3", "b\n");
  expansion_run run = expand({"#include <a.au3> #cs", "#include <b.au3>"}, root, root);
  EXPECT_EQ(run.lines, (lines_t{"", "a", "", "", "b", ""}));
}

using IncludeEncoding = include_folder_test;

TEST_F(IncludeEncoding, Utf16FilesAreSplicedAsUtf8) {
  folder.write("le.au3", std::string("\xFF\xFE" "a\0\xE9\0\r\0\n\0", 10));
  folder.write("be.au3", std::string("\xFE\xFF\0b\0\n", 6));
  folder.write("u8.au3", "\xEF\xBB\xBF" "#include <be.au3>\nc\n");
  autoitsourcefile script("");
  expansion_run run = expand(script, {"#include <le.au3>", "#include <u8.au3>"}, root, root);
  EXPECT_TRUE(run.ok);
  // The UTF-8 mark goes, so the directive after it is one.
  EXPECT_EQ(run.lines, (lines_t{"", "a\xC3\xA9", "", "", "", "b", "", "c", ""}));
  EXPECT_TRUE(script.utf8_mark);

  // A UTF-8 mark in an include alone does not mark the output.
  folder.write("u8only.au3", "\xEF\xBB\xBF" "d\n");
  autoitsourcefile marked_include("");
  expand(marked_include, {"#include <u8only.au3>"}, root, root);
  EXPECT_FALSE(marked_include.utf8_mark);
}

TEST_F(IncludeEncoding, InvalidUtf16StopsTheRunNamingFileAndOffset) {
  folder.write("odd.au3", std::string("\xFF\xFE" "a\0b", 5));
  autoitsourcefile script((root + "/main.au3").c_str());
  expansion_run run = expand(script, {"x", "#include <odd.au3>", "y"}, root, root);
  EXPECT_FALSE(run.ok);
  EXPECT_NE(run.error.find("main.au3:2: cannot read include file '"), std::string::npos) << run.error;
  // The path the file was opened by, which has the letter case on disk.
  EXPECT_TRUE(run.error.ends_with("odd.au3': not valid UTF-16 at byte offset 4: odd number of bytes") ||
              run.error.ends_with("ODD.AU3': not valid UTF-16 at byte offset 4: odd number of bytes"))
      << run.error;
}

using IncludeWholePath = include_folder_test;

TEST_F(IncludeWholePath, IsTriedAsItStandsFirst) {
  // Blanks in the name would be lost in the built path; the name as written
  // opens it, wherever the include folders are.
  folder.write("far away/Lib File.au3", "far\n");
  expansion_run run = expand({"#include \"" + root + "/far away/Lib File.au3\""}, "q", "q");
  EXPECT_EQ(run.lines, (lines_t{"", "far", ""}));
  EXPECT_EQ(run.err, "");
}

}  // namespace

namespace {

// The include pass and the comment pass agree on every directive: on random
// scripts of block markers and directives, each directive that the include
// pass leaves as a line is one that the comment pass then removes with its
// block, and each one it splices stands where the comment pass keeps lines.
TEST(IncludeAndCommentPass, AgreeOnWhichDirectivesAreInBlocks) {
  const std::vector<std::string> pieces = {
      "#cs", "#ce", "#comments-start", "#comments-end", "x #cs", "; #cs", "y ; #ce",
      "#comments-start #cs", "#cs #comments-start", "#ce #comments-end", "'#cs;' #cs",
      "code", "#include <@.au3>", "#include \"@.au3\"", "#include <@.au3> #cs"};
  std::mt19937 random(21);
  for (int round = 0; round < 1000; ++round) {
    std::vector<std::string> script;
    const int length = 1 + static_cast<int>(random() % 14);
    for (int i = 0; i < length; ++i) {
      // Each directive names a file of its own, which is missing: a spliced
      // one leaves two empty lines.
      std::string line = pieces[random() % pieces.size()];
      if (const size_t at = line.find('@'); at != std::string::npos) {
        std::string named = line.substr(0, at);
        named.append("f").append(std::to_string(i)).append(line, at + 1);
        line = std::move(named);
      }
      script.push_back(line);
    }
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    autoitsourcefile expanded("");
    load_lines(expanded, script);
    std::string err;
    ASSERT_TRUE(expanded.search_includes_and_add_to_lines("missing", "missing", &err));
    // The comment pass must keep a line that stands where one was spliced.
    std::vector<std::string> lines = current_lines(expanded);
    std::vector<std::string> marked;
    for (size_t i = 0; i < lines.size(); ++i) {
      if (lines[i].empty()) {
        marked.push_back("KEPT");
        ++i;
      } else {
        marked.push_back(lines[i]);
      }
    }
    autoitsourcefile commented("");
    load_lines(commented, marked);
    commented.remove_comments();
    testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();
    const std::vector<std::string> after = current_lines(commented);
    std::string shown;
    for (const std::string& line : script) shown += line + "\n";
    for (size_t i = 0; i < after.size(); ++i) {
      EXPECT_EQ(after[i].find("#include"), std::string::npos) << shown;
      if (marked[i] == "KEPT") {
        EXPECT_EQ(after[i], "KEPT") << shown;
      }
    }
  }
}

}  // namespace
