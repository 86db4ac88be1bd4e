// TRunControl: the run, trace, step, stop and reset commands of the
// workbench, the loops that call the machine's Step until something ends
// them, the breakpoint and call-depth rules and the trace wait. It reports
// what happens as events to its host (run_host.h) and names no widget.
//
// Everything runs on the GUI thread. Each loop tests the run state right
// after every Step, so a stop (or another command that sets its own run
// state while the loop delivers events) lets exactly one more instruction
// run. Commands may be entered from inside another loop's event delivery:
// a run or trace started in the middle of a long step finishes first, and
// the step loop then ends because the run state no longer says stepping.
//
// Event delivery. After every instruction that does not end a loop, the
// loop offers to deliver pending events. The offer is paced: the clock is
// read only every kPaceInstructions instructions, and the host's delivery
// runs only when at least 1 ms has passed since the last paced delivery
// (at every check when the clock has no frequency). In between an offer
// costs a counter decrement. This holds for the run loop, for the
// instructions a trace runs without displaying them, and for the
// instructions a step runs through (the subroutine of a stepped-over CALL,
// hidden lines); a step that ends after its first instruction delivers
// nothing, as the loop ends before its delivery. A displayed trace line is
// never paced: its wait delivers at least once, and the loop delivers once
// more after the breakpoint test.
//
// Execution history. With a history attached, every loop starts its running
// clock, and the paced check (and each displayed trace line) offers it a
// checkpoint, which costs a few comparisons unless one is due. The commands
// that go back use the same breakpoint and visible-line rules as the
// commands that go forward.
//
// Breakpoints are tested against a copy of the breakpoint list as a bit
// per line index. While a loop runs, the list can only change when the host
// runs code of its own (event delivery, events), so the copy is taken
// at the start of every loop and again after any such call before it is
// read; it always answers as the list's Contains would.
#pragma once

#include <atomic>
#include <bitset>
#include <cstddef>
#include <cstdint>

#include "session/run_host.h"

class TClock;
class TExecutionHistory;
class TProgramSession;

class TRunControl {
 public:
  // Instructions between two readings of the clock in a paced delivery.
  static constexpr int kPaceInstructions = 256;
  // The trace wait sleeps this long between two deliveries.
  static constexpr int kTraceWaitSliceMs = 1;

  // The session, the host and the clock must outlive run control.
  TRunControl(TProgramSession& session, TRunHost& host, const TClock& clock);
  TRunControl(const TRunControl&) = delete;
  TRunControl& operator=(const TRunControl&) = delete;

  // ---- run state
  // Safe to read from any thread (the screen thread polls it).
  TRunState RunState() const { return runState_.load(std::memory_order_relaxed); }
  const std::atomic<TRunState>& RunStateValue() const { return runState_; }
  // Run state := state, then the host's RunStateChanged(state).
  void SetRunState(TRunState state);

  // ---- settings the commands read when they need them
  // Whether a run honours breakpoints ("実行時にブレークポイントが有効(&B)";
  // on by default). Trace and step always do.
  bool BreakpointsDuringRun() const { return breakpointsDuringRun_; }
  void SetBreakpointsDuringRun(bool on) { breakpointsDuringRun_ = on; }
  // Whether run and trace bring the monitor to the front
  // ("実行時にモニタを前面に出す(&T)"; off by default).
  bool MonitorToFront() const { return monitorToFront_; }
  void SetMonitorToFront(bool on) { monitorToFront_ = on; }
  // Pause after each displayed trace line in milliseconds; 0 (or less):
  // none. 200 by default.
  int TraceWait() const { return traceWait_; }
  void SetTraceWait(int ms) { traceWait_ = ms; }

