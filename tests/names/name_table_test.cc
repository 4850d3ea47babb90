#include "names/name_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

TEST(NameTable, FindsExactNamesWithTheSmallestIdOfRepeats) {
  const std::vector<std::string_view> names{"$AB", "", "$A", "$AB", std::string_view("\0x", 2)};
  const name_table table(names, name_table::links::prefixes);
  EXPECT_EQ(table.find("$AB"), 0);
  EXPECT_EQ(table.find("$A"), 2);
  EXPECT_EQ(table.find(std::string_view("\0x", 2)), 4);
  EXPECT_EQ(table.find(""), -1);
  EXPECT_EQ(table.find("$ABC"), -1);
  EXPECT_EQ(table.find("$B"), -1);
}

TEST(NameTable, EveryNameFoundWhateverTheirNumber) {
  // Slot counts that are no power of two: a search may wrap past the last
  // slot. Each name is found with its id, and equal ones with the first.
  for (size_t count : {1u, 7u, 100u, 1000u, 1025u}) {
    std::vector<std::string> texts;
    for (size_t k = 0; k < count; ++k) texts.push_back(std::string("N").append(std::to_string(k % 900)));
    const std::vector<std::string_view> names(texts.begin(), texts.end());
    ASSERT_EQ(names.size(), count);
    const name_table table(names, name_table::links::suffixes);
    for (size_t k = 0; k < count; ++k) {
      const auto first = static_cast<int32_t>(k % 900);
      ASSERT_EQ(table.find(names[k]), first) << count << " " << k;
      ASSERT_EQ(table.find(std::string("M").append(std::to_string(k))), -1) << count << " " << k;
    }
  }
}

TEST(NameTable, HandsFirstEqualsOverInOrderWhenAskedTo) {
  packed_views names;
  for (std::string_view name : {"unused", "AB", "", "B", "AB", "B", ""}) names.push_back(name);
  std::vector<std::pair<int32_t, int32_t>> handed;
  const name_table table(names, 1, name_table::links::suffixes, [&](int32_t id, int32_t first) {
    ASSERT_LT(handed.size(), names.size());  // once per name at most
    handed.emplace_back(id, first);
  });
  EXPECT_EQ(handed, (std::vector<std::pair<int32_t, int32_t>>{
                        {0, 0}, {1, -1}, {2, 2}, {3, 0}, {4, 2}, {5, -1}}));
  EXPECT_EQ(table.find("B"), 2);
}

// The longest name a text begins (or ends) with, and through the links
// every shorter one, longest first. Links that loop stop at a chain longer
// than any test's names, which then fails, instead of growing without end.
std::vector<int32_t> chain(name_table& table, std::string_view text) {
  constexpr size_t kLongest = 1000;
  std::vector<int32_t> ids;
  for (int32_t id = table.longest_in(text); id >= 0 && ids.size() <= kLongest; id = table.link(id)) {
    ids.push_back(id);
  }
  return ids;
}

TEST(NameTable, PrefixChainsAndSuffixChains) {
  const std::vector<std::string_view> names{"A", "AAA", "AB", "BA", "AAAA", "B"};
  name_table prefixes(names, name_table::links::prefixes);
  EXPECT_EQ(chain(prefixes, "AAAAA"), (std::vector<int32_t>{4, 1, 0}));
  EXPECT_EQ(chain(prefixes, "AAB"), (std::vector<int32_t>{0}));
  EXPECT_EQ(chain(prefixes, "ABA"), (std::vector<int32_t>{2, 0}));
  EXPECT_EQ(chain(prefixes, "C"), (std::vector<int32_t>{}));

  name_table suffixes(names, name_table::links::suffixes);
  EXPECT_EQ(chain(suffixes, "XAAAA"), (std::vector<int32_t>{4, 1, 0}));
  EXPECT_EQ(chain(suffixes, "ABA"), (std::vector<int32_t>{3, 0}));
  EXPECT_EQ(chain(suffixes, "AB"), (std::vector<int32_t>{2, 5}));
}

TEST(NameTable, AgreesWithPlainSearchOnLongNamesThatBeginAlike) {
  std::vector<std::string> owned;
  for (int i = 0; i < 300; ++i) {
    owned.push_back("$G_V00" + std::to_string(i % 97) + (i % 2 ? "HANDLE" : "H"));
  }
  for (int n = 1; n <= 40; ++n) owned.push_back(std::string("$").append(n, 'A'));
  const std::vector<std::string_view> names(owned.begin(), owned.end());
  name_table table(names, name_table::links::prefixes);
  for (const std::string& text :
       {std::string("$G_V0012HANDLEX"), std::string("$G_V0012H"), std::string("$").append(60, 'A'),
        std::string("$G_V009")}) {
    // Every name the text begins with, longest first, as its first id.
    std::vector<int32_t> expected;
    for (size_t length = text.size(); length > 0; --length) {
      for (size_t k = 0; k < owned.size(); ++k) {
        if (owned[k] == text.substr(0, length)) {
          expected.push_back(static_cast<int32_t>(k));
          break;
        }
      }
    }
    EXPECT_EQ(chain(table, text), expected) << text;
  }
}

