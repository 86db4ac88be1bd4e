// The execution history measured where it costs: the forward run with the
// history recording against the same run without it, one step back and a
// run back over a long run, the memory at the budget, and the log of a
// minute of the snake game.
//
// The forward loops are run control's: Step, then every 256 instructions a
// look at the clock (the paced event delivery); with the history, that look
// also offers the checkpoint. Two programs: a tight counting loop (the
// checkpoints' cost) and a loop that reads the timer and a key row and
// writes the screen every few instructions (the port device's cost). Compare
// BM_Forward<...>Plain with BM_Forward<...>Recording within one run.
#include <benchmark/benchmark.h>

#include <bitset>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "assembler/machine_loader.h"
#include "machine/machine.h"
#include "monitor/monitor_model.h"
#include "monitor/performance_counter.h"
#include "session/execution_history.h"
#include "session/input_log_file.h"
#include "session/program_session.h"

namespace {

constexpr uint64_t kBatch = 10'000'000;
constexpr int kPace = 256;
constexpr uint16_t kCount = 0x0100;
constexpr uint16_t kScratch = 0x0101;

// One instruction a listing line, from address 0.
struct TProgram {
  std::vector<std::vector<uint16_t>> lines;
  // The line of an instruction that runs once, near the start.
  int breakpointLine = 1;
};

// 0: LD count,#0  3: LD scratch,#1  6: OUT #768,#1  then the loop body,
// closed by JPF body, ZF and JP body.
TProgram LoopProgram(const std::vector<std::vector<uint16_t>>& body) {
  TProgram program;
  program.lines = {{0x1009, kCount, 0}, {0x1009, kScratch, 1}, {0x5105, 768, 1}};
  const uint16_t loop = 9;
  for (const auto& words : body)
    program.lines.push_back(words);
  program.lines.push_back({0x410A, loop, TQRXEmulater::ZF});
  program.lines.push_back({0x4002, loop});
  return program;
}

// ADD count,#-1  CMP count,#0
TProgram CountingLoop() {
  return LoopProgram({{0x2109, kCount, 0xFFFF}, {0x2219, kCount, 0}});
}

// IN scratch,#768  IN scratch,#258  OUT #32,count  OUT #17,scratch
// ADD count,#-1  CMP count,#0
TProgram PortLoop() {
  return LoopProgram({{0x5009, kScratch, 768},
                      {0x5009, kScratch, 258},
                      {0x5106, 32, kCount},
                      {0x5106, 17, kScratch},
                      {0x2109, kCount, 0xFFFF},
                      {0x2219, kCount, 0}});
}

void Load(TQRXEmulater& machine, const TProgram& program) {
  std::vector<TImageLine> image;
  uint16_t address = 0;
  for (size_t i = 0; i < program.lines.size(); ++i) {
    image.push_back({address, program.lines[i], static_cast<int>(i)});
    address = static_cast<uint16_t>(address + program.lines[i].size());
  }
  LoadImage(machine, image);
}

int64_t NowMs(const TClock& clock) {
  return TicksToMs(clock.NowTicks(), clock.Frequency());
}

// Run control's loop: Step, and every kPace instructions the clock (and,
// with a history, the checkpoint check).
template <bool kWithHistory>
void RunPaced(TQRXEmulater& machine, TExecutionHistory* history, const TClock& clock,
              uint64_t steps) {
  int countdown = kPace;
  for (uint64_t i = 0; i < steps; ++i) {
    if (machine.Step() < 0) return;
    if (--countdown == 0) {
      countdown = kPace;
      const int64_t now = NowMs(clock);
      benchmark::DoNotOptimize(now);
      if constexpr (kWithHistory) history->TakeCheckpointIfDue(now);
    }
  }
}

// A machine with its monitor and a history, recording or not.
struct TBench {
  TSteadyClock clock;
  TMonitorModel monitor{clock};
  std::unique_ptr<TQRXEmulater> machine = std::make_unique<TQRXEmulater>();
  std::unique_ptr<TExecutionHistory> history;

  TBench(const TProgram& program, bool recording) {
    machine->SetPortDevice(&monitor);
    Load(*machine, program);
    if (!recording) return;
    history = std::make_unique<TExecutionHistory>(*machine, monitor);
    history->SetEnabled(true);
    history->StartRunClock(NowMs(clock));
  }

  void Run(uint64_t steps) {
    if (history)
      RunPaced<true>(*machine, history.get(), clock, steps);
    else
      RunPaced<false>(*machine, nullptr, clock, steps);
  }
};

void Forward(benchmark::State& state, const TProgram& program, bool recording) {
  TBench bench(program, recording);
  for (auto _ : state)
    bench.Run(kBatch);
  state.SetItemsProcessed(static_cast<int64_t>(bench.machine->StepCount));
  if (bench.history) {
    state.counters["checkpoints"] = static_cast<double>(bench.history->Checkpoints().Count());
    state.counters["log_events"] = static_cast<double>(bench.history->Log().Inputs().size());
  }
}

void BM_ForwardCountingPlain(benchmark::State& state) {
  Forward(state, CountingLoop(), false);
}
void BM_ForwardCountingRecording(benchmark::State& state) {
  Forward(state, CountingLoop(), true);
}
void BM_ForwardPortsPlain(benchmark::State& state) {
  Forward(state, PortLoop(), false);
}
void BM_ForwardPortsRecording(benchmark::State& state) {
  Forward(state, PortLoop(), true);
}
BENCHMARK(BM_ForwardCountingPlain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ForwardCountingRecording)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ForwardPortsPlain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ForwardPortsRecording)->Unit(benchmark::kMillisecond);

