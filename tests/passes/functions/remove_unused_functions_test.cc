// Tests of the unused-function pass and its parts: headers, the eraser, the
// usage index and the runs.
#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>
#include <vector>

#include "script/autoitsourcefile.h"
#include "script/normalize.h"
#include "support/script_builder.h"

namespace {

using text_lines = std::vector<std::string>;

struct pass_result {
  text_lines lines;
  text_lines transformed;
  std::string printed;
  int32_t deleted = 0;
  int32_t function_count = 0;
};

pass_result run_pass(const text_lines& script, int runs, const char* mode = "C") {
  autoitsourcefile file("");
  load_lines(file, script, true);
  file.function_count = -7;  // shows whether any run took place
  pass_result result;
  result.printed = captured_stdout([&] { file.remove_unused_functions(runs, mode); });
  result.lines = current_lines(file);
  result.transformed = current_transformed_lines(file);
  result.deleted = file.deleted_functions;
  result.function_count = file.function_count;
  return result;
}

// Lines left standing, blank ones dropped.
text_lines kept(const pass_result& result) {
  text_lines left;
  for (const auto& line : result.lines) {
    if (!line.empty()) left.push_back(line);
  }
  return left;
}

const std::string kStart = "start: remove unused functions...\n";
const std::string kSearch = "search: searching functions...\n";
const std::string kSearched = "\nfinihed: searching functions\n";
const std::string kFinished = "finished: remove unused functions\n\n";

// ---------------------------------------------------------------------------
// The pass as plainly written: every name searched in every line, deletions
// walked line by line. The indexed pass must agree with it in everything.

bool is_word_byte(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

bool holds_whole_word(const std::string& text, const std::string& name) {
  if (name.empty()) return false;
  for (size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + 1)) {
    bool free_before = at == 0 || (!is_word_byte(text[at - 1]) && text[at - 1] != '$');
    size_t end = at + name.size();
    bool free_after = end == text.size() || !is_word_byte(text[end]);
    if (free_before && free_after) return true;
  }
  return false;
}

bool plain_header(const std::string& line, const std::string& normalized_line) {
  if (normalized_line.substr(0, 4) != "FUNC") return false;
  std::string rest = line.substr(line.find_first_not_of(" \t") == std::string::npos
                                     ? line.size()
                                     : line.find_first_not_of(" \t"));
  return rest.size() >= 5 && upper_copy(rest.substr(0, 4)) == "FUNC" &&
         (rest[4] == ' ' || rest[4] == '\t');
}

pass_result plain_pass(const text_lines& script, int runs, bool verbose) {
  text_lines lines{""};
  text_lines normal{""};
  for (const auto& line : script) {
    lines.push_back(line);
    normal.push_back(normalized(line));
  }
  const int32_t count = static_cast<int32_t>(script.size());
  pass_result result;
  result.function_count = -7;
  std::string& out = result.printed;
  out = kStart + (runs == 1 ? std::string("1 Run\n") : std::to_string(runs) + " Runs\n");
  for (int run = 1; run <= runs; ++run) {
    out += "\nRun: " + std::to_string(run) + "\n" + kSearch;
    text_lines names{""};
    std::vector<int32_t> header_lines{0};
    for (int32_t i = 1; i <= count; ++i) {
      if (!plain_header(lines[i], normal[i])) continue;
      std::string rest = normal[i].substr(4);
      names.push_back(rest.substr(0, rest.find('(')));
      header_lines.push_back(i);
      if (verbose) {
        out += "found function: " + std::to_string(names.size() - 1) + ":  " + names.back() + "\n";
      } else if (i % 50 == 0) {
        out += ".";
      }
    }
    result.function_count = static_cast<int32_t>(names.size() - 1);
    out += kSearched;
    for (size_t k = 1; k < names.size(); ++k) {
      const std::string& name = names[k];
      bool used = false;
      for (int32_t j = 1; j <= count && !used; ++j) {
        if (j == header_lines[k]) continue;
        const std::string& text = normal[j];
        used = text.find(name + "(") != std::string::npos ||
               text.find("\"" + name + "\"") != std::string::npos ||
               text.find("'" + name + "'") != std::string::npos || holds_whole_word(text, name);
      }
      if (used) continue;
      ++result.deleted;
      if (verbose) {
        out += "delete function (functionnr.: " + std::to_string(k) + "): " + name + "\n";
      } else if (k % 50 == 0) {
        out += ".";
      }
      for (int32_t h = header_lines[k]; h <= count; ++h) {
        bool closes = normal[h].substr(0, 7) == "ENDFUNC";
        lines[h].clear();
        normal[h].clear();
        if (closes) break;
      }
    }
  }
  out += kFinished;
  result.lines.assign(lines.begin() + 1, lines.end());
  result.transformed.assign(normal.begin() + 1, normal.end());
  return result;
}

// ---------------------------------------------------------------------------

TEST(FunctionHeaders, NamesAreCutFromTheNormalizedHeader) {
  auto result = run_pass({"Func  Foo ( $a )", "\tfunc\tbar_2()", "  FUNC Baz", "Func ()",
                          "Func Odd$name(x)", "EndFunc", "Foo(Bar_2(Baz(Odd$Name())))"},
                         1);
  EXPECT_EQ(result.printed, kStart + "1 Run\n\nRun: 1\n" + kSearch +
                                "found function: 1:  FOO\n"
                                "found function: 2:  BAR_2\n"
                                "found function: 3:  BAZ\n"
                                "found function: 4:  \n"
                                "found function: 5:  ODD$NAME\n" +
                                kSearched + kFinished);
  EXPECT_EQ(result.function_count, 5);
}

TEST(FunctionHeaders, OnlyFuncFollowedByBlankOrTabOpensAFunction) {
  // Calls and words beginning with "Func" are no headers, however they
  // normalize; the lines after them stay.
  auto result = run_pass(
      {"FuncEnter($x)", "Functions below draw things", "FuncA()", "Func", "x = 1", "EndFunc"}, 1);
  EXPECT_EQ(result.printed, kStart + "1 Run\n\nRun: 1\n" + kSearch + kSearched + kFinished);
  EXPECT_EQ(result.function_count, 0);
  EXPECT_EQ(result.deleted, 0);
  EXPECT_EQ(kept(result).size(), 6u);
}

TEST(FunctionEraser, OnlyEndFuncEndsTheFunction) {
  // A line that only begins like "EndFunc" is part of the body.
  auto result = run_pass({"Func Unused()", "EndFade()", "$x = 1", "EndFunc"}, 1);
  EXPECT_EQ(result.deleted, 1);
  EXPECT_EQ(kept(result), text_lines{});
}

TEST(FunctionUsage, CallsAndQuotedNamesInAnyCaseAndSpacing) {
  auto result =
      run_pass({"Func Called()", "EndFunc", "Func Dq()", "EndFunc", "Func Sq()", "EndFunc",
                "Func Dead()", "EndFunc", "x = called ( 1 )", "GUICtrlSetOnEvent($id, \"dQ\")",
                "GUICtrlSetOnEvent($id, 'SQ')", "$s = \"Dead1\""},
               1);
  EXPECT_EQ(result.deleted, 1);
  ASSERT_EQ(result.lines.size(), 12u);
  EXPECT_EQ(result.lines[6], "");
  EXPECT_EQ(result.lines[7], "");
  EXPECT_EQ(kept(result).size(), 10u);
  // A call inside a longer name counts as a use too: AB( holds B(.
  auto substring = run_pass({"Func B()", "EndFunc", "Func AB()", "EndFunc", "AB()"}, 1);
  EXPECT_EQ(substring.deleted, 0);
}

TEST(FunctionUsage, BareNameCountsOnlyAsAWholeWord) {
  auto result =
      run_pass({"Func _Exit()", "EndFunc", "Func _Test()", "EndFunc", "Func Handler()", "EndFunc",
                "Func Var()", "EndFunc", "Func Pre()", "EndFunc", "Func Post()", "EndFunc",
                "GUISetOnEvent($GUI_EVENT_CLOSE, _Exit)", "Call(_Test)",
                "Local $a[2] = [Handler, 1]", "$Var = 1", "$x = XPre + Post2"},
               1);
  EXPECT_EQ(result.printed, kStart + "1 Run\n\nRun: 1\n" + kSearch +
                                "found function: 1:  _EXIT\n"
                                "found function: 2:  _TEST\n"
                                "found function: 3:  HANDLER\n"
                                "found function: 4:  VAR\n"
                                "found function: 5:  PRE\n"
                                "found function: 6:  POST\n" +
                                kSearched +
                                "delete function (functionnr.: 4): VAR\n"
                                "delete function (functionnr.: 5): PRE\n"
                                "delete function (functionnr.: 6): POST\n" +
                                kFinished);
  // Whole words are judged on the normalized text, where blanks are gone:
  // "Return Handler" reads RETURNHANDLER. Names that are not identifiers
  // stand as whole words by the same byte rule.
  auto joined = run_pass({"Func Handler()", "EndFunc", "Return Handler", "Func A+B", "EndFunc",
                          "x = 1 + a+b - 2", "Func C+D", "EndFunc", "$c+d = 1"},
                         1);
  EXPECT_EQ(joined.deleted, 2);
  EXPECT_EQ(kept(joined),
            (text_lines{"Return Handler", "Func A+B", "EndFunc", "x = 1 + a+b - 2", "$c+d = 1"}));
}

TEST(FunctionUsage, EmptyNameIsUsedByParenthesesOrEmptyQuotesOnly) {
  EXPECT_EQ(run_pass({"Func ()", "EndFunc", "x = 1"}, 1).deleted, 1);
  EXPECT_EQ(run_pass({"Func ()", "EndFunc", "f()"}, 1).deleted, 0);
  EXPECT_EQ(run_pass({"Func  ", "EndFunc", "$s = ''"}, 1).deleted, 0);
  EXPECT_EQ(run_pass({"Func  ", "EndFunc", "$s = \"\""}, 1).deleted, 0);
  // Every line holds the empty name, but never as a whole word.
  EXPECT_EQ(run_pass({"Func  ", "EndFunc", "$s = \"x\""}, 1).deleted, 1);
}

TEST(FunctionUsage, OwnHeaderIsExemptButRecursionAndTwinsKeepAFunction) {
  // The only use sits on the header line itself.
  auto own = run_pass({"Func Alone($f = 'Alone', $g = Alone)", "EndFunc"}, 1);
  EXPECT_EQ(own.deleted, 1);
  EXPECT_EQ(kept(own), text_lines{});
  auto recursive = run_pass({"Func Fact($n)", "  Return $n * Fact($n - 1)", "EndFunc"}, 3);
  EXPECT_EQ(recursive.deleted, 0);
  // Each header of two equal names uses the other.
  auto twins = run_pass({"Func Twin()", "EndFunc", "Func Twin()", "EndFunc"}, 1);
  EXPECT_EQ(twins.deleted, 0);
}

TEST(FunctionUsage, ALineOfManyCallsKeepsEveryNameItsChainsReach) {
  // Past sixteen names a line's names are told apart another way; a name
  // met as a bare word before a chain reaches it must not cut the chain
  // short, before and after that point. Z is named by the longer names'
  // headers anyway: what keeps it, as the records tell, shows the call.
  text_lines script;
  std::string many;
  for (int k = 1; k <= 20; ++k) {
    const std::string name = std::string("N").append(std::to_string(k));
    script.push_back("Func " + name + "()");
    script.push_back("EndFunc");
    many += name + "() ";
  }
  for (const char* name : {"Z", "YZ", "XYZ", "WXYZ", "Unused"}) {
    script.push_back(std::string("Func ") + name + "()");
    script.push_back("EndFunc");
  }
  const auto z_header = static_cast<int32_t>(script.size()) - 9;
  const auto call = static_cast<int32_t>(script.size()) + 1;
  for (const std::string& line : {"$a = YZ + WXYZ() + " + many, "$a = " + many + "YZ + WXYZ()"}) {
    script.push_back(line);
    autoitsourcefile file("");
    load_lines(file, script, true);
    file.records.names_on = true;
    file.records.reasons_on = true;
    captured_stdout([&] { file.remove_unused_functions(2, "x"); });
    EXPECT_EQ(file.deleted_functions, 1) << line;
    const auto& records = file.records.functions;
    ASSERT_EQ(records.size(), 25u);
    ASSERT_EQ(records[20].slot, z_header);
    EXPECT_EQ(records[20].keeper_slot, call) << line;
    EXPECT_EQ(records[20].keeper_function, -1) << line;
    script.pop_back();
  }
}

TEST(FunctionRuns, CallerBeforeCalleeGoesInOneRun) {
  text_lines chain{"Func A()", "  B()",   "EndFunc",  "Func B()",
                   "  C()",    "EndFunc", "Func C()", "EndFunc"};
  auto result = run_pass(chain, 2);
  EXPECT_EQ(result.deleted, 3);
  EXPECT_EQ(result.printed, kStart + "2 Runs\n\nRun: 1\n" + kSearch +
                                "found function: 1:  A\nfound function: 2:  B\n"
                                "found function: 3:  C\n" +
                                kSearched +
                                "delete function (functionnr.: 1): A\n"
                                "delete function (functionnr.: 2): B\n"
                                "delete function (functionnr.: 3): C\n"
                                "\nRun: 2\n" +
                                kSearch + kSearched + kFinished);
  EXPECT_EQ(result.function_count, 0);
}

TEST(FunctionRuns, CalleeBeforeCallerNeedsARunPerLink) {
  text_lines chain{"Func C()", "EndFunc", "Func B()",    "  C()",   "EndFunc", "Func A()",
                   "  B()",    "EndFunc", "Func Main()", "EndFunc", "Main()"};
  auto one = run_pass(chain, 1);
  EXPECT_EQ(one.deleted, 1);
  EXPECT_EQ(one.function_count, 4);
  auto three = run_pass(chain, 3);
  EXPECT_EQ(three.deleted, 3);
  EXPECT_EQ(kept(three), (text_lines{"Func Main()", "EndFunc", "Main()"}));
  EXPECT_EQ(three.printed,
            kStart + "3 Runs\n\nRun: 1\n" + kSearch +
                "found function: 1:  C\nfound function: 2:  B\nfound function: 3:  A\n"
                "found function: 4:  MAIN\n" +
                kSearched + "delete function (functionnr.: 3): A\n\nRun: 2\n" + kSearch +
                "found function: 1:  C\nfound function: 2:  B\nfound function: 3:  MAIN\n" +
                kSearched + "delete function (functionnr.: 2): B\n\nRun: 3\n" + kSearch +
                "found function: 1:  C\nfound function: 2:  MAIN\n" + kSearched +
                "delete function (functionnr.: 1): C\n" + kFinished);
  EXPECT_EQ(three.function_count, 2);
}

TEST(FunctionRuns, NoRunsAndRunsAfterNothingChanged) {
  text_lines script{"Func Dead()", "EndFunc", "Func Live()", "EndFunc", "Live()"};
  for (int runs : {0, -2}) {
    auto result = run_pass(script, runs);
    EXPECT_EQ(result.printed, kStart + std::to_string(runs) + " Runs\n" + kFinished);
    EXPECT_EQ(result.function_count, -7);
    EXPECT_EQ(result.deleted, 0);
  }
  // Later runs repeat the unchanged search word for word.
  const int runs = 20000;
  auto result = run_pass(script, runs);
  std::string expected = kStart + "20000 Runs\n\nRun: 1\n" + kSearch +
                         "found function: 1:  DEAD\nfound function: 2:  LIVE\n" + kSearched +
                         "delete function (functionnr.: 1): DEAD\n";
  for (int run = 2; run <= runs; ++run) {
    expected +=
        "\nRun: " + std::to_string(run) + "\n" + kSearch + "found function: 1:  LIVE\n" + kSearched;
  }
  EXPECT_EQ(result.printed, expected + kFinished);
  EXPECT_EQ(result.function_count, 1);
}

TEST(FunctionDeletion, StopsAtTheFirstLineBeginningWithEndFunc) {
  auto result = run_pass({"Func Dead()", "  Local $t = $tagBLENDFUNCTION", "  $s = 'EndFunc'",
                          "  endfunc ; closes", "x = 1"},
                         1);
  EXPECT_EQ(result.lines, (text_lines{"", "", "", "", "x = 1"}));
  EXPECT_EQ(result.transformed, (text_lines{"", "", "", "", "X=1"}));
  // EndFunction begins with ENDFUNC as well.
  auto word = run_pass({"Func Dead()", "EndFunction", "x = 1"}, 1);
  EXPECT_EQ(kept(word), text_lines{"x = 1"});
}

TEST(FunctionDeletion, RunsToTheEndOfTheTableWithoutEndFunc) {
  auto result = run_pass({"x = 1", "Func Dead()", "  y = 2", "\t", "Func Inner()", "  z = 3"}, 1);
  EXPECT_EQ(result.lines, (text_lines{"x = 1", "", "", "", "", ""}));
  EXPECT_EQ(result.deleted, 2);
  // A header inside a deleted body is blanked with it; its own deletion, from
  // the blank header, runs on to the next EndFunc.
  auto nested = run_pass({"Func Outer()", "Func Inner()", "EndFunc", "a()", "EndFunc", "b()"}, 1);
  EXPECT_EQ(nested.deleted, 2);
  EXPECT_EQ(nested.lines, (text_lines{"", "", "", "", "", "b()"}));
  // A use elsewhere still keeps a function whose header went with another.
  auto used = run_pass({"Func Outer()", "Func Inner()", "EndFunc", "Inner()"}, 1);
  EXPECT_EQ(used.lines, (text_lines{"", "", "", "Inner()"}));
}

TEST(FunctionOutput, DotsForHeaderLinesAndFunctionNumbersThatAreMultiplesOf50) {
  // 60 unused one-line functions on lines 1-60, each closed by a blank-free
  // "EndFunc" line: headers on lines 1, 3, ..., 119.
  text_lines script;
  for (int k = 1; k <= 60; ++k) {
    script.push_back("Func F" + std::to_string(k) + "()");
    script.push_back("EndFunc");
  }
  auto dots = run_pass(script, 1, "c");
  // No header stands on line 50 or 100 (both even); function 50 is deleted.
  EXPECT_EQ(dots.printed, kStart + "1 Run\n\nRun: 1\n" + kSearch + kSearched + "." + kFinished);
  script.insert(script.begin(), "x = 1");
  dots = run_pass(script, 1, "");
  EXPECT_EQ(dots.printed,
            kStart + "1 Run\n\nRun: 1\n" + kSearch + ".." + kSearched + "." + kFinished);
  EXPECT_EQ(dots.deleted, 60);
}

TEST(FunctionIndex, AgreesWithPlainSearchOnGeneratedScripts) {
  std::mt19937 rng(77);
  // Short names that begin and end one another, odd bytes; then long names
  // alike but for a few bytes, and names ending one another in a chain.
  const std::vector<std::string> short_names{"A", "B", "AB", "_A", "A1", "BA", "", "A+B", "X\"Y"};
  const std::vector<std::string> long_names{
      "_Fn00012_Init", "_Fn00013_Init", "_Fn00012_InitX", "Fn00012_Init", "n00012_Init", "Init",
      "t",             "it",            "nit",            "AAAA",         "AAAAAAA",     "A"};
  const std::vector<std::string>* names = &short_names;
  auto name = [&] { return (*names)[rng() % names->size()]; };
  auto pick = [&](std::initializer_list<std::string> options) {
    return *(options.begin() + rng() % options.size());
  };
  for (int round = 0; round < 600; ++round) {
    names = round % 3 == 2 ? &long_names : &short_names;
    text_lines script;
    int length = 1 + static_cast<int>(rng() % (round % 10 == 0 ? 260 : 30));
    for (int i = 0; i < length; ++i) {
      std::string n = name();
      std::string lower = n;
      for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      switch (rng() % 12) {
        case 0:
        case 1: {
          std::string call_in_parameters = name().append("())");
          std::string header = pick({"Func ", "  func\t", "FUNC  ", "Func"});
          header += lower;
          header += pick({"()", " ($x)", "", "(" + call_in_parameters});
          script.push_back(header);
          break;
        }
        case 2:
        case 3:
          script.push_back(pick({"EndFunc", "endfunc ; x", "$tagBLENDFUNCTION", "EndFunction"}));
          break;
        case 4:
          script.push_back(lower + pick({"()", " (1)", ""}));
          break;
        case 5:
          script.push_back("x = \"" + n + "\" & '" + name() + "'");
          break;
        case 6:
          script.push_back(pick({"Call(", "$", "x=", "Return "}) + n + pick({")", "2", ""}));
          break;
        case 7:
          script.push_back(pick({"FuncEnter(", "Functions ", "FuncA()"}) + n);
          break;
        case 8:
          script.push_back(pick({"", " ", "\t"}));
          break;
        default:
          script.push_back(name() + pick({"+", "(", ",", " "}) + name());
          break;
      }
    }
    int runs = static_cast<int>(rng() % 5) - 1;
    bool verbose = rng() % 2;
    auto indexed = run_pass(script, runs, verbose ? "C" : "x");
    auto plain = plain_pass(script, runs, verbose);
    ASSERT_EQ(indexed.printed, plain.printed) << "round " << round;
    ASSERT_EQ(indexed.lines, plain.lines) << "round " << round;
    ASSERT_EQ(indexed.transformed, plain.transformed) << "round " << round;
    ASSERT_EQ(indexed.deleted, plain.deleted) << "round " << round;
    ASSERT_EQ(indexed.function_count, plain.function_count) << "round " << round;
  }
}

TEST(FunctionIndex, LongChainOverFiveRuns) {
  // 20,000 functions, each called only by the next; the last is unused.
  const int functions = 20000;
  text_lines script;
  for (int k = 1; k <= functions; ++k) {
    script.push_back("Func F" + std::to_string(k) + "()");
    if (k > 1) script.push_back("  F" + std::to_string(k - 1) + "()");
    script.push_back("EndFunc");
  }
  auto result = run_pass(script, 5, "x");
  EXPECT_EQ(result.deleted, 5);
  EXPECT_EQ(result.function_count, functions - 4);
  EXPECT_EQ(result.lines[script.size() - 1 - 15], "EndFunc");
  EXPECT_EQ(result.lines[script.size() - 15], "");
}

}  // namespace
