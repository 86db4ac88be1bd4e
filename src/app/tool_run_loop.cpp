#include "app/tool_run_loop.h"

#include <algorithm>
#include <chrono>
#include <limits>

#include "machine/machine.h"
#include "monitor/monitor_model.h"
#include "monitor/screen_model.h"
#include "session/execution_history.h"

namespace {

int64_t Milliseconds(std::chrono::steady_clock::time_point time) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count();
}

}  // namespace

TRunResult RunMachine(TQRXEmulater& machine, TMonitorModel& monitor,
                      std::optional<uint64_t> maxSteps, TExecutionHistory* history) {
  using Clock = std::chrono::steady_clock;
  constexpr auto kFrameInterval = std::chrono::milliseconds(kFrameIntervalMs);
  const uint64_t limit = maxSteps.value_or(std::numeric_limits<uint64_t>::max());
  TRunResult result;
  Clock::time_point frameStart = Clock::now();
  if (history != nullptr) history->StartRunClock(Milliseconds(frameStart));
  while (result.Steps < limit) {
    const uint64_t batch = std::min(limit - result.Steps, kStepsPerClockCheck);
    for (uint64_t i = 0; i < batch; ++i) {
      if (machine.Step() < 0) {
        result.Steps += i + 1;
        result.Halted = true;
        return result;
      }
    }
    result.Steps += batch;
    const Clock::time_point now = Clock::now();
    if (history != nullptr) history->TakeCheckpointIfDue(Milliseconds(now));
    if (now - frameStart > kFrameInterval) {
      frameStart = now;
      monitor.AdvanceFrame();
    }
  }
  return result;
}
