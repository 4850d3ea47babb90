#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "passes/variables/variable_cut.h"
#include "passes/variables/variable_scan.h"
#include "report/console.h"
#include "script/two_threads.h"
#include "support/script_builder.h"

namespace {

using text = std::vector<std::string>;

const char* const kStart = "start: remove unused variables...\nstart: searching variables...\n\n";
const char* const kFinish = "\nfinished: remove unused variables\n\n";

class RemoveUnusedVarsTest : public testing::Test {
 protected:
  autoitsourcefile script{""};

  std::string run(const text& lines, const char* mode = "C") {
    load_lines(script, lines, true);
    return captured_stdout([&] { script.remove_unused_vars(mode); });
  }
};

TEST_F(RemoveUnusedVarsTest, WorkedExample) {
  std::string out = run({"Global $g = 1, $spare = 2", "Local $x = 1, $y = 2, $z = 3",
                         "Local $tmp = 0, $n = 5", "Dim $old = 'a,b'",
                         "MsgBox(0, '', $x & $z & $g & $n)"});
  EXPECT_EQ(current_lines(script),
            (text{"Global $g = 1", "Local $x = 1, $z = 3", "Local  $n = 5", "",
                  "MsgBox(0, '', $x & $z & $g & $n)"}));
  EXPECT_EQ(current_transformed_lines(script),
            (text{"GLOBAL$G=1,$SPARE=2", "LOCAL$X=1,$Y=2,$Z=3", "LOCAL$TMP=0,$N=5", "",
                  "MSGBOX(0,'',$X&$Z&$G&$N)"}));
  EXPECT_EQ(script.deleted_vars, 4);
  EXPECT_EQ(script.variable_count, 8);
  EXPECT_EQ(out, std::string(kStart) +
                     "found variable: 1:  $G\n"
                     "found variable: 2:  $SPARE\n"
                     "found variable: 3:  $X\n"
                     "found variable: 4:  $Y\n"
                     "found variable: 5:  $Z\n"
                     "found variable: 6:  $TMP\n"
                     "found variable: 7:  $N\n"
                     "found variable: 8:  $OLD\n"
                     "\nfinished: searching variables\n"
                     "delete variable (variablenr.: 2): $SPARE\n"
                     "delete variable (variablenr.: 4): $Y\n"
                     "delete variable (variablenr.: 6): $TMP\n"
                     "delete variable (variablenr.: 8): $OLD\n" +
                     kFinish);
}

TEST_F(RemoveUnusedVarsTest, WorkedExampleInDotMode) {
  std::string out = run({"Global $g = 1, $spare = 2", "Local $x = 1, $y = 2, $z = 3",
                         "Local $tmp = 0, $n = 5", "Dim $old = 'a,b'",
                         "MsgBox(0, '', $x & $z & $g & $n)"},
                        "c");
  EXPECT_EQ(out, std::string(kStart) + "\nfinished: searching variables\n" + kFinish);
  EXPECT_EQ(script.deleted_vars, 4);
}

TEST_F(RemoveUnusedVarsTest, DotsForDeletedVariablesNumberedByFifty) {
  // Line k declares variable k; every second one is used.
  text lines;
  for (int k = 1; k <= 100; ++k) lines.push_back("Local $v" + std::to_string(k) + "x");
  std::string uses = "f(";
  for (int k = 2; k <= 100; k += 2) uses += "$v" + std::to_string(k) + "x,";
  lines.push_back(uses + ")");
  lines[49] = "Local $v50x, $w";  // line 50 declares two: two dots
  std::string out = run(lines, "-");
  // Found: two on line 50, one on line 100. Deleted: of variables 50 and
  // 100, only 100 ($V99X, shifted by $W) is unused.
  EXPECT_EQ(out, std::string(kStart) + "..." + "\nfinished: searching variables\n" + "." +
                     kFinish);
  EXPECT_EQ(script.deleted_vars, 51);

  lines[49] = "Local $v50y";  // now variable 50 is unused
  script.deleted_vars = 0;
  script.variable_count = 0;
  out = run(lines, "-");
  EXPECT_EQ(out, std::string(kStart) + ".." + "\nfinished: searching variables\n" + "." + kFinish);
  EXPECT_EQ(script.deleted_vars, 51);
}

// The tests split even small scripts over two threads; here one thread
// counts every line, so a name's count goes past what a byte holds.
TEST_F(RemoveUnusedVarsTest, ANameCountedPast255OnOneThread) {
  const size_t before = two_threads::minimum_lines;
  two_threads::minimum_lines = size_t{1} << 15;
  // 300 lines that each declare an unused variable from $x: each goes, and
  // takes its mention of $x with it, so $x goes last. (Names of one length:
  // none holds another.)
  text lines;
  for (int i = 100; i < 400; ++i) lines.push_back("Local $v" + std::to_string(i) + " = $x");
  lines.push_back("Global $x = 1");
  run(lines);
  ASSERT_EQ(current_lines(script).size(), 301u);
  EXPECT_EQ(script.deleted_vars, 301);
  EXPECT_EQ(current_lines(script)[300], "");
  // 256 lines that keep mentioning it: it stays.
  autoitsourcefile kept("");
  text uses(256, "ConsoleWrite($y)");
  uses.push_back("Global $y = 1");
  load_lines(kept, uses, true);
  captured_stdout([&] { kept.remove_unused_vars("C"); });
  EXPECT_EQ(kept.deleted_vars, 0);
  two_threads::minimum_lines = before;
}

TEST_F(RemoveUnusedVarsTest, NothingDeclaredChangesNothing) {
  text lines = {"MsgBox(0, '', $a)", "", "Func f()", "EndFunc"};
  EXPECT_EQ(run(lines), std::string(kStart) + "\nfinished: searching variables\n" + kFinish);
  EXPECT_EQ(current_lines(script), lines);
  EXPECT_EQ(script.deleted_vars, 0);
}

TEST_F(RemoveUnusedVarsTest, AloneAndUnusedTakesItsWholeLine) {
  run({"Local $only = StringLen('no side effect')"});
  EXPECT_EQ(current_lines(script), (text{""}));
  EXPECT_EQ(current_transformed_lines(script), (text{""}));
  EXPECT_EQ(script.deleted_vars, 1);
}

// Each deleted name goes with its declaration line as it stood before any
// cut, whether the line went whole, lost some of its names, or all of them
// one after the other; with and without the run's records, which list them
// at different times.
TEST(RemoveUnusedVarsList, DeletedNamesKeepTheirLinesAsTheyStood) {
  const text lines = {"Local $a = 1, $b = 2", "Local $lone", "Global $x, $y, $z", "Dim $d",
                      "MsgBox(0, '', $y)"};
  for (const bool records : {false, true}) {
    autoitsourcefile script("");
    script.records.reasons_on = records;
    load_lines(script, lines, true);
    captured_stdout([&] { script.remove_unused_vars("C"); });
    EXPECT_EQ(current_lines(script),
              (text{"", "", "Global  $y", "", "MsgBox(0, '', $y)"}));
    const deleted_variables& deleted = script.deleted_variable_names;
    ASSERT_EQ(deleted.size(), 6u);
    const std::vector<std::string> names = {"$A", "$B", "$LONE", "$X", "$Z", "$D"};
    const std::vector<size_t> from = {0, 0, 1, 2, 2, 3};
    for (size_t i = 0; i < deleted.size(); ++i) {
      EXPECT_EQ(deleted[i].name, names[i]) << i;
      EXPECT_EQ(deleted[i].line, lines[from[i]]) << i;
      EXPECT_EQ(deleted[i].slot, deleted[0].slot + static_cast<int32_t>(from[i])) << i;
    }
  }
}

TEST_F(RemoveUnusedVarsTest, ACutNeverTakesACallWithIt) {
  const text lines = {"Local $hGui = GUICreate('t')", "Local $a = 1, $b = MsgBox(0, 't', 'x'), $c = 3",
                      "Global Const $GPTR = BitOR(1, 2)", "Local $v = $o.Run(), $w = $a"};
  std::string out = run(lines);
  // Only the values that compute go; the calls stay with their variables,
  // which are neither listed nor counted as deleted.
  EXPECT_EQ(current_lines(script),
            (text{"Local $hGui = GUICreate('t')", "Local $a = 1, $b = MsgBox(0, 't', 'x')", "",
                  "Local $v = $o.Run()"}));
  EXPECT_EQ(script.deleted_vars, 3);
  EXPECT_EQ(out.find("): $HGUI\n"), std::string::npos);
  EXPECT_NE(out.find("delete variable (variablenr.: 4): $C\n"), std::string::npos);
  EXPECT_EQ(out.find("delete variable (variablenr.: 3)"), std::string::npos);
}

TEST_F(RemoveUnusedVarsTest, AKeptCallKeepsWhatItMentionsAlive) {
  // $b stays for its call, so its mention of $a still counts.
  run({"Local $a = 1", "Local $b = Run($a)"});
  EXPECT_EQ(current_lines(script), (text{"Local $a = 1", "Local $b = Run($a)"}));
  EXPECT_EQ(script.deleted_vars, 0);
}

TEST_F(RemoveUnusedVarsTest, UsageIsSubstringOfTheNormalizedText) {
  run({"Local $a = 1", "Local $b = 2", "Local $c = 3", "Local $d = 4", "Local $e = 5",
       "x = $AB + 1", "s = ' $b '", "; mentions $c", "f( $  D )"});
  // $A inside $AB, $B inside a string, $C in a comment, $D across blanks.
  const text lines = current_lines(script);
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[0], "Local $a = 1");
  EXPECT_EQ(lines[1], "Local $b = 2");
  EXPECT_EQ(lines[2], "Local $c = 3");
  EXPECT_EQ(lines[3], "Local $d = 4");
  EXPECT_EQ(lines[4], "");
  EXPECT_EQ(script.deleted_vars, 1);
}

