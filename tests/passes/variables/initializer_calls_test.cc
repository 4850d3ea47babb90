#include "passes/variables/initializer_calls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<char> calls(const std::string& line, bool comments_kept = true) {
  std::vector<char> out;
  item_calls(line, comments_kept, out);
  return out;
}

using flags = std::vector<char>;

TEST(InitializerCallsTest, CallsThatDoWork) {
  EXPECT_EQ(calls("Local $hGui = GUICreate(\"t\")"), flags{1});
  EXPECT_EQ(calls("Local $a = 1, $b = MsgBox(0, \"t\", \"x\"), $c = 3"), (flags{0, 1, 0}));
  EXPECT_EQ(calls("Global $oErr = ObjEvent (\"AutoIt.Error\", \"OnErr\")"), flags{1});
  EXPECT_EQ(calls("Local $x = $y And IsVisible()"), flags{1});  // not run into the word before
  EXPECT_EQ(calls("Local $r = BitOR(1, _Flags())"), flags{1});  // nested in one that computes
  EXPECT_EQ(calls("DIMMER()"), flags{1});  // a call that only looks like a declaration
}

TEST(InitializerCallsTest, MethodsAlwaysCount) {
  EXPECT_EQ(calls("Local $v = $oShell.Run(\"x\")"), flags{1});
  EXPECT_EQ(calls("Local $v = $o.String(1)"), flags{1});  // a method, whatever its name
}

TEST(InitializerCallsTest, CallsThroughAVariable) {
  EXPECT_EQ(calls("Local $q = $fn(), $z = $aF[0](), $w = 1 + $fn ()"), (flags{1, 1, 1}));
  EXPECT_EQ(calls("Local $z = $aF[$i][1] (2), $k = $a[Abs(1)]"), (flags{1, 0}));
  // A value held, not called; a bracket that indexes no variable.
  EXPECT_EQ(calls("Local $v = $fn, $e = $a[0], $p = [1](2)"), (flags{0, 0, 0}));
}

TEST(InitializerCallsTest, ValuesThatOnlyCompute) {
  EXPECT_EQ(calls("Global Const $GPTR = BitOR($GMEM_FIXED, $GMEM_ZEROINIT)"), flags{0});
  EXPECT_EQ(calls("Local $n = stringlen($s) + UBound($a), $p = Ptr(0)"), (flags{0, 0}));
  EXPECT_EQ(calls("Local $b = Not ($a Or ($c And $d))"), flags{0});
  EXPECT_EQ(calls("Local $y = @Macro(2), $z = 5(1)"), (flags{0, 0}));
  EXPECT_EQ(calls("Local $m[2] = [1, 2], $n = (1 + 2)"), (flags{0, 0}));
  EXPECT_EQ(calls("Local $sOut = StringRegExpReplace(\"abc\", \"b\", \"x\")"), flags{0});
}

TEST(InitializerCallsTest, StringsAndCommentsHoldNoCall) {
  EXPECT_EQ(calls("Local $s = 'Run(x)', $t = \"a, Run(b)\""), (flags{0, 0}));
  EXPECT_EQ(calls("Local $a = 1 ; Run(x)"), flags{0});
  // Without comments kept, a ";" is just a byte of the line.
  EXPECT_EQ(calls("Local $a = 1 ; Run(x)", false), flags{1});
}

}  // namespace
