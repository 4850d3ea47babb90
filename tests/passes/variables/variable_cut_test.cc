// Tests of where a declaration item stands and of cutting it out of its line.
#include "passes/variables/variable_cut.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "script/normalize.h"
#include "support/script_builder.h"

namespace {

constexpr size_t npos = std::string_view::npos;

TEST(FindItem, NameMustStandAfterACommaOrTheDeclaringWords) {
  EXPECT_EQ(find_item("LOCAL $A = 1", "$A", 0), 6u);
  EXPECT_EQ(find_item("LOCAL\t$A", "$A", 0), 6u);
  EXPECT_EQ(find_item("GLOBAL CONST $C", "$C", 0), 13u);
  EXPECT_EQ(find_item("LOCAL STATIC $S", "$S", 0), 13u);
  EXPECT_EQ(find_item("LOCALDIM$A", "$A", 0), 8u);
  EXPECT_EQ(find_item("LOCAL $A = 1,$B", "$B", 0), 13u);
  EXPECT_EQ(find_item("LOCAL $X = $Y, $Y = 2", "$Y", 0), 15u);
  EXPECT_EQ(find_item("LOCAL $X = 1, \t $Y", "$Y", 0), 16u);
  EXPECT_EQ(find_item("$A = 1", "$A", 0), npos);
  EXPECT_EQ(find_item("X LOCAL $A", "$A", 0), npos);
  EXPECT_EQ(find_item("LOCAL $B = F($A), G($A)", "$A", 0), npos);
}

TEST(FindItem, NameMustNotContinueAsALongerName) {
  EXPECT_EQ(find_item("LOCAL $AB = 1, $A = 2", "$A", 0), 15u);
  EXPECT_EQ(find_item("LOCAL $A_B, $A9, $A", "$A", 0), 17u);
  EXPECT_EQ(find_item("LOCAL $A[3]", "$A", 0), 6u);
  EXPECT_EQ(find_item("LOCAL $A", "$A", 0), 6u);
}

TEST(FindItem, SearchStartsAtTheGivenPosition) {
  EXPECT_EQ(find_item("LOCAL $A, $A", "$A", 7), 10u);
  EXPECT_EQ(find_item("LOCAL $A, $A", "$A", 11), npos);
  EXPECT_EQ(find_item("LOCAL $A", "$A", 100), npos);
}

TEST(FindItem, PartialMatchesDoNotHideALaterOccurrence) {
  // "$A$A$AB": the search must fall back inside a failed partial match.
  EXPECT_EQ(find_item("LOCAL $A$A$AB = 1, $A$AB", "$A$AB", 0), 19u);
  EXPECT_EQ(find_item("LOCAL $AAB, $AA", "$AA", 0), 12u);
}

TEST(FindItem, EmptyNameNeverStands) {
  EXPECT_EQ(find_item("LOCAL $A, ", "", 0), npos);
  EXPECT_EQ(find_item("", "", 0), npos);
}

// find_item from its definition, byte by byte: the name at x, no name byte
// after it, and before x (blanks aside) a "," or declaring words only.
size_t plain_find_item(const std::string& upper, const std::string& name, size_t from) {
  if (name.empty()) return npos;
  const std::vector<std::string> words = {"DIM", "LOCAL", "GLOBAL", "CONST", "STATIC"};
  for (size_t x = from; x + name.size() <= upper.size(); ++x) {
    if (upper.compare(x, name.size(), name) != 0) continue;
    const size_t end = x + name.size();
    if (end < upper.size() && continues_name(upper[end])) continue;
    std::string before;
    for (size_t i = 0; i < x; ++i) {
      if (upper[i] != ' ' && upper[i] != '\t') before += upper[i];
    }
    bool only_words = !before.empty();
    for (size_t at = 0; only_words && at < before.size();) {
      only_words = false;
      for (const std::string& word : words) {
        if (before.compare(at, word.size(), word) == 0) {
          at += word.size();
          only_words = true;
          break;
        }
      }
    }
    if ((!before.empty() && before.back() == ',') || only_words) return x;
  }
  return npos;
}

// Names as the scan records them are compared only where items begin;
// others (blanks, commas, a declaring word in front) are searched for
// everywhere. Both must agree with the definition.
TEST(FindItem, AgreesWithThePlainSearchOnRandomLines) {
  std::mt19937 rng(1309);
  const std::vector<std::string> pieces = {"LOCAL", "LO", "CAL", "CONST", "CON", "DIM", "STATIC",
                                           "$A",    "$AB", "A",  "AB",    ",",   ",",   " ",
                                           "\t",    "=",   "(",  ")",     "$A$AB", "X1"};
  const std::vector<std::string> names = {"$A", "$AB", "A", "AB", "CON", "$A$AB", "X1",
                                          "LOCAL$A", "A B", "A,", "DIMA", "CONSTA", "CA"};
  for (int round = 0; round < 20000; ++round) {
    std::string line;
    const size_t count = rng() % 12;
    for (size_t k = 0; k < count; ++k) line += pieces[rng() % pieces.size()];
    for (const std::string& name : names) {
      for (size_t from = 0; from <= line.size() + 1; from += 1 + rng() % 3) {
        ASSERT_EQ(find_item(line, name, from), plain_find_item(line, name, from))
            << "line: '" << line << "' name: '" << name << "' from " << from;
      }
    }
  }
}

// Declaration lines with their variables recorded as the pass records them.
class VariableCutTest : public testing::Test {
 protected:
  autoitsourcefile script{""};
  variable_table table;