TEST_F(RemoveUnusedVarsTest, NameInAStringAsEvalAndIsDeclaredTakeIt) {
  run({"Local $x = 1", "Local $y = 2", "Local $z = 3", "If IsDeclared(\"x\") Then f()",
       "ConsoleWrite(Eval( 'y' ))", "Assign(\"Z\", 1)"});
  const text lines = current_lines(script);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], "Local $x = 1");
  EXPECT_EQ(lines[1], "Local $y = 2");
  EXPECT_EQ(lines[2], "Local $z = 3");
  EXPECT_EQ(script.deleted_vars, 0);
}

TEST_F(RemoveUnusedVarsTest, NameInsideALongerStringOrItsOwnLineDoesNotCount) {
  // "ax", "x y" (normalized "XY"), quotes that do not match, and the
  // declaration's own line.
  run({"Local $x = 1, $w = IsDeclared('w')", "s = \"ax\" & \"x y\" & \"x' & 'x_\"", "t = $w"});
  const text lines = current_lines(script);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "Local  $w = IsDeclared('w')");
  EXPECT_EQ(script.deleted_vars, 1);
}

TEST_F(RemoveUnusedVarsTest, OwnDeclarationLineDoesNotCount) {
  run({"Local $a = 1, $b = $ab", "MsgBox(0, '', $b)"});
  EXPECT_EQ(current_lines(script), (text{"Local  $b = $ab", "MsgBox(0, '', $b)"}));
  EXPECT_EQ(script.deleted_vars, 1);
}

