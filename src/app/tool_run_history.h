// qrx run with an execution history: --record writes the input log of the
// run, --replay answers IN from a log, --back goes back before the reports.
//
// A replay ends where its log ends ("end N"), as a step limit would: the
// run it repeats stopped there. A --max-steps beyond the end runs on with
// the tool's own inputs (no keys, no mouse, the tool's frame counter and
// timer; the timer and frame-counter OUTs of the replayed part never reached
// them), and the history records on. A log that ends with "end" alone runs
// until HALT or --max-steps. Going back restores the state K instructions
// earlier exactly, with the inputs the run read; the run's result becomes
// that of a run K instructions shorter.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/tool_run_loop.h"
#include "session/execution_history.h"

class TQRXEmulater;
class TMonitorModel;

// Reads the log of --replay. When it cannot be read or is no sound input
// log, writes why on stderr and returns false.
bool ReadReplayLog(const std::string& path, TInputLogFile& log);

class TToolHistoryRun {
 public:
  // Records from the machine's current state. Checkpoints beyond the two
  // the history always keeps are held only when going back is asked for.
  TToolHistoryRun(TQRXEmulater& machine, TMonitorModel& monitor, bool goingBack);

  // Replays log (read from path) from the current state. A log recorded
  // with another program is refused: the reason on stderr, false, nothing
  // run.
  bool Replay(const std::string& path, TInputLogFile log);
  // Runs forward until HALT or maxSteps; a replay also to its log's end
  // (see the top).
  TRunResult Run(std::optional<uint64_t> maxSteps);
  // Writes the log of what has run; CP932 error text.
  bool SaveLog(const std::string& path, std::string& error) const;
  // Goes back count instructions, at most to the start of the run (said on
  // stderr when count goes further), and returns the result of a run that
  // had stopped there.
  TRunResult GoBack(const TRunResult& run, uint64_t count);

 private:
  TQRXEmulater& machine_;
  TMonitorModel& monitor_;
  TExecutionHistory history_;
  bool replaying_ = false;
};
