#include "app/tool_run_history.h"

#include <limits>

#include "app/tool_common.h"
#include "persistence/encoding.h"
#include "session/run_report.h"

namespace {

void WriteLogProblem(const std::string& path, const std::string& reason) {
  WriteDiagnostics("入力ログ \"" + path + "\" を使えません\n");
  WriteErrorLine(reason);
}

}  // namespace

bool ReadReplayLog(const std::string& path, TInputLogFile& log) {
  std::string error;
  if (LoadInputLogFile(path, log, error)) return true;
  WriteLogProblem(path, error);
  return false;
}

TToolHistoryRun::TToolHistoryRun(TQRXEmulater& machine, TMonitorModel& monitor, bool goingBack)
    : machine_(machine), monitor_(monitor), history_(machine, monitor) {
  if (!goingBack) history_.SetBudget(0);
  history_.SetEnabled(true);
}

bool TToolHistoryRun::Replay(const std::string& path, TInputLogFile log) {
  std::string error;
  if (!history_.StartReplay(std::move(log), error)) {
    WriteLogProblem(path, error);
    return false;
  }
  replaying_ = true;
  return true;
}

TRunResult TToolHistoryRun::Run(std::optional<uint64_t> maxSteps) {
  TRunResult run;
  if (replaying_) {
    const TReplayRun replay =
        history_.RunReplay(maxSteps.value_or(std::numeric_limits<uint64_t>::max()));
    run.Steps = replay.Steps;
    run.Halted = replay.Halted;
    const bool runOn = !history_.Replaying() && maxSteps && !run.Halted && run.Steps < *maxSteps;
    if (!runOn) {
      // The part of the log that did not run is not this run's: going to
      // where the machine stands drops it, so a saved log ends here.
      if (history_.Replaying()) history_.GoBackTo(history_.Position());
      return run;
    }
    *maxSteps -= run.Steps;
  }
  const TRunResult live = RunMachine(machine_, monitor_, maxSteps, &history_);
  run.Steps += live.Steps;
  run.Halted = live.Halted;
  return run;
}

bool TToolHistoryRun::SaveLog(const std::string& path, std::string& error) const {
  return history_.SaveLog(path, error);
}

TRunResult TToolHistoryRun::GoBack(const TRunResult& run, uint64_t count) {
  const uint64_t length = history_.Position();
  if (count > length)
    WriteErrorLine("--back " + std::to_string(count) + ": " +
                   Sjis("実行の始めまでしか戻れません (") + GroupDigits(length) +
                   Sjis("steps 戻りました)"));
  if (count == 0) return run;
  history_.StepBack(count);
  return TRunResult{.Halted = false, .Steps = history_.Position()};
}
