#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "names/name_chains.h"
#include "support/script_builder.h"

namespace {

using text = std::vector<std::string>;

// Finds the built names, runs both dead-code passes and the messages after
// them, on a script named main.au3: the notes, then the warnings.
struct outcome {
  text notes;
  text warnings;
  text lines;
};

outcome run(const text& lines, bool auto_keep = true, const char* keep = "") {
  autoitsourcefile script("main.au3");
  load_lines(script, lines, true);
  script.add_keep_list(keep);
  script.find_names_built_at_run_time(auto_keep);
  captured_stdout([&] {
    script.remove_unused_functions(1, "C");
    script.remove_unused_vars("C");
  });
  script.warn_about_names_built_at_run_time();
  outcome out;
  for (const run_warning& w : script.notes) out.notes.push_back(std::string(w.file) + ":" + std::to_string(w.line) + ": " + w.text);
  for (const run_warning& w : script.warnings) {
    out.warnings.push_back(std::string(w.file) + ":" + std::to_string(w.line) + ": " + w.text);
  }
  out.lines = current_lines(script);
  return out;
}

text warnings_after(const text& lines, bool auto_keep = true) { return run(lines, auto_keep).warnings; }

const text kHandlers = {"Func _On_Connect($x)", "EndFunc", "func  _on_message ()", "EndFunc",
                        "Func Error_Log()", "EndFunc"};

text with_handlers(text lines) {
  lines.insert(lines.end(), kHandlers.begin(), kHandlers.end());
  return lines;
}

// The pattern a line's one chain gives, as a keep entry spells it; "" for none.
std::string pattern_in(const std::string& line) {
  std::vector<name_chain> chains;
  std::vector<held_name> held;
  find_name_chains(line, chains, held);
  if (chains.size() != 1) return chains.empty() ? "" : "several";
  const name_chain& c = chains.front();
  return c.whole ? c.prefix : c.prefix + "*" + c.suffix;
}

TEST(NameChains, PatternFromFirstLiteralToTheLiteralThatCalls) {
  EXPECT_EQ(pattern_in("Execute(\"Get\" & $e & \"BackgroundMode()\")"), "Get*BackgroundMode");
  EXPECT_EQ(pattern_in("Execute(\"Open\" & $e & \"(\" & $b & \")\")"), "Open*");
  EXPECT_EQ(pattern_in("Call(\"_On_\" & $e)"), "_On_*");
  EXPECT_EQ(pattern_in("$f = \"Is\" & $emu & \"CommandLine\""), "Is*CommandLine");
  EXPECT_EQ(pattern_in("Call(\"Key\" & \"F1\" & $x)"), "KeyF1*");  // joined literals are one
  EXPECT_EQ(pattern_in("Call('_On_' & \"Quit\")"), "_On_Quit");     // a whole name
  EXPECT_EQ(pattern_in("x(\"a\"\"b\" & $c)"), "");                  // a quote is no name byte
}

TEST(NameChains, ChainsInsideChainsAndCallsAtAnyDepth) {
  EXPECT_EQ(pattern_in("Execute(\"$\" & Eval(\"vector\" & $j))"), "vector*");
  EXPECT_EQ(pattern_in("ConsoleWrite(\"Result: \" & Call(\"Send\" & $x & \"on\"))"), "Send*on");
  EXPECT_EQ(pattern_in("f(1, g(\"x: \" & (h(Call(\"Do_\" & $a)))))"), "Do_*");
}

TEST(NameChains, TextThatCannotBeANameIsSilent) {
  for (const char* line : {"$f = \"Report_\" & @YEAR & \".txt\"", "MsgBox(0, '', \"Error: \" & $x)",
                           "Execute(\"$\" & $k)", "$s = \"_\" & $i", "$s = $dir & \"_On_\" & $i",
                           "$s = \"Fn_\" &= $x & $y", "$s = \"x\" ; \"_On_\" & $e",
                           "$s = 'a \"_On_\" & b'", "$s = \"_On_\" &"}) {
    EXPECT_EQ(pattern_in(line), "") << line;
  }
}

TEST(NamesBuiltAtRunTime, NamingCallsKeepWhatTheirPatternMatches) {
  const outcome out = run({"Execute(\"Get\" & $emu & \"Mode()\")", "Func GetAMode()", "EndFunc",
                           "Func getbmode()", "EndFunc", "Func GetOther()", "EndFunc",
                           "GUISetOnEvent(-3, '_On_' & $e)", "Func _On_Close()", "EndFunc"});
  EXPECT_EQ(out.notes,
            (text{"main.au3:1: kept GetAMode, getbmode: the script builds their names at run time "
                  "(Get*Mode)",
                  "main.au3:8: kept _On_Close: the script builds its name at run time (_On_*)"}));
  EXPECT_TRUE(out.warnings.empty());
  EXPECT_EQ(out.lines[5], "");  // GetOther went
}

TEST(NamesBuiltAtRunTime, ObjEventPrefixAndVariablesByName) {
  const outcome out =
      run({"$o = ObjEvent($oIE, \"IE_\", \"Ev\")", "Func IE_Quit()", "EndFunc", "Func Ev_Handler()",
           "EndFunc", "Global $g_a = 1, $g_b = 2, $h = 3", "$v = Eval(\"g_\" & $k)"});
  EXPECT_EQ(out.notes,
            (text{"main.au3:1: kept IE_Quit: the script builds its name at run time (IE_*)",
                  "main.au3:7: kept $g_a, $g_b: the script builds their names at run time ($g_*)"}));
  // The third argument of ObjEvent names nothing.
  EXPECT_EQ(out.lines[3], "");
  EXPECT_EQ(out.lines[5], "Global $g_a = 1, $g_b = 2");
}

TEST(NamesBuiltAtRunTime, AConstantPrefixStandsForItsLiteral) {
  const text handlers = {"Func _On_Open()", "EndFunc"};
  text lines = {"Global Const $g_sPrefix = \"_On_\"", "Call($g_sPrefix & $e)"};
  lines.insert(lines.end(), handlers.begin(), handlers.end());
  EXPECT_EQ(run(lines).notes,
            (text{"main.au3:2: kept _On_Open: the script builds its name at run time (_On_*)"}));
  // Assigned again: the name cannot be seen.
  lines.push_back("If $x Then $g_sPrefix = \"Other_\"");
  const outcome out = run(lines);
  EXPECT_TRUE(out.notes.empty());
  EXPECT_EQ(out.warnings,
            (text{"main.au3:2: a function is called by a name held at run time "
                  "(Call($g_sPrefix & $e)); deleted functions nothing else names: _On_Open; keep "
                  "it with --keep=_On_Open"}));
}

TEST(NamesBuiltAtRunTime, NameHeldInAVariableWarnsOnceAfterDeletions) {
  const text lines = {"Call($fCallbackName, $socket)", "GUICtrlSetOnEvent($id, $aHandlers[$i])",
                      "AdlibRegister(GetName())", "HotKeySet('{F1}', Default)", "Func _On_Data()", "EndFunc"};
  EXPECT_EQ(warnings_after(lines),
            (text{"main.au3:1: a function is called by a name held at run time "
                  "(Call($fCallbackName, ...)); deleted functions nothing else names: _On_Data; "
                  "keep it with --keep=_On_Data (and 2 more places)"}));
  // Nothing deleted, nothing to say.
  EXPECT_TRUE(warnings_after({"Call($fCallbackName, $socket)"}).empty());
}

TEST(NamesBuiltAtRunTime, AHeldNameListsTheFunctionsNothingElseNames) {
  // Helper is named by a deleted function: no target; the handlers share a
  // start, which the keep entry shown covers.
  text lines = {"Call($sHandler)", "Func Dead()", "Helper()", "EndFunc", "Func Helper()", "EndFunc"};
  for (const char* name : {"_On_Save", "_On_Open", "_On_Quit", "_On_Close"}) {
    lines.push_back(std::string("Func ") + name + "()");
    lines.push_back("EndFunc");
  }
  lines.push_back("Assign($sName, 1)");
  const outcome out = run(lines);
  ASSERT_EQ(out.warnings.size(), 1u);
  EXPECT_EQ(out.warnings[0],
            "main.au3:1: a function is called by a name held at run time (Call($sHandler)); "
            "deleted functions nothing else names: Dead, _On_Close, _On_Open and 2 more; keep "
            "them with --keep or a pragma");
  lines[1] = "Func _On_Dead()";
  EXPECT_EQ(run(lines).warnings[0].substr(out.warnings[0].find("; deleted")),
            "; deleted functions nothing else names: _On_Close, _On_Dead, _On_Open and 2 more; "
            "keep them with --keep=_On_*");
  // Kept by the user, they leave nothing to warn about; Assign names no
  // function, and no variable went.
  EXPECT_TRUE(run(lines, true, "_On_*").warnings.empty());
}

TEST(NamesBuiltAtRunTime, AVariableNameHeldAtRunTimeWarnsAboutVariablesOnly) {
  const outcome out = run({"Global $g_iWidth = 1, $g_iHeight = 2", "Func Unused()", "EndFunc",
                           "Assign($sName, 3)", "$v = Eval($sOther)"});
  EXPECT_EQ(out.warnings,
            (text{"main.au3:4: a variable is read or set by a name held at run time (Assign($sName, "
                  "...)); deleted variables it may name: $g_iHeight, $g_iWidth; keep them with "
                  "--keep=$g_i* (and 1 more place)"}));
}

TEST(NamesBuiltAtRunTime, OtherChainsWarnWithTheWholePattern) {
  EXPECT_EQ(warnings_after({"Dispatch(\"Is\" & $emu & \"CommandLine\")", "Func IsNoxCommandLine()",
                            "EndFunc", "Func IsNox()", "EndFunc"}),
            (text{"main.au3:1: a function name is built at run time (\"Is\" & ... & "
                  "\"CommandLine\"): deleted IsNoxCommandLine; keep it with "
                  "--keep=Is*CommandLine"}));
  // Single quotes, any case, inside other calls.
  EXPECT_EQ(warnings_after(with_handlers({"GUICtrlSetOnEvent($id, StringLower('_ON_m' & $e))"})),
            (text{"main.au3:1: a function name is built at run time ('_ON_m' & ...): deleted "
                  "_on_message; keep it with --keep=_ON_m*",
                  "main.au3:1: a function is called by a name held at run time "
                  "(GUICtrlSetOnEvent(..., StringLower('_ON_m' & $e))); deleted functions nothing "
                  "else names: Error_Log, _On_Connect, _on_message; keep them with "
                  "--keep=Error_Log,_On_Connect,_on_message"}));
}

TEST(NamesBuiltAtRunTime, LiteralsJoinedIntoAWholeName) {
  // Passed on to the script's own function: the name it spells is warned about.
  EXPECT_EQ(warnings_after(with_handlers({"Register(\"data\", \"_On_\" & 'Message')"})),
            (text{"main.au3:1: a function name is built at run time (\"_On_\" & 'Message'): "
                  "deleted _on_message; keep it with --keep=_On_Message"}));
  // Given to a naming call, it is kept.
  EXPECT_EQ(run(with_handlers({"Call(\"_On_\" & 'Message')"})).notes,
            (text{"main.au3:1: kept _on_message: the script builds its name at run time "
                  "(_On_Message)"}));
}

TEST(NamesBuiltAtRunTime, WithoutAutoKeepNamingCallsWarnAsBefore) {
  text lines = {"Call(\"Cb\" & $i)"};
  for (const char* name : {"Cb4", "Cb1", "Cb3", "Cb2"}) {
    lines.push_back(std::string("Func ") + name + "()");
    lines.push_back("EndFunc");
  }
  EXPECT_EQ(warnings_after(lines, false),
            (text{"main.au3:1: a function name is built at run time (\"Cb\" & ...): deleted Cb1, "
                  "Cb2, Cb3 and 1 more; keep them with --keep=Cb*"}));
  EXPECT_EQ(warnings_after({"Global $g_sName = 1, $g_sPath = 2", "$v = Eval(\"g_s\" & $which)"},
                           false),
            (text{"main.au3:2: a variable name is built at run time (Eval(\"g_s\" & ...)): deleted "
                  "$g_sName, $g_sPath; keep them with --keep=$g_s*"}));
}

TEST(NamesBuiltAtRunTime, APatternFindsItsNamesByTheirEndingAsByTheirStart) {
  // Fewer deleted names end with "_Open" than begin with "Fn_": those are
  // the ones read (in another order: Fn_b_Open before Fn_a_x_Open), and
  // they still come out in sorted order, without the name whose start and
  // end would overlap (Fn_Open).
  text lines = {"Call(\"Fn_\" & $x & \"_Open\")"};
  for (const char* name : {"Fn_b_Open", "Gn_Open", "Fn_Open", "Fn_a_x_Open", "Fn_c_Close",
                           "Fn_d_Close", "Fn_e_Close", "Fn_f_Close"}) {
    lines.push_back(std::string("Func ") + name + "()");
    lines.push_back("EndFunc");
  }
  EXPECT_EQ(warnings_after(lines, false),
            (text{"main.au3:1: a function name is built at run time (\"Fn_\" & ... & \"_Open\"): "
                  "deleted Fn_a_x_Open, Fn_b_Open; keep them with --keep=Fn_*_Open"}));
}

TEST(NamesBuiltAtRunTime, DeclarationBlankedWithItsVariableIsStillReadInLineOrder) {
  // The name is held by a variable nothing reads: its whole line goes, and
  // its warning still comes before the later line's.
  EXPECT_EQ(warnings_after({"Global $sEvent = StringLower(\"IE_\" & $e)", "Func IE_Quit()",
                            "EndFunc", "$s = \"IE_\" & $x"}),
            (text{"main.au3:1: a function name is built at run time (\"IE_\" & ...): "
                  "deleted IE_Quit; keep it with --keep=IE_*, and this line's unused variable "
                  "with --keep=$sEvent",
                  "main.au3:4: a function name is built at run time (\"IE_\" & ...): "
                  "deleted IE_Quit; keep it with --keep=IE_*"}));
}

TEST(NamesBuiltAtRunTime, DeadCodeBuildsNothing) {
  // The chain stood in a function that was deleted itself.
  EXPECT_TRUE(warnings_after(with_handlers({"Func Unused()", "$s = '_On_' & $e", "EndFunc"})).empty());
}

}  // namespace

