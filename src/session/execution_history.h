// TExecutionHistory: going back in time over a run, and repeating a run
// exactly.
//
// The machine and the screen are deterministic; what comes from outside is
// what IN reads from the frame counter, keyboard, mouse and timer, and the
// words the user edits. The history logs those (input_log.h), takes
// checkpoints of the program state (checkpoint.h) now and then, and goes
// back to a position by restoring the nearest checkpoint at or before it and
// running forward again with the input ports answered from the log
// (history_port_device.h). Nothing of the live devices changes by going
// back: the keys held, the mouse, the timer and the frame counter stay as
// they are; the screen and the selected key of port 272 are program state
// and go back with the machine.
//
// Positions count instructions from the start of the history. A machine
// reset (the end of every program load and of the reset command) starts a
// new history by itself; after restoring a state file, call Start.
//
// Going back discards the old future at once: the log keeps the inputs of
// instructions before the new position and the edits stamped at it or
// earlier, and checkpoints after it are dropped. A run forward then records
// afresh from there.
//
// The machine must be changed only by Step while the history records, apart
// from user edits that are passed to RecordEdit and machine resets; any
// other change (a restored state) must be followed by Start.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "session/checkpoint_store.h"
#include "session/history_port_device.h"
#include "session/input_log.h"
#include "session/input_log_file.h"

class TQRXEmulater;
class TMonitorModel;

// A test of the machine as it stands at one position (PC names the next
// instruction), for running back: a breakpoint on the line of PC, say.
using THistoryStop = std::function<bool(const TQRXEmulater&)>;

struct TReplayRun {
  // Instructions run by this call.
  uint64_t Steps = 0;
  // Ended on a HALT.
  bool Halted = false;
  // Reached the end of the replayed log: the history records from here on.
  bool ReachedEnd = false;
};

class TExecutionHistory {
 public:
  // A checkpoint is taken after this many instructions or this much running
  // time since the previous one, whichever comes first.
  static constexpr uint64_t kCheckpointSteps = 1'000'000;
  static constexpr int64_t kCheckpointMs = 100;

  // Puts its port device in front of the monitor as the machine's device.
  // The history is off until SetEnabled(true). Machine and monitor must
  // outlive the history.
  TExecutionHistory(TQRXEmulater& machine, TMonitorModel& monitor);
  // Gives the machine its monitor back.
  ~TExecutionHistory();
  TExecutionHistory(const TExecutionHistory&) = delete;
  TExecutionHistory& operator=(const TExecutionHistory&) = delete;

  // ---- on and off
  // On: starts a new history at the current state. Off: drops the history;
  // IN and OUT pass straight to the monitor.
  void SetEnabled(bool on);
  bool Enabled() const { return enabled_; }
  // A new history at the current state: empty log, one checkpoint at
  // position 0, recording. Called by the machine reset; call it after
  // restoring a state file.
  void Start();

  // Instructions since the start of the history (0 when off).
  uint64_t Position() const;
  // The machine's StepCount at the start of the history.
  uint64_t StartStepCount() const { return startStepCount_; }
  // On, and the machine has run since the start.
  bool CanGoBack() const { return Valid() && Position() > 0; }

  // ---- while running forward
  // Call when a run, trace or step loop begins, with a millisecond reading
  // of a steady clock: time spent paused does not count towards a
  // checkpoint. (Without it, a pause counts as running time.)
  void StartRunClock(int64_t nowMs);
  // The run loop's check, every few hundred instructions: takes a
  // checkpoint when kCheckpointSteps instructions or kCheckpointMs of
  // running have passed since the last one. Costs a few comparisons
  // otherwise.
  void TakeCheckpointIfDue(int64_t nowMs);
  // Logs a word the user has just written (memory view, registers) with the
  // machine standing at the current position. A replay with a future still
  // to come ends here: the future is dropped and the history records.
  void RecordEdit(uint16_t address, uint16_t value);

