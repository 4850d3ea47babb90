// @ScriptLineNumber written as the source line's number.
#include "script/source_line_numbers.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string numbered(const std::string& line) {
  std::string out = "(unchanged)";
  with_line_number(line, 42, &out);
  return out;
}

TEST(SourceLineNumbers, OnlyTheMacroOutsideStringsAndComments) {
  EXPECT_EQ(numbered("f(@ScriptLineNumber, @SCRIPTLINENUMBER)"), "f(42, 42)");
  EXPECT_EQ(numbered("$s = '@ScriptLineNumber' & \"it's @ScriptLineNumber\" & @scriptlinenumber"),
            "$s = '@ScriptLineNumber' & \"it's @ScriptLineNumber\" & 42");
  EXPECT_EQ(numbered("x(@ScriptLineNumber) ; @ScriptLineNumber"), "x(42) ; @ScriptLineNumber");
  // A longer macro name, another macro, or none.
  EXPECT_EQ(numbered("f(@ScriptLineNumbers, @ScriptName, @ScriptLine)"), "(unchanged)");
  EXPECT_EQ(numbered(""), "(unchanged)");
}

}  // namespace
