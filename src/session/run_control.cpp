#include "session/run_control.h"

#include "assembler/qrx_assembler.h"
#include "machine/machine.h"
#include "machine/opcode_table.h"
#include "monitor/performance_counter.h"
#include "persistence/int_text.h"
#include "session/program_session.h"
#include "session/run_report.h"

TRunControl::TRunControl(TProgramSession& session, TRunHost& host, const TClock& clock)
    : session_(session), host_(host), clock_(clock) {}

void TRunControl::SetRunState(int state) {
  runState_.store(state, std::memory_order_relaxed);
  host_.RunStateChanged(state);
}

// ---- commands

void TRunControl::RunOrTrace(int tag) {
  host_.SetMessage(RunningText());
  const uint64_t remembered = session_.Machine().StepCount;
  host_.SetRunButtonsEnabled(false);
  host_.InitJumpHistory(host_.SelectedListingRow());
  if (monitorToFront_) host_.RequestMonitorFront();
  if (tag == kRunTag)
    RunLoop();
  else
    TraceLoop();
  host_.SetRunButtonsEnabled(true);
  host_.RepaintViews();
  ReportOutcome(remembered);
}

void TRunControl::StepCommand() {
  TQRXEmulater& machine = session_.Machine();
  SetRunState(kStepping);
  const uint64_t remembered = machine.StepCount;
  session_.SetReferenceDepth(host_.IsControlDown() ? machine.CallDepth + 1 : machine.CallDepth);
  BeginLoop();
  int countdown = kPaceInstructions;
  for (;;) {
    if (machine.Step() < 0) break;
    if (RunState() != kStepping) break;
    const int line = CurrentLine();
    if (IsLineVisible(line)) {
      if (machine.CallDepth <= session_.ReferenceDepth()) break;
      if (HasBreakpoint(line)) break;
    }
    OfferDelivery(countdown);
  }
  FinishLoop();
  host_.RepaintLabelView();
  host_.RefreshMemoryView();
  ReportOutcome(remembered);
}

void TRunControl::Stop() {
  host_.ShowExecutionState();
  SetRunState(kIdle);
}

void TRunControl::Reset() {
  // Reloads memory, registers, counters and the monitor screen, and sets the
  // reference depth to the call depth (now 0).
  session_.Reset();
  host_.InitJumpHistory(0);
  host_.ClearMemoryCells();
  host_.ShowExecutionState();
  host_.RepaintViews();
  host_.RefreshMonitor();
  host_.SetMessage(ResetDoneText());
}

// ---- loops

void TRunControl::RunLoop() {
  TQRXEmulater& machine = session_.Machine();
  SetRunState(kRunning);
  BeginLoop();
  // The breakpoints and the toggle can only change in a delivery, so they
  // are looked at again after each one, and the per-instruction test reads
  // the bits directly (and not at all when it cannot stop the run).
  FreshenBreakpoints();
  bool testBreakpoints = breakpointsDuringRun_ && anyBreakpoint_;
  int countdown = kPaceInstructions;
  for (;;) {
    if (machine.Step() < 0) break;
    if (RunState() != kRunning) break;
    if (testBreakpoints && breakpointBits_[machine.LineMap[machine.Memory[TQRXEmulater::PC]]])
      break;
    if (--countdown == 0) {
      countdown = kPaceInstructions;
      PacedDelivery();
      FreshenBreakpoints();
      testBreakpoints = breakpointsDuringRun_ && anyBreakpoint_;
    }
  }
  FinishLoop();
}

