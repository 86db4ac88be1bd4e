// Speed of a whole assembly: a generated program of about 100,000 expanded
// lines with procedures, units and USES, labels of every kind, macros with
// calls, and included files already expanded in place (start marker, tagged
// lines, end marker), as the source reader leaves them.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "assembler/qrx_assembler.h"
#include "assembler/source_set.h"
#include "persistence/custom_string_list.h"

namespace {

// One included part: a procedure with a loop, data and a constant.
void AddPart(std::vector<std::string>& lines, int part, int fileIndex) {
  const std::string n = std::to_string(part);
  const std::string name = "part" + n + ".qasm";
  const std::vector<std::string> code = {
      "P" + n + ": PROC ; part " + n,
      ">L" + n + ":  LD V" + n + ",#K" + n,
      "       ADD V" + n + ",[^Q" + n + "]",
      "       INC2 V" + n,
      "       CMP V" + n + ",#100",
      "       JPF ZF,>L" + n,
      "       CALL SQ",
      "       OUT #17,V" + n + "+1",
      "       RET",
      "       ENDPROC",
      "V" + n + ":  DW 0,1,2",
      "^Q" + n + ": DW V" + n,
      "K" + n + "   EQU " + n,
      "; ---- end of part " + n,
  };
  lines.push_back("; INCLUDE [" + name + "] ===>");
  int lineNumber = 1;
  for (const std::string& line : code)
    lines.push_back(line + SourceTag(fileIndex, lineNumber++));
  lines.push_back(";<=== END INCLUDE [" + name + "]" + SourceTag(fileIndex, lineNumber));
}

std::vector<std::string> GenerateProgram(size_t targetLines) {
  std::vector<std::string> lines;
  int mainLine = 1;
  const auto main = [&](const std::string& code) {
    lines.push_back(code + SourceTag(1, mainLine++));
  };
  main("INC2: MACRO %R, ?SKIP");
  main("      ADD %R,#2");
  main("?SKIP:  NOP");
  main("      ENDMACRO");
  main("MATH: UNIT");
  main("SQ:   PROC");
  main("      LD T,T");
  main("      RET");
  main("      ENDPROC");
  main("T:    DW 0");
  main("      ENDUNIT");
  main("      USES MATH");
  main("START: CALL P0");
  main("      HALT");
  for (int part = 0; lines.size() < targetLines; ++part) {
    if (part % 500 == 499) {
      // Now and then a unit of its own that uses MATH.
      const std::string u = std::string("U").append(std::to_string(part));
      main(u + ": UNIT");
      main("      USES MATH");
      main(u + "X: LD T,#1");
      main("      ENDUNIT");
    }
    AddPart(lines, part, part + 2);
  }
  return lines;
}

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

// Rebuilding the two views of an assembled program, as the main window does
// after every load: the listing rows and the label rows (all kinds, sorted).
void BM_BuildViews(benchmark::State& state) {
  const std::vector<std::string> source = GenerateProgram(static_cast<size_t>(state.range(0)));
  TCustomStringList lines;
  for (const std::string& line : source)
    lines.Add(line);
  TQRXAssembler assembler;
  assembler.SetLines(lines);
  if (!assembler.Assemble().Clean()) state.SkipWithError("the generated program did not assemble");
  assembler.SetSortLabels(true);
  for (auto _ : state) {
    assembler.BuildListing();
    assembler.BuildLabelView(0x156);
    benchmark::DoNotOptimize(assembler.LabelView().Count());
  }
  state.counters["units"] = static_cast<double>(assembler.Units().Count());
  state.counters["label_rows"] = static_cast<double>(assembler.LabelView().Count());
  state.SetItemsProcessed(state.iterations() *
                          (assembler.LineCount() + assembler.Labels().Count()));
}
BENCHMARK(BM_BuildViews)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
