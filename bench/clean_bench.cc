// Cost of the four text-cleaning passes against script size. Each benchmark
// runs its pass on scripts from 1,024 to 262,144 lines; the per-line time
// (and the fitted complexity) staying flat shows the pass is linear.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "load_text.h"
#include "quiet_stdout.h"
#include "script/autoitsourcefile.h"
#include "script/normalize.h"

namespace {

// Typical script text: code with strings and trailing comments, comment
// blocks, continuation chains, region lines and blank lines.
std::vector<std::string> mixed_script(int64_t n) {
  static const char* const pattern[] = {
      "#Region Main window",
      "Local $sTitle = \"Demo; v1\" ; the window title",
      "Local $s = 'it''s; here' & \"x\"   ",
      "; a whole-line comment",
      "#cs",
      "  Old code, kept out of the build.",
      "#ce",
      "MsgBox(0, $sTitle, _ ; the text follows",
      "       \"Hello\" & _",
      "       \" world\")",
      "",
      "\t \t",
      "For $i = 1 To 10",
      "\tConsoleWrite($i & @CRLF)",
      "Next",
      "#EndRegion",
  };
  const int64_t period = sizeof pattern / sizeof pattern[0];
  std::vector<std::string> lines(1);
  for (int64_t i = 0; i < n; ++i) lines.emplace_back(pattern[i % period]);
  return lines;
}

// Repeated lines with a first line of its own, slot 0 unused.
std::vector<std::string> uniform_script(int64_t n, const std::string& first, const std::string& rest) {
  std::vector<std::string> lines(1, std::string());
  lines.push_back(first);
  for (int64_t i = 1; i < n; ++i) lines.push_back(rest);
  return lines;
}


template <class Pass>
void run_pass(benchmark::State& state, const std::vector<std::string>& text, bool normalize,
              Pass pass) {
  quiet_stdout quiet;
  autoitsourcefile script("");
  int64_t bytes = 0;
  for (const std::string& line : text) bytes += static_cast<int64_t>(line.size());
  for (auto _ : state) {
    state.PauseTiming();
    load_text(script, text, normalize);
    state.ResumeTiming();
    pass(script);
    benchmark::DoNotOptimize(script.lines.slot_address(0));
  }
  state.SetComplexityN(state.range(0));
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.SetBytesProcessed(state.iterations() * bytes);
}

void remove_comments_mixed(benchmark::State& state) {
  run_pass(state, mixed_script(state.range(0)), false,
           [](autoitsourcefile& s) { s.remove_comments(); });
}

void remove_comments_unclosed_block(benchmark::State& state) {
  run_pass(state, uniform_script(state.range(0), "#cs", "Local $x = 1 ; inside the block"),
           false, [](autoitsourcefile& s) { s.remove_comments(); });
}

void remove_upheaval_mixed(benchmark::State& state) {
  run_pass(state, mixed_script(state.range(0)), false,
           [](autoitsourcefile& s) { s.remove_upheaval(); });
}

void remove_upheaval_one_chain(benchmark::State& state) {
  run_pass(state, uniform_script(state.range(0), "Local $s = 1 + _", "  1 + _"), false,
           [](autoitsourcefile& s) { s.remove_upheaval(); });
}

void remove_regions_mixed(benchmark::State& state) {
  run_pass(state, mixed_script(state.range(0)), true,
           [](autoitsourcefile& s) { s.remove_regions(); });
}

void delete_empty_lines_mixed(benchmark::State& state) {
  run_pass(state, mixed_script(state.range(0)), false,
           [](autoitsourcefile& s) { s.delete_empty_lines(); });
}

void script_sizes(benchmark::internal::Benchmark* b) {
  b->RangeMultiplier(4)->Range(1 << 10, 1 << 18)->Unit(benchmark::kMicrosecond);
  b->Complexity(benchmark::oN);
}

BENCHMARK(remove_comments_mixed)->Apply(script_sizes);
BENCHMARK(remove_comments_unclosed_block)->Apply(script_sizes);
BENCHMARK(remove_upheaval_mixed)->Apply(script_sizes);
BENCHMARK(remove_upheaval_one_chain)->Apply(script_sizes);
BENCHMARK(remove_regions_mixed)->Apply(script_sizes);
BENCHMARK(delete_empty_lines_mixed)->Apply(script_sizes);

}  // namespace
