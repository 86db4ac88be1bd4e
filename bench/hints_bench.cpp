// The cost of the hints beside the assembly they follow, on a generated
// program of about 100,000 expanded lines that fills most of the memory
// (some 62,000 words: a source that long is mostly comments, as this one
// is). Its main part runs straight through from address 0, so the flow
// rules walk all of it, and calls a PROC in an included file per block; one
// block in a hundred holds a mistake, so hints are found too.
//
// BM_AssembleForHints times Assemble, BM_CollectHints times CollectHints on
// the same program; the second also reports hints_per_assembly, the
// processor time of one collection divided by that of one assembly measured
// beside it (it must stay below 0.1).
#include <benchmark/benchmark.h>

#include <ctime>
#include <string>
#include <vector>

#include "assembler/hints.h"
#include "assembler/qrx_assembler.h"
#include "assembler/source_set.h"
#include "persistence/custom_string_list.h"

namespace {

constexpr size_t kProgramLines = 100000;
constexpr int kMainSource = 1;

void GenerateProgram(size_t targetLines, TCustomStringList& lines) {
  std::vector<std::string> mainPart;
  std::vector<std::string> included;
  int mainLine = 1;
  const auto main = [&](const std::string& code) {
    mainPart.push_back(code + SourceTag(kMainSource, mainLine++));
  };
  for (int block = 0; mainPart.size() + included.size() < targetLines; ++block) {
    const std::string n = std::to_string(block);
    main("; ---- block " + n);
    main("; V" + n + " goes up by one until it wraps to zero, then P" + n + " adds K" + n);
    main(">M" + n + ": ADD V" + n + (block % 100 == 99 ? ", 1" : ", #1"));
    main("      JPF >M" + n + ", ZF");
    main("      CALL P" + n);
    main("");

    const std::string name = "part" + n + ".qasm";
    const int fileIndex = block + 2;
    const std::vector<std::string> code = {
        "; part " + n,
        "; P" + n + ": adds the constant K" + n + " to the variable V" + n,
        "; (one PROC, one constant and one variable per part)",
        "K" + n + "    EQU " + n,
        "",
        "P" + n + ":    PROC",
        "       ADD V" + n + ", #K" + n,
        "       RET",
        "       ENDPROC",
        "",
        "V" + n + ":    DW 0",
        "; end of part " + n,
    };
    included.push_back("; INCLUDE [" + name + "] ===>");
    int lineNumber = 1;
    for (const std::string& line : code)
      included.push_back(line + SourceTag(fileIndex, lineNumber++));
    included.push_back(";<=== END INCLUDE [" + name + "]" + SourceTag(fileIndex, lineNumber));
  }
  main("      HALT");
  for (const std::string& line : mainPart)
    lines.Add(line);
  for (const std::string& line : included)
    lines.Add(line);
}

void BM_AssembleForHints(benchmark::State& state) {
  TCustomStringList source;
  GenerateProgram(kProgramLines, source);
  TQRXAssembler assembler;
  for (auto _ : state) {
    state.PauseTiming();
    assembler.SetLines(source);
    state.ResumeTiming();
    benchmark::DoNotOptimize(assembler.Assemble());
  }
  if (assembler.ErrorLineCount() != 0) state.SkipWithError("the program did not assemble cleanly");
  state.SetItemsProcessed(state.iterations() * assembler.LineCount());
}
BENCHMARK(BM_AssembleForHints)->Unit(benchmark::kMillisecond);

// Processor time, as the benchmark library reports it beside the wall time:
// on a machine that other work shares, it is the steadier of the two.
double SecondsOf(auto&& work) {
  const std::clock_t start = std::clock();
  work();
  return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

void BM_CollectHints(benchmark::State& state) {
  TCustomStringList source;
  GenerateProgram(kProgramLines, source);
  TQRXAssembler assembler;
  double assembleSeconds = 0;
  constexpr int kAssemblies = 3;
  for (int k = 0; k < kAssemblies; ++k) {
    assembler.SetLines(source);
    assembleSeconds += SecondsOf([&] { assembler.Assemble(); });
  }
  if (assembler.ErrorLineCount() != 0) state.SkipWithError("the program did not assemble cleanly");

  size_t hints = 0;
  double hintSeconds = 0;
  for (auto _ : state) {
    hintSeconds += SecondsOf([&] { hints = CollectHints(assembler).size(); });
    benchmark::DoNotOptimize(hints);
  }
  if (hints == 0) state.SkipWithError("the program's mistakes gave no hints");
  state.counters["hints"] = static_cast<double>(hints);
  state.counters["hints_per_assembly"] =
      (hintSeconds / static_cast<double>(state.iterations())) / (assembleSeconds / kAssemblies);
  state.SetItemsProcessed(state.iterations() * assembler.LineCount());
}
BENCHMARK(BM_CollectHints)->Unit(benchmark::kMillisecond);

}  // namespace
