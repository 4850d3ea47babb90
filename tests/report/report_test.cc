// Tests of the report: the pass timers, the closing statistics and the
// progress lines.
#include <gtest/gtest.h>

#include "platform/pass_timer.h"
#include "report/progress.h"
#include "script/autoitsourcefile.h"
#include "support/script_builder.h"

namespace {

TEST(PassTimer, StopTurnsElapsedMillisecondsIntoSeconds) {
  pass_timer timer;
  timer.start();
  timer.start_clock -= 1672;  // as if started 1672 ms ago
  timer.stop();
  EXPECT_GE(timer.accumulated, 1.672);
  EXPECT_LT(timer.accumulated, 1.672 + 1.0);
}

TEST(PassTimer, UnderAMillisecondIsZero) {
  pass_timer timer;
  timer.start();
  timer.stop();
  EXPECT_LT(timer.accumulated, 0.01);
  EXPECT_EQ(timer.accumulated * 1000, static_cast<double>(static_cast<long long>(timer.accumulated * 1000)))
      << "whole milliseconds only";
}

TEST(ShowStatistic, LayoutOfTheReport) {
  autoitsourcefile script("");
  script.includes_timer.accumulated = 0.016;
  script.upheavals_timer.accumulated = 0.031;
  script.unused_vars_timer.accumulated = 1.25;
  script.unused_functions_timer.accumulated = 0.313;
  script.include_count = 3;
  script.deleted_vars = 12;
  script.deleted_functions = 4;
  std::string report = captured_stdout([&] { script.show_statistic(); });
  // The complete timer is stopped by the report itself; mask its figure.
  size_t at = report.find("time complete:");
  ASSERT_NE(at, std::string::npos);
  report.replace(at + 30, 6, " 1.672");
  EXPECT_EQ(report,
            "time read includes:            0.016 seconds\n"
            "time remove comments:          0.000 seconds\n"
            "time remove upheavals (_):     0.031 seconds\n"
            "time remove regions:           0.000 seconds\n"
            "time remove unused vars:       1.250 seconds\n"
            "time remove unused functions:  0.313 seconds\n"
            "time remove empty lines:       0.000 seconds\n"
            "time complete:                 1.672 seconds\n"
            "\n"
            "includet files:     3\n"
            "\n"
            "deleted vars:       12\n"
            "deleted functions:  4\n"
            "\n");
}

TEST(ShowStatistic, WideTimesFillAndOverflowTheField) {
  autoitsourcefile script("");
  script.includes_timer.accumulated = 12.345;
  script.comments_timer.accumulated = 123.456;
  std::string report = captured_stdout([&] { script.show_statistic(); });
  EXPECT_NE(report.find("time read includes:           12.345 seconds\n"), std::string::npos);
  EXPECT_NE(report.find("time remove comments:         123.456 seconds\n"), std::string::npos);
}

TEST(Progress, VerboseOnlyForUpperCaseC) {
  EXPECT_TRUE(progress("C").verbose());
  EXPECT_TRUE(progress("Cx").verbose());
  EXPECT_FALSE(progress("c").verbose());
  EXPECT_FALSE(progress("").verbose());
  EXPECT_FALSE(progress("x").verbose());
}

TEST(Progress, DotsOnMultiplesOfFifty) {
  progress dots("-");
  std::string printed = captured_stdout([&] {
    for (int n = 1; n <= 151; ++n) dots.dot(n);
  });
  EXPECT_EQ(printed, "...");
  progress verbose("C");
  EXPECT_EQ(captured_stdout([&] { verbose.dot(50); }), "");
}

}  // namespace