namespace {

// One rule of the built names: a script, and what must come of it.
struct built_name_rule {
  const char* what;
  text lines;
  text notes;     // expected notes
  text warnings;  // expected warnings
  int empty_line = -1;  // a line (from 1) that must be gone, or -1
  int kept_line = -1;   // a line (from 1) that must stay, or -1
};

void check_rules(const std::vector<built_name_rule>& rules) {
  for (const built_name_rule& rule : rules) {
    const outcome out = run(rule.lines);
    EXPECT_EQ(out.notes, rule.notes) << rule.what;
    EXPECT_EQ(out.warnings, rule.warnings) << rule.what;
    ASSERT_EQ(out.lines.size(), rule.lines.size()) << rule.what;
    if (rule.empty_line > 0) {
      EXPECT_EQ(out.lines[rule.empty_line - 1], "") << rule.what;
    }
    if (rule.kept_line > 0) {
      EXPECT_EQ(out.lines[rule.kept_line - 1], rule.lines[rule.kept_line - 1]) << rule.what;
    }
  }
}

}  // namespace

TEST(NamesBuiltAtRunTime, RulesOfTheNamingCalls) {
  check_rules({
      {"OnAutoItExitRegister is a naming call",
       {"OnAutoItExitRegister(\"_Exit\" & $sMode)", "Func _ExitQuiet()", "EndFunc"},
       {"main.au3:1: kept _ExitQuiet: the script builds its name at run time (_Exit*)"},
       {},
       -1,
       2},
      {"IsDeclared names variables",
       {"Global $g_a = 1, $g_b = 2", "If IsDeclared(\"g_\" & $k) Then Exit"},
       {"main.au3:2: kept $g_a, $g_b: the script builds their names at run time ($g_*)"},
       {},
       -1,
       1},
      {"a method named Call is no naming call",
       {"$o.Call(\"Fn_\" & $x)", "Func Fn_A()", "EndFunc"},
       {},
       {"main.au3:1: a function name is built at run time (\"Fn_\" & ...): deleted Fn_A; keep "
        "it with --keep=Fn_*"},
       2},
      {"ObjEvent's prefix of one byte keeps nothing",
       {"ObjEvent($o, \"E\")", "Func E_Quit()", "EndFunc"},
       {},
       {},
       2},
  });
}

