// Recognising directives and cutting out the include name.
#include "passes/include/include_directive.h"

#include <gtest/gtest.h>

namespace {

include_kind kind_of(std::string_view line) { return parse_include_directive(line).kind; }

TEST(IncludeDirective, RecognisedInAnyCaseAndSpacing) {
  EXPECT_EQ(kind_of("#include <a.au3>"), include_kind::file);
  EXPECT_EQ(kind_of("#InClUdE <a.au3>"), include_kind::file);
  EXPECT_EQ(kind_of("  \t #Include\t  \"a.au3\""), include_kind::file);
  include_directive spaced = parse_include_directive("    #Include   < a . au3 >");
  EXPECT_EQ(spaced.kind, include_kind::file);
  EXPECT_TRUE(spaced.angle);
  EXPECT_EQ(spaced.name, "A.AU3");
}

TEST(IncludeDirective, BlankOrTabInsideKeywordHidesIt) {
  EXPECT_EQ(kind_of("# include <a.au3>"), include_kind::none);
  EXPECT_EQ(kind_of("#inc lude <a.au3>"), include_kind::none);
  EXPECT_EQ(kind_of("#includ\te <a.au3>"), include_kind::none);
  EXPECT_EQ(kind_of("#include"), include_kind::file);
  EXPECT_EQ(kind_of("#includ"), include_kind::none);
  EXPECT_EQ(kind_of(""), include_kind::none);
}

TEST(IncludeDirective, KeywordAfterOtherTextIsNoDirective) {
  EXPECT_EQ(kind_of("$s = \"#include <a.au3>\""), include_kind::none);
  EXPECT_EQ(kind_of("; #include <a.au3>"), include_kind::none);
  EXPECT_EQ(kind_of("x #include-once"), include_kind::none);
  // Another hash sign before the keyword must not hide it.
  EXPECT_EQ(kind_of("# #include <a.au3>"), include_kind::none);
  EXPECT_EQ(kind_of("##include <a.au3>"), include_kind::none);
}

TEST(IncludeDirective, IncludeOnceInAnyForm) {
  EXPECT_EQ(kind_of("#include-once"), include_kind::once);
  EXPECT_EQ(kind_of("\t#INCLUDE-ONCE ; library guard"), include_kind::once);
  EXPECT_EQ(kind_of("#Include - Once"), include_kind::once);
  EXPECT_EQ(kind_of("#include\t-\tonce"), include_kind::once);
  EXPECT_EQ(kind_of("#include-oncexyz"), include_kind::once);
  // Shorter than the full keyword: an ordinary quote-form directive.
  EXPECT_EQ(kind_of("#include-onc"), include_kind::file);
}

TEST(IncludeNameAngle, CutBetweenFirstOpeningAndFirstClosingBracket) {
  include_directive d = parse_include_directive("#include <Array.au3> ; >x<");
  EXPECT_TRUE(d.angle);
  EXPECT_EQ(d.name, "ARRAY.AU3");
  EXPECT_EQ(parse_include_directive("#include <a>b>").name, "A");
  // A double quote does not matter once there is a "<".
  EXPECT_EQ(parse_include_directive("#include \"x<y.au3>\"").name, "Y.AU3");
  EXPECT_TRUE(parse_include_directive("#include \"x<y.au3>\"").angle);
}

TEST(IncludeNameAngle, MissingOrMisplacedClosingBracketRunsToTheEnd) {
  EXPECT_EQ(parse_include_directive("#include <a.au3").name, "A.AU3");
  EXPECT_EQ(parse_include_directive("#include <a.au3 ; note").name, "A.AU3;NOTE");
  EXPECT_EQ(parse_include_directive("#include > <a.au3>").name, "A.AU3>");
  EXPECT_EQ(parse_include_directive("#include <>").name, "");
  EXPECT_EQ(parse_include_directive("#include <").name, "");
}

TEST(IncludeNameQuoted, LastCharacterIsTakenAsTheClosingQuote) {
  include_directive d = parse_include_directive("#include \"My Lib.au3\"");
  EXPECT_FALSE(d.angle);
  EXPECT_EQ(d.name, "MYLIB.AU3");
  EXPECT_EQ(parse_include_directive("#include \"x.au3\" ; note").name, "X.AU3\";NOT");
  EXPECT_EQ(parse_include_directive("#include 'x.au3'").name, "#INCLUDE'X.AU3");
  EXPECT_EQ(parse_include_directive("#include x.au3").name, "#INCLUDEX.AU");
  EXPECT_EQ(parse_include_directive("#include \"\"").name, "");
  EXPECT_EQ(parse_include_directive("#include \"").name, "");
  EXPECT_EQ(parse_include_directive("#include \"a").name, "");
  EXPECT_EQ(parse_include_directive("#include").name, "#INCLUD");
}

TEST(IncludeNameBytes, BytesAboveAsciiAndOtherControlBytesPassUnchanged) {
  std::string line = "#include \"\xe4x\r\f.au3\"";
  EXPECT_EQ(parse_include_directive(line).name, "\xe4X\r\f.AU3");
}

TEST(IncludeWrittenName, KeepsInnerBlanksAndTrimsOuterOnes) {
  EXPECT_EQ(parse_include_directive("#include \"MBR GUI Design.au3\"").written_name,
            "MBR GUI DESIGN.AU3");
  EXPECT_EQ(parse_include_directive("#include < \tmy lib.au3\t >").written_name, "MY LIB.AU3");
  EXPECT_EQ(parse_include_directive("#include <my\tlib.au3>").written_name, "MY\tLIB.AU3");
  EXPECT_EQ(parse_include_directive("#include \" x y \" ; a \"c\"").written_name, "X Y");
}

TEST(IncludeWrittenName, QuotedNameFollowedByComment) {
  include_directive d = parse_include_directive("#include \"x.au3\" ; note");
  EXPECT_EQ(d.written_name, "X.AU3");
}

TEST(IncludeWrittenName, NoneWithoutBothDelimitersOrWhenNothingNew) {
  EXPECT_EQ(parse_include_directive("#include <a.au3>").written_name, "");
  EXPECT_EQ(parse_include_directive("#include \"a.au3\"").written_name, "");
  EXPECT_EQ(parse_include_directive("#include <a b").written_name, "");
  EXPECT_EQ(parse_include_directive("#include > <a b>").written_name, "");
  EXPECT_EQ(parse_include_directive("#include \"a b").written_name, "");
  EXPECT_EQ(parse_include_directive("#include 'a b'").written_name, "");
}

}  // namespace
