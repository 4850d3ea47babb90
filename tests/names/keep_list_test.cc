#include "names/keep_list.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "script/normalize.h"
#include "support/script_builder.h"

namespace {

using text = std::vector<std::string>;

// add_keep_entries with the lists' text and places kept for the whole test
// program, as the script keeps them for the run.
void add_entries(std::string_view list, std::string_view file, int64_t line,
                 std::vector<keep_entry>& entries) {
  static std::deque<std::string> texts;
  static std::deque<keep_place> places;
  const keep_place* place = file.empty() ? nullptr : &places.emplace_back(keep_place{file, line, {}});
  add_keep_entries(list, place, entries, texts);
}

text entry_texts(const std::vector<keep_entry>& entries) {
  text out;
  for (const keep_entry& e : entries) out.push_back(std::string(e.text));
  return out;
}

text warning_texts(const std::vector<run_warning>& warnings) {
  text out;
  for (const run_warning& w : warnings) {
    const std::string place = std::string(w.file) + ":" + std::to_string(w.line) + ": ";
    out.push_back((w.file.empty() ? "" : place) + w.text);
  }
  return out;
}

TEST(KeepEntries, SplitAtCommasWithoutBlanksInUpperCase) {
  std::vector<keep_entry> entries;
  add_entries(" _On_* , $g_hMain,, \t,my Func\tName,Ä", {}, 0, entries);
  EXPECT_EQ(entry_texts(entries), (text{"_ON_*", "$G_HMAIN", "MYFUNCNAME", "Ä"}));
  add_entries("", "lib.au3", 3, entries);
  add_entries("x", "lib.au3", 4, entries);
  ASSERT_EQ(entries.size(), 5u);
  EXPECT_EQ(entries.back().file(), "lib.au3");
  EXPECT_EQ(entries.back().line(), 4);
}

TEST(KeepPragma, RecognizedInAnyCaseWithBlanksAroundTheWords) {
  std::string_view list;
  for (const char* line : {"; au3shrink: keep _On_*", "\t;AU3SHRINK : KEEP\t_On_*",
                           ";au3shrink:keep  _On_*", "  ;  Au3Shrink  :  Keep _On_*"}) {
    ASSERT_TRUE(is_keep_pragma(line, &list)) << line;
    EXPECT_EQ(normalized(list), "_ON_*") << line;
  }
  for (const char* line : {"; au3shrink: keepers", "; au3shrink keep x", "x ; au3shrink: keep y",
                           "; au3shrink: keep", "; au3shrinker: keep x", "# au3shrink: keep x",
                           "; au3shrink: kee x", ""}) {
    EXPECT_FALSE(is_keep_pragma(line, &list)) << line;
  }
}

TEST(TreeShakingPragma, TheWholeLineInAnyCase) {
  for (const char* line : {"; au3shrink: tree-shaking", "\t;AU3SHRINK : Tree-Shaking \t"}) {
    EXPECT_TRUE(is_tree_shaking_pragma(line)) << line;
  }
  for (const char* line : {"; au3shrink: tree-shaking x", "; au3shrink: tree shaking",
                           "; au3shrink: keep tree-shaking", "x ; au3shrink: tree-shaking"}) {
    EXPECT_FALSE(is_tree_shaking_pragma(line)) << line;
  }
}

TEST(KeepList, ExactPrefixAndStarEntriesOfEachKind) {
  std::vector<keep_entry> entries;
  add_entries("_ON_*,MAIN,$G_*,$COUNT,NOFUNC,$NOVAR*,$", {}, 0, entries);

  keep_list functions(entries, keep_list::kind::functions);
  EXPECT_TRUE(functions.keeps("_ON_CONNECT"));
  EXPECT_TRUE(functions.keeps("_ON_"));  // a prefix matches the bare prefix too
  EXPECT_TRUE(functions.keeps("MAIN"));
  EXPECT_FALSE(functions.keeps("MAINLOOP"));  // exact entries are whole names
  EXPECT_FALSE(functions.keeps("_ONX"));
  EXPECT_FALSE(functions.keeps("G_X"));  // "$" entries are variables
  std::vector<run_warning> warnings;
  functions.warn_unmatched(warnings);
  EXPECT_EQ(warning_texts(warnings), (text{"keep entry 'NOFUNC' matches no function"}));

  keep_list variables(entries, keep_list::kind::variables);
  EXPECT_TRUE(variables.keeps("$G_HMAIN"));
  EXPECT_TRUE(variables.keeps("$COUNT"));
  EXPECT_FALSE(variables.keeps("$COUNTER"));
  EXPECT_FALSE(variables.keeps("$MAIN"));  // plain entries are functions
  warnings.clear();
  variables.warn_unmatched(warnings);
  EXPECT_EQ(warning_texts(warnings), (text{"keep entry '$NOVAR*' matches no variable",
                                           "keep entry '$' matches no variable"}));
}

TEST(KeepList, StarAloneMatchesEveryNameOfItsKind) {
  std::vector<keep_entry> entries;
  add_entries("*,$*", {}, 0, entries);
  keep_list functions(entries, keep_list::kind::functions);
  keep_list variables(entries, keep_list::kind::variables);
  for (const char* name : {"A", "_X", "", "FUNC$"}) EXPECT_TRUE(functions.keeps(name)) << name;
  // Odd recorded names without "$" count as variables all the same.
  for (const char* name : {"$A", "$", "MER", ""}) EXPECT_TRUE(variables.keeps(name)) << name;
}

TEST(KeepList, RepeatedEntryIsReportedOnceAtItsFirstPlace) {
  std::vector<keep_entry> entries;
  add_entries("Typo", "a.au3", 2, entries);
  add_entries("TYPO, typo", "b.au3", 9, entries);
  keep_list functions(entries, keep_list::kind::functions);
  EXPECT_FALSE(functions.keeps("TYPE"));
  std::vector<run_warning> warnings;
  functions.warn_unmatched(warnings);
  EXPECT_EQ(warning_texts(warnings), (text{"a.au3:2: keep entry 'TYPO' matches no function"}));
}

TEST(KeepPragmas, ReadFromEveryLineWithTheirPlaces) {
  autoitsourcefile script("main.au3");
  load_lines(script, {"Func A()", "; au3shrink: keep _On_*, $g_hMain", "#cs",
                      "  ; au3shrink: keep Inside", "#ce", "MsgBox(0, '', 1) ; au3shrink: keep No"});
  script.add_keep_list("Opt");
  // The lines that begin with ";", as the include pass notes them.
  script.comment_lines = {2, 4};
  script.read_keep_pragmas();
  ASSERT_EQ(script.keep_entries.size(), 4u);
  EXPECT_EQ(entry_texts(script.keep_entries), (text{"OPT", "_ON_*", "$G_HMAIN", "INSIDE"}));
  EXPECT_EQ(script.keep_entries[0].file(), "");
  EXPECT_EQ(script.keep_entries[3].file(), "main.au3");
  EXPECT_EQ(script.keep_entries[3].line(), 4);
  // The file name is stored once, by the origins: the entries only point
  // at it.
  for (size_t i = 1; i < script.keep_entries.size(); ++i) {
    EXPECT_EQ(script.keep_entries[i].file().data(), script.origins.of(2).file.data()) << i;
  }
}

// What the dead-code passes do with kept names.
class KeepInPassesTest : public testing::Test {
 protected:
  autoitsourcefile script{"main.au3"};

