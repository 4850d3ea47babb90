// Tests of finding declaration lines and the variables they declare.
#include "passes/variables/variable_scan.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/script_builder.h"

namespace {

std::vector<std::string> walk(std::string_view line, bool comments_kept = true) {
  std::vector<std::string> names;
  walk_declaration(line, comments_kept, names);
  return names;
}

using names = std::vector<std::string>;

TEST(DeclarationLine, BeginsWithADeclaringWordAndHoldsNoEnum) {
  for (const char* line : {"DIM$A", "LOCAL$A=1", "GLOBAL$X,$Y", "CONST$C=1", "GLOBALCONST$MAX=5",
                           "DIMMER()", "LOCALSTATIC$X=0", "DIM"}) {
    EXPECT_TRUE(is_declaration_line(line)) << line;
  }
  for (const char* line : {"", "$A=1", "STATIC$X=0", "XLOCAL$A", "FUNCF()", "LOCA", "DI",
                           "LOCALENUM$E1,$E2", "GLOBAL$PENUMBRA=1", "ENUM$A", "LOCAL$S='ENUM'"}) {
    EXPECT_FALSE(is_declaration_line(line)) << line;
  }
}

// The walk from its rules, one byte at a time, into one growing buffer.
names plain_walk(std::string_view line, bool comments_kept) {
  names found;
  bool in_single = false;
  bool in_double = false;
  int parens = 0;
  int brackets = 0;
  bool collecting = true;
  std::string buffer;
  for (char c : line) {
    if (in_single || in_double) {
      if ((in_single && c == '\'') || (in_double && c == '"')) in_single = in_double = false;
      continue;
    }
    if (c == '\'' || c == '"') {
      (c == '\'' ? in_single : in_double) = true;
      continue;
    }
    if (c == ';' && comments_kept) break;
    if (c == '(' || c == ')') {
      parens += c == '(' ? 1 : -1;
    } else if (c == '[' || c == ']') {
      brackets += c == '[' ? 1 : -1;
    } else if (parens != 0 || brackets != 0) {
    } else if (c == ',' || c == '=') {
      if (collecting) found.push_back(buffer);
      collecting = c == ',';
      if (c == ',') buffer.clear();
    } else {
      buffer += c;
      for (const char* word : {"DIM", "LOCAL", "GLOBAL", "CONST", "STATIC"}) {
        if (buffer == word) buffer.clear();
      }
    }
  }
  if (collecting) found.push_back(buffer);
  return found;
}

// Names are kept as views of the line while they stand in one piece, and
// copied together when strings, calls or indexes split them.
TEST(DeclarationWalk, AgreesWithThePlainWalkOnRandomLines) {
  std::mt19937 rng(4242);
  const std::vector<std::string> pieces = {"LOCAL", "DIM", "CONST", "STATIC", "GLOBAL", "LO",
                                           "CAL",   "$A",  "B",     ",",      "=",      "(",
                                           ")",     "[",   "]",     "'X'",    "\"Y\"",  "'",
                                           "\"",    ";",   "1",     "M",      "C",      "T"};
  for (int round = 0; round < 30000; ++round) {
    std::string line = rng() % 2 ? "LOCAL" : "";
    const size_t count = rng() % 14;
    for (size_t k = 0; k < count; ++k) line += pieces[rng() % pieces.size()];
    for (bool comments_kept : {true, false}) {
      ASSERT_EQ(walk(line, comments_kept), plain_walk(line, comments_kept))
          << "line: " << line << " comments kept: " << comments_kept;
    }
  }
}

TEST(DeclarationWalk, NamesOfTypicalDeclarations) {
  EXPECT_EQ(walk("LOCAL$A=1,$B=2"), (names{"$A", "$B"}));
  EXPECT_EQ(walk("GLOBALCONST$MAX=5"), (names{"$MAX"}));
  EXPECT_EQ(walk("DIM$ARR[10]"), (names{"$ARR"}));
  EXPECT_EQ(walk("GLOBAL$X,$Y"), (names{"$X", "$Y"}));
  EXPECT_EQ(walk("LOCAL$A=1,$B=$A"), (names{"$A", "$B"}));
  EXPECT_EQ(walk("LOCAL$A[2][3],$B"), (names{"$A", "$B"}));
  EXPECT_EQ(walk("LOCALCONSTDIM$X"), (names{"$X"}));
  // A second "=" in an initial value ends no name.
  EXPECT_EQ(walk("LOCAL$A=$B=1,$C"), (names{"$A", "$C"}));
}

TEST(DeclarationWalk, StringsParenthesesAndBracketsHideTheirCommas) {
  EXPECT_EQ(walk("LOCAL$S='A,B',$T=F(1,2)"), (names{"$S", "$T"}));
  EXPECT_EQ(walk("LOCAL$M[2]=[1,2],$N"), (names{"$M", "$N"}));
  EXPECT_EQ(walk("LOCAL$A=F(G(1,2),[3,4]),$B"), (names{"$A", "$B"}));
  // The other quote kind inside a string is text; a doubled quote reopens.
  EXPECT_EQ(walk("LOCAL$A=\"IT'S,\",$B"), (names{"$A", "$B"}));
  EXPECT_EQ(walk("LOCAL$A='X'',Y',$B"), (names{"$A", "$B"}));
  // Quote characters never enter a name.
  EXPECT_EQ(walk("LOCAL$A\"X\"B"), (names{"$AB"}));
}

TEST(DeclarationWalk, UnbalancedTextSwallowsTheRestOfTheLine) {
  EXPECT_EQ(walk("LOCAL$A=F(1)),$B"), (names{"$A"}));
  EXPECT_EQ(walk("LOCAL$A)"), (names{"$A"}));
  EXPECT_EQ(walk("LOCAL$A]"), (names{"$A"}));
  EXPECT_EQ(walk("LOCAL$A='X,$B"), (names{"$A"}));
  EXPECT_EQ(walk("LOCAL$A=\"X,$B"), (names{"$A"}));
  // A call that looks like a declaration: the parentheses hide the rest.
  EXPECT_EQ(walk("DIMMER()"), (names{"MER"}));
}

TEST(DeclarationWalk, EmptyNames) {
  EXPECT_EQ(walk("LOCAL$A,"), (names{"$A", ""}));
  EXPECT_EQ(walk("LOCAL$A=1,,$B"), (names{"$A", "", "$B"}));
  EXPECT_EQ(walk("DIM"), (names{""}));
  EXPECT_EQ(walk("LOCAL=5"), (names{""}));
}

TEST(DeclarationWalk, OnlyWholeDeclaringWordsAreDropped) {
  EXPECT_EQ(walk("LOCALSTATIC$X=0"), (names{"$X"}));
  EXPECT_EQ(walk("STATICLOCAL$X"), (names{"$X"}));
  EXPECT_EQ(walk("GLOBALSTATIC$A,STATIC$B"), (names{"$A", "$B"}));
  EXPECT_EQ(walk("LOCAL$STATIC,$DIMX"), (names{"$STATIC", "$DIMX"}));
  EXPECT_EQ(walk("LOCALSTATICS$X"), (names{"S$X"}));
  EXPECT_EQ(walk("LOCALVOLATILE$X"), (names{"VOLATILE$X"}));
}

TEST(DeclarationWalk, ACommentEndsTheLineOnlyWhileCommentsAreKept) {
  EXPECT_EQ(walk("LOCAL$X;COUNTER", true), (names{"$X"}));
  EXPECT_EQ(walk("LOCAL$X;COUNTER", false), (names{"$X;COUNTER"}));
  EXPECT_EQ(walk("LOCAL$X=1;A,$B", true), (names{"$X"}));
  EXPECT_EQ(walk("LOCAL$X=1;A,$B", false), (names{"$X", "$B"}));
  EXPECT_EQ(walk("LOCAL$X,;COMMENT", true), (names{"$X", ""}));
  // A ";" inside a string is text; inside parentheses it still starts a comment.
  EXPECT_EQ(walk("LOCAL$S=';',$T;C", true), (names{"$S", "$T"}));
  EXPECT_EQ(walk("LOCAL$S=\";\",$T;C", true), (names{"$S", "$T"}));
  EXPECT_EQ(walk("LOCAL$A,$B=F(1;2),$C", true), (names{"$A", "$B"}));
}

TEST(DeclarationWalk, BytesBeyondAsciiAndNulStayInNames) {
  EXPECT_EQ(walk(std::string_view("LOCAL$\xE4\0B=1", 11)),
            (names{std::string("$\xE4\0B", 4)}));
}

class VariableScanTest : public testing::Test {
 protected:
  autoitsourcefile script{""};
  variable_table table;

