// Parsing and encoding speed of the line assembler over a generated source
// with a realistic mix of statements, each carrying its source tag.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "assembler/asm_line.h"
#include "assembler/line_encoder.h"
#include "assembler/line_parser.h"

namespace {

constexpr int kSourceLines = 100000;

std::string Tag(int lineNumber) {
  return ";/\x1B"
         "1\x1B" +
         std::to_string(lineNumber);
}

std::vector<std::string> GenerateSource() {
  std::vector<std::string> lines;
  lines.reserve(kSourceLines);
  for (int i = 0; lines.size() < static_cast<size_t>(kSourceLines); ++i) {
    const std::string n = std::to_string(i);
    const int lineNumber = static_cast<int>(lines.size()) + 1;
    switch (i % 10) {
      case 0:
        lines.push_back("; ---- block " + n + " ----" + Tag(lineNumber));
        break;
      case 1:
        lines.push_back("SIZE" + n + " EQU 10h" + Tag(lineNumber));
        break;
      case 2:
        lines.push_back("LOOP" + n + ": LD X,#SIZE" + n + " ; set the counter" + Tag(lineNumber));
        break;
      case 3:
        lines.push_back("        ADD A,[PTR" + n + "]" + Tag(lineNumber));
        break;
      case 4:
        lines.push_back("        SUB X,#1 ; next" + Tag(lineNumber));
        break;
      case 5:
        lines.push_back("        JPF ZF,LOOP" + n + Tag(lineNumber));
        break;
      case 6:
        lines.push_back("        CALL PRINT ; show it" + Tag(lineNumber));
        break;
      case 7:
        lines.push_back("MSG" + n + ": DW 'Hello, world',0" + Tag(lineNumber));
        break;
      case 8:
        lines.push_back("PTR" + n + ": DW 0" + Tag(lineNumber));
        break;
      default:
        lines.push_back("        HALT" + Tag(lineNumber));
        break;
    }
  }
  return lines;
}

void BM_ParseAndEncodeLines(benchmark::State& state) {
  const std::vector<std::string> source = GenerateSource();
  for (auto _ : state) {
    for (const std::string& text : source) {
      TAsmLine line;
      ParseLine(text, line);
      benchmark::DoNotOptimize(EncodeLine(line));
      benchmark::DoNotOptimize(line);
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(source.size()));
  state.SetLabel("items = source lines");
}
BENCHMARK(BM_ParseAndEncodeLines)->Unit(benchmark::kMillisecond);

}  // namespace