  text run(const text& lines, const char* keep, int runs) {
    load_lines(script, lines, true);
    script.add_keep_list(keep);
    captured_stdout([&] {
      script.remove_unused_functions(runs, "C");
      script.remove_unused_vars("C");
    });
    text left;
    for (const std::string& line : current_lines(script)) {
      if (!line.empty()) left.push_back(line);
    }
    return left;
  }
};

TEST_F(KeepInPassesTest, KeptFunctionKeepsItsCalleesThroughEveryRun) {
  // Without the entry, one run would delete all four functions.
  const text script_lines = {"Func _On_Start()", "Helper()", "EndFunc", "Func Helper()",
                             "Deep()",           "EndFunc",  "Func Deep()", "EndFunc",
                             "Func Unused()",    "EndFunc"};
  EXPECT_EQ(run(script_lines, "_on_*", 3),
            (text{"Func _On_Start()", "Helper()", "EndFunc", "Func Helper()", "Deep()", "EndFunc",
                  "Func Deep()", "EndFunc"}));
  EXPECT_EQ(script.deleted_functions, 1);
  EXPECT_TRUE(script.warnings.empty());
}

TEST_F(KeepInPassesTest, KeptVariableCountsAsUsedAndKeepsWhatItMentions) {
  EXPECT_EQ(run({"Global $g_hMain = $g_base, $spare", "Global $g_base = 1", "Local $tmp"},
                "$G_HMAIN, $nothing", 1),
            (text{"Global $g_hMain = $g_base", "Global $g_base = 1"}));
  EXPECT_EQ(script.deleted_vars, 2);
  EXPECT_EQ(warning_texts(script.warnings), (text{"keep entry '$NOTHING' matches no variable"}));
}

TEST_F(KeepInPassesTest, EntryMatchingOnlyAUsedNameIsNoTypo) {
  run({"Func Main()", "EndFunc", "Main()", "Global $x = 1", "MsgBox(0, '', $x)"}, "Main, $x", 1);
  EXPECT_TRUE(script.warnings.empty());
}

TEST_F(KeepInPassesTest, UnmatchedEntryReportedOnlyWhenThePassForItsKindRan) {
  load_lines(script, {"Global $x = 1"}, true);
  script.add_keep_list("NoSuchFunc, $nosuchvar");
  captured_stdout([&] { script.remove_unused_vars("C"); });
  EXPECT_EQ(warning_texts(script.warnings), (text{"keep entry '$NOSUCHVAR' matches no variable"}));
  // Zero runs look at no function name.
  script.warnings.clear();
  captured_stdout([&] { script.remove_unused_functions(0, "C"); });
  EXPECT_TRUE(script.warnings.empty());
}

}  // namespace