void TRunControl::TraceLoop() {
  TQRXEmulater& machine = session_.Machine();
  SetRunState(kTracing);
  session_.SetReferenceDepth(machine.CallDepth);
  BeginLoop();
  int countdown = kPaceInstructions;
  for (;;) {
    if (machine.Step() < 0) break;
    if (RunState() != kTracing) break;
    const int line = CurrentLine();
    if (!IsLineVisible(line)) {
      OfferDelivery(countdown);
      continue;
    }
    const int32_t depth = machine.CallDepth;
    if (host_.IsControlDown())
      session_.SetReferenceDepth(depth + 1);
    else if (depth < session_.ReferenceDepth())
      session_.SetReferenceDepth(depth);
    const int32_t reference = session_.ReferenceDepth();
    // Control is asked again: it may have been let go during the test above.
    const bool displayed = reference == depth || (reference > depth && host_.IsControlDown());
    if (displayed) {
      WaitTrace();
      host_.ShowExecutionState();
      breakpointsStale_ = true;
    }
    if (HasBreakpoint(line)) break;
    if (displayed)
      DeliverNow();
    else
      OfferDelivery(countdown);
  }
  FinishLoop();
}

void TRunControl::FinishLoop() {
  SetRunState(kIdle);
  host_.ShowExecutionState();
  host_.RefreshMonitor();
  breakpointsStale_ = true;
}

void TRunControl::ReportOutcome(uint64_t remembered) {
  const TQRXEmulater& machine = session_.Machine();
  const uint64_t total = machine.StepCount;
  // A reset (or a restored state) while the loop delivered events sets the
  // count back below the remembered value; the steps since then are the
  // whole count, not a wrapped difference.
  const uint64_t steps = total >= remembered ? total - remembered : total;
  host_.SetMessage(RunOutcomeText(machine.Opcode == kOpcodeHalt, steps, total));
}

void TRunControl::WaitTrace() {
  const int64_t frequency = clock_.Frequency();
  if (traceWait_ <= 0 || frequency <= 0) {
    DeliverNow();
    return;
  }
  // Events are delivered about every millisecond; in between the thread
  // sleeps, so a slow trace leaves the processor to others.
  const int64_t start = clock_.NowTicks();
  for (;;) {
    DeliverNow();
    const double elapsed =
        static_cast<double>(clock_.NowTicks() - start) * 1000.0 / static_cast<double>(frequency);
    if (elapsed > traceWait_) return;
    host_.SleepMs(kTraceWaitSliceMs);
  }
}

// ---- lines and breakpoints

int TRunControl::CurrentLine() const {
  const TQRXEmulater& machine = session_.Machine();
  return machine.LineOf(machine.ReadWord(TQRXEmulater::PC));
}

bool TRunControl::IsLineVisible(int line) const {
  const TQRXAssembler& assembler = session_.Assembler();
  if (line < 0 || line >= assembler.LineCount()) return false;
  return assembler.LineAt(line).Visible;
}

void TRunControl::RebuildBreakpointBits() {
  breakpointBits_.reset();
  const TBoolList& list = session_.Breakpoints();
  for (int i = 0; i < list.Count(); ++i) {
    int32_t n = 0;
    // Only an entry in the form Contains looks for (IntToStr's) can match.
    if (!TryStrToInt(list[i], n) || IntToStr(n) != list[i]) continue;
    if (n >= 0 && static_cast<size_t>(n) < breakpointBits_.size()) breakpointBits_.set(n);
  }
  anyBreakpoint_ = breakpointBits_.any();
  breakpointsStale_ = false;
}

// ---- event delivery

void TRunControl::DeliverNow() {
  host_.DeliverPendingEvents();
  breakpointsStale_ = true;
}

void TRunControl::BeginLoop() {
  breakpointsStale_ = true;
  const int64_t frequency = clock_.Frequency();
  ticksPerMs_ = frequency > 0 ? (frequency + 999) / 1000 : 0;
  // The loop starts from the event loop, which has just delivered.
  lastDelivery_ = ticksPerMs_ > 0 ? clock_.NowTicks() : 0;
}

void TRunControl::PacedDelivery() {
  if (ticksPerMs_ > 0) {
    const int64_t now = clock_.NowTicks();
    if (now - lastDelivery_ < ticksPerMs_) return;
    lastDelivery_ = now;
  }
  DeliverNow();
}