TEST(NamesBuiltAtRunTime, RulesOfTheChains) {
  check_rules({
      {"a doubled quote ends no literal",
       {"$s = \"He said \"\"Fn_\" & $x", "Func Fn_A()", "EndFunc"},
       {},
       {}},
      {"a name that is the prefix and suffix alone matches",
       {"$f = \"Fn_\" & $x & \"_Open\"", "Func Fn__Open()", "EndFunc"},
       {},
       {"main.au3:1: a function name is built at run time (\"Fn_\" & ... & \"_Open\"): deleted "
        "Fn__Open; keep it with --keep=Fn_*_Open"}},
      {"the ending is compared to its first byte",
       {"$f = \"Fn\" & $x & \"_Open\"", "Func AOPEN()", "EndFunc", "Func BOPEN()", "EndFunc",
        "Func FnA_Open()", "EndFunc", "Func FnB()", "EndFunc", "Func FnC()", "EndFunc",
        "Func FnD()", "EndFunc"},
       {},
       {"main.au3:1: a function name is built at run time (\"Fn\" & ... & \"_Open\"): deleted "
        "FnA_Open; keep it with --keep=Fn*_Open"}},
      {"a held name in a deleted function is dead code",
       {"Func Dead()", "Call($f)", "EndFunc", "Func Fn_A()", "EndFunc"},
       {},
       {}},
  });
}

