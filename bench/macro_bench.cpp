// Speed of the macro pre-pass over a large source: 20 definitions and one
// call in every 20 lines (about 5,000 calls among 100,000 tagged lines).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "assembler/macro_list.h"
#include "assembler/macro_prepass.h"
#include "persistence/custom_string_list.h"

namespace {

constexpr int kMacros = 20;
constexpr int kCallEvery = 20;

std::string Tag(int lineNumber) {
  return ";/\x1B"
         "1\x1B" +
         std::to_string(lineNumber);
}

std::vector<std::string> GenerateSource(size_t sourceLines) {
  std::vector<std::string> code;
  for (int m = 0; m < kMacros; ++m) {
    const std::string name = "MAC" + std::to_string(m);
    code.push_back(name + ": MACRO %SRC, %DST, ?LOOP ; copy %SRC to %DST");
    code.push_back("?LOOP:  LD A,[%SRC]");
    code.push_back("        ST A,[%DST] ; store into %dst");
    code.push_back("        ADD %SRC,#1");
    code.push_back("        JPF ZF,?LOOP");
    code.push_back("        ENDMACRO");
  }
  for (int i = 0; code.size() < sourceLines; ++i) {
    const std::string n = std::to_string(i);
    if (i % kCallEvery == 0)
      code.push_back("CALL" + n + ": mac" + std::to_string(i % kMacros) + " BUF" + n + ", OUT" + n);
    else if (i % 3 == 0)
      code.push_back("; ---- note " + n);
    else
      code.push_back("L" + n + ":    LD X,#" + n + " ; set the counter");
  }
  std::vector<std::string> lines;
  lines.reserve(code.size());
  for (size_t i = 0; i < code.size(); ++i)
    lines.push_back(code[i] + Tag(static_cast<int>(i) + 1));
  return lines;
}

void BM_MacroPrePass(benchmark::State& state) {
  const std::vector<std::string> source = GenerateSource(static_cast<size_t>(state.range(0)));
  TMacroList macros;
  int64_t outputLines = 0;
  for (auto _ : state) {
    state.PauseTiming();
    TCustomStringList lines;
    for (const std::string& line : source)
      lines.Add(line);
    state.ResumeTiming();
    TAutoLabelCounter counter = 0;
    benchmark::DoNotOptimize(ExpandPrePass(lines, macros, counter));
    outputLines = lines.Count();
    state.PauseTiming();
    lines.Clear();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(source.size()));
  state.counters["lines_out"] = static_cast<double>(outputLines);
  state.SetLabel("items = source lines");
}
// 100,000 lines is the figure of interest; the smaller and larger sources
// show that the time grows linearly with the source.
BENCHMARK(BM_MacroPrePass)->Arg(25000)->Arg(100000)->Arg(400000)->Unit(benchmark::kMillisecond);

}  // namespace
