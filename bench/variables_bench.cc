// Cost of the unused-variable pass as the script grows, and on the long lines
// that once made it quadratic.

// Cost of the unused-variable pass as the script grows: the time per
// variable should stay flat from 5,000 to 50,000 variables, and from 10,000
// to 100,000 declared on one line; on the long lines whose cuts once
// started over or whose names end one another, the time per byte should
// stay flat as the line doubles up to a few MB.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "quiet_stdout.h"
#include "script/autoitsourcefile.h"

namespace {

std::string cat(std::initializer_list<std::string_view> parts) {
  std::string joined;
  for (std::string_view part : parts) joined += part;
  return joined;
}

// Functions of nine lines declaring ten variables each, six of them used:
// single and shared declarations, strings, arrays, calls, Static, comments.
std::vector<std::string> distinct_names_script(int variables) {
  std::vector<std::string> lines;
  for (int f = 0; f < variables / 10; ++f) {
    const std::string s = cat({"_", std::to_string(f), "_"});
    lines.push_back(cat({"Func f", s, "()"}));
    lines.push_back(cat({"\tLocal $count", s, "0 = 0, $name", s, "1 = 'a, b', $tmp", s, "2"}));
    lines.push_back(cat({"\tLocal $arr", s, "3[10] = [1, 2, 3]"}));
    lines.push_back(cat({"\tGlobal $cfg", s, "4 = Init(1, 2)"}));
    lines.push_back(cat({"\tDim $h", s, "5, $w", s, "6, $x", s, "7 ; sizes"}));
    lines.push_back(cat({"\tLocal Static $calls", s, "8 = 0, $spare", s, "9 = 1"}));
    lines.push_back(cat({"\tIf $count", s, "0 > 0 Then MsgBox(0, $name", s, "1, $arr", s, "3[0])"}));
    lines.push_back(cat({"\t$calls", s, "8 += $h", s, "5 + $x", s, "7"}));
    lines.push_back("EndFunc");
  }
  return lines;
}

// Every function declares the same few names, as real scripts do with
// loop counters and results.
std::vector<std::string> repeated_names_script(int variables) {
  std::vector<std::string> lines;
  for (int f = 0; f < variables / 4; ++f) {
    lines.push_back(cat({"Func g_", std::to_string(f), "()"}));
    lines.push_back("\tLocal $i, $result = 0, $unused");
    lines.push_back("\tDim $aList[3]");
    lines.push_back("\tFor $i = 1 To 3");
    lines.push_back("\t\t$result += $i");
    lines.push_back("\tNext");
    lines.push_back("EndFunc");
  }
  return lines;
}

// All the variables declared on one line, every second one used: the cuts
// made in that line must not each cost the whole line.
std::vector<std::string> one_line_script(int variables) {
  std::string declaration = "Local ";
  std::string uses = "ConsoleWrite(";
  for (int v = 0; v < variables; ++v) {
    const std::string name = cat({"$v", std::to_string(v), "x"});
    declaration += cat({v > 0 ? ", " : "", name});
    if (v % 2 == 0) uses += cat({v > 0 ? " & " : "", name});
  }
  return {declaration, uses + ")"};
}

// One long declaration whose cuts let the declaring words run on again and
// again: cutting the first item left makes "Local  Con st), ..." of the rest.
std::vector<std::string> run_on_script(int items) {
  std::string declaration = "Local A = f(x, Con st), ";
  for (int i = 0; i < items; ++i) declaration += "Con = f(x, Con st), ";
  return {declaration + "B"};
}

// One long declaration of names that end and begin one another: A, AA,
// AAA, ... The line grows with the square of the count.
std::vector<std::string> nested_names_script(int names) {
  std::string declaration = "Local ";
  for (int n = 1; n <= names; ++n) declaration += (n > 1 ? ", " : "") + std::string(n, 'A');
  return {declaration, "ConsoleWrite(AAA)"};
}

void run_pass(benchmark::State& state, const std::vector<std::string>& source) {
  size_t bytes = 0;
  for (const std::string& line : source) bytes += line.size() + 2;
  int32_t deleted = 0;
  quiet_stdout quiet;
  std::optional<autoitsourcefile> script;
  for (auto _ : state) {
    state.PauseTiming();
    script.reset();
    script.emplace("");
    for (const std::string& line : source) script->lines.push_back(line);
    script->line_count = static_cast<int32_t>(source.size());
    script->transformed_lines.resize(script->lines.size());
    script->transform_lines();
    state.ResumeTiming();

    script->remove_unused_vars("x");
  }
  deleted = script ? script->deleted_vars : 0;
  state.counters["lines"] = static_cast<double>(source.size());
  state.counters["deleted"] = deleted;
  // items_per_second: variables per second, flat when the cost is linear.
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}

void BM_unused_vars_distinct_names(benchmark::State& state) {
  run_pass(state, distinct_names_script(static_cast<int>(state.range(0))));
}

void BM_unused_vars_repeated_names(benchmark::State& state) {
  run_pass(state, repeated_names_script(static_cast<int>(state.range(0))));
}

void BM_unused_vars_one_line(benchmark::State& state) {
  run_pass(state, one_line_script(static_cast<int>(state.range(0))));
}

// Per line byte: flat when a line's cuts cost about its length.
void BM_unused_vars_run_on_line(benchmark::State& state) {
  run_pass(state, run_on_script(static_cast<int>(state.range(0))));
}

void BM_unused_vars_nested_names_line(benchmark::State& state) {
  run_pass(state, nested_names_script(static_cast<int>(state.range(0))));
}

BENCHMARK(BM_unused_vars_distinct_names)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_unused_vars_repeated_names)->Arg(5000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_unused_vars_one_line)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK(BM_unused_vars_run_on_line)
    ->RangeMultiplier(2)
    ->Range(4096, 131072)
    ->Unit(benchmark::kMillisecond);
// 1,000 to 2,828 names double the line from 0.5 to 4 MB.
BENCHMARK(BM_unused_vars_nested_names_line)
    ->Arg(1000)
    ->Arg(1414)
    ->Arg(2000)
    ->Arg(2828)
    ->Unit(benchmark::kMillisecond);
