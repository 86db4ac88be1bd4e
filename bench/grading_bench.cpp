// The grader measured as a class uses it: 1,000 submissions of a
// hello.qasm-sized program checked against 10 cases (each run loads and
// assembles its own copy, runs under the replayed script and checks), on one
// worker thread and on one per core; and the cost of a case with a
// 10,000,000-step limit against the plain run of the same program for as
// many steps, for a program that polls the keyboard and for one that only
// computes (BM_StepLimitCost: the ratio of the two).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <time.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "machine/machine.h"
#include "monitor/monitor_model.h"
#include "session/case_file.h"
#include "session/case_runner.h"
#include "session/grading_report.h"
#include "session/grading_run.h"
#include "session/program_session.h"

namespace {

constexpr int kSubmissions = 1000;
constexpr uint64_t kLongLimit = 10'000'000;

std::string SampleText(const std::string& name) {
  std::ifstream in(std::string(QRX_SAMPLES_DIR) + "/" + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Ten cases of the kind a teacher writes for hello.qasm: screen rows with
// and without colours, memory by label, registers, step ranges, assembly
// errors, and one with scripted keys and timer.
const char* const kCases = R"({"max_steps": 10000, "cases": [
  {"name": "1", "expect": {"screen": [{"row": 10, "column": 8, "text": "Hello, QRX!"}]}},
  {"name": "2", "expect": {"screen": [{"row": 12, "column": 8, "text": "こんにちは、ＱＲＸマシン"}]}},
  {"name": "3", "expect": {"screen": [{"row": 10, "column": 8, "text": "Hello?",
                                       "foreground": "#FFE000", "background": "#000000"}]}},
  {"name": "4", "expect": {"screen": [{"row": 11, "text": ""}, {"row": 0, "text": ""}]}},
  {"name": "5", "expect": {"memory": [{"address": "MSG1", "values": ["H$", "e$", "l$", "any"]}]}},
  {"name": "6", "expect": {"registers": {"PC": 52, "SP": "0FFEFh", "ZF": "any"}}},
  {"name": "7", "expect": {"steps": {"min": 100, "max": 200}}},
  {"name": "8", "expect": {"assembly_errors": []}},
  {"name": "9", "input": [{"key": "Esc", "from": 20, "to": 40}, {"timer": 0, "from": 0, "every": 10}],
   "expect": {"screen": [{"row": 12, "column": 8, "text": "こんにちは"}]}},
  {"name": "10", "memory": [{"address": "PTR", "value": 0}],
   "expect": {"memory": [{"address": "CH", "value": 0}]}}
]})";

// A folder of submissions: hello.qasm with the greeting changed a little in
// every tenth one, so some cases fail as they would in a class.
class TSubmissions {
 public:
  TSubmissions() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qrx_grading_XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return;
    folder_ = pattern;
    const std::string hello = SampleText("hello.qasm");
    for (int i = 0; i < kSubmissions; ++i) {
      std::string text = hello;
      if (i % 10 == 0) text.replace(text.find("Hello, QRX!"), 11, "Hello, QRX?");
      const std::string path = folder_ + "/submission" + std::to_string(i) + ".qasm";
      std::ofstream(path, std::ios::binary) << text;
      paths_.push_back(path);
    }
  }
  ~TSubmissions() {
    std::error_code ignored;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
  }
  const std::vector<std::string>& Paths() const { return paths_; }

 private:
  std::string folder_;
  std::vector<std::string> paths_;
};

void BM_GradeClass(benchmark::State& state) {
  const TSubmissions submissions;
  TCaseFile file;
  TCaseFileProblem fatal;
  if (!ParseCaseFile(kCases, "", file, fatal) || submissions.Paths().empty()) {
    state.SkipWithError("no case file or no submissions");
    return;
  }
  const std::vector<TGradingJob> jobs = GradingJobs(file, submissions.Paths());
  const unsigned threads = state.range(0) == 0 ? DefaultJobCount() : 1;
  TGradingCount count;
  for (auto _ : state) {
    const std::vector<TCaseResult> results = RunGrading(jobs, threads);
    count = CountResults(results);
    benchmark::DoNotOptimize(results.data());
  }
  state.counters["threads"] = threads;
  state.counters["passed"] = static_cast<double>(count.Passed);
  state.counters["failed"] = static_cast<double>(count.Failed);
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(jobs.size()));
}
// Arg 0: one thread per core; arg 1: one thread.
BENCHMARK(BM_GradeClass)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

