#include "script/line_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/same_lines.h"

namespace {

std::unique_ptr<char[]> copy_of(std::string_view text) {
  auto bytes = std::make_unique<char[]>(text.size());
  std::copy(text.begin(), text.end(), bytes.get());
  return bytes;
}

std::vector<std::string> texts_of(const line_table& table) {
  std::vector<std::string> texts;
  for (std::string_view line : table.views()) texts.emplace_back(line);
  return texts;
}

using texts = std::vector<std::string>;

TEST(LineTable, EditsChangeOnlyTheirLine) {
  line_table table{"alpha", "beta  ", "gamma"};
  table.truncate(1, 4);
  table.clear(0);
  table.set(2, "delta");
  table.push_back("eps");
  table.take(3, 1);
  EXPECT_EQ(texts_of(table), (texts{"", "beta", "delta", "beta"}));
  table.resize(5);
  EXPECT_EQ(table[4], "");
}

TEST(LineTable, EmptyLinesHaveText) {
  // Writers copy from every view; none may point nowhere.
  line_table table{"x"};
  table.resize(3);
  table.clear(0);
  table.push_kept({});
  table.set(1, "");
  for (std::string_view line : table.views()) EXPECT_NE(line.data(), nullptr);
}

TEST(LineTable, RewritingALineFromItsOwnTextWorks) {
  line_table table{"abcdef"};
  table.set(0, table[0].substr(2));
  EXPECT_EQ(table[0], "cdef");
  table.build(0, 8, [&](char* out) {
    std::string_view old = table[0];  // still the old text while building
    old.copy(out, old.size());
    old.copy(out + old.size(), old.size());
    return 2 * old.size();
  });
  EXPECT_EQ(table[0], "cdefcdef");
}

TEST(LineTable, ViewsOutliveGrowthAndMoves) {
  // Enough rewritten text to fill many blocks, one line larger than any block.
  line_table table;
  std::vector<std::string> expected;
  std::string big(10 << 20, 'b');
  for (int i = 0; i < 20000; ++i) {
    expected.push_back(std::string(static_cast<size_t>(i % 300), static_cast<char>('a' + i % 26)));
    if (i == 7000) expected.back() = big;
    table.push_back(expected.back());
  }
  std::string_view kept = table.keep(copy_of("one\ntwo"), 7);
  table.push_kept(kept.substr(0, 3));
  table.push_kept(kept.substr(4));
  expected.push_back("one");
  expected.push_back("two");
  // Kept bytes must not move with the table's own bookkeeping.
  for (int i = 0; i < 100; ++i) table.push_kept(table.keep(copy_of("s"), 1));
  expected.insert(expected.end(), 100, "s");

  line_table moved = std::move(table);
  EXPECT_TRUE(same_lines(texts_of(moved), expected));
}

}  // namespace