  // ---- commands
  // The handler shared by run and trace: reports RunStarted, runs the loop
  // and reports RunFinished with the outcome.
  void RunOrTrace(TRunMode mode);
  // Runs until the next visible line at the step's depth or shallower (with
  // Control held: one level deeper, so a CALL is stepped into), a
  // breakpoint on a visible line, HALT, or a changed run state; reported
  // like run and trace.
  void StepCommand();
  // Reports ExecutionStateChanged and sets the run state to Idle; the
  // active loop ends after one more instruction.
  void Stop();
  // Reloads the machine from the assembled program and reports
  // MachineReset. Leaves the run state as it is.
  void Reset();

  // ---- going back in the execution history
  // The history the loops record into and the commands below go back in;
  // none (nullptr) records nothing. It must outlive run control or be taken
  // away first.
  void SetHistory(TExecutionHistory* history) { history_ = history; }
  // Idle, and the history holds instructions to go back over.
  bool CanGoBack() const;
  // Each command below does nothing unless CanGoBack; otherwise it puts the
  // machine and the screen back to an earlier position and reports
  // WentBack.
  // Back one instruction.
  void StepBack();
  // Back as a step goes forward: to the latest earlier position on a
  // visible line at the current call depth or shallower (so a subroutine
  // that just returned is passed over to its CALL), or on a visible line
  // with a breakpoint; the start of the history when there is none.
  void StepBackOverCall();
  // Back to the latest earlier position whose line carries a breakpoint,
  // when a run honours breakpoints; otherwise, or when there is none, to the
  // start of the history.
  void RunBack();

 private:
  void RunLoop();
  void TraceLoop();
  // The end of every loop: run state Idle.
  void FinishLoop();
  // Reports the end of a loop with the steps run since remembered.
  void ReportOutcome(TRunState loop, uint64_t remembered);
  // Pauses TraceWait ms on the clock, delivering events every slice and
  // sleeping in between; with no wait or no counter, delivers once.
  void WaitTrace();
  // Reports WentBack for a move from position from.
  void ReportBack(uint64_t from);
  // Offers the history a checkpoint at a clock reading (ms).
  void OfferCheckpoint(int64_t nowMs);

  // The listing line of the instruction at PC.
  int CurrentLine() const;
  bool IsLineVisible(int line) const;
  bool HasBreakpoint(int line) {
    FreshenBreakpoints();
    return line >= 0 && static_cast<size_t>(line) < breakpointBits_.size() && breakpointBits_[line];
  }
  void FreshenBreakpoints() {
    if (breakpointsStale_) RebuildBreakpointBits();
  }
  void RebuildBreakpointBits();

  // Event delivery: unpaced, and paced (see the top of this file). Each
  // loop keeps its own countdown, so a loop entered from inside another
  // loop's delivery does not disturb the outer one's count.
  void DeliverNow();
  // Before each loop: pacing starts now, and the breakpoint bits are taken
  // afresh (the list may have changed between two commands).
  void BeginLoop();
  void OfferDelivery(int& countdown) {
    if (--countdown != 0) return;
    countdown = kPaceInstructions;
    PacedDelivery();
  }
  void PacedDelivery();

  TProgramSession& session_;
  TRunHost& host_;
  const TClock& clock_;

  std::atomic<TRunState> runState_{TRunState::Idle};
  bool breakpointsDuringRun_ = true;
  bool monitorToFront_ = false;
  int traceWait_ = 200;

  TExecutionHistory* history_ = nullptr;

  int64_t lastDelivery_ = 0;
  // The clock's frequency at the start of the loop, and the last reading
  // in milliseconds (0 while the clock has no frequency).
  int64_t frequency_ = 0;
  int64_t lastReadingMs_ = 0;
  // Clock ticks in one millisecond, rounded up; 0 when the clock has no
  // frequency.
  int64_t ticksPerMs_ = 0;

  // A bit per listing line index (LineOf yields 16 bits) for the lines the
  // breakpoint list holds; stale after any call into the host.
  std::bitset<0x10000> breakpointBits_;
  bool breakpointsStale_ = true;
  // Whether any bit is set.
  bool anyBreakpoint_ = false;
};