// One step back at the end of a 10 M-instruction run. Each iteration goes
// back one instruction and forward one again, so every step back replays
// from the same checkpoint, up to a million instructions before.
void BM_StepBackAfter10M(benchmark::State& state) {
  TBench bench(PortLoop(), true);
  bench.Run(kBatch);
  for (auto _ : state) {
    if (!bench.history->StepBack(1)) state.SkipWithError("could not step back");
    bench.machine->Step();
  }
  state.counters["replayed"] = static_cast<double>(
      bench.history->Position() - 1 -
      bench.history->Checkpoints().AtOrBefore(bench.history->Position() - 1)->Position);
}
BENCHMARK(BM_StepBackAfter10M)->Unit(benchmark::kMillisecond);

// Running back over a 10 M-instruction run to a breakpoint on a line that
// ran once near the start; the breakpoint test is run control's bit per
// line.
void BM_RunBackOver10M(benchmark::State& state) {
  const TProgram program = PortLoop();
  std::bitset<0x10000> breakpoints;
  breakpoints.set(program.breakpointLine);
  const auto atBreakpoint = [&breakpoints](const TQRXEmulater& m) {
    return breakpoints[m.LineMap[m.Memory[TQRXEmulater::PC]]];
  };
  for (auto _ : state) {
    state.PauseTiming();
    TBench bench(program, true);
    bench.Run(kBatch);
    state.ResumeTiming();
    if (!bench.history->RunBackTo(atBreakpoint) || bench.history->Position() != 1)
      state.SkipWithError("did not stop at the breakpoint");
  }
}
BENCHMARK(BM_RunBackOver10M)->Unit(benchmark::kMillisecond)->Iterations(5);

// The history at its budget: a run long enough to fill the default 64 MiB
// with checkpoints, then the memory held, how far back the oldest kept
// checkpoint after the start lies, and the time to go back half way.
void BM_HistoryAtBudget(benchmark::State& state) {
  for (auto _ : state) {
    TBench bench(CountingLoop(), true);
    const TCheckpointStore& store = bench.history->Checkpoints();
    while (store.Count() < store.Capacity())
      bench.Run(kBatch);
    bench.Run(50 * kBatch);
    const uint64_t position = bench.history->Position();
    state.counters["history_MiB"] = static_cast<double>(bench.history->BytesUsed()) / (1 << 20);
    state.counters["checkpoints"] = static_cast<double>(store.Count());
    state.counters["run_Minstr"] = static_cast<double>(position) / 1e6;
    state.counters["oldest_kept_Minstr"] = static_cast<double>(store.At(1).Position) / 1e6;
    const auto start = std::chrono::steady_clock::now();
    bench.history->GoBackTo(position / 2);
    state.counters["back_half_way_ms"] =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  }
}
BENCHMARK(BM_HistoryAtBudget)->Unit(benchmark::kMillisecond)->Iterations(1);

// A clock that runs with the machine: kInstructionsPerSecond instructions
// take one second, so a minute of play is simulated without waiting.
class TStepClock : public TClock {
 public:
  static constexpr int64_t kInstructionsPerSecond = 2'000'000;
  explicit TStepClock(const TQRXEmulater* const& machine) : machine_(machine) {}
  int64_t NowTicks() const override { return static_cast<int64_t>(machine_->StepCount); }
  int64_t Frequency() const override { return kInstructionsPerSecond; }

 private:
  const TQRXEmulater* const& machine_;
};

// A player who presses keys for the length of a press.
class TScriptedKeys : public TKeyboardSource {
 public:
  TKeyboardState KeyboardState() const override { return keys_; }
  // At second t: space at 0.5 s to start, then every second the next of
  // right, down, left, up, each held 150 ms, so the snake goes round a
  // square.
  void At(double seconds) {
    keys_.fill(0);
    if (seconds >= 0.5 && seconds < 0.65) keys_[0x20] = 0x80;
    if (seconds < 1.0) return;
    const double into = seconds - static_cast<int64_t>(seconds);
    constexpr uint8_t kTurns[] = {0x27, 0x28, 0x25, 0x26};
    if (into < 0.15) keys_[kTurns[static_cast<int64_t>(seconds) % 4]] = 0x80;
  }

 private:
  TKeyboardState keys_{};
};

// The log of a minute of snake.qasm played with keys, written as the file
// the workbench would save.
void BM_SnakeMinuteLog(benchmark::State& state) {
  for (auto _ : state) {
    const TQRXEmulater* machine = nullptr;
    TStepClock clock(machine);
    TMonitorModel monitor(clock);
    TScriptedKeys keys;
    monitor.SetKeyboardSource(&keys);
    TProgramSession session(monitor);
    TLoadOutcome outcome;
    if (session.LoadFile(std::string(QRX_SAMPLES_DIR) + "/snake.qasm", outcome) !=
        TLoadResult::Clean) {
      state.SkipWithError("snake.qasm did not load");
      return;
    }
    machine = &session.Machine();
    TExecutionHistory history(session.Machine(), monitor);
    history.SetEnabled(true);
    const uint64_t minute = 60 * TStepClock::kInstructionsPerSecond;
    int countdown = kPace;
    bool halted = false;
    while (!halted && history.Position() < minute) {
      halted = session.Machine().Step() < 0;
      if (--countdown == 0) {
        countdown = kPace;
        keys.At(static_cast<double>(history.Position()) / TStepClock::kInstructionsPerSecond);
        history.TakeCheckpointIfDue(NowMs(clock));
      }
    }
    const std::string text = InputLogText(history.Log(), history.Position());
    state.counters["played_s"] =
        static_cast<double>(history.Position()) / TStepClock::kInstructionsPerSecond;
    state.counters["events"] = static_cast<double>(history.Log().Inputs().size());
    state.counters["log_KiB"] = static_cast<double>(text.size()) / 1024;
  }
}
BENCHMARK(BM_SnakeMinuteLog)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
