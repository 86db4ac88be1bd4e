// Speed of a whole assembly of a generated program of about 100,000
// expanded lines (generated_program.h).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "assembler/qrx_assembler.h"
#include "generated_program.h"
#include "persistence/custom_string_list.h"

namespace {

using generated_program::GenerateProgram;

void BM_Assemble(benchmark::State& state) {
  const std::vector<std::string> source = GenerateProgram(static_cast<size_t>(state.range(0)));
  TCustomStringList prepared;
  for (const std::string& line : source)
    prepared.Add(line);
  TQRXAssembler assembler;
  int tally = 0;
  for (auto _ : state) {
    state.PauseTiming();
    assembler.SetLines(prepared);
    state.ResumeTiming();
    tally = assembler.Assemble().Tally;
    benchmark::DoNotOptimize(tally);
  }
  if (tally != 0 || assembler.ErrorLineCount() != 0)
    state.SkipWithError("the generated program did not assemble cleanly");
  state.counters["source_lines"] = static_cast<double>(source.size());
  state.counters["assembled_lines"] = static_cast<double>(assembler.LineCount());
  state.counters["labels"] = static_cast<double>(assembler.Labels().Count());
  state.SetItemsProcessed(state.iterations() * assembler.LineCount());
}
BENCHMARK(BM_Assemble)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