TEST_F(RemoveUnusedVarsTest, WhatStaysOfADeclarationKeepsWhatItReads) {
  // $base is read by $derived's value, $p by $q's size; a cut item reads
  // nothing, and a name that the line only declares again is no read.
  run({"Local $base = 10, $derived = $base + 1, $un = $x, $x = 2",
       "Global $p = 2, $q[$p], $i = 0, $i = 1", "f($derived, $q)"});
  EXPECT_EQ(current_lines(script),
            (text{"Local $base = 10, $derived = $base + 1", "Global $p = 2, $q[$p]",
                  "f($derived, $q)"}));
  EXPECT_EQ(script.deleted_vars, 4);
}

TEST_F(RemoveUnusedVarsTest, DeletionsTakeEffectInNumberOrder) {
  run({"Local $a = $b", "Local $b = 1"});
  EXPECT_EQ(current_lines(script), (text{"", ""}));
  EXPECT_EQ(script.deleted_vars, 2);
}

TEST_F(RemoveUnusedVarsTest, AVariableTestedBeforeItsOnlyUserSurvives) {
  run({"Local $b = 1", "Local $a = $b"});
  EXPECT_EQ(current_lines(script), (text{"Local $b = 1", ""}));
  EXPECT_EQ(script.deleted_vars, 1);
}