// Names read where they stand, from a list of views whose entry 0 is not a
// name; links over many words of the table's link bits, most names having
// none: each chain is every name the text begins with, longest first.
TEST(NameTable, NamesReadFromViewsChainAsAPlainSearchSays) {
  std::vector<std::string> owned{"unused"};
  for (int i = 0; i < 400; ++i) {
    owned.push_back("$N" + std::to_string(i % 50) + (i % 7 == 0 ? "_LONGER" : ""));
  }
  packed_views views;
  for (const std::string& name : owned) views.push_back(name);
  name_table table(views, 1, name_table::links::prefixes);
  for (size_t k = 1; k < owned.size(); ++k) {
    const std::string text = owned[k] + "_LONGER_STILL";
    std::vector<int32_t> expected;
    for (size_t length = text.size(); length > 0; --length) {
      for (size_t j = 1; j < owned.size(); ++j) {
        if (owned[j] == text.substr(0, length)) {
          expected.push_back(static_cast<int32_t>(j - 1));
          break;
        }
      }
    }
    ASSERT_EQ(chain(table, text), expected) << text;
    const auto first = std::find(owned.begin() + 1, owned.end(), owned[k]) - owned.begin();
    ASSERT_EQ(table.find(owned[k]), static_cast<int32_t>(first - 1)) << owned[k];
  }
}

// Names as parts of one block of text, as the table that keeps where each
// begins is handed them.
name_table block_table(const std::string& block, const std::vector<std::string_view>& names,
                       name_table::links kind,
                       const std::function<void(int32_t, int32_t)>& on_first_equal = nullptr) {
  return name_table(
      block.data(), names.size(), [&](int32_t id) { return names[static_cast<size_t>(id)]; },
      kind, on_first_equal);
}

TEST(NameTableInBlock, NamesKeepTheirOwnLengthWhateverFollowsThem) {
  // A name followed by more word bytes, one holding other bytes, and one
  // that an earlier name repeats in another place.
  const std::string block = "FUNCSTEP()FUNCSTEPPER()STEPS A.B+X";
  auto part = [&](std::string_view text, size_t from = 0) {
    return std::string_view(block).substr(block.find(text, from), text.size());
  };
  const std::vector<std::string_view> names{part("STEP"), part("STEPPER"), part("STEP", 20),
                                            part("A.B"), part("", 5)};
  ASSERT_EQ(names[2].data(), block.data() + 23);
  std::vector<std::pair<int32_t, int32_t>> handed;
  const name_table table =
      block_table(block, names, name_table::links::suffixes, [&](int32_t id, int32_t first) {
        ASSERT_LT(handed.size(), names.size());
        handed.emplace_back(id, first);
      });
  EXPECT_EQ(handed, (std::vector<std::pair<int32_t, int32_t>>{
                        {0, 0}, {1, 1}, {2, 0}, {3, 3}, {4, -1}}));
  EXPECT_EQ(table.find("STEP"), 0);
  EXPECT_EQ(table.find("STEPPER"), 1);
  EXPECT_EQ(table.find("STEPS"), -1);
  EXPECT_EQ(table.find("STEPP"), -1);
  EXPECT_EQ(table.find("A.B"), 3);
  EXPECT_EQ(table.find("A.B+X"), -1);
  EXPECT_EQ(table.find(""), -1);
  EXPECT_EQ(table.max_length(), 7u);
  EXPECT_EQ(table.min_length(), 3u);
}

TEST(NameTableInBlock, NamesTooLongForALengthByteAreKeptApartAndStillLinked) {
  // Two equal names of 300 bytes, which a byte cannot measure, among
  // shorter ones that end them.
  const std::string long_name(300, 'X');
  const std::string block = "FUNC" + long_name + "()FUNCXX()FUNCYXX()FUNC" + long_name + "()";
  const std::string_view text(block);
  const std::vector<std::string_view> names{
      text.substr(4, 300), text.substr(text.find("FUNCXX") + 4, 2),
      text.substr(text.find("FUNCYXX") + 4, 3), text.substr(text.rfind("FUNC") + 4, 300)};
  ASSERT_EQ(names[1], "XX");
  ASSERT_EQ(names[2], "YXX");
  ASSERT_EQ(names[3], long_name);
  std::vector<std::pair<int32_t, int32_t>> handed;
  name_table table =
      block_table(block, names, name_table::links::suffixes, [&](int32_t id, int32_t first) {
        ASSERT_LT(handed.size(), names.size());
        handed.emplace_back(id, first);
      });
  EXPECT_EQ(table.find(long_name), 0);
  ASSERT_EQ(handed.size(), 4u);
  EXPECT_EQ(handed[3], std::make_pair(3, 0));
  EXPECT_EQ(table.find(std::string(299, 'X')), -1);
  EXPECT_EQ(table.max_length(), 300u);
  // Every name a text ends with, longest first, across the two ways of
  // keeping them.
  EXPECT_EQ(chain(table, "Q" + long_name), (std::vector<int32_t>{0, 1}));
  EXPECT_EQ(chain(table, "QYXX"), (std::vector<int32_t>{2, 1}));
  EXPECT_EQ(chain(table, std::string(299, 'X')), (std::vector<int32_t>{1}));
}

}  // namespace
