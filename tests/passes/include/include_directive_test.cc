// Recognising directives and cutting out the include name.
#include "passes/include/include_directive.h"

#include <gtest/gtest.h>

namespace {

constexpr auto none = include_kind::none;
constexpr auto once = include_kind::once;
constexpr auto file = include_kind::file;

struct row {
  std::string line;
  include_kind kind;
  std::string name = "";
  std::string written_name = "";
};

void check(const std::vector<row>& rows) {
  for (const row& r : rows) {
    include_directive d = parse_include_directive(r.line);
    EXPECT_EQ(d.kind, r.kind) << r.line;
    EXPECT_EQ(d.name, r.name) << r.line;
    EXPECT_EQ(d.written_name, r.written_name) << r.line;
  }
}

TEST(IncludeDirective, Recognition) {
  check({
      {"    #Include \t < a . au3 >", file, "A.AU3", "A . AU3"},
      {"# include <a.au3>", none},  // a blank or tab inside the keyword hides it
      {"#includ\te <a.au3>", none},
      {"#includ", none},
      {"$s = \"#include <a.au3>\"", none},  // after other text
      {"##include <a.au3>", none},
      {"; #include-once", none},
      {"#include-once", once},
      {"\t#Include - Once ; guard", once},
      {"#INCLUDE-ONCEXYZ", once},
      {"#include-onc", file, "#INCLUDE-ON"},  // too short for include-once
  });
}

TEST(IncludeDirective, AngleNameStopsAtTheFirstClosingBracket) {
  check({
      {"#include <Array.au3> ; >x<", file, "ARRAY.AU3"},
      {"#include \"x<y.au3>\"", file, "Y.AU3"},  // "<" decides the form
      {"#include <a.au3 ; note", file, "A.AU3;NOTE"},      // no ">": to the end
      {"#include > <a.au3>", file, "A.AU3>"},              // ">" before "<"
      {"#include <>", file, ""},
      {"#include <", file, ""},
  });
  EXPECT_TRUE(parse_include_directive("#include \"x<y.au3>\"").angle);
}

TEST(IncludeDirective, QuotedNameEndsBeforeTheLastCharacter) {
  check({
      {"#include \"My Lib.au3\"", file, "MYLIB.AU3", "MY LIB.AU3"},
      {"#include \"x.au3\" ; note", file, "X.AU3\";NOT", "X.AU3"},
      {"#include 'x.au3'", file, "X.AU3"},  // apostrophes quote like double quotes
      {"#include \"it's.au3\"", file, "IT'S.AU3"},  // the first quote decides
      {"#include 'say \"hi\".au3'", file, "SAY\"HI\".AU3", "SAY \"HI\".AU3"},
      {"#include x.au3", file, "#INCLUDEX.AU"},
      {"#include \"a", file, ""},
      {"#include \"", file, ""},
      {"#include", file, "#INCLUD"},
      {"#include \"\xe4x\r\f.au3\"", file, "\xe4X\r\f.AU3"},  // other bytes pass unchanged
  });
  EXPECT_FALSE(parse_include_directive("#include \"a.au3\"").angle);
}

TEST(IncludeDirective, WrittenNameKeepsInnerBlanksOnlyBetweenAPair) {
  check({
      {"#include < \tmy lib.au3\t >", file, "MYLIB.AU3", "MY LIB.AU3"},
      {"#include <my\tlib.au3>", file, "MYLIB.AU3", "MY\tLIB.AU3"},
      {"#include \" x y \" ; \"c\"", file, "XY\";\"C", "X Y"},
      {"#include <a b", file, "AB"},
      {"#include > <a b>", file, "AB>"},
      {"#include \"a b", file, "A"},
      {"#include 'a b'", file, "AB", "A B"},
  });
}

TEST(IncludeDirective, WholePathNames) {
  for (const char* name : {"C:\\Lib\\x.au3", "z:x.au3", "\\x.au3", "/opt/lib/x.au3",
                           "\\\\server\\share\\x.au3"}) {
    EXPECT_TRUE(is_absolute_include_name(name)) << name;
  }
  for (const char* name : {"x.au3", "lib\\x.au3", "..\\x.au3", "1:x.au3", ""}) {
    EXPECT_FALSE(is_absolute_include_name(name)) << name;
  }
  EXPECT_TRUE(parse_include_directive("#include <C:\\Lib\\x.au3>").absolute);
  EXPECT_FALSE(parse_include_directive("#include \"lib\\x.au3\"").absolute);
}

}  // namespace