TEST_F(RemoveUnusedVarsTest, PartialCutsKeepMentionsAlive) {
  run({"Local $a = 1, $b = $c", "Local $c = 2", "MsgBox(0, '', $a)"});
  EXPECT_EQ(current_lines(script), (text{"Local $a = 1", "Local $c = 2", "MsgBox(0, '', $a)"}));
  const text transformed = current_transformed_lines(script);
  ASSERT_EQ(transformed.size(), 3u);
  EXPECT_EQ(transformed[0], "LOCAL$A=1,$B=$C");
  EXPECT_EQ(script.deleted_vars, 1);
}

TEST_F(RemoveUnusedVarsTest, SameNameTwiceKeepsBothAlive) {
  run({"Func f()", "Local $i = 0", "EndFunc", "Func g()", "Local $i = 1", "EndFunc"});
  EXPECT_EQ(script.deleted_vars, 0);
  const text lines = current_lines(script);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[1], "Local $i = 0");
}

TEST_F(RemoveUnusedVarsTest, SameNameTwiceOnOneLineIsNotAMention) {
  run({"Local $i = 0, $i = 1", "x = 1"});
  EXPECT_EQ(script.deleted_vars, 2);
}

TEST_F(RemoveUnusedVarsTest, EmptyNameIsUsedWhenAnyOtherLineExists) {
  run({"Local $a,", ""});
  EXPECT_EQ(script.deleted_vars, 1);  // $A only; the line keeps its empty item
  EXPECT_EQ(current_lines(script), (text{"Local $a,", ""}));

  script.deleted_vars = 0;
  script.variable_count = 0;
  run({"Dim"});
  EXPECT_EQ(script.deleted_vars, 1);
  EXPECT_EQ(current_lines(script), (text{""}));
}

TEST_F(RemoveUnusedVarsTest, EnumLinesAreLeftAlone) {
  run({"Global Enum $E1, $E2", "Local $p = 1"});
  EXPECT_EQ(current_lines(script), (text{"Global Enum $E1, $E2", ""}));
  EXPECT_EQ(script.variable_count, 1);
}

TEST_F(RemoveUnusedVarsTest, StaticAndTrailingCommentsKeepUsedDeclarations) {
  run({"Local Static $count = 0 ; calls so far", "$count += 1"});
  EXPECT_EQ(script.deleted_vars, 0);

  // With comments removed, a ";" left in a declaration is part of the text.
  script.comments_removed = true;
  script.variable_count = 0;
  run({"Local $x ;", "$x = 1"});
  EXPECT_EQ(current_lines(script), (text{"", "$x = 1"}));
  EXPECT_EQ(script.deleted_vars, 1);
}

// The items of a normalized declaration, split at each "," outside strings,
// parentheses and brackets.
text declaration_items(std::string_view line, bool comments_kept) {
  text items(1);
  char quote = 0;
  int depth = 0;
  for (const char c : line) {
    if (quote == 0 && c == ';' && comments_kept) break;
    if (quote == 0 && c == ',' && depth == 0) {
      items.emplace_back();
      continue;
    }
    items.back() += c;
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == '(' || c == '[') {
      ++depth;
    } else if (c == ')' || c == ']') {
      --depth;
    }
  }
  return items;
}

