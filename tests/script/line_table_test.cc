// Tests of the line table: edits, long lines, and views that outlive moves.
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
  for (size_t i = 0; i < table.size(); ++i) texts.emplace_back(table[i]);
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
  for (size_t i = 0; i < table.size(); ++i) EXPECT_NE(table[i].data(), nullptr);
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

TEST(LineTable, LinesAroundTheLongLengthKeepTheirWholeLength) {
  // A slot tells lengths up to 65534 itself; longer lines are kept aside,
  // whichever way they come in, also from two builders at once.
  const std::string text(70000, 'x');
  line_table table;
  const std::string_view whole = table.keep(copy_of(text), text.size());
  table.resize_for_overwrite(6);
  table.put_kept(0, whole.substr(0, 65534));
  table.put_kept(1, whole.substr(0, 65535));
  table.put_kept(2, whole);
  line_table::builder first(table);
  line_table::builder second(table);
  first.build(3, 65536, [&](char* out) { return text.copy(out, 65536); });
  second.build(4, 0, [](char*) { return size_t{0}; });
  second.build(5, 70000, [&](char* out) { return text.copy(out, 70000); });
  table.adopt(std::move(first));
  table.adopt(std::move(second));
  table.truncate(2, 65535);
  table.take(4, 5);
  table.truncate(5, 3);
  const std::vector<size_t> lengths{65534, 65535, 65535, 65536, 70000, 3};
  line_table moved = std::move(table);
  ASSERT_EQ(moved.size(), lengths.size());
  for (size_t i = 0; i < lengths.size(); ++i) {
    EXPECT_EQ(moved[i].size(), lengths[i]) << "line " << i;
    EXPECT_EQ(moved[i], std::string_view(text).substr(0, lengths[i])) << "line " << i;
  }
}

}  // namespace
