// Tests of the name matcher against a plain search, with odd bytes and many
// branches.
#include "names/name_matcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using match_list = std::vector<std::pair<int32_t, size_t>>;

match_list matches_of(const std::vector<std::string>& names, std::string_view text) {
  match_list found;
  name_matcher(names).for_each_match(
      text, [&](int32_t id, size_t begin) { found.emplace_back(id, begin); });
  std::sort(found.begin(), found.end());
  return found;
}

// Every occurrence, overlapping ones included, by plain search.
match_list matches_by_find(const std::vector<std::string>& names, const std::string& text) {
  match_list found;
  for (size_t id = 0; id < names.size(); ++id) {
    if (names[id].empty()) continue;
    for (size_t at = text.find(names[id]); at != std::string::npos;
         at = text.find(names[id], at + 1)) {
      found.emplace_back(static_cast<int32_t>(id), at);
    }
  }
  std::sort(found.begin(), found.end());
  return found;
}

std::string random_bytes(std::mt19937& rng, const std::string& alphabet, size_t max_length) {
  std::string text(std::uniform_int_distribution<size_t>(0, max_length)(rng), '\0');
  for (char& c : text) c = alphabet[rng() % alphabet.size()];
  return text;
}

TEST(NameMatcher, OverlappingNestedAndRepeatedNames) {
  std::vector<std::string> names{"AB", "B", "ABAB", "", "AB", "BA("};
  EXPECT_EQ(matches_of(names, "ABABA("),
            (match_list{{0, 0}, {0, 2}, {1, 1}, {1, 3}, {2, 0}, {4, 0}, {4, 2}, {5, 3}}));
  EXPECT_TRUE(matches_of(names, "").empty());
  EXPECT_TRUE(matches_of({"", ""}, "ANY TEXT").empty());
  EXPECT_TRUE(matches_of({}, "ANY TEXT").empty());
}

TEST(NameMatcher, ArbitraryBytesIncludingNulAndHighBytes) {
  std::string nul_name("\0\xff", 2);
  std::string text = std::string("x\0\xff\0\xff", 5) + "\x80";
  EXPECT_EQ(matches_of({nul_name, "\x80", "x"}, text),
            (match_list{{0, 1}, {0, 3}, {1, 5}, {2, 0}}));
}

TEST(NameMatcher, StateWithManyEdgesFindsEveryBranch) {
  // One state with an edge for every byte value after "Q".
  std::vector<std::string> names;
  std::string text;
  for (int b = 0; b < 256; ++b) {
    names.push_back(std::string("Q") + static_cast<char>(b));
    text += names.back();
  }
  EXPECT_EQ(matches_of(names, text), matches_by_find(names, text));
}

TEST(NameMatcher, AgreesWithPlainSearchOnRandomInputs) {
  std::mt19937 rng(20240611);
  const std::vector<std::string> alphabets{"AB", "AB(\"", std::string("a\0\xff(", 4)};
  std::string every_byte;
  for (int b = 0; b < 256; ++b) every_byte.push_back(static_cast<char>(b));
  for (int round = 0; round < 600; ++round) {
    const std::string& alphabet = round % 4 == 3 ? every_byte : alphabets[round % 3];
    std::vector<std::string> names(rng() % 12);
    for (auto& name : names) name = random_bytes(rng, alphabet, 5);
    // Names cut from the text itself, so long matches occur too.
    std::string text = random_bytes(rng, alphabet, 200);
    for (int extra = 0; extra < 3 && !text.empty(); ++extra) {
      size_t from = rng() % text.size();
      names.push_back(text.substr(from, rng() % 9));
    }
    if (!names.empty() && rng() % 2) names.push_back(names[rng() % names.size()]);
    ASSERT_EQ(matches_of(names, text), matches_by_find(names, text)) << "round " << round;

    // Names the text ends with, and a name equal to the text.
    const name_matcher matcher(names);
    for (size_t cut = 0; cut <= text.size(); cut += 1 + text.size() / 8) {
      std::string_view head = std::string_view(text).substr(0, cut);
      match_list suffixes;
      matcher.for_each_suffix_match(
          head, [&](int32_t id, size_t length) { suffixes.emplace_back(id, length); });
      std::sort(suffixes.begin(), suffixes.end());
      match_list expected;
      int32_t equal = -1;
      for (size_t id = 0; id < names.size(); ++id) {
        const std::string& name = names[id];
        if (name.empty() || name.size() > head.size()) continue;
        if (head.substr(head.size() - name.size()) == name) {
          expected.emplace_back(static_cast<int32_t>(id), name.size());
        }
        if (name == head && equal < 0) equal = static_cast<int32_t>(id);
      }
      ASSERT_EQ(suffixes, expected) << "round " << round;
      ASSERT_EQ(matcher.find(head), equal) << "round " << round;
      if (!names.empty()) {
        ASSERT_EQ(matcher.find(names[0]), names[0].empty() ? -1 : 0);
      }
    }
  }
}

// Names occurring in the text, each once; with bounds, only occurrences
// whose neighbouring bytes the bounds allow.
std::vector<int32_t> names_in_by_find(const std::vector<std::string>& names,
                                      const std::string& text, const match_bounds* bounds) {
  std::vector<int32_t> found;
  for (const auto& [id, begin] : matches_by_find(names, text)) {
    size_t end = begin + names[id].size();
    bool apart = bounds == nullptr ||
                 ((begin == 0 || bounds->before[static_cast<unsigned char>(text[begin - 1])]) &&
                  (end == text.size() || bounds->after[static_cast<unsigned char>(text[end])]));
    if (apart && std::find(found.begin(), found.end(), id) == found.end()) found.push_back(id);
  }
  std::sort(found.begin(), found.end());
  return found;
}

TEST(NameMatcher, EachNameInTextOnceWithAndWithoutBounds) {
  std::mt19937 rng(5);
  const std::string alphabet = "AB+$(";
  for (int round = 0; round < 600; ++round) {
    std::vector<std::string> names(1 + rng() % 10);
    for (auto& name : names) name = random_bytes(rng, alphabet, 4);
    if (rng() % 2) names.push_back(names[rng() % names.size()]);
    match_bounds bounds;
    for (char c : alphabet) {
      bounds.before[static_cast<unsigned char>(c)] = rng() % 2;
      bounds.after[static_cast<unsigned char>(c)] = rng() % 2;
    }
    name_matcher plain(names);
    name_matcher bounded(names, bounds);
    // The same matchers over several texts: nothing carries over.
    for (int text_round = 0; text_round < 3; ++text_round) {
      std::string text = random_bytes(rng, alphabet, 60);
      std::vector<int32_t> found;
      plain.for_each_name_in(text, [&](int32_t id) { found.push_back(id); });
      std::sort(found.begin(), found.end());
      ASSERT_EQ(found, names_in_by_find(names, text, nullptr)) << "round " << round;
      found.clear();
      bounded.for_each_bounded_name_in(text, [&](int32_t id) { found.push_back(id); });
      std::sort(found.begin(), found.end());
      ASSERT_EQ(found, names_in_by_find(names, text, &bounds)) << "round " << round;
      found.clear();
      plain.for_each_bounded_name_in(text, [&](int32_t id) { found.push_back(id); });
      ASSERT_TRUE(found.empty());
    }
  }
}

}  // namespace