// How often `item` holds `name` whole, not followed by a word byte.
int whole_mentions(const std::string& item, const std::string& name) {
  int count = 0;
  for (size_t at = item.find(name); at != std::string::npos; at = item.find(name, at + 1)) {
    const size_t end = at + name.size();
    if (end == item.size() || !is_word_byte(item[end])) ++count;
  }
  return count;
}

// The pass as stated: every name searched in every line, one by one.
std::string reference_pass(autoitsourcefile& s) {
  return captured_stdout([&] {
    const progress report("C");
    console::out(kStart);
    variable_table table;
    scan_variables(s, table, report);
    console::out("\nfinished: searching variables\n");
    std::set<int32_t> cut;  // variables cut from a line they share
    for (int32_t k = 1; k <= s.variable_count; ++k) {
      bool used = false;
      const std::string name(table.variable_names[k]);
      // $X is also named by "X" or 'X'.
      std::vector<std::string> texts{name};
      if (name.size() >= 2 && name[0] == '$') {
        texts.push_back('"' + name.substr(1) + '"');
        texts.push_back('\'' + name.substr(1) + '\'');
      }
      for (int32_t j = 1; j <= s.line_count && !used; ++j) {
        if (j == table.declaration_lines[k]) continue;
        for (const std::string& t : texts) {
          used = used || s.transformed_lines[j].find(t) != std::string::npos;
        }
      }
      // What stays of a shared declaration reads it: its other items not cut
      // so far mention it, not counting the one each declares.
      const int32_t line = table.declaration_lines[k];
      const bool shares = shares_line(table, s.variable_count, k);
      if (!used && shares && name.size() >= 2 && name[0] == '$' && is_word(name.substr(1))) {
        int32_t first = k;
        while (first > 1 && table.declaration_lines[first - 1] == line) --first;
        const text items = declaration_items(s.transformed_lines[line], !s.comments_removed);
        for (size_t u = 0; u < items.size() && !used; ++u) {
          const int32_t j = first + static_cast<int32_t>(u);
          if (j == k || cut.contains(j)) continue;
          const bool declares_it = j <= s.variable_count && table.declaration_lines[j] == line &&
                                   table.variable_names[j] == name;
          used = whole_mentions(items[u], name) > (declares_it ? 1 : 0);
        }
      }
      if (used) continue;
      if (shares) cut.insert(k);
      ++s.deleted_vars;
      console::out("delete variable (variablenr.: ");
      console::out(static_cast<long long>(k));
      console::out("): " + std::string(table.variable_names[k]) + "\n");
      cut_variable(s, table, k);
    }
    console::out(kFinish);
  });
}

// Scripts full of near-miss names: prefixes of each other, repeated,
// empty, mentioned in strings (whole, or inside longer ones), on their own
// lines and on blank lines; some rounds use long names that begin alike.
text random_script(std::mt19937& rng, bool long_names) {
  static const char* const short_names[] = {"$a", "$ab", "$b", "$abc", "$B", "$c_1", "$", "$ba"};
  static const char* const wide_names[] = {"$g_v0012Handle", "$g_v0012Handle2", "$g_v0013Handle",
                                           "$g_v0012",       "$g_v0012H$a",     "$g_v0012.x",
                                           "$g",             "$G_V0012HANDLE"};
  const char* const* names = long_names ? wide_names : short_names;
  static const char* const starts[] = {"Local ", "Global ", "Dim ", "Const ", "Local Static ",
                                       "Global Const ", "Global Enum "};
  auto pick = [&](int n) { return static_cast<int>(rng() % n); };
  text lines;
  const int count = 1 + pick(12);
  for (int i = 0; i < count; ++i) {
    std::string line;
    switch (pick(6)) {
      case 0:
      case 1: {
        line = starts[pick(7)];
        const int items = 1 + pick(4);
        for (int t = 0; t < items; ++t) {
          if (t > 0) line += pick(6) == 0 ? "," : ", ";
          if (pick(8) != 0) line += names[pick(8)];
          if (pick(2) == 0) line += std::string(" = ") + names[pick(8)];
          if (pick(5) == 0) line += " = 'x, " + std::string(names[pick(8)]) + "'";
        }
        if (pick(6) == 0) line += ",";
        if (pick(6) == 0) line += std::string(" ; ") + names[pick(8)];
        break;
      }
      case 2:
        line = std::string("f(") + names[pick(8)] + ", \"" + names[pick(8)] + "\")";
        break;
      case 3:
        line = "";
        break;
      case 4: {
        // A name in a string, as Eval and IsDeclared take it, or near it.
        std::string bare = std::string(names[pick(8)]).substr(1);
        const char* quote = pick(2) ? "\"" : "'";
        const char* wrappers[][2] = {{"", ""}, {"", ""}, {"x", ""}, {"", " y"}, {"$", ""}};
        const auto& wrap = wrappers[pick(5)];
        line = std::string(pick(2) ? "IsDeclared(" : "Eval( ") + quote + wrap[0] + bare + wrap[1] +
               (pick(8) ? quote : "") + ")";
        break;
      }
      default:
        line = std::string(names[pick(8)]) + " += 1";
    }
    lines.push_back(line);
  }
  return lines;
}

