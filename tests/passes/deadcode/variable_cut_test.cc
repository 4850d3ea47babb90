#include "passes/deadcode/variable_cut.h"

#include <gtest/gtest.h>

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
