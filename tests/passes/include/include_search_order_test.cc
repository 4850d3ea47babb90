// Where include files are looked for when the built path names no file, and
// which source file and line every expanded line came from.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "passes/include/expansion_run.h"

namespace {

using lines_t = std::vector<std::string>;

using IncludeSearchOrder = include_folder_test;

TEST_F(IncludeSearchOrder, BuiltPathThenBesideTheIncludingFileThenTheOtherFolder) {
  folder.write("q/both.au3", "q both\n");
  folder.write("src/both.au3", "beside both\n");
  folder.write("src/Two Words.au3", "as written\n");
  folder.write("src/TWOWORDS.AU3", "as built\n");
  folder.write("a/other.au3", "other folder\n");
  folder.write("src/other.au3", "beside other\n");
  folder.write("a/angle.au3", "angle folder\n");
  autoitsourcefile script((root + "/src/main.au3").c_str());
  expansion_run run = expand(script,
                             {"#include \"both.au3\"", "#include \"two words.au3\"",
                              "#include \"other.au3\"", "#include \"angle.au3\""},
                             root + "/a", root + "/q");
  EXPECT_EQ(run.lines, (lines_t{"", "q both", "", "", "as written", "", "", "beside other", "",
                                "", "angle folder", ""}));
  EXPECT_EQ(run.err, "");
  // Listed and printed by the path as built, wherever the file was found.
  ASSERT_EQ(run.included_files.size(), 4u);
  EXPECT_EQ(run.included_files[3], root + "/q\\ANGLE.AU3");
}

// The other folder is searched for both spellings too: the built name when
// the name as written has blanks, and the name as written.
TEST_F(IncludeSearchOrder, TheOtherFolderTakesTheBuiltNameAndTheNameAsWritten) {
  folder.make_folder("q");
  folder.write("a/MyLib.au3", "built name\n");
  folder.write("a/Our Lib.au3", "as written\n");
  autoitsourcefile script((root + "/src/main.au3").c_str());
  expansion_run run = expand(script, {"#include \"My Lib.au3\"", "#include \"Our Lib.au3\""},
                             root + "/a", root + "/q");
  EXPECT_EQ(run.lines, (lines_t{"", "built name", "", "", "as written", ""}));
  EXPECT_EQ(run.err, "");
}

TEST_F(IncludeSearchOrder, NestedFilesLookBesideThemselvesAndKeepTheirSourceLines) {
  folder.write("lib/ui/form.au3", "f1\n#include \"..\\core\\base.au3\"\nf3\n");
  folder.write("lib/core/base.au3", "b1\nb2\n");
  autoitsourcefile script((root + "/main.au3").c_str());
  expansion_run run =
      expand(script, {"m1", "#include \"lib\\ui\\form.au3\"", "m3"}, "nowhere", root);
  ASSERT_EQ(run.lines,
            (lines_t{"m1", "", "f1", "", "b1", "b2", "", "f3", "", "m3"}));
  const auto source = [&](size_t slot) {
    line_origin where = script.origins.of(slot);
    return std::string(where.file) + ":" + std::to_string(where.line);
  };
  const std::string main = root + "/main.au3";
#ifdef _WIN32
  const std::string form = root + "\\LIB\\UI\\FORM.AU3";
  const std::string base = root + "\\LIB\\UI\\..\\CORE\\BASE.AU3";
#else
  const std::string form = root + "/lib/ui/form.au3";
  const std::string base = root + "/lib/ui/../core/base.au3";
#endif
  EXPECT_EQ(source(1), main + ":1");
  EXPECT_EQ(source(3), form + ":1");
  EXPECT_EQ(source(6), base + ":2");
  EXPECT_EQ(source(8), form + ":3");
  EXPECT_EQ(source(10), main + ":3");
}

TEST_F(IncludeSearchOrder, AMissingFileIsWarnedAtItsDirective) {
  folder.write("inc/a.au3", "a1\n#include <gone.au3>\n");
  autoitsourcefile script("main.au3");
  expansion_run run = expand(script, {"#include <a.au3>", "x", "#include <gone.au3>"},
                             root + "/inc", "q");
  // The file as it was opened; its folder is the angle folder, searched once.
#ifdef _WIN32
  const std::string a = root + "/inc\\A.AU3";
#else
  const std::string a = root + "/inc/a.au3";
#endif
  EXPECT_EQ(run.err, "warning: " + a + ":2: cannot open include file 'gone.au3' (looked for '" +
                         platform::shown_path(root + "/inc\\GONE.AU3") + "', also in 'q') [include-missing]\n");
  EXPECT_EQ(run.included_files.size(), 2u);
}

}  // namespace
