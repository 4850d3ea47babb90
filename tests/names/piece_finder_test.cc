// Tests of the piece finder against a plain search.
#include "names/piece_finder.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using places = std::vector<std::pair<std::string, size_t>>;

places found_in(piece_finder& finder, const std::vector<std::string>& pieces,
                std::string_view text) {
  places out;
  finder.find(text, [&](int32_t piece, size_t start) {
    out.emplace_back(pieces[static_cast<size_t>(piece)], start);
  });
  return out;
}

TEST(PieceFinder, EveryPlaceOfEveryPieceAlsoInsideOthers) {
  piece_finder finder;
  const std::vector<std::string> pieces{"HE", "SHE", "HIS", "HERS"};
  for (size_t k = 0; k < pieces.size(); ++k) {
    EXPECT_EQ(finder.add(pieces[k]), static_cast<int32_t>(k));
  }
  EXPECT_EQ(finder.add("SHE"), 1);  // the same piece, the same number
  ASSERT_EQ(finder.size(), 4u);
  EXPECT_EQ(finder.piece_length(3), 4u);
  // Found where each ends, the longer first.
  EXPECT_EQ(found_in(finder, pieces, "USHERSHE"),
            (places{{"SHE", 1}, {"HE", 2}, {"HERS", 2}, {"SHE", 5}, {"HE", 6}}));
  EXPECT_EQ(found_in(finder, pieces, "HHIS"), (places{{"HIS", 1}}));
  EXPECT_TRUE(found_in(finder, pieces, "").empty());
}

}  // namespace
