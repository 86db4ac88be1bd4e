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
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "assembler/machine_loader.h"
#include "machine/machine.h"
#include "monitor/monitor_model.h"
#include "monitor/performance_counter.h"
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

void LoadCode(TQRXEmulater& machine) {
  const TImageLine line{0, kCode, 0};
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
    control.RunOrTrace(TRunControl::kRunTag);
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

}  // namespace
