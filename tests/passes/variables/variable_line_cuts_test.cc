// Tests of the cuts of a shared declaration line, against the cuts made one by
// one.
#include "passes/variables/variable_line_cuts.h"

#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "passes/variables/variable_cut.h"
#include "passes/variables/variable_scan.h"
#include "script/normalize.h"

namespace {

// The cuts one after the other, each on the text the one before left.
std::string one_by_one(std::string line, const std::vector<shared_cut>& cuts) {
  for (const shared_cut& cut : cuts) {
    cut_shared_item(line, cut.name, cut.previous_shares, cut.next_shares, cut.next_name);
  }
  return line;
}

std::string together(std::string line, const std::vector<shared_cut>& cuts) {
  cut_shared_items(line, cuts);
  return line;
}

// The cuts the pass makes when the variables `unused` (indexes into the
// names the line declares) are unused.
std::vector<shared_cut> cuts_of(const std::vector<std::string>& names,
                                const std::vector<size_t>& unused) {
  std::vector<shared_cut> cuts;
  for (size_t i : unused) {
    const bool next = i + 1 < names.size();
    cuts.push_back({names[i], i > 0, next, next ? std::string_view(names[i + 1]) : ""});
  }
  return cuts;
}

std::vector<std::string> declared(const std::string& line) {
  std::vector<std::string> names;
  walk_declaration(normalized(line), true, names);
  return names;
}

TEST(CutSharedItems, TheDeclarationTableOfResults) {
  const std::string line = "Local $a = 1, $b = 2, $c = 3";
  const std::vector<std::string> names = declared(line);
  EXPECT_EQ(together(line, cuts_of(names, {1})), "Local $a = 1, $c = 3");
  EXPECT_EQ(together(line, cuts_of(names, {2})), "Local $a = 1, $b = 2");
  EXPECT_EQ(together(line, cuts_of(names, {0})), "Local  $b = 2, $c = 3");
  EXPECT_EQ(together(line, cuts_of(names, {0, 2})), "Local  $b = 2");
  EXPECT_EQ(together(line, cuts_of(names, {1, 2})), "Local $a = 1");
  EXPECT_EQ(together(line, cuts_of(names, {0, 1})), "Local   $c = 3");
  EXPECT_EQ(together(line, cuts_of(names, {0, 1, 2})), "");
  EXPECT_EQ(together(line, {}), line);
}

TEST(CutSharedItems, NamesFoundElsewhereFirstAsOneByOne) {
  for (const std::string line :
       {"Local $x = $y, $y = 2", "Local $ab = 1, $a = 2", "Local $a = f(1, $b), $b, $c",
        "Local $a, $a, $a = 1, $b", "Local $b, $a = g(0, $b), $b", "Local $a,, $b,",
        "Local $ a = 1, $b = 2", "Local Static $s, $t = 's, $u', $u"}) {
    const std::vector<std::string> names = declared(line);
    for (size_t mask = 1; mask < (size_t{1} << names.size()); ++mask) {
      std::vector<size_t> unused;
      for (size_t i = 0; i < names.size(); ++i) {
        if (mask >> i & 1) unused.push_back(i);
      }
      const std::vector<shared_cut> cuts = cuts_of(names, unused);
      EXPECT_EQ(together(line, cuts), one_by_one(line, cuts)) << line << " mask " << mask;
    }
  }
}

TEST(CutSharedItems, DeclaringWordsRunningOnIntoTheNextItem) {
  // Cutting $a leaves "Local  Con st.y), Con, .y": LOCAL and CONST now run
  // on to ".y)", where .Y stands first from then on.
  const std::string line = "Local $a = f(x, Con st.y), Con, .y";
  const std::vector<std::string> names = declared(line);
  ASSERT_EQ(names, (std::vector<std::string>{"$A", "CON", ".Y"}));
  const std::vector<shared_cut> cuts = cuts_of(names, {0, 1, 2});
  EXPECT_EQ(one_by_one(line, cuts), "");
  EXPECT_EQ(together(line, cuts), "");
  EXPECT_EQ(together(line, cuts_of(names, {0, 2})), "");
  EXPECT_EQ(together(line, cuts_of(names, {0, 1})), "Local  Con st.y), Con, .y");

  // CON begins a declaring word but the text after it does not finish one.
  for (const std::string other : {"Local $a = f(x, Con sx.y), Con, .y",
                                  "Local $a = f(x, Con.y), Con, .y", "Local $a = f(x, Con)"}) {
    const std::vector<std::string> other_names = declared(other);
    std::vector<size_t> all;
    for (size_t i = 0; i < other_names.size(); ++i) all.push_back(i);
    const std::vector<shared_cut> other_cuts = cuts_of(other_names, all);
    EXPECT_EQ(together(other, other_cuts), one_by_one(other, other_cuts)) << other;
  }
}

TEST(CutSharedItems, DeclaringWordsRunningOnAgainAndAgain) {
  // Each cut of the first item left lets LOCAL run on into "Con st)", the
  // next cut takes that item away again: hundreds of times on one line.
  std::string line = "Local A = f(x, Con st), ";
  for (int i = 0; i < 300; ++i) {
    line += i % 3 == 2 ? "Con st.y = f(x, Con st), " : "Con = f(x, Con st), ";
  }
  line += "B";
  const std::vector<std::string> names = declared(line);
  for (std::vector<size_t> first : {std::vector<size_t>{0, 1, 2, 3, 4, 5},
                                    std::vector<size_t>{0, 2, 4, 6, 8, 10, 12}}) {
    std::vector<size_t> then_all = first;
    for (size_t i = first.back() + 1; i < names.size(); ++i) then_all.push_back(i);
    for (const std::vector<size_t>& unused : {first, then_all}) {
      const std::vector<shared_cut> cuts = cuts_of(names, unused);
      EXPECT_EQ(together(line, cuts), one_by_one(line, cuts));
    }
  }
}

TEST(CutSharedItems, WrittenOutFromAListReadOneAtATime) {
  // $THREE, the next name of a cut, is cut itself only in some of the
  // sets; letter case differs between the line and the names.
  const std::string line = "Local $One = 1, $two, $Three = f($two, 2), $four, $Five, $six";
  const std::vector<std::string> names = declared(line);
  ASSERT_EQ(names.size(), 6u);
  for (const std::vector<size_t>& unused :
       {std::vector<size_t>{0, 1, 3, 4, 5}, std::vector<size_t>{1, 2, 3, 4, 5},
        std::vector<size_t>{0, 1, 2, 3, 4, 5}, std::vector<size_t>{0, 2, 4}}) {
    const std::vector<shared_cut> cuts = cuts_of(names, unused);
    const std::string expected = one_by_one(line, cuts);
    // Room for the line, and a guard after it that must stay as it is.
    std::string out(line.size() + 8, '#');
    const size_t length = write_cut_line(line, listed_cuts(cuts), out.data());
    ASSERT_LE(length, line.size());
    EXPECT_EQ(out.substr(0, length), expected);
    EXPECT_EQ(out.substr(line.size()), std::string(8, '#'));
  }
}

// One line declaring `count` variables $v0x, $v1x, ...
std::string long_declaration(int count) {
  std::string line = "Local ";
  for (int i = 0; i < count; ++i) line += (i > 0 ? ", $v" : "$v") + std::to_string(i) + "x";
  return line;
}

TEST(CutSharedItems, ALineOfManyVariables) {
  const int count = 20000;
  const std::string line = long_declaration(count);
  const std::vector<std::string> names = declared(line);
  ASSERT_EQ(names.size(), static_cast<size_t>(count));

  std::vector<size_t> odd;
  std::string kept = "Local ";
  for (int i = 0; i < count; ++i) {
    if (i % 2 == 1) {
      odd.push_back(static_cast<size_t>(i));
    } else {
      kept += (i > 0 ? ", $v" : "$v") + std::to_string(i) + "x";
    }
  }
  EXPECT_EQ(together(line, cuts_of(names, odd)), kept);

  // All unused: each first item goes with the comma after it, leaving its
  // blank, until the last one takes the rest.
  std::vector<size_t> all(static_cast<size_t>(count));
  for (size_t i = 0; i < all.size(); ++i) all[i] = i;
  std::vector<shared_cut> cuts = cuts_of(names, all);
  EXPECT_EQ(together(line, cuts), "");
  cuts.pop_back();
  EXPECT_EQ(together(line, cuts), "Local " + std::string(count - 1, ' ') + "$v" +
                                      std::to_string(count - 1) + "x");
}

// Declaration-like lines full of traps: names that begin other names or
// declaring words, names repeated in initial values, strings and calls with
// commas, missing and doubled commas, odd spacing and letter case.
std::string random_line(std::mt19937& rng) {
  static const char* const heads[] = {"Local ",   "Global Const ", "LOCAL\tSTATIC ", "Dim",
                                      "Loc al  ", "Global Con st ", "local con ",    "x = ",
                                      "",         "Const Dim "};
  static const char* const names[] = {"$a", "$A", "$ab", "$abc", "$b", "$ba", "$c_1", "$",
                                      "con", "ST", "s", "Lo", ".y", "$a.b", "dim", "x",
                                      "$\xc3\xa4", ("$\xc3\xa4" "b"), "D"};
  static const char* const values[] = {"1",           "$a",          "'a, $b'",   "f(1, $b)",
                                       "\"x, $ab\"",  "[1, 2]",      "$a & $ab",  "Con st.y",
                                       "g(x, Con st.y)", "(0, .y)",  "h($a,$b)",  "' $c_1 ",
                                       "f(0, D  im $b)", "k(0, con st)"};
  static const char* const commas[] = {", ", ",", " , ", ",\t", "  ,  ", " ", ", ,", ",  "};
  auto pick = [&](size_t n) { return static_cast<size_t>(rng() % n); };

  std::string line = heads[pick(std::size(heads))];
  // Now and then a long line, where the declaring words can run on many times.
  const size_t items = pick(10) == 0 ? 10 + pick(40) : 1 + pick(7);
  for (size_t t = 0; t < items; ++t) {
    if (t > 0) line += commas[pick(std::size(commas))];
    line += names[pick(std::size(names))];
    if (pick(6) == 0) line += "[2]";
    if (pick(2) == 0) line += std::string(pick(2) ? " = " : "=") + values[pick(std::size(values))];
  }
  if (pick(6) == 0) line += ",";
  return line;
}

TEST(CutSharedItems, TogetherAsOneByOneOnRandomLines) {
  std::mt19937 rng(7031);
  auto pick = [&](size_t n) { return static_cast<size_t>(rng() % n); };
  for (int round = 0; round < 40000; ++round) {
    const std::string line = random_line(rng);
    std::vector<std::string> names = declared(line);
    std::vector<shared_cut> cuts;
    if (round % 4 != 3) {
      // As the pass cuts: a random set of the declared names, in order.
      std::vector<size_t> unused;
      for (size_t i = 0; i < names.size(); ++i) {
        if (pick(3) != 0) unused.push_back(i);
      }
      cuts = cuts_of(names, unused);
    } else {
      // Any names and neighbours at all, in any order.
      for (const char* name : {"", "$A", "CON", ".Y", "$AB", "LO"}) names.push_back(name);
      // Names no scan records (cut one by one).
      if (pick(20) == 0) names.push_back(pick(2) ? "CONST$A" : " $B");
      const size_t count = pick(8);
      for (size_t c = 0; c < count; ++c) {
        cuts.push_back({names[pick(names.size())], pick(2) == 0, pick(2) == 0,
                        names[pick(names.size())]});
      }
    }
    ASSERT_EQ(together(line, cuts), one_by_one(line, cuts)) << "line: " << line;
  }
}

// An item named like a declaring word ("dim") that is left first after a
// cut runs on into the declaring words before it, possibly across many
// blanks: the batch must decide that the way single cuts do, also when more
// blanks stand in between than it looks at.
TEST(CutSharedItems, RunOnItemPastManyBlanks) {
  const char* const shapes[] = {
      "Global_Con_st_Lo=f(0,_D__im_$b)__,__D=[1,_2],$b=$a_&_$ab__,__dim,\t$ab[2]__,__$abc[2]=1",
      "Global $b=1_,_dim,\t$ab_,_$c", "Local $a_,_con_, $b", "Dim $x, d_,_im, $y"};
  for (size_t blanks : {1, 255, 256, 257, 300, 1000}) {
    for (const char* shape : shapes) {
      std::string line;
      for (const char* c = shape; *c != '\0'; ++c) {
        line += *c == '_' ? std::string(blanks, ' ') : std::string(1, *c);
      }
      const std::vector<std::string> names = declared(line);
      for (size_t mask = 1; mask < (size_t{1} << names.size()); ++mask) {
        std::vector<size_t> unused;
        for (size_t i = 0; i < names.size(); ++i) {
          if ((mask >> i) & 1) unused.push_back(i);
        }
        const std::vector<shared_cut> cuts = cuts_of(names, unused);
        ASSERT_EQ(together(line, cuts), one_by_one(line, cuts))
            << blanks << " blanks, line: " << shape << ", cut mask " << mask;
      }
    }
  }
}

}  // namespace
