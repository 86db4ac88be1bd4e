// The run loop against a plain Step loop on the same tight counting loop:
//   0: ADD  count, #0xFFFF   ; count - 1
//   3: CMP  count, #0
//   6: JPF  0, ZF            ; back while count != 0
//   9: JP   0
// The run loop's host delivers no events; it stops the run at the first
// delivery after the batch, so each iteration runs about kBatch
// instructions (the exact number is counted). BM_RunLoop tests every
// instruction against a breakpoint list that holds a line the loop never
// reaches; BM_RunLoopBreakpointsOff runs with the toggle off. Compare the
// items per second of the three benchmarks within one run.
//
// BM_RunLoopHistoryOnVsOff/<program>: the run loop with the toggle on as
// above, without an execution history and with one recording, side by side
// on the counting loop and on a loop that reads the timer and a key row and
// writes the screen in every turn (the history's port device logs the
// changes); the history's cost is its counter on_vs_off.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <ctime>
#include <memory>
#include <span>
#include <string>

#include "assembler/machine_loader.h"
#include "machine/machine.h"
#include "monitor/monitor_model.h"
#include "monitor/performance_counter.h"
#include "session/execution_history.h"
#include "session/program_session.h"
#include "session/run_control.h"

namespace {

constexpr uint16_t kCount = 0x0100;
constexpr uint64_t kBatch = 10'000'000;

const std::array<uint16_t, 11> kCode = {
    0x2109, kCount, 0xFFFF,            // ADD count, #-1 (direct, immediate)
    0x2219, kCount, 0x0000,            // CMP count, #0
    0x410A, 0x0000, TQRXEmulater::ZF,  // JPF 0, ZF (direct, direct)
    0x4002, 0x0000,                    // JP 0
};

constexpr uint16_t kScratch = 0x0101;

// The counting loop behind three port instructions.
const std::array<uint16_t, 20> kPortCode = {
    0x5009, kScratch, 768,               // IN   scratch, #768 (the timer)
    0x5009, kScratch, 258,               // IN   scratch, #258 (a key row)
    0x5106, 17,       kScratch,          // OUT  #17, scratch (a character)
    0x2109, kCount,   0xFFFF,            // ADD  count, #-1
    0x2219, kCount,   0x0000,            // CMP  count, #0
    0x410A, 0x0000,   TQRXEmulater::ZF,  // JPF  0, ZF
    0x4002, 0x0000,                      // JP   0
};

void LoadCode(TQRXEmulater& machine, std::span<const uint16_t> code = kCode) {
  const TImageLine line{0, code, 0};
  LoadImage(machine, {&line, 1});
}

// A host that does nothing but end the run once the target is reached.
class TStopAtHost : public TQuietRunHost {
 public:
  void DeliverPendingEvents() override {
    if (machine->StepCount >= target) control->Stop();
  }