  void load(const std::vector<std::string>& lines) {
    load_lines(script, lines, true);
    script.variable_count = 0;
    table = variable_table();
    captured_stdout([&] { scan_variables(script, table, progress("x")); });
  }

  // Cuts the given variables, in that order, and returns line 1.
  std::string cut(const std::string& line, const std::vector<int32_t>& unused) {
    load({line});
    for (int32_t k : unused) EXPECT_FALSE(cut_variable(script, table, k));
    EXPECT_EQ(script.transformed_lines[1], normalized(line)) << "partial cuts leave the copy";
    for (int32_t k : unused) EXPECT_EQ(table.declaration_lines[k], 1);
    return std::string(script.lines[1]);
  }
};

TEST_F(VariableCutTest, ItemsGoWithTheCommaTowardsARemainingNeighbour) {
  const std::string line = "Local $a = 1, $b = 2, $c = 3";
  EXPECT_EQ(cut(line, {2}), "Local $a = 1, $c = 3");
  EXPECT_EQ(cut(line, {3}), "Local $a = 1, $b = 2");
  EXPECT_EQ(cut(line, {1}), "Local  $b = 2, $c = 3");
  EXPECT_EQ(cut(line, {1, 3}), "Local  $b = 2");
  EXPECT_EQ(cut(line, {2, 3}), "Local $a = 1");
}

TEST_F(VariableCutTest, AnItemWhosePredecessorTookItsCommaIsTheFirstLeft) {
  EXPECT_EQ(cut("Local $a = 1, $b = 2, $c = 3", {1, 2}), "Local   $c = 3");
  // The last item left takes the rest of the text, but only in the line:
  // the normalized copy still holds the declaration.
  EXPECT_EQ(cut("Local $a = 1, $b = 2, $c = 3", {1, 2, 3}), "");
  EXPECT_EQ(cut("Local $a, $b", {1, 2}), "");
}

TEST_F(VariableCutTest, NamesFoundFirstElsewhereAreSkipped) {
  EXPECT_EQ(cut("Local $x = $y, $y = 2", {2}), "Local $x = $y");
  EXPECT_EQ(cut("Local $ab = 1, $a = 2", {2}), "Local $ab = 1");
  EXPECT_EQ(cut("Local $a = $b + 1, $b = 2", {1}), "Local  $b = 2");
  EXPECT_EQ(cut("Local $a = 1, $ab = 2, $b = 3", {1}), "Local  $ab = 2, $b = 3");
}

TEST_F(VariableCutTest, SpacingAndLetterCaseDoNotMatter) {
  EXPECT_EQ(cut("LOCAL\t$a = 1,\t$B = 2", {2}), "LOCAL\t$a = 1");
  EXPECT_EQ(cut("global const $Max = 5, $min = 1", {1}), "global const  $min = 1");
  EXPECT_EQ(cut("Local $a[2] = [1, 2], $b", {2}), "Local $a[2] = [1, 2]");
  EXPECT_EQ(cut("Local $a = F(1, 2), $b, $c", {2}), "Local $a = F(1, 2), $c");
}

TEST_F(VariableCutTest, LineStaysWhenAnItemCannotBeFound) {
  // Blanks inside the name: the normalized name is not in the line.
  EXPECT_EQ(cut("Local $ a = 1, $b = 2", {1}), "Local $ a = 1, $b = 2");
  EXPECT_EQ(cut("Local $a = 1, $ b = 2", {1}), "Local $a = 1, $ b = 2");
  // Empty names (a doubled or trailing comma) never stand as items.
  EXPECT_EQ(cut("Local $a, , $b", {2}), "Local $a, , $b");
  EXPECT_EQ(cut("Local $a,", {1}), "Local $a,");
}

TEST_F(VariableCutTest, AVariableAloneOnItsLineTakesTheLineFromBothCopies) {
  load({"Dim $old = 'a,b'", "Local $x = Init()", "Local $y, $z"});
  EXPECT_TRUE(cut_variable(script, table, 2));
  EXPECT_TRUE(cut_variable(script, table, 1));
  EXPECT_EQ(current_lines(script), (std::vector<std::string>{"", "", "Local $y, $z"}));
  EXPECT_EQ(current_transformed_lines(script),
            (std::vector<std::string>{"", "", "LOCAL$Y,$Z"}));
  EXPECT_EQ(table.declaration_lines, (std::vector<int32_t>{0, -1, -1, 3, 3}));
}

TEST_F(VariableCutTest, NeighboursAreTheRecordedOnesOnTheSameLine) {
  // $y's predecessor $x is on line 1, its successor $z already cut from the
  // text: both still share line 2 by their recorded numbers.
  load({"Local $x", "Local $y = 1, $z = 2"});
  EXPECT_FALSE(cut_variable(script, table, 3));
  EXPECT_EQ(script.lines[2], "Local $y = 1");
  EXPECT_FALSE(cut_variable(script, table, 2));
  EXPECT_EQ(script.lines[2], "Local $y = 1");
  EXPECT_EQ(script.lines[1], "Local $x");
}

}  // namespace
