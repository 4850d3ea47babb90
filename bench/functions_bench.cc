// Cost of the unused-function pass as the script grows.

// The realistic script goes from 25,000 lines (2,000 functions) to 1,000,000
// lines (80,000 functions); a flat time per line and bytes per second (and the
// fitted complexity) show the pass is linear. The other cases are the shapes
// that would turn a plain name-by-name search quadratic: a long call chain over
// several runs, many runs after nothing changes, headers without EndFunc
// (overlapping deletions), and names that end alike (A, AA, AAA, ... over lines
// of A's, and the same with "+"), where bytes per second must stay flat as the
// lines and the names grow together.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "load_text.h"
#include "quiet_stdout.h"
#include "script/autoitsourcefile.h"

namespace {

// 12.5 lines per function on average: calls along a chain, a callback
// registered by name in a string, a handler passed by bare name, locals,
// comments and text. Every fifth function is never referred to, so each run
// has deletions, and the functions that only dead ones call follow them.
std::vector<std::string> realistic_script(int64_t line_total) {
  const int64_t functions = line_total * 2 / 25;
  std::vector<std::string> lines(1);
  lines.emplace_back("#include-once");
  lines.emplace_back("Global $g_hGui = GUICreate(\"Demo\", 400, 300)");
  auto fn = [](int64_t k) { return "_Demo_Step" + std::to_string(k); };
  for (int64_t k = 1; k <= functions; ++k) {
    lines.push_back("Func " + fn(k) + "($iValue, $sText = \"\")");
    lines.push_back("\tLocal $iResult = $iValue * 2 ; doubled");
    lines.push_back("\tLocal $aItems[3] = [1, 2, 3], $sLabel = 'Step " + std::to_string(k) + "'");
    if ((k + 1) % 5 != 0)
      lines.push_back("\tIf $iResult > 10 Then " + fn(k + 1) + "($iResult - 1)");
    if ((k + 2) % 5 != 0) lines.push_back("\tGUICtrlSetOnEvent($idButton, \"" + fn(k + 2) + "\")");
    if ((k + 3) % 5 != 0) lines.push_back("\tGUISetOnEvent($GUI_EVENT_CLOSE, " + fn(k + 3) + ")");
    lines.push_back("\tFor $i = 0 To UBound($aItems) - 1");
    lines.push_back("\t\tConsoleWrite($sLabel & \": \" & $aItems[$i] & @CRLF)");
    lines.push_back("\tNext");
    while (static_cast<int64_t>(lines.size()) < (k * line_total) / functions) {
      lines.push_back("\t$iResult += StringLen($sText) ; more work here");
    }
    lines.push_back("\tReturn $iResult");
    lines.push_back("EndFunc");
  }
  lines.push_back(fn(1) + "(1)");
  return lines;
}

// Each function is called only by the next one; the last is unused. One
// function falls per run.
std::vector<std::string> chain_script(int64_t functions) {
  std::vector<std::string> lines(1);
  for (int64_t k = 1; k <= functions; ++k) {
    lines.push_back("Func Chain" + std::to_string(k) + "()");
    if (k > 1) lines.push_back("\tChain" + std::to_string(k - 1) + "()");
    lines.push_back("EndFunc");
  }
  return lines;
}

// Headers without EndFunc: the first deletion runs to the end of the script
// and every later one starts inside what is already blank.
std::vector<std::string> unclosed_script(int64_t functions) {
  std::vector<std::string> lines(1);
  for (int64_t k = 1; k <= functions; ++k) {
    lines.push_back("Func Open" + std::to_string(k) + "()");
    for (int i = 0; i < 10; ++i) lines.emplace_back("\tx = 1");
  }
  return lines;
}

// Names A, AA, AAA, ... and lines of A's: every position of a line ends an
// occurrence of every shorter name.
std::vector<std::string> nested_names_script(int64_t names) {
  std::vector<std::string> lines(1);
  for (int64_t k = 1; k <= names; ++k) {
    lines.push_back("Func " + std::string(static_cast<size_t>(k), 'A') + "()");
    lines.emplace_back("EndFunc");
  }
  for (int64_t k = 1; k <= names; ++k)
    lines.push_back(std::string(static_cast<size_t>(names), 'A'));
  return lines;
}

// The same with names that are not identifiers (+, ++, +++, ...), found by
// another route: every line holds every name as a whole word.
std::vector<std::string> nested_odd_names_script(int64_t names) {
  std::vector<std::string> lines(1);
  for (int64_t k = 1; k <= names; ++k) {
    lines.push_back("Func " + std::string(static_cast<size_t>(k), '+'));
    lines.emplace_back("EndFunc");
  }
  for (int64_t k = 1; k <= names; ++k) {
    lines.push_back(std::string(static_cast<size_t>(names), '+'));
  }
  return lines;
}


void run_pass(benchmark::State& state, const std::vector<std::string>& text, int runs) {
  quiet_stdout quiet;
  autoitsourcefile script("");
  int64_t bytes = 0;
  for (const std::string& line : text) bytes += static_cast<int64_t>(line.size());
  int64_t deleted = 0;
  for (auto _ : state) {
    state.PauseTiming();
    load_text(script, text, /*normalize=*/true);
    script.deleted_functions = 0;
    state.ResumeTiming();
    script.remove_unused_functions(runs, "x");
    deleted = script.deleted_functions;
    benchmark::DoNotOptimize(script.lines.slot_address(0));
  }
  state.SetComplexityN(static_cast<int64_t>(text.size() - 1));
  state.SetBytesProcessed(state.iterations() * bytes);
  state.counters["lines"] = static_cast<double>(text.size() - 1);
  state.counters["deleted"] = static_cast<double>(deleted);
  // Time per line of script (an inverted rate: seconds per line).
  state.counters["per_line"] = benchmark::Counter(
      static_cast<double>(text.size() - 1),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void realistic_three_runs(benchmark::State& state) {
  run_pass(state, realistic_script(state.range(0)), 3);
}

void chain_of_20000_five_runs(benchmark::State& state) { run_pass(state, chain_script(20000), 5); }

void stable_script_million_runs(benchmark::State& state) {
  run_pass(state, realistic_script(25000), 1000000);
}

void headers_without_endfunc(benchmark::State& state) {
  run_pass(state, unclosed_script(state.range(0)), 1);
}

void names_ending_alike(benchmark::State& state) {
  run_pass(state, nested_names_script(state.range(0)), 1);
}

void odd_names_ending_alike(benchmark::State& state) {
  run_pass(state, nested_odd_names_script(state.range(0)), 1);
}

BENCHMARK(realistic_three_runs)
    ->Arg(25000)
    ->Arg(100000)
    ->Arg(250000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(chain_of_20000_five_runs)->Unit(benchmark::kMillisecond);
BENCHMARK(stable_script_million_runs)->Unit(benchmark::kMillisecond);
BENCHMARK(headers_without_endfunc)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(names_ending_alike)->Arg(300)->Arg(1000)->Arg(3000)->Unit(benchmark::kMillisecond);
BENCHMARK(odd_names_ending_alike)->Arg(300)->Arg(1000)->Arg(3000)->Unit(benchmark::kMillisecond);

}  // namespace
