// Rebuilding the two views of an assembled program, as the main window does
// after every load: the listing rows and the label rows (all kinds, sorted),
// on a generated program of about 100,000 expanded lines
// (generated_program.h).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "assembler/qrx_assembler.h"
#include "generated_program.h"
#include "persistence/custom_string_list.h"
#include "workbench/label_view_model.h"

namespace {

using generated_program::GenerateProgram;

void BM_BuildViews(benchmark::State& state) {
  const std::vector<std::string> source = GenerateProgram(static_cast<size_t>(state.range(0)));
  TCustomStringList lines;
  for (const std::string& line : source)
    lines.Add(line);
  TQRXAssembler assembler;
  assembler.SetLines(lines);
  if (!assembler.Assemble().Clean()) state.SkipWithError("the generated program did not assemble");
  TLabelViewModel labelRows(assembler);
  labelRows.SetSorted(true);
  for (auto _ : state) {
    assembler.BuildListing();
    labelRows.Build(0x156);
    benchmark::DoNotOptimize(labelRows.Rows().Count());
  }
  state.counters["units"] = static_cast<double>(assembler.Units().Count());
  state.counters["label_rows"] = static_cast<double>(labelRows.Rows().Count());
  state.SetItemsProcessed(state.iterations() *
                          (assembler.LineCount() + assembler.Labels().Count()));
}
BENCHMARK(BM_BuildViews)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