  // ---- going back; each returns false and changes nothing when it cannot
  // The machine and screen as they stood at position (0..Position()).
  bool GoBackTo(uint64_t position);
  // Back count instructions (at most to the start).
  bool StepBack(uint64_t count = 1);
  // Back as a step over goes forward: to the latest earlier position whose
  // call depth is at most the current one, so a subroutine that just
  // returned is passed over to the instruction before its CALL. With
  // acceptable given, only positions it accepts count (visible lines, say).
  // The start of the history when none qualifies.
  bool StepBackOverCall(const THistoryStop& acceptable = {});
  // Back to the latest earlier position where stop holds, else to the start.
  bool RunBackTo(const THistoryStop& stop);

  // ---- replaying a given log (qrx run --replay, scripted input)
  // Starts a new history at the current state whose inputs and edits come
  // from the log: IN of the input ports reads it, the live devices are not
  // asked. Drive the machine with RunReplay until it reaches the end. A log
  // that names a start memory other than the machine's is refused: false, a
  // CP932 error text, and nothing changes.
  bool StartReplay(TInputLogFile log, std::string& error);
  // Runs forward under the replayed log until HALT, maxSteps instructions or
  // the log's end (when it has one), applying the edits at their steps.
  // At the end the history switches to recording.
  TReplayRun RunReplay(uint64_t maxSteps);
  // A replayed log still has a future to run.
  bool Replaying() const { return device_.Mode() == THistoryPortDevice::TMode::Replaying; }

  // ---- the log and the memory the history holds
  const TInputLog& Log() const { return log_; }
  // The end a saved log gets: the position, or while replaying the end of
  // the replayed log (none when it is open).
  std::optional<uint64_t> LogEnd() const;
  // Writes the log as a text file (input_log_file.h) with LogEnd and the
  // memory hash of the start; CP932 error text.
  bool SaveLog(const std::string& path, std::string& error) const;
  void SetBudget(size_t bytes) { store_.SetBudget(bytes); }
  const TCheckpointStore& Checkpoints() const { return store_; }
  // Checkpoints and log together, in bytes.
  size_t BytesUsed() const { return store_.BytesUsed() + log_.BytesUsed(); }

 private:
  bool Valid() const;
  void SetMode(THistoryPortDevice::TMode mode) { device_.SetMode(mode); }
  void TakeCheckpoint();
  void RestoreFrom(const TCheckpoint& checkpoint);
  // Writes the logged edits stamped at or before position not yet applied.
  void ApplyEditsUpTo(uint64_t position);
  // Replays forward to target (edits applied at their steps, a checkpoint
  // every kCheckpointSteps). With stopAtHalt, ends early after a HALT and
  // returns true.
  bool ReplayTo(uint64_t target, bool stopAtHalt);
  // Replays from checkpoint to end (exclusive) and returns the last position
  // where stop held.
  std::optional<uint64_t> LastStopBetween(const TCheckpoint& checkpoint, uint64_t end,
                                          const THistoryStop& stop);
  // Ends a replay at the current position: the future is dropped, and the
  // history records from here.
  void DropFuture();

  TQRXEmulater& machine_;
  TMonitorModel& monitor_;
  TInputLog log_;
  TCheckpointStore store_;
  THistoryPortDevice device_;
  bool enabled_ = false;
  uint64_t startStepCount_ = 0;
  // The next logged edit that a replay has not applied yet.
  size_t nextEdit_ = 0;
  // The end of a replayed log (none: open).
  std::optional<uint64_t> replayEnd_;

  uint64_t lastCheckpointPosition_ = 0;
  // Running time since the last checkpoint: bankedMs_ before clockMark_,
  // and the time from clockMark_ on. lastSeenMs_ is the last reading given.
  int64_t bankedMs_ = 0;
  std::optional<int64_t> clockMark_;
  int64_t lastSeenMs_ = 0;
};
