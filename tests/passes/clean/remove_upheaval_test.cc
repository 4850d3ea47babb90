// Tests of stripping trailing blanks and joining continuation lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/script_builder.h"

namespace {

using lines_t = std::vector<std::string>;

// The pass never changes the number of lines.
lines_t joined(const lines_t& input) {
  int32_t count = 0;
  lines_t left = lines_after(input, [](autoitsourcefile& s) { s.remove_upheaval(); }, &count);
  EXPECT_EQ(count, static_cast<int32_t>(input.size()));
  return left;
}

TEST(RemoveUpheaval, TrailingBlanksStripped) {
  EXPECT_EQ(joined({"a  \t ", " \t", "  b\t c ", ""}), (lines_t{"a", "", "  b\t c", ""}));
}

TEST(RemoveUpheaval, Joining) {
  struct example {
    const char* what;
    lines_t input, result;
  };
  const example examples[] = {
      {"chain", {"a = 1 + _", "    2 + _", "    3", "b"}, {"a = 1 +     2 +     3", "", "", "b"}},
      {"blanks after _", {"a _  \t", "\tb  "}, {"a \tb", ""}},
      {"tab before _", {"a\t_", "b"}, {"a\tb", ""}},
      {"_ not last", {"a _ ; c", "b"}, {"a _ ; c", "b"}},
      {"_ alone", {"_", "  x", "y"}, {"  x", "", "y"}},
      {"_ alone chained", {"_", "_", "x"}, {"x", "", ""}},
      {"_ before empty line", {"a _", "", "b"}, {"a ", "", "b"}},
      {"_ before blank line", {"a _", " \t ", "b"}, {"a ", "", "b"}},
      {"last line", {"a", "b _"}, {"a", "b "}},
      {"chain to the last line", {"a _", "b _"}, {"a b ", ""}},
      {"comment line swallows", {"; note _", "x = 1"}, {"; note x = 1", ""}},
      {"two chains", {"a _", "b", "c _", "d _", "e"}, {"a b", "", "c d e", "", ""}},
      {"name ending in _", {"$x = $total_", "y"}, {"$x = $total_", "y"}},
      {"method ending in __", {"Return $oSelf.__pointer__", "z"}, {"Return $oSelf.__pointer__", "z"}},
      {"name ending in _ on last line", {"a", "$x = $total_  "}, {"a", "$x = $total_"}},
      {"name ending in _ ends a chain", {"a _", "$total_", "b"}, {"a $total_", "", "b"}},
  };
  for (const example& e : examples) EXPECT_EQ(joined(e.input), e.result) << e.what;
}

TEST(RemoveUpheaval, LongChainJoinsIntoFirstLine) {
  const size_t n = 200000;
  lines_t input(n, "x _");
  input.push_back("end");
  std::string expected;
  for (size_t i = 0; i < n; ++i) expected += "x ";
  expected += "end";
  lines_t result = joined(input);
  ASSERT_EQ(result.size(), n + 1);
  EXPECT_EQ(result[0], expected);
  EXPECT_EQ(result.back(), "");
  EXPECT_EQ(std::count(result.begin(), result.end(), ""), static_cast<long>(n));
}

}  // namespace
