#include "session/execution_history.h"

#include <algorithm>
#include <limits>

#include "machine/machine.h"
#include "monitor/monitor_model.h"
#include "persistence/encoding.h"

using TMode = THistoryPortDevice::TMode;

TExecutionHistory::TExecutionHistory(TQRXEmulater& machine, TMonitorModel& monitor)
    : machine_(machine), monitor_(monitor), device_(machine, monitor, log_) {
  machine_.SetPortDevice(&device_);
  // The machine reset ends every load of a program and the reset command:
  // what went before is no longer this run's past.
  device_.SetResetListener([this] { Start(); });
}

TExecutionHistory::~TExecutionHistory() {
  if (machine_.PortDevice() == &device_) machine_.SetPortDevice(&monitor_);
}

// ---- on and off

void TExecutionHistory::SetEnabled(bool on) {
  enabled_ = on;
  if (on) {
    Start();
    return;
  }
  log_.Clear();
  store_.Clear();
  replayEnd_.reset();
  SetMode(TMode::Passing);
}

void TExecutionHistory::Start() {
  if (!enabled_) return;
  log_.Clear();
  store_.Clear();
  replayEnd_.reset();
  nextEdit_ = 0;
  startStepCount_ = machine_.StepCount;
  device_.SetStartStepCount(startStepCount_);
  device_.Cursor().Rewind();
  clockMark_.reset();
  bankedMs_ = 0;
  TakeCheckpoint();
  SetMode(TMode::Recording);
}

bool TExecutionHistory::Valid() const {
  return enabled_ && machine_.StepCount >= startStepCount_;
}

uint64_t TExecutionHistory::Position() const {
  return Valid() ? machine_.StepCount - startStepCount_ : 0;
}

// ---- while running forward

void TExecutionHistory::StartRunClock(int64_t nowMs) {
  if (clockMark_) bankedMs_ += std::max<int64_t>(lastSeenMs_ - *clockMark_, 0);
  clockMark_ = nowMs;
  lastSeenMs_ = nowMs;
}

void TExecutionHistory::TakeCheckpointIfDue(int64_t nowMs) {
  if (device_.Mode() != TMode::Recording || !Valid()) return;
  if (!clockMark_) clockMark_ = nowMs;
  lastSeenMs_ = nowMs;
  const bool stepsDue = Position() - lastCheckpointPosition_ >= kCheckpointSteps;
  if (!stepsDue && bankedMs_ + (nowMs - *clockMark_) < kCheckpointMs) return;
  TakeCheckpoint();
  bankedMs_ = 0;
  clockMark_ = nowMs;
}

void TExecutionHistory::RecordEdit(uint16_t address, uint16_t value) {
  if (!Valid()) return;
  if (Replaying()) DropFuture();
  log_.RecordEdit(Position(), address, value);
}

// ---- going back

bool TExecutionHistory::GoBackTo(uint64_t position) {
  if (!Valid() || position > Position()) return false;
  if (position == Position()) {
    if (Replaying()) DropFuture();
    return true;
  }
  store_.DropAfter(position);
  const TCheckpoint* checkpoint = store_.AtOrBefore(position);
  if (checkpoint == nullptr) return false;  // cannot happen: the start is always kept
  lastCheckpointPosition_ = checkpoint->Position;
  RestoreFrom(*checkpoint);
  SetMode(TMode::Replaying);
  ReplayTo(position, false);
  DropFuture();
  return true;
}

bool TExecutionHistory::StepBack(uint64_t count) {
  if (!CanGoBack()) return false;
  return GoBackTo(Position() - std::min(count, Position()));
}

bool TExecutionHistory::StepBackOverCall(const THistoryStop& acceptable) {
  if (!CanGoBack()) return false;
  const int32_t depth = machine_.CallDepth;
  return RunBackTo([depth, &acceptable](const TQRXEmulater& machine) {
    return machine.CallDepth <= depth && (!acceptable || acceptable(machine));
  });
}

bool TExecutionHistory::RunBackTo(const THistoryStop& stop) {
  if (!CanGoBack()) return false;
  // Each stretch between two checkpoints is replayed once, latest first,
  // until one holds a position where stop holds.
  uint64_t end = Position();
  while (end > 0) {
    const TCheckpoint* checkpoint = store_.AtOrBefore(end - 1);
    if (checkpoint == nullptr) break;
    if (const std::optional<uint64_t> found = LastStopBetween(*checkpoint, end, stop))
      return GoBackTo(*found);
    end = checkpoint->Position;
  }
  return GoBackTo(0);
}

// ---- replaying a given log

