#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/script_builder.h"

namespace {

using text = std::vector<std::string>;

// Both dead-code passes, then the warnings, on a script named main.au3.
text warnings_after(const text& lines, const char* keep = "") {
  autoitsourcefile script("main.au3");
  load_lines(script, lines, true);
  script.add_keep_list(keep);
  captured_stdout([&] {
    script.remove_unused_functions(1, "C");
    script.remove_unused_vars("C");
  });
  script.warn_about_names_built_at_run_time();
  text out;
  for (const run_warning& w : script.warnings) {
    out.push_back(std::string(w.file) + ":" + std::to_string(w.line) + ": " + w.text);
  }
  return out;
}

const text kHandlers = {"Func _On_Connect($x)", "EndFunc", "func  _on_message ()", "EndFunc",
                        "Func Error_Log()", "EndFunc"};

text with_handlers(text lines) {
  lines.insert(lines.end(), kHandlers.begin(), kHandlers.end());
  return lines;
}

TEST(NamesBuiltAtRunTime, LiteralBeginningAJoinedNameListsWhatWasDeleted) {
  EXPECT_EQ(warnings_after(with_handlers({"Local $e = 'Connect'", "Call(\"_On_\" & $e)"})),
            (text{"main.au3:2: a function name is built at run time (\"_On_\" & ...): deleted "
                  "_On_Connect, _on_message; keep them with --keep=_On_*"}));
  // Single quotes, any case, inside other calls.
  EXPECT_EQ(warnings_after(with_handlers({"GUICtrlSetOnEvent($id, StringLower('_ON_m' & $e))"})),
            (text{"main.au3:1: a function name is built at run time ('_ON_m' & ...): deleted "
                  "_on_message; keep it with --keep=_ON_m*"}));
}

TEST(NamesBuiltAtRunTime, OrdinaryStringBuildingStaysSilent) {
  EXPECT_TRUE(warnings_after(with_handlers({
                                 "MsgBox(0, '', \"Error: \" & $x)",  // begins no deleted name
                                 "$s = $dir & \"_On_\" & $i",        // does not begin the string
                                 "$s = \"_On_\"",                    // not joined to anything
                                 "$s &= \"_On_\"",                   // appended, not appended to
                                 "$s = \"\" & $x",                   // empty
                                 "$s = \"x\" ; \"_On_\" & $e",       // in a comment
                                 "$s = 'a \"_On_\" & b'",            // inside another string
                                 "Call(\"_On_\" & \"Quit\")",           // a whole name, no handler
                                 "$s = \"_\" & $i & \".bak\"",           // one character
                             }))
                  .empty());
  // Nothing deleted, nothing to say: a kept handler is not listed.
  EXPECT_TRUE(warnings_after(with_handlers({"Call(\"_On_\" & $e)", "Error_Log()"}), "_on_*").empty());
}

TEST(NamesBuiltAtRunTime, JoinedLiteralsBeginTheNameTogether) {
  EXPECT_EQ(warnings_after(with_handlers({"Call(\"_On\" & '_C' & $e & \"x\")"})),
            (text{"main.au3:1: a function name is built at run time (\"_On\" & '_C' & ...): "
                  "deleted _On_Connect; keep it with --keep=_On_C*"}));
  // Joined into a whole name, they name that one only: no quoted name shows
  // it to the usage test.
  EXPECT_EQ(warnings_after(with_handlers({"HotKeySet(\"{F1}\", \"_On_\" & \"Message\")",
                                          "Global $g_sLang = 1, $g_sLangs = 2",
                                          "$s = Eval(\"g_\" & \"sLang\")"})),
            (text{"main.au3:1: a function name is built at run time (\"_On_\" & \"Message\"): "
                  "deleted _on_message; keep it with --keep=_On_Message",
                  "main.au3:3: a variable name is built at run time (Eval(\"g_\" & \"sLang\")): "
                  "deleted $g_sLang; keep it with --keep=$g_sLang"}));
}

TEST(NamesBuiltAtRunTime, DeclarationBlankedWithItsVariableIsStillRead) {
  // The event object is held by a variable nothing reads: its whole line goes.
  EXPECT_EQ(warnings_after({"Global $oEvents = ObjEvent($oIE, \"IE_\")", "Func IE_Quit()",
                            "EndFunc"}),
            (text{"main.au3:1: a function name is built at run time (ObjEvent(..., \"IE_\")): "
                  "deleted IE_Quit; keep it with --keep=IE_*, and this line's unused variable "
                  "with --keep=$oEvents"}));
}

TEST(NamesBuiltAtRunTime, ObjEventPrefixNeedsNoAmpersand) {
  EXPECT_EQ(warnings_after({"$o = ObjEvent($oIE, \"IE_\", \"DWebBrowserEvents2\")",
                            "Func IE_BeforeNavigate2($a)", "EndFunc"}),
            (text{"main.au3:1: a function name is built at run time (ObjEvent(..., \"IE_\")): "
                  "deleted IE_BeforeNavigate2; keep it with --keep=IE_*"}));
  // Only its second argument names functions.
  EXPECT_TRUE(
      warnings_after({"$o = ObjEvent(\"IE_\", $x)", "Func IE_Quit()", "EndFunc"}).empty());
}

// Lines without a literal that could warn are passed over unwalked: an "&"
// that is not "&=" or an ObjEvent call in any case must still be seen,
// wherever it stands.
TEST(NamesBuiltAtRunTime, EdgesOfTheLinesWorthWalking) {
  EXPECT_EQ(warnings_after(with_handlers({"$a = \"_On_\" &", "$b = '_on_c' & = 1",
                                          "$c = '_ON_' &=1", "$o = objEVENT ($x, '_On_')"})),
            (text{"main.au3:1: a function name is built at run time (\"_On_\" & ...): deleted "
                  "_On_Connect, _on_message; keep them with --keep=_On_*",
                  "main.au3:2: a function name is built at run time ('_on_c' & ...): deleted "
                  "_On_Connect; keep it with --keep=_on_c*",
                  "main.au3:4: a function name is built at run time (objEVENT(..., '_On_')): "
                  "deleted _On_Connect, _on_message; keep them with --keep=_On_*"}));
}

TEST(NamesBuiltAtRunTime, AtMostThreeNamesListed) {
  text lines = {"Call(\"Cb\" & $i)"};
  for (const char* name : {"Cb5", "Cb1", "Cb4", "Cb2", "Cb3"}) {
    lines.push_back(std::string("Func ") + name + "()");
    lines.push_back("EndFunc");
  }
  EXPECT_EQ(warnings_after(lines),
            (text{"main.au3:1: a function name is built at run time (\"Cb\" & ...): deleted Cb1, "
                  "Cb2, Cb3 and 2 more; keep them with --keep=Cb*"}));
}

TEST(NamesBuiltAtRunTime, VariablesNamedInEvalAssignIsDeclaredAndExecute) {
  EXPECT_EQ(warnings_after({"Global $g_sName = 1, $g_sPath = 2, $other = 3",
                            "$v = Eval(\"g_s\" & $which)", "Assign(\"Oth\" & $x, 5)",
                            "If IsDeclared(\"G_S\" & $n) Then Exit", "Execute('$g_sP' & $y)",
                            "$o.Eval(\"g_s\" & $z)"}),
            (text{"main.au3:2: a variable name is built at run time (Eval(\"g_s\" & ...)): deleted "
                  "$g_sName, $g_sPath; keep them with --keep=$g_s*",
                  "main.au3:3: a variable name is built at run time (Assign(\"Oth\" & ...)): "
                  "deleted $other; keep it with --keep=$Oth*",
                  "main.au3:4: a variable name is built at run time (IsDeclared(\"G_S\" & ...)): "
                  "deleted $g_sName, $g_sPath; keep them with --keep=$G_S*",
                  "main.au3:5: a variable name is built at run time ('$g_sP' & ...): deleted "
                  "$g_sPath; keep it with --keep=$g_sP*"}));
  // A whole name given to Eval is that name, not the beginning of longer ones.
  EXPECT_TRUE(warnings_after({"Global $g_sNameX = 1", "$v = Eval(\"g_sName\")"}).empty());
  // "$" alone, or with one more character, begins too many variables.
  EXPECT_TRUE(
      warnings_after({"Global $unused = 1", "$s = \"$\" & $amount", "$t = '$u' & $x"}).empty());
}

}  // namespace
