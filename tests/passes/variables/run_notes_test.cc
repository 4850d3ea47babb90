// What the dead-code passes note for the run's records when asked: what
// keeps each function, what deleted the others, every variable. The tests
// split every script in two halves, so the halves' notes must join.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "names/keep_list.h"
#include "script/autoitsourcefile.h"
#include "support/script_builder.h"

namespace {

using text = std::vector<std::string>;
using state = run_records::state;

const run_records::function_record& named(const autoitsourcefile& script, std::string_view name) {
  for (const auto& f : script.records.functions) {
    if (written_function_name(f.header) == name) return f;
  }
  static const run_records::function_record none;
  ADD_FAILURE() << "no record for " << name;
  return none;
}

TEST(RunNotes, WhatKeepsEachFunctionAndWhatDeletedTheOthers) {
  autoitsourcefile script("");
  load_lines(script,
             {"Top()", "Func Top()", "  Middle()", "EndFunc",
              "Func Middle()", "  Call('Leaf')", "EndFunc", "Func Leaf()", "EndFunc",
              "Func Pinned()", "EndFunc", "Func Gone()", "  Orphan()", "EndFunc", "Func Orphan()",
              "EndFunc", "Func Self()", "  Self()", "EndFunc"},
             true);
  script.add_keep_list("Pinned");
  script.records.names_on = script.records.reasons_on = true;
  captured_stdout([&] { script.remove_unused_functions(3, "."); });

  const auto& top = named(script, "Top");
  EXPECT_EQ(top.keeper_slot, 1);
  EXPECT_EQ(top.keeper_function, -1);  // top-level code
  const auto& middle = named(script, "Middle");
  EXPECT_EQ(middle.keeper_slot, 3);
  EXPECT_EQ(written_function_name(script.records.functions[middle.keeper_function].header), "Top");
  const auto& leaf = named(script, "Leaf");
  EXPECT_EQ(leaf.keeper_slot, 6);  // named in a string
  EXPECT_EQ(leaf.keeper_text, "CALL('LEAF')");
  EXPECT_TRUE(leaf.rooted);
  const auto& pinned = named(script, "Pinned");
  ASSERT_GE(pinned.keep_entry, 0);
  EXPECT_EQ(script.keep_entries[pinned.keep_entry].text, "PINNED");
  const auto& self = named(script, "Self");
  EXPECT_EQ(self.status, state::kept);
  EXPECT_EQ(self.keeper_slot, 18);
  EXPECT_FALSE(self.rooted);  // it only names itself

  const auto& gone = named(script, "Gone");
  EXPECT_EQ(gone.status, state::deleted);
  EXPECT_EQ(gone.run, 1);
  const auto& orphan = named(script, "Orphan");
  EXPECT_EQ(orphan.status, state::deleted);
  EXPECT_EQ(orphan.run, 1);  // Gone's deletion counted at once
  // The line that named Orphan went with Gone, before Orphan's own deletion.
  const auto& lost = script.records.lost_mentions;
  size_t found = lost.size();
  for (size_t m = 0; m < lost.size(); ++m) {
    if (lost[m].name == orphan.name && found == lost.size()) found = m;
  }
  ASSERT_LT(found, orphan.lost_before);
  EXPECT_EQ(lost[found].slot, 13);
  EXPECT_EQ(written_function_name(script.records.functions[lost[found].deleted_with].header),
            "Gone");
}

TEST(RunNotes, AFunctionBlankedWithOneWithoutEndFuncIsErased) {
  autoitsourcefile script("");
  load_lines(script, {"Func A()", "  B()", "Func B()", "EndFunc", "Func C()", "EndFunc", "C()"},
             true);
  script.records.names_on = script.records.reasons_on = true;
  captured_stdout([&] { script.remove_unused_functions(2, "."); });
  EXPECT_EQ(named(script, "A").status, state::deleted);
  EXPECT_EQ(named(script, "B").status, state::deleted);  // erased with A, then deleted itself
  const auto& c = named(script, "C");
  EXPECT_EQ(c.status, state::erased);
  EXPECT_EQ(written_function_name(script.records.functions[c.erased_with].header), "B");
}

TEST(RunNotes, EveryVariableWithItsFirstMentionOrItsDeletion) {
  autoitsourcefile script("");
  load_lines(script,
             {"Global $a = 1, $b = 2, $c = 3", "Local $other = 0", "Global $kept", "x($a)",
              "y($c)", "z($a)"},
             true);
  script.add_keep_list("$kept");
  script.records.names_on = script.records.reasons_on = true;
  captured_stdout([&] { script.remove_unused_vars("."); });
  const auto& v = script.records.variables;
  ASSERT_EQ(v.size(), 5u);
  EXPECT_EQ(v[0].name, "$A");
  EXPECT_FALSE(v[0].deleted);
  EXPECT_EQ(v[0].first_mention, 4);
  EXPECT_TRUE(v[1].deleted);
  EXPECT_EQ(v[1].slot, 1);
  EXPECT_EQ(v[2].first_mention, 5);
  EXPECT_TRUE(v[3].deleted);  // cut from a line of its own
  EXPECT_EQ(v[3].slot, 2);
  EXPECT_FALSE(v[4].deleted);
  EXPECT_GE(v[4].keep_entry, 0);
  EXPECT_EQ(v[4].first_mention, 0);
}

TEST(RunNotes, NothingIsNotedUnlessAsked) {
  autoitsourcefile script("");
  load_lines(script, {"Func F()", "EndFunc", "Global $x"}, true);
  captured_stdout([&] {
    script.remove_unused_functions(1, ".");
    script.remove_unused_vars(".");
  });
  EXPECT_TRUE(script.records.functions.empty());
  EXPECT_TRUE(script.records.variables.empty());
}

}  // namespace