bool TExecutionHistory::StartReplay(TInputLogFile log, std::string& error) {
  if (log.StartMemory && *log.StartMemory != MemoryHash(machine_.Memory)) {
    error = Sjis("この入力ログは別のプログラムを実行したときのものです (開始時のメモリが違います)");
    return false;
  }
  enabled_ = true;
  Start();
  log_ = std::move(log.Log);
  replayEnd_ = log.EndStep;
  SetMode(TMode::Replaying);
  if (replayEnd_ && *replayEnd_ == 0) {
    ApplyEditsUpTo(0);
    DropFuture();
  }
  return true;
}

TReplayRun TExecutionHistory::RunReplay(uint64_t maxSteps) {
  TReplayRun run;
  if (!Replaying() || !Valid()) return run;
  const uint64_t from = Position();
  uint64_t target = from + std::min(maxSteps, std::numeric_limits<uint64_t>::max() - from);
  if (replayEnd_) target = std::min(target, *replayEnd_);
  run.Halted = ReplayTo(target, true);
  run.Steps = Position() - from;
  if (replayEnd_ && Position() >= *replayEnd_) {
    run.ReachedEnd = true;
    DropFuture();
  }
  return run;
}

// ---- the log

std::optional<uint64_t> TExecutionHistory::LogEnd() const {
  if (Replaying()) return replayEnd_;
  return Position();
}

bool TExecutionHistory::SaveLog(const std::string& path, std::string& error) const {
  // The memory at the start is that of the first checkpoint, which is never
  // dropped; it is hashed only here, as hashing costs as much as a short run.
  const uint32_t startMemory =
      MemoryHash(store_.Count() > 0 ? store_.At(0).Memory : machine_.Memory);
  return SaveInputLogFile(path, log_, LogEnd(), startMemory, error);
}

// ---- inside

void TExecutionHistory::TakeCheckpoint() {
  std::unique_ptr<TCheckpoint> checkpoint = store_.Blank();
  CaptureCheckpoint(machine_, monitor_, *checkpoint);
  checkpoint->Position = Position();
  device_.Cursor().AdvanceBefore(log_, checkpoint->Position);
  checkpoint->Inputs = device_.Cursor();
  lastCheckpointPosition_ = checkpoint->Position;
  store_.Add(std::move(checkpoint));
}

void TExecutionHistory::RestoreFrom(const TCheckpoint& checkpoint) {
  RestoreCheckpoint(checkpoint, machine_, monitor_);
  device_.Cursor() = checkpoint.Inputs;
  nextEdit_ = log_.FirstEditAtOrAfter(checkpoint.Position);
}

void TExecutionHistory::ApplyEditsUpTo(uint64_t position) {
  const std::vector<TUserEdit>& edits = log_.Edits();
  for (; nextEdit_ < edits.size() && edits[nextEdit_].Step <= position; ++nextEdit_)
    machine_.WriteWord(edits[nextEdit_].Address, edits[nextEdit_].Value);
}

bool TExecutionHistory::ReplayTo(uint64_t target, bool stopAtHalt) {
  const std::vector<TUserEdit>& edits = log_.Edits();
  for (;;) {
    const uint64_t position = Position();
    ApplyEditsUpTo(position);
    if (position - lastCheckpointPosition_ >= kCheckpointSteps) TakeCheckpoint();
    if (position >= target) return false;
    uint64_t stretchEnd = std::min(target, lastCheckpointPosition_ + kCheckpointSteps);
    if (nextEdit_ < edits.size()) stretchEnd = std::min(stretchEnd, edits[nextEdit_].Step);
    // The stretch is the hot loop of every replay: the machine is held in a
    // local and the HALT test is made only where it counts.
    TQRXEmulater& machine = machine_;
    uint64_t n = stretchEnd - position;
    if (!stopAtHalt) {
      for (; n > 0; --n)
        machine.Step();
      continue;
    }
    for (; n > 0; --n) {
      if (machine.Step() < 0) {
        ApplyEditsUpTo(Position());
        return true;
      }
    }
  }
}

std::optional<uint64_t> TExecutionHistory::LastStopBetween(const TCheckpoint& checkpoint,
                                                           uint64_t end, const THistoryStop& stop) {
  RestoreFrom(checkpoint);
  SetMode(TMode::Replaying);
  std::optional<uint64_t> found;
  for (uint64_t position = checkpoint.Position; position < end; ++position) {
    ApplyEditsUpTo(position);
    if (stop(machine_)) found = position;
    machine_.Step();
  }
  return found;
}

void TExecutionHistory::DropFuture() {
  const uint64_t position = Position();
  log_.TruncateAt(position);
  store_.DropAfter(position);
  const TCheckpoint* latest = store_.AtOrBefore(position);
  lastCheckpointPosition_ = latest != nullptr ? latest->Position : 0;
  replayEnd_.reset();
  SetMode(TMode::Recording);
}