// The long-running programs: snake.qasm on its title screen, which reads two
// key rows every few instructions (arg 0), and a counting loop without IN or
// OUT (arg 1).
class TLongPrograms {
 public:
  TLongPrograms() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qrx_loop_XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return;
    folder_ = pattern;
    std::ofstream(folder_ + "/loop.qasm", std::ios::binary)
        << "LOOP:   ADD  N, #0FFFFh\n        CMP  N, #0\n        JPF  LOOP, ZF\n"
           "        JP   LOOP\nN:      DW   0\n";
  }
  ~TLongPrograms() {
    std::error_code ignored;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
  }
  std::string Path(int64_t which) const {
    return which == 0 ? std::string(QRX_SAMPLES_DIR) + "/snake.qasm" : folder_ + "/loop.qasm";
  }

 private:
  std::string folder_;
};

// The case: load, replay an empty script up to the limit, check that the
// program did not halt.
bool RunLongCase(const TTestCase& testCase, const std::string& source) {
  return RunCase(testCase, source, true).Status == TCaseStatus::Passed;
}

// The run itself: load, then Step until HALT or as many steps, with the
// monitor as the machine's device, as qrx run does.
uint64_t RunPlain(const std::string& source) {
  auto monitor = std::make_unique<TMonitorModel>();
  auto session = std::make_unique<TProgramSession>(*monitor);
  TLoadOutcome outcome;
  if (!IsLoaded(session->LoadFile(source, outcome))) return 0;
  TQRXEmulater& machine = session->Machine();
  for (uint64_t i = 0; i < kLongLimit; ++i)
    if (machine.Step() < 0) break;
  return machine.StepCount;
}

// Milliseconds of this thread's processor time that run takes: other work on
// the machine does not count.
template <typename TRun>
double ThreadMilliseconds(TRun run) {
  timespec start{};
  timespec end{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
  run();
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
  return (end.tv_sec - start.tv_sec) * 1e3 + (end.tv_nsec - start.tv_nsec) / 1e6;
}

// The case and the plain run taken in turns, each the fastest of its turns,
// so that a busy machine slows both alike. "ratio" is case / plain.
void BM_StepLimitCost(benchmark::State& state) {
  const TLongPrograms programs;
  TCaseFile file;
  TCaseFileProblem fatal;
  if (!ParseCaseFile(
          R"({"cases": [{"name": "long", "max_steps": 10000000, "expect": {"halted": false}}]})",
          "", file, fatal)) {
    state.SkipWithError("case file");
    return;
  }
  const std::string source = programs.Path(state.range(0));
  double bestCase = 1e300;
  double bestPlain = 1e300;
  for (auto _ : state) {
    bool passed = false;
    uint64_t steps = 0;
    bestPlain = std::min(bestPlain, ThreadMilliseconds([&] { steps = RunPlain(source); }));
    bestCase = std::min(bestCase,
                        ThreadMilliseconds([&] { passed = RunLongCase(file.Cases[0], source); }));
    if (!passed || steps != kLongLimit) state.SkipWithError("the runs did not go the whole way");
  }
  state.counters["case_ms"] = bestCase;
  state.counters["plain_ms"] = bestPlain;
  state.counters["ratio"] = bestCase / bestPlain;
  state.SetItemsProcessed(state.iterations() * 2 * static_cast<int64_t>(kLongLimit));
}
// Arg 0: snake.qasm polling the keyboard; arg 1: the counting loop.
BENCHMARK(BM_StepLimitCost)->Arg(0)->Arg(1)->Iterations(10)->Unit(benchmark::kMillisecond);

}  // namespace