namespace {

TEST(KeepList, StarsAnywhere) {
  std::vector<keep_entry> entries;
  add_entries("GET*BACKGROUNDMODE,*_HANDLER,ON*CLICK*,$A*B*C", {}, 0, entries);
  keep_list functions(entries, keep_list::kind::functions);
  EXPECT_TRUE(functions.keeps("GETBLUESTACKS5BACKGROUNDMODE"));
  EXPECT_TRUE(functions.keeps("GETBACKGROUNDMODE"));  // the star stands for nothing too
  EXPECT_FALSE(functions.keeps("GETMODE"));
  EXPECT_TRUE(functions.keeps("BTN_HANDLER"));
  EXPECT_FALSE(functions.keeps("_HANDLERX"));
  EXPECT_TRUE(functions.keeps("ONOKCLICKED"));
  EXPECT_FALSE(functions.keeps("ONOKCLIC"));
  std::vector<run_warning> warnings;
  functions.warn_unmatched(warnings);
  EXPECT_TRUE(warnings.empty());

  keep_list variables(entries, keep_list::kind::variables);
  EXPECT_TRUE(variables.keeps("$AXBYC"));
  EXPECT_TRUE(variables.keeps("$ABC"));
  EXPECT_FALSE(variables.keeps("$ACB"));
  EXPECT_FALSE(variables.keeps("$AB"));  // the pieces may not overlap
}

TEST(KeepList, TheUsersEntryAnswersBeforeABuiltOne) {
  std::vector<keep_entry> entries;
  const keep_place built_at{"main.au3", 3, "_On_*", true};
  const keep_place none_at{"main.au3", 4, "None*", true};
  entries.push_back({"_ON_*", &built_at});
  add_entries("_ON_C*", {}, 0, entries);
  keep_list functions(entries, keep_list::kind::functions);
  ASSERT_NE(functions.keeps("_ON_CLOSE"), nullptr);
  EXPECT_FALSE(functions.keeps("_ON_CLOSE")->built());
  EXPECT_TRUE(functions.keeps("_ON_OPEN")->built());
  // A built entry that matches nothing is not the user's typo.
  entries.push_back({"NONE*", &none_at});
  keep_list again(entries, keep_list::kind::functions);
  std::vector<run_warning> warnings;
  again.warn_unmatched(warnings);
  EXPECT_EQ(warning_texts(warnings), (text{"keep entry '_ON_C*' matches no function"}));
}

}  // namespace