  std::string scan(const std::vector<std::string>& lines, const char* mode) {
    load_lines(script, lines, true);
    return captured_stdout([&] { scan_variables(script, table, progress(mode)); });
  }
};

TEST_F(VariableScanTest, RecordsNamesWithTheirLinesAndListsThem) {
  std::string out = scan({"Global $g = 1, $spare = 2", "MsgBox(0, '', $g)", "  local $X",
                          "Global Enum $e1, $e2", "Dim $old = 'a,b'"},
                         "C");
  EXPECT_EQ(script.variable_count, 4);
  std::vector<std::string_view> names;
  for (size_t k = 0; k < table.variable_names.size(); ++k) names.push_back(table.variable_names[k]);
  EXPECT_EQ(names, (std::vector<std::string_view>{"", "$G", "$SPARE", "$X", "$OLD"}));
  EXPECT_EQ(table.declaration_lines, (std::vector<int32_t>{0, 1, 1, 3, 5}));
  EXPECT_EQ(out,
            "found variable: 1:  $G\n"
            "found variable: 2:  $SPARE\n"
            "found variable: 3:  $X\n"
            "found variable: 4:  $OLD\n");
}

TEST_F(VariableScanTest, DotsMarkEveryVariableOnLinesNumberedByFifty) {
  std::vector<std::string> lines(100, "x = 1");
  lines[48] = "Local $a, $b";  // line 49
  lines[49] = "Local $c";       // line 50
  lines[98] = "Local $d";       // line 99
  lines[99] = "Local $e, $f, $g";  // line 100
  EXPECT_EQ(scan(lines, "c"), "....");
  EXPECT_EQ(script.variable_count, 7);
}

TEST_F(VariableScanTest, ScriptWithoutDeclarationsRecordsNothing) {
  EXPECT_EQ(scan({"MsgBox(0, '', 1)", "", "Func f()", "EndFunc"}, "C"), "");
  EXPECT_EQ(script.variable_count, 0);
}

TEST_F(VariableScanTest, TrailingCommentsCountOnlyWhenCommentRemovalRan) {
  script.comments_removed = true;
  scan({"Local $x ; counter"}, "C");
  ASSERT_EQ(script.variable_count, 1);
  EXPECT_EQ(table.variable_names[1], "$X;COUNTER");
}

TEST_F(VariableScanTest, ANameInPiecesOutlivesTheScan) {
  // The index between the name's bytes leaves them in two pieces: the name
  // is a copy, which must stay readable after the scan, as the deleted-name
  // lists read it at the end of the run.
  scan({"Local $a[2]b = 1, $c", "Local $d"}, "x");
  ASSERT_EQ(script.variable_count, 3);
  EXPECT_EQ(table.variable_names[1], "$AB");
  EXPECT_EQ(table.variable_names[2], "$C");
  EXPECT_EQ(table.variable_names[3], "$D");
}

TEST_F(VariableScanTest, TablesGrowPastTenThousandVariables) {
  std::string line = "Global $v0";
  for (int i = 1; i < 12000; ++i) line += ", $v" + std::to_string(i);
  scan({line}, "x");
  ASSERT_EQ(script.variable_count, 12000);
  EXPECT_EQ(table.variable_names[12000], "$V11999");
  EXPECT_EQ(table.declaration_lines[12000], 1);
}

}  // namespace
