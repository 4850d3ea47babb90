// The minify pass on small scripts: the blank rules, the renamer's rules on
// names that must keep theirs, and the order of the short names.
#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "passes/minify/mention_list.h"
#include "passes/minify/name_census.h"
#include "passes/minify/short_names.h"
#include "passes/minify/name_index.h"
#include "script/two_threads.h"
#include "support/script_builder.h"

namespace {

using lines_t = std::vector<std::string>;

lines_t minified(const lines_t& input, bool whitespace, bool identifiers,
                 bool comments_removed = true) {
  return lines_after(input, [&](autoitsourcefile& s) {
    s.comments_removed = comments_removed;
    s.minify(whitespace, identifiers);
  });
}

TEST(MinifyWhitespace, KeepsOnlyTheBlanksThatSeparate) {
  EXPECT_EQ(minified({"  Local $a = 1 , $b = ( $a + 2 )  ", "If $x Then Return 1 And 2"}, true,
                     false),
            (lines_t{"Local $a=1,$b=($a+2)", "If $x Then Return 1 And 2"}));
  // Two tokens that would read as one operator, one number or one string.
  EXPECT_EQ(minified({"$a - -1 + +2", "$a < = $b > = $c = = $d < > $e", "$a + = 1 & = 2 * = 3 / = 4",
                      "1 .5", "'a' 'b' \"c\" \"d\" 'e' \"f\""},
                     true, false),
            (lines_t{"$a- -1+ +2", "$a< =$b> =$c= =$d< >$e", "$a+ =1& =2* =3/ =4", "1 .5",
                     "'a' 'b'\"c\" \"d\"'e'\"f\""}));
  // Strings, comments and directives keep their inner blanks.
  EXPECT_EQ(minified({"$s = \"a  ;  b\"   ;  note  here", "  #include   <x.au3>  "}, true, false),
                     (lines_t{"$s=\"a  ;  b\";  note  here", "#include   <x.au3>"}));
}

TEST(MinifyWhitespace, CommentBlockLinesLoseOnlyTheirOuterBlanks) {
  EXPECT_EQ(minified({"$a = 1", "  #cs  ", "  x  =  y  ", "#ce", "$b = 2"}, true, false, false),
            (lines_t{"$a=1", "#cs", "x  =  y", "#ce", "$b=2"}));
}

TEST(MinifyIdentifiers, MostMentionedFirstAndOneNameForEveryCase) {
  EXPECT_EQ(minified({"Local $seldom = 1, $often = 2", "$OFTEN = $Often + $often", "Foo()",
                      "Func foo()", "EndFunc"},
                     false, true),
            (lines_t{"Local $b = 1, $a = 2", "$a = $a + $a", "a()", "Func a()", "EndFunc"}));
}

TEST(MinifyIdentifiers, CountsPastAByteStillRankTheMostMentionedFirst) {
  // $x and $z both 300 times ($x met first), $y 256 times, $w once.
  lines_t input = {"Local $w = 1"};
  for (const auto& [name, times] : {std::pair{"$x", 300}, {"$y", 256}, {"$z", 300}}) {
    for (int i = 0; i < times; ++i) input.push_back(std::string(name) + " = 1");
  }
  const lines_t out = minified(input, true, true);
  EXPECT_EQ(out[0], "Local $d=1");
  EXPECT_EQ(out[1], "$a=1");
  EXPECT_EQ(out[301], "$c=1");
  EXPECT_EQ(out[557], "$b=1");
}

TEST(MinifyIdentifiers, LeavesWhatCouldBeReachedOtherwise) {
  EXPECT_EQ(minified({"$o.Item = $CmdLine[0]", "Local $sKeyName = \"sKeyName\"", "Bar()",
                      "Func Bar()", "$o.Bar()", "EndFunc", "Undeclared()"},
                     false, true),
            (lines_t{"$a.Item = $CmdLine[0]", "Local $sKeyName = \"sKeyName\"", "a()",
                     "Func a()", "$a.Bar()", "EndFunc", "Undeclared()"}));
  // A Func that bears a built-in function's name, in any case, keeps it.
  EXPECT_EQ(minified({"Func SLEEP($t)", "EndFunc", "Sleep(1)"}, false, true),
            (lines_t{"Func SLEEP($a)", "EndFunc", "Sleep(1)"}));
}

TEST(MinifyIdentifiers, NewNamesAvoidWordsInUseAndAutoItWords) {
  // "a" and "b" are in a string; "$c" stays (Eval); two-letter names skip If, In, Or, To, Do.
  lines_t input = {"$s = \"a b\" & Eval(\"c\")", "Local $c = 1"};
  for (int i = 0; i < 200; ++i) input.push_back("Local $name" + std::to_string(i) + " = " + std::to_string(i));
  const lines_t out = minified(input, false, true);
  EXPECT_EQ(out[0], "$d = \"a b\" & Eval(\"c\")");
  EXPECT_EQ(out[1], "Local $c = 1");
  for (const std::string& line : out) {
    for (const char* word : {"$a ", "$b ", "$if ", "$in ", "$or ", "$to ", "$do "}) {
      EXPECT_EQ(line.find(word), std::string::npos) << line;
    }
  }
}

TEST(MinifyIdentifiers, NameHeldAtRunTimeStopsRenames) {
  // Call($f): no function is renamed. Eval($v) in F: the globals and F's
  // own names stay; G's are renamed.
  EXPECT_EQ(minified({"Global $g = 1", "Call($g)", "Func F($p)", "Return Eval($p)", "EndFunc",
                      "Func G($q)", "Return $q", "EndFunc"},
                     false, true),
            (lines_t{"Global $g = 1", "Call($g)", "Func F($p)", "Return Eval($p)", "EndFunc",
                     "Func G($a)", "Return $a", "EndFunc"}));
}

TEST(MinifyIdentifiers, TextNoPatternHoldsIsAHeldName) {
  // "$g_" & $k names no pattern (it holds a "$"), yet Execute reads $g_sA by it.
  EXPECT_EQ(minified({"Global $g_sA = 1", "Local $k = \"sA\"", "Execute(\"$g_\" & $k)", "Func F($p)",
                      "Return $p", "EndFunc"},
                     false, true),
            (lines_t{"Global $g_sA = 1", "Local $k = \"sA\"", "Execute(\"$g_\" & $k)", "Func F($a)",
                     "Return $a", "EndFunc"}));
}

TEST(MinifyIdentifiers, SameNamesWhenHalvesRunOnTwoThreads) {
  // The halves meet at a Func header: counts, first places and the
  // function a held call stands in carry over.
  lines_t input = {"Global $g = 1"};
  for (int f = 0; f < 6; ++f) {
    const std::string n = std::to_string(f);
    input.insert(input.end(), {"Func F" + n + "($p" + n + ")", "Local $shared = $p" + n + " + $g",
                               f == 4 ? "Return Eval($p4)" : "Return F" + n + "($shared)", "EndFunc"});
  }
  const size_t saved = two_threads::minimum_lines;
  two_threads::minimum_lines = SIZE_MAX;
  const lines_t one = minified(input, true, true);
  two_threads::minimum_lines = 1;
  const lines_t two = minified(input, true, true);
  two_threads::minimum_lines = saved;
  EXPECT_EQ(one, two);
  EXPECT_EQ(two[0], "Global $g=1");        // a global, which Eval($p4) may read
  EXPECT_EQ(two[18], "Local $shared=$p4+$g");  // F4's own names stay
  EXPECT_NE(two[2], "Local $shared=$p0+$g");   // F0's are renamed
  // With comments kept, a comment block across the middle: the second
  // half follows the block down to it, and the block's lines, a Func line
  // among them, are not renamed.
  lines_t blocks = input;
  blocks.insert(blocks.begin() + 13, {"#cs", "Func Hidden($p0)", "$shared", "#ce"});
  two_threads::minimum_lines = SIZE_MAX;
  const lines_t one_kept = minified(blocks, true, true, false);
  two_threads::minimum_lines = 1;
  const lines_t two_kept = minified(blocks, true, true, false);
  two_threads::minimum_lines = saved;
  EXPECT_EQ(one_kept, two_kept);
  EXPECT_EQ(two_kept[14], "Func Hidden($p0)");
  EXPECT_EQ(two_kept[15], "$shared");
}

TEST(MinifyNames, ShortNamesInOrder) {
  EXPECT_EQ(minify::nth_short_name(0), "a");
  EXPECT_EQ(minify::nth_short_name(25), "z");
  EXPECT_EQ(minify::nth_short_name(26), "aa");
  EXPECT_EQ(minify::nth_short_name(26 + 36), "a_");
  EXPECT_EQ(minify::nth_short_name(26 + 37), "ba");
  EXPECT_EQ(minify::nth_short_name(26 + 26 * 37), "aaa");
}

TEST(MinifyNames, ShortNameNumbersLeadBackToTheirNames) {
  EXPECT_EQ(minify::short_name_number("a", 100), 0u);
  EXPECT_EQ(minify::short_name_number("A_", 100), 26u + 36);
  EXPECT_EQ(minify::short_name_number("Ba", 100), 26u + 37);
  // Beyond the limit, or no short name at all.
  EXPECT_EQ(minify::short_name_number("ba", 26 + 37), UINT64_MAX);
  EXPECT_EQ(minify::short_name_number("aaaaaaaaaaaaaaaaaaaaaaaa", UINT64_MAX - 1), UINT64_MAX);
  for (const char* other : {"", "1a", "_a", "a-b", "\xe9"}) {
    EXPECT_EQ(minify::short_name_number(other, 1000000), UINT64_MAX) << other;
  }
  for (uint64_t n = 0; n < 60000; ++n) {
    std::string name = minify::nth_short_name(n);
    ASSERT_EQ(minify::short_name_number(name, 60000), n) << name;
    for (char& ch : name) ch = static_cast<char>(ch >= 'a' && ch <= 'z' ? ch - 32 : ch);
    ASSERT_EQ(minify::short_name_number(name, 60000), n) << name;
  }
}

TEST(MinifyNames, MentionListsReadBackWhatWasWritten) {
  // Every length of number, across many blocks (the first holds 4 KiB).
  std::vector<uint32_t> written = {0, 1, 127, 128, 16383, 16384, 2097151, 2097152, UINT32_MAX};
  uint32_t x = 12345;
  for (int i = 0; i < 300000; ++i) {
    x = x * 1103515245u + 12345u;
    written.push_back(x >> (i % 32));
  }
  minify::mention_list list;
  for (const uint32_t id : written) list.push(id);
  minify::mention_reader reader(std::move(list));
  uint32_t id = 0;
  for (size_t k = 0; k < written.size(); ++k) {
    ASSERT_TRUE(reader.next(&id)) << k;
    ASSERT_EQ(id, written[k]) << k;
  }
  EXPECT_FALSE(reader.next(&id));
  EXPECT_FALSE(minify::mention_reader().next(&id));
}

TEST(MinifyNames, IndexFoldsLetterCaseOnly) {
  minify::name_index index;
  bool added = false;
  EXPECT_EQ(index.insert("Foo_1", &added), 0u);
  EXPECT_TRUE(added);
  EXPECT_EQ(index.insert("FOO_1", &added), 0u);
  EXPECT_FALSE(added);
  EXPECT_EQ(index.find("fOo_1"), 0u);
  EXPECT_EQ(index.find("Foo_2"), minify::name_index::npos);
  EXPECT_EQ(index.find("a_long_name_of_more_than_eight"), minify::name_index::npos);
  // The index holds views: the names must outlive it.
  std::deque<std::string> names;
  for (int i = 0; i < 1000; ++i) index.insert(names.emplace_back("name" + std::to_string(i)), &added);
  EXPECT_EQ(index.find("NAME999"), 1000u);
}

}  // namespace
