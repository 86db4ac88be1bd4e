// Saving and loading the whole state through files: the machine and monitor
// blocks, the lists, and the source lines, which a load assembles again.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "monitor/monitor_model.h"
#include "session/program_session.h"

namespace {

// A program of about two thousand lines: code, data, comments, a unit.
std::string ProgramText() {
  std::string text = "; a program of some size\r\n        USES LIB\r\n";
  for (int i = 0; i < 300; ++i) {
    const std::string n = std::to_string(i);
    text += "L" + n + ":    LD   V" + n + ", #" + n + "   ; load\r\n";
    text += "        ADD  V" + n + ", [P" + n + "]\r\n";
    text += "        CMP  V" + n + ", #10h\r\n";
    text += "        JPF  L" + n + ", ZF\r\n";
    text += "V" + n + ":    DW   0, 'AB'\r\n";
    text += "P" + n + ":    DW   V" + n + "\r\n";
  }
  text += "        HALT\r\nLIB:    UNIT\r\nTWO:    DW 2\r\n        ENDUNIT\r\n";
  return text;
}

class TScratch {
 public:
  TScratch() {
    std::string pattern = "/tmp/qrx_state_bench_XXXXXX";
    if (mkdtemp(pattern.data()) != nullptr) folder_ = pattern;
  }
  ~TScratch() {
    std::error_code ignored;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
  }
  std::string Path(const std::string& name) const { return folder_ + "/" + name; }
  bool Ok() const { return !folder_.empty(); }

 private:
  std::string folder_;
};

void BM_StateFileSaveAndLoad(benchmark::State& state) {
  TScratch scratch;
  if (!scratch.Ok()) {
    state.SkipWithError("no scratch folder");
    return;
  }
  const std::string source = scratch.Path("program.qasm");
  std::ofstream(source, std::ios::binary) << ProgramText();
  auto monitor = std::make_unique<TMonitorModel>();
  auto session = std::make_unique<TProgramSession>(*monitor);
  TLoadOutcome outcome;
  if (session->LoadFile(source, outcome) != TLoadResult::Clean) {
    state.SkipWithError("the program did not assemble");
    return;
  }
  const std::string path = scratch.Path("state.qsav");
  for (auto _ : state) {
    std::string error;
    if (!session->SaveState(path, error)) state.SkipWithError("save failed");
    if (session->LoadFile(path, outcome) != TLoadResult::Clean) state.SkipWithError("load failed");
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_StateFileSaveAndLoad)->Unit(benchmark::kMillisecond);

}  // namespace