TEST(RemoveUnusedVarsIndex, MatchesThePlainSearchOnRandomScripts) {
  std::mt19937 rng(20240611);
  for (int round = 0; round < 3000; ++round) {
    const text lines = random_script(rng, round % 3 == 2);
    const bool comments_removed = round % 3 == 0;
    autoitsourcefile indexed("");
    autoitsourcefile plain("");
    load_lines(indexed, lines, true);
    load_lines(plain, lines, true);
    indexed.comments_removed = plain.comments_removed = comments_removed;

    const std::string out = captured_stdout([&] { indexed.remove_unused_vars("C"); });
    const std::string expected = reference_pass(plain);
    std::string context;
    for (const std::string& line : lines) context += line + "\n";
    ASSERT_EQ(out, expected) << context;
    ASSERT_EQ(current_lines(indexed), current_lines(plain)) << context;
    ASSERT_EQ(current_transformed_lines(indexed), current_transformed_lines(plain)) << context;
    ASSERT_EQ(indexed.deleted_vars, plain.deleted_vars) << context;
  }
}

// Sizes that the small random scripts never reach: a line of more names
// than a line's marks are logged for, lines of more cuts than are made one
// by one (some names kept, or none), and a name that more than 255 lines
// mention, which those lines then stop mentioning one by one as their own
// variables go.
TEST(RemoveUnusedVarsIndex, ManyNamesOnALineAndManyLinesOnANameAsThePlainSearch) {
  // Names of one width: none begins another.
  auto named = [](const char* stem, int k) {
    std::string digits = std::to_string(10000 + k);
    return stem + digits.substr(1);
  };
  text lines;
  std::string wide = "Global " + named("$w", 0);
  for (int k = 1; k < 5000; ++k) wide += ", " + named("$w", k);
  lines.push_back(wide);
  std::string none_used = "Local " + named("$u", 0);
  for (int k = 1; k < 10; ++k) none_used += ", " + named("$u", k);
  lines.push_back(none_used);
  lines.push_back("MsgBox(0, '', $w0007 & $w4321)");
  for (int k = 0; k < 300; ++k) lines.push_back("Local " + named("$x", k) + " = $y");
  lines.push_back("Local $y = 1");
  autoitsourcefile indexed("");
  autoitsourcefile plain("");
  load_lines(indexed, lines, true);
  load_lines(plain, lines, true);
  const std::string out = captured_stdout([&] { indexed.remove_unused_vars("C"); });
  ASSERT_EQ(out, reference_pass(plain));
  const text cut = current_lines(indexed);
  ASSERT_EQ(cut, current_lines(plain));
  EXPECT_NE(cut[0].find("$w0007, $w4321"), std::string::npos) << cut[0].substr(0, 80);
  EXPECT_EQ(cut.back(), "");  // $y went with the last line that named it
  EXPECT_EQ(cut[1], "");  // a line that loses every variable
  EXPECT_EQ(indexed.deleted_vars, 4998 + 10 + 300 + 1);
}

}  // namespace