TEST(NamesBuiltAtRunTime, RulesOfTheConstantPrefix) {
  const char* held_fn_a =
      "main.au3:2: a function is called by a name held at run time (Call($P & $x)); deleted "
      "functions nothing else names: Fn_A; keep it with --keep=Fn_A";
  check_rules({
      {"a constant of one byte is no prefix",
       {"Global Const $P = \"F\"", "Call($P & $x)", "Func F1()", "EndFunc"},
       {},
       {"main.au3:2: a function is called by a name held at run time (Call($P & $x)); deleted "
        "functions nothing else names: F1; keep it with --keep=F1"},
       3},
      {"a variable declared twice is no constant",
       {"Global $P = \"Fn_\"", "Call($P & $x)", "Func Fn_A()", "EndFunc", "Func G()",
        "Local $P = \"Other_\"", "EndFunc", "G()"},
       {},
       {held_fn_a},
       3},
      {"a literal followed by more text is not the value",
       {"Global Const $P = \"Fn\" & \"_X\"", "Call($P & $x)", "Func Fn_A()", "EndFunc"},
       {},
       {held_fn_a},
       3},
      {"&= assigns",
       {"Global $P = \"Fn_\"", "Call($P & $x)", "Func Fn_A()", "EndFunc", "$P &= \"X\""},
       {},
       {held_fn_a},
       3},
  });
}