  TQRXEmulater* machine = nullptr;
  TRunControl* control = nullptr;
  uint64_t target = 0;
};

void BM_PlainStepLoop(benchmark::State& state) {
  auto machine = std::make_unique<TQRXEmulater>();
  LoadCode(*machine);
  for (auto _ : state) {
    for (uint64_t i = 0; i < kBatch; ++i)
      benchmark::DoNotOptimize(machine->Step());
  }
  state.SetItemsProcessed(static_cast<int64_t>(machine->StepCount));
}
BENCHMARK(BM_PlainStepLoop)->Unit(benchmark::kMillisecond);

void RunLoop(benchmark::State& state, bool breakpoints) {
  TMonitorModel monitor;
  auto session = std::make_unique<TProgramSession>(monitor);
  LoadCode(session->Machine());
  TSteadyClock clock;
  TStopAtHost host;
  TRunControl control(*session, host, clock);
  control.SetBreakpointsDuringRun(breakpoints);
  // A breakpoint on a line the loop never reaches, so that every
  // instruction is tested against the breakpoints.
  session->Breakpoints().SetMember(5, true);
  host.machine = &session->Machine();
  host.control = &control;
  for (auto _ : state) {
    host.target = session->Machine().StepCount + kBatch;
    control.RunOrTrace(TRunMode::Run);
  }
  if (session->Machine().Opcode == 0xFFF0) state.SkipWithError("the loop program halted");
  state.SetItemsProcessed(static_cast<int64_t>(session->Machine().StepCount));
}

void BM_RunLoop(benchmark::State& state) {
  RunLoop(state, true);
}
BENCHMARK(BM_RunLoop)->Unit(benchmark::kMillisecond);

void BM_RunLoopBreakpointsOff(benchmark::State& state) {
  RunLoop(state, false);
}
BENCHMARK(BM_RunLoopBreakpointsOff)->Unit(benchmark::kMillisecond);

// One run control with the breakpoint toggle on, with or without a recording
// history, on the counting loop or the port loop.
class TRunRig {
 public:
  TRunRig(std::span<const uint16_t> code, bool recording)
      : monitor_(clock_),
        session_(std::make_unique<TProgramSession>(monitor_)),
        control_(*session_, host_, clock_) {
    LoadCode(session_->Machine(), code);
    session_->Breakpoints().SetMember(5, true);
    host_.machine = &session_->Machine();
    host_.control = &control_;
    if (!recording) return;
    // The history starts at the loaded program.
    history_ = std::make_unique<TExecutionHistory>(session_->Machine(), monitor_);
    history_->SetEnabled(true);
    control_.SetHistory(history_.get());
  }

  // Runs count instructions; returns the CPU seconds of this thread.
  double Run(uint64_t count) {
    host_.target = session_->Machine().StepCount + count;
    const double start = ThreadCpuSeconds();
    control_.RunOrTrace(TRunMode::Run);
    return ThreadCpuSeconds() - start;
  }
  uint64_t Steps() const { return session_->Machine().StepCount; }
  const TExecutionHistory* History() const { return history_.get(); }

 private:
  static double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
  }

  TSteadyClock clock_;
  TMonitorModel monitor_;
  std::unique_ptr<TProgramSession> session_;
  TStopAtHost host_;
  TRunControl control_;
  std::unique_ptr<TExecutionHistory> history_;
};

// History off and on side by side: each iteration runs a batch without the
// history and a batch with it, in turns of a million instructions, so both
// see the same load of the machine. Items are the instructions run with the
// history; "on_vs_off" is the rate with the history over the rate without
// (CPU time of this thread). state.range(0): 0 the counting loop, 1 the port
// loop.
void BM_RunLoopHistoryOnVsOff(benchmark::State& state) {
  const std::span<const uint16_t> code =
      state.range(0) == 0 ? std::span<const uint16_t>(kCode) : std::span<const uint16_t>(kPortCode);
  TRunRig off(code, false);
  TRunRig on(code, true);
  constexpr uint64_t kTurn = 1'000'000;
  double offSeconds = 0;
  double onSeconds = 0;
  for (auto _ : state) {
    for (uint64_t done = 0; done < kBatch; done += kTurn) {
      offSeconds += off.Run(kTurn);
      onSeconds += on.Run(kTurn);
    }
  }
  const double offRate = static_cast<double>(off.Steps()) / offSeconds;
  const double onRate = static_cast<double>(on.Steps()) / onSeconds;
  state.SetItemsProcessed(static_cast<int64_t>(on.Steps()));
  state.counters["off_per_s"] = offRate;
  state.counters["on_per_s"] = onRate;
  state.counters["on_vs_off"] = onRate / offRate;
  state.counters["checkpoints"] = static_cast<double>(on.History()->Checkpoints().Count());
  state.counters["log_events"] = static_cast<double>(on.History()->Log().Inputs().size());
}
BENCHMARK(BM_RunLoopHistoryOnVsOff)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