namespace {

// The entry the records name as what keeps a name.
TEST(KeepList, AnswersWithTheFirstEntryOfEachKindInOrder) {
  std::vector<keep_entry> entries;
  add_entries("_ON_*,$G_*,_ON_QUIT,*,$X", {}, 0, entries);
  keep_list functions(entries, keep_list::kind::functions);
  EXPECT_EQ(functions.keeps("_ON_QUIT"), &entries[0]);  // the prefix stands first
  EXPECT_EQ(functions.keeps("MAIN"), &entries[3]);
  keep_list variables(entries, keep_list::kind::variables);
  EXPECT_EQ(variables.keeps("$G_HWND"), &entries[1]);
  EXPECT_EQ(variables.keeps("$X"), &entries[4]);
  EXPECT_EQ(variables.keeps("$Y"), nullptr);
}

}  // namespace

namespace {

// A glob match written for the test alone: "*" is any run of bytes.
bool glob_matches(std::string_view pattern, std::string_view name) {
  if (pattern.empty()) return name.empty();
  if (pattern.front() == '*') {
    for (size_t skip = 0; skip <= name.size(); ++skip) {
      if (glob_matches(pattern.substr(1), name.substr(skip))) return true;
    }
    return false;
  }
  return !name.empty() && name.front() == pattern.front() &&
         glob_matches(pattern.substr(1), name.substr(1));
}

TEST(KeepList, EntriesAlikeAtBothEndsAnswerByTheirPiecesBetween) {
  // Every entry begins "A" and ends with a star: a name is tried against
  // the ones whose longest piece between occurs in it.
  std::vector<keep_entry> entries;
  add_entries("A*12*B*,A*1*B*,A*X*YY*,A*3*", {}, 0, entries);
  keep_list functions(entries, keep_list::kind::functions);
  EXPECT_EQ(functions.keeps("A12B"), &entries[0]);
  EXPECT_EQ(functions.keeps("A1B"), &entries[1]);
  EXPECT_EQ(functions.keeps("AXYY"), &entries[2]);
  EXPECT_EQ(functions.keeps("AYYX"), nullptr);  // the pieces come in order
  EXPECT_EQ(functions.keeps("A3"), &entries[3]);
  EXPECT_EQ(functions.keeps("3A3"), nullptr);
  EXPECT_EQ(functions.keeps("A1"), nullptr);
}

TEST(KeepList, AnswersAsAPlainGlobMatchOnRandomEntriesAndNames) {
  // Few letters and many stars, so that pieces overlap, repeat and nest.
  std::mt19937 random(20261208);
  auto word = [&](size_t most, const char* letters) {
    std::string w;
    const size_t length = random() % (most + 1);
    for (size_t i = 0; i < length; ++i) w += letters[random() % std::strlen(letters)];
    return w;
  };
  for (int round = 0; round < 300; ++round) {
    std::vector<keep_entry> entries;
    std::string list;
    for (int e = 0; e < 6; ++e) list += word(6, "AB*") + ",";
    add_entries(list, {}, 0, entries);
    keep_list functions(entries, keep_list::kind::functions);
    std::vector<bool> matched(entries.size(), false);
    for (int n = 0; n < 20; ++n) {
      const std::string name = word(7, "AB");
      const keep_entry* expected = nullptr;
      for (size_t e = 0; e < entries.size(); ++e) {
        if (!glob_matches(entries[e].text, name)) continue;
        matched[e] = true;
        if (expected == nullptr) expected = &entries[e];
      }
      EXPECT_EQ(functions.keeps(name), expected) << "entries " << list << " name " << name;
    }
    std::vector<run_warning> warnings;
    functions.warn_unmatched(warnings);
    std::set<std::string> unmatched;
    for (size_t e = 0; e < entries.size(); ++e) {
      if (!matched[e]) unmatched.insert("keep entry '" + std::string(entries[e].text) + "' matches no function");
    }
    const text said = warning_texts(warnings);
    EXPECT_EQ(std::set<std::string>(said.begin(), said.end()), unmatched) << "entries " << list;
  }
}

}  // namespace
