// The tool's run loop: Step until HALT or a step limit, with the monitor's
// frame counter advancing as the screen thread advances it while a program
// runs with the monitor shown. With an execution history recording, the loop
// offers it a checkpoint at every look at the clock.
#pragma once

#include <cstdint>
#include <optional>

class TQRXEmulater;
class TMonitorModel;
class TExecutionHistory;

struct TRunResult {
  bool Halted = false;
  // Instructions executed by this run (HALT included).
  uint64_t Steps = 0;
};

// Instructions between two looks at the clock: the loop stays a plain Step
// loop, and a frame is at most a few tens of microseconds late.
inline constexpr uint64_t kStepsPerClockCheck = 4096;

TRunResult RunMachine(TQRXEmulater& machine, TMonitorModel& monitor,
                      std::optional<uint64_t> maxSteps, TExecutionHistory* history = nullptr);
