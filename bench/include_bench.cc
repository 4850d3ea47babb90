// Include expansion cost against the size of the expanded script: 500 included
// files, half the lines in the main script and half in the files.

// "per_line" should stay flat as the size doubles. The directives stand either
// spread through the script or all at its top, where splicing each file in
// place would move the whole rest of the table every time.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "script/autoitsourcefile.h"

namespace {

namespace fs = std::filesystem;

constexpr int kIncludes = 500;

std::string code_line(int n) {
  return "Local $value" + std::to_string(n) + " = _Compute($a, $b, \"text\") ; note";
}

struct fixture {
  fs::path folder;
  std::vector<std::string> main_lines;  // slot 0 unused
  size_t expanded_lines = 0;
};

// Writes the include files for `total` expanded lines and builds the main
// script with its directives spread or at the top.
fixture make_fixture(int total, bool at_top) {
  fixture f;
  f.folder = fs::temp_directory_path() /
             ("au3bench-include-" + std::to_string(::getpid()) + "-" + std::to_string(total) +
              (at_top ? "-top" : "-spread"));
  fs::create_directories(f.folder);
  int per_file = total / 2 / kIncludes;
  for (int file = 0; file < kIncludes; ++file) {
    std::ofstream out(f.folder / ("lib" + std::to_string(file) + ".au3"), std::ios::binary);
    for (int i = 0; i < per_file; ++i) out << code_line(i) << "\r\n";
  }
  int main_count = total / 2;
  int every = main_count / kIncludes;
  f.main_lines.emplace_back();
  int next_include = 0;
  for (int i = 0; i < main_count; ++i) {
    bool directive = at_top ? i < kIncludes : i % every == every / 2;
    if (directive && next_include < kIncludes) {
      f.main_lines.push_back("#include \"lib" + std::to_string(next_include++) + ".au3\"");
    } else {
      f.main_lines.push_back(code_line(i));
    }
  }
  f.expanded_lines = static_cast<size_t>(main_count) + kIncludes * (per_file + 1);
  return f;
}

// The pass reports every directive on standard output; keep that out of the
// benchmark's own report.
class silenced_stdout {
 public:
  silenced_stdout() {
    std::fflush(stdout);
    saved_ = ::dup(STDOUT_FILENO);
    int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, STDOUT_FILENO);
    ::close(null);
  }
  ~silenced_stdout() {
    std::fflush(stdout);
    ::dup2(saved_, STDOUT_FILENO);
    ::close(saved_);
  }

 private:
  int saved_;
};

void run_expansion(benchmark::State& state, bool at_top) {
  fixture f = make_fixture(static_cast<int>(state.range(0)), at_top);
  std::string folder = f.folder.string();
  size_t expanded = 0;
  {
    silenced_stdout quiet;
    for (auto _ : state) {
      state.PauseTiming();
      autoitsourcefile script("");
      script.lines = line_table(f.main_lines);
      script.line_count = static_cast<int32_t>(f.main_lines.size() - 1);
      state.ResumeTiming();
      script.search_includes_and_add_to_lines(folder.c_str(), folder.c_str());
      expanded = static_cast<size_t>(script.line_count);
      state.PauseTiming();
      // Freeing the table is not part of the expansion.
      { line_table discard = std::move(script.lines); }
      state.ResumeTiming();
    }
  }
  if (expanded != f.expanded_lines) state.SkipWithError("unexpected expanded size");
  state.counters["lines"] = static_cast<double>(expanded);
  // Time per expanded line; flat when the cost is linear.
  state.counters["per_line"] = benchmark::Counter(
      static_cast<double>(expanded),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  fs::remove_all(f.folder);
}

void BM_IncludeExpansionSpread(benchmark::State& state) { run_expansion(state, false); }
void BM_IncludeExpansionAtTop(benchmark::State& state) { run_expansion(state, true); }

BENCHMARK(BM_IncludeExpansionSpread)
    ->Arg(100000)->Arg(200000)->Arg(400000)->Arg(800000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IncludeExpansionAtTop)
    ->Arg(100000)->Arg(200000)->Arg(400000)->Arg(800000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
