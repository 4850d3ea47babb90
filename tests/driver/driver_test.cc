#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/arguments.h"
#include "driver/size_report.h"

namespace {

bool parse(std::vector<const char*> argv, arguments* args) {
  argv.insert(argv.begin(), "au3shrink");
  return parse_arguments(static_cast<int>(argv.size()), const_cast<char**>(argv.data()), args);
}

TEST(Arguments, CrossedIncludeFolders) {
  arguments args;
  ASSERT_TRUE(parse({"in", "out", "quoted", "angle", "CFG", "3", "C"}, &args));
  EXPECT_STREQ(args.quoted_include_dir, "quoted");
  EXPECT_STREQ(args.angle_include_dir, "angle");
  EXPECT_EQ(args.runs, 3);
  EXPECT_STREQ(args.output_mode, "C");
}

TEST(Arguments, PassLettersMustStandInPlaceInUpperCase) {
  struct {
    const char* passes;
    bool c, f, g;
  } cases[] = {{"CFG", true, true, true}, {"cfg", false, false, false}, {"C", true, false, false},
               {"---", false, false, false}, {"-F-", false, true, false}, {"--G", false, false, true},
               {"", false, false, false}, {"CGF", true, false, false}, {"CFGX", true, true, true}};
  for (const auto& c : cases) {
    arguments args;
    ASSERT_TRUE(parse({"in", "out", ".", ".", c.passes, "1", "C"}, &args)) << c.passes;
    EXPECT_EQ(args.remove_comments, c.c) << c.passes;
    EXPECT_EQ(args.remove_functions, c.f) << c.passes;
    EXPECT_EQ(args.remove_vars, c.g) << c.passes;
  }
}

TEST(Arguments, TooFewForTheSelectedPasses) {
  arguments args;
  EXPECT_FALSE(parse({"in", "out", ".", "."}, &args));
  EXPECT_TRUE(parse({"in", "out", ".", ".", "C--"}, &args));
  EXPECT_FALSE(parse({"in", "out", ".", ".", "-F-"}, &args));
  EXPECT_FALSE(parse({"in", "out", ".", ".", "--G", "1"}, &args));
  EXPECT_TRUE(parse({"in", "out", ".", ".", "--G", "1", "x"}, &args));
  EXPECT_TRUE(parse({"in", "out", ".", ".", "-F-", "abc", "x"}, &args));
  EXPECT_EQ(args.runs, 0);
}

TEST(Arguments, KeepOptionsAnywhereOthersPositional) {
  arguments args;
  ASSERT_TRUE(parse({"--keep=_On_*", "in", "out", "--keep=", ".", ".", "--G", "2", "x",
                     "--keep=$a,b"},
                    &args));
  EXPECT_EQ(args.keep, (std::vector<std::string>{"_On_*", "", "$a,b"}));
  EXPECT_STREQ(args.input, "in");
  EXPECT_STREQ(args.angle_include_dir, ".");
  EXPECT_TRUE(args.remove_vars);
  EXPECT_EQ(args.runs, 2);
  EXPECT_STREQ(args.output_mode, "x");
  // Options do not count towards the positional arguments.
  EXPECT_FALSE(parse({"in", "out", ".", ".", "--keep=a"}, &args));
  // Only the exact form is an option: anything else stays in its place.
  arguments other;
  ASSERT_TRUE(parse({"--word", "out", "--keep", "--KEEP=x", "---"}, &other));
  EXPECT_STREQ(other.input, "--word");
  EXPECT_STREQ(other.quoted_include_dir, "--keep");
  EXPECT_STREQ(other.angle_include_dir, "--KEEP=x");
  EXPECT_FALSE(other.remove_comments || other.remove_functions || other.remove_vars);
  EXPECT_TRUE(other.keep.empty());
}

TEST(Arguments, OptionsAnywhereAmongThePositionalArguments) {
  arguments args;
  ASSERT_TRUE(parse({"--no-pause", "in", "--keep=_On_*", "out", ".", ".", "--keep=$x, Foo", "-FG",
                     "2", "--keep=", "C"},
                    &args));
  EXPECT_TRUE(args.no_pause);
  EXPECT_FALSE(args.help || args.version);
  EXPECT_EQ(args.keep, (std::vector<std::string>{"_On_*", "$x, Foo", ""}));
  EXPECT_STREQ(args.input, "in");
  EXPECT_STREQ(args.output, "out");
  EXPECT_STREQ(args.pass_selection, "-FG");
  EXPECT_EQ(args.runs, 2);
  EXPECT_STREQ(args.output_mode, "C");
}

TEST(Arguments, OnlyTheExactFormsAreOptions) {
  arguments args;
  ASSERT_TRUE(parse({"--word", "--keep", ".", ".", "--G", "1", "--NO-PAUSE"}, &args));
  EXPECT_STREQ(args.input, "--word");
  EXPECT_STREQ(args.output, "--keep");
  EXPECT_TRUE(args.remove_vars) << "--G selects the variable pass";
  EXPECT_STREQ(args.output_mode, "--NO-PAUSE");
  EXPECT_FALSE(args.no_pause);
  EXPECT_TRUE(args.keep.empty());
  arguments dashes;
  ASSERT_TRUE(parse({"in", "out", ".", ".", "---"}, &dashes));
  EXPECT_FALSE(dashes.remove_comments || dashes.remove_functions || dashes.remove_vars);
}

TEST(Arguments, HelpAndVersion) {
  for (auto argv : std::vector<std::vector<const char*>>{
           {"--help"}, {"-h"}, {"/?"}, {"in", "--help"}, {"in", "out", ".", ".", "CFG", "3", "C", "--help"}}) {
    arguments args;
    parse(argv, &args);
    EXPECT_TRUE(args.help) << argv.back();
  }
  // -h and /? are options only on their own; otherwise they are positional.
  arguments args;
  ASSERT_TRUE(parse({"-h", "/?", ".", ".", "---"}, &args));
  EXPECT_FALSE(args.help);
  EXPECT_STREQ(args.input, "-h");
  EXPECT_STREQ(args.output, "/?");
  arguments version;
  EXPECT_FALSE(parse({"in", "--version"}, &version)) << "too few positional arguments to run";
  EXPECT_TRUE(version.version);
}

TEST(Arguments, OptionsDoNotCountAsPositional) {
  arguments args;
  EXPECT_FALSE(parse({"--no-pause", "in", "out", ".", "."}, &args));
  EXPECT_TRUE(args.no_pause) << "decoded although the command line is incomplete";
  EXPECT_FALSE(parse({"in", "out", ".", ".", "-F-", "--no-pause", "x"}, &args));
}

TEST(Arguments, WordsThatLookLikeOptionsAreWarnedAboutAndKeepTheirRole) {
  arguments args;
  ASSERT_TRUE(parse({"in", "--out", ".", ".", "--G", "1", "C", "--Help", "--", "x"}, &args));
  EXPECT_STREQ(args.output, "--out");
  EXPECT_TRUE(args.remove_vars);  // "--G" is a pass selection, and no warning
  ASSERT_EQ(args.warnings.size(), 4u);
  EXPECT_EQ(args.warnings[0].text.rfind("'--out' is not an option (options: --help, ", 0), 0u);
  EXPECT_NE(args.warnings[0].text.find("); taken as OUTPUT"), std::string::npos);
  EXPECT_NE(args.warnings[1].text.find("'--Help' is not an option"), std::string::npos);
  EXPECT_NE(args.warnings[1].text.find("taken as an extra argument past MODE"), std::string::npos);
  EXPECT_EQ(args.warnings[2].text.rfind("'--' ends no options here", 0), 0u);
  EXPECT_EQ(args.warnings[3].text, "extra argument 'x' past MODE is ignored");

  arguments plain;
  ASSERT_TRUE(parse({"in", "out", ".", ".", "---", "--", "C"}, &plain));
  EXPECT_EQ(plain.warnings.size(), 1u);  // "---" and "-" + word are no option look-alikes
}

TEST(Arguments, AValueAfterABlankIsShownInTheEqualsForm) {
  arguments args;
  ASSERT_TRUE(parse({"--keep", "_On_*", "in", "out", ".", ".", "C--", "--no-warn=held-name, argument",
                     "--map"},
                    &args));
  EXPECT_STREQ(args.input, "--keep");  // still positional, as before
  ASSERT_EQ(args.warnings.size(), 2u);
  EXPECT_EQ(args.warnings[0].text,
            "'--keep' takes its value after '=', not after a blank: write --keep=_On_*; taken as INPUT");
  EXPECT_STREQ(args.warnings[0].kind, "option-form");
  EXPECT_NE(args.warnings[1].text.find("write --map=VALUE; taken as an extra"), std::string::npos);
  EXPECT_EQ(args.no_warn, (std::vector<std::string>{"held-name", "argument"}));
}

TEST(Arguments, UsageErrorsNameWhatIsMissing) {
  struct {
    std::vector<const char*> argv;
    const char* missing;
  } cases[] = {
      {{"in", "out", "."}, "ANGLE_DIR and PASSES are missing"},
      {{"in"}, "OUTPUT, QUOTED_DIR, ANGLE_DIR and PASSES are missing"},
      {{"in", "out", ".", ".", "-F-"}, "RUNS and MODE are missing: F or G is selected"},
      {{"in", "out", ".", ".", "--G", "2"}, "MODE is missing: F or G is selected"},
      {{"--where", "map"}, "LINE is missing: --where looks up at least one line"},
  };
  for (auto& c : cases) {
    arguments args;
    EXPECT_FALSE(parse(c.argv, &args));
    EXPECT_EQ(args.missing, c.missing);
  }
}

TEST(Arguments, ExplainOptionsAndWhere) {
  arguments args;
  ASSERT_TRUE(parse({"--map=s.map", "in", "out", ".", ".", "C--", "--metafile=s.json", "--analyze",
                     "--strict"},
                    &args));
  EXPECT_TRUE(args.map && args.metafile && args.analyze && args.strict);
  EXPECT_EQ(args.map_file, "s.map");
  EXPECT_EQ(args.metafile_file, "s.json");
  EXPECT_TRUE(args.warnings.empty());

  arguments where;
  ASSERT_TRUE(parse({"--where", "s.map", "3", "x"}, &where));
  EXPECT_STREQ(where.where_map, "s.map");
  ASSERT_EQ(where.where_lines.size(), 2u);
  EXPECT_STREQ(where.where_lines[1], "x");
}

TEST(SizeReport, LayoutAndRounding) {
  EXPECT_EQ(size_report(1234, 1000),
            "file size without optimation:   1234 bytes\n"
            "file size with optimation:      1000 bytes\n"
            "improvement:                      19 %\n\n");
  EXPECT_EQ(size_report(1234567, 1000).substr(30, 7), "1234567") << "a wide value is printed whole";
  EXPECT_EQ(size_report(4400000000, 2200000000),
            "file size without optimation: 4400000000 bytes\n"
            "file size with optimation:    2200000000 bytes\n"
            "improvement:                      50 %\n\n")
      << "sizes past 2 GiB print as they are";
}

TEST(SizeReport, HalfRoundsAwayFromZero) {
  EXPECT_EQ(size_report(8, 6).substr(size_report(8, 6).find("improvement")),
            "improvement:                      25 %\n\n");
  // 200 -> 195 saves exactly 2.5 %.
  std::string report = size_report(200, 195);
  EXPECT_NE(report.find("                       3 %"), std::string::npos) << report;
  report = size_report(1000, 995);  // 0.5 %
  EXPECT_NE(report.find("                       1 %"), std::string::npos) << report;
}

TEST(SizeReport, PercentageIsASingleFloat) {
  EXPECT_FLOAT_EQ(percentage_saved(1234, 1000), 18.962723f);
  EXPECT_EQ(percentage_saved(0, 0), 0.0f) << "an empty script saves nothing";
  EXPECT_EQ(percentage_saved(10, 10), 0.0f);
  EXPECT_EQ(percentage_saved(10, 0), 100.0f);
}

}  // namespace
