// Tests of the region pass.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/script_builder.h"

namespace {

using lines_t = std::vector<std::string>;

TEST(RemoveRegions, DirectivesInAnyCaseAndSpacing) {
  const lines_t input = {"#Region Main", "#region",        "# Region x",    "#End Region",
                         "\t#endregion ; c", "#RegionStart", "x = 1 #Region", "#Regio",
                         "; #Region",    "$r = '#region'", "#EndRegio"};
  const lines_t kept = {"", "", "", "", "", "", "x = 1 #Region", "#Regio", "; #Region",
                        "$r = '#region'", "#EndRegio"};
  autoitsourcefile script("");
  load_lines(script, input, true);
  EXPECT_EQ(captured_stdout([&] { script.remove_regions(); }),
            "start: remove regions...\nfinished: remove regions\n\n");
  EXPECT_EQ(current_lines(script), kept);
  EXPECT_EQ(script.line_count, static_cast<int32_t>(input.size()));
  // The normalized copy stays aligned with the lines.
  lines_t normal = current_transformed_lines(script);
  for (size_t i = 0; i < kept.size(); ++i) EXPECT_EQ(normal[i].empty(), kept[i].empty()) << i;
}

}  // namespace
