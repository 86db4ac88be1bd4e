#include "session/run_control.h"

#include "assembler/qrx_assembler.h"
#include "machine/machine.h"
#include "machine/opcode_table.h"
#include "monitor/performance_counter.h"
#include "persistence/int_text.h"
#include "session/execution_history.h"
#include "session/program_session.h"

TRunControl::TRunControl(TProgramSession& session, TRunHost& host, const TClock& clock)
    : session_(session), host_(host), clock_(clock) {}

void TRunControl::SetRunState(TRunState state) {
  runState_.store(state, std::memory_order_relaxed);
  host_.RunStateChanged(state);
}

// ---- commands

void TRunControl::RunOrTrace(TRunMode mode) {
  const TRunState loop = mode == TRunMode::Run ? TRunState::Running : TRunState::Tracing;
  host_.RunStarted({loop, monitorToFront_});
  const uint64_t remembered = session_.Machine().StepCount;
  if (mode == TRunMode::Run)
    RunLoop();
  else
    TraceLoop();
  ReportOutcome(loop, remembered);
}

void TRunControl::StepCommand() {
  TQRXEmulater& machine = session_.Machine();
  host_.RunStarted({TRunState::Stepping, false});
  SetRunState(TRunState::Stepping);
  const uint64_t remembered = machine.StepCount;
  session_.SetReferenceDepth(host_.IsControlDown() ? machine.CallDepth + 1 : machine.CallDepth);
  BeginLoop();
  int countdown = kPaceInstructions;
  for (;;) {
    if (machine.Step() < 0) break;
    if (RunState() != TRunState::Stepping) break;
    const int line = CurrentLine();
    if (IsLineVisible(line)) {
      if (machine.CallDepth <= session_.ReferenceDepth()) break;
      if (HasBreakpoint(line)) break;
    }
    OfferDelivery(countdown);
  }
  FinishLoop();
  ReportOutcome(TRunState::Stepping, remembered);
}

void TRunControl::Stop() {
  host_.ExecutionStateChanged();
  SetRunState(TRunState::Idle);
}

void TRunControl::Reset() {
  // Reloads memory, registers, counters and the monitor screen, and sets the
  // reference depth to the call depth (now 0).
  session_.Reset();
  host_.MachineReset();
}

// ---- going back

bool TRunControl::CanGoBack() const {
  return RunState() == TRunState::Idle && history_ != nullptr && history_->CanGoBack();
}

void TRunControl::StepBack() {
  if (!CanGoBack()) return;
  const uint64_t from = history_->Position();
  if (history_->StepBack(1)) ReportBack(from);
}

void TRunControl::StepBackOverCall() {
  if (!CanGoBack()) return;
  const uint64_t from = history_->Position();
  const int32_t depth = session_.Machine().CallDepth;
  FreshenBreakpoints();
  const bool moved = history_->RunBackTo([this, depth](const TQRXEmulater& machine) {
    const int line = machine.LineOf(machine.ReadWord(TQRXEmulater::PC));
    return IsLineVisible(line) && (machine.CallDepth <= depth || breakpointBits_[line]);
  });
  if (moved) ReportBack(from);
}

void TRunControl::RunBack() {
  if (!CanGoBack()) return;
  const uint64_t from = history_->Position();
  FreshenBreakpoints();
  const bool moved =
      breakpointsDuringRun_ && anyBreakpoint_
          ? history_->RunBackTo([this](const TQRXEmulater& machine) {
              return breakpointBits_[machine.LineMap[machine.Memory[TQRXEmulater::PC]]];
            })
          : history_->GoBackTo(0);
  if (moved) ReportBack(from);
}

void TRunControl::ReportBack(uint64_t from) {
  const uint64_t position = history_->Position();
  host_.WentBack({from - position, session_.Machine().StepCount});
  breakpointsStale_ = true;
}

// ---- loops

void TRunControl::RunLoop() {
  TQRXEmulater& machine = session_.Machine();
  SetRunState(TRunState::Running);
  BeginLoop();
  // The breakpoints and the toggle can only change in a delivery, so they
  // are looked at again after each one, and the per-instruction test reads
  // the bits directly (and not at all when it cannot stop the run).
  FreshenBreakpoints();
  bool testBreakpoints = breakpointsDuringRun_ && anyBreakpoint_;
  int countdown = kPaceInstructions;
  for (;;) {
    if (machine.Step() < 0) break;
    if (RunState() != TRunState::Running) break;
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
  SetRunState(TRunState::Tracing);
  session_.SetReferenceDepth(machine.CallDepth);
  BeginLoop();
  int countdown = kPaceInstructions;
  for (;;) {
    if (machine.Step() < 0) break;
    if (RunState() != TRunState::Tracing) break;
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
      host_.ExecutionStateChanged();
      breakpointsStale_ = true;
      OfferCheckpoint(lastReadingMs_);
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
  SetRunState(TRunState::Idle);
  breakpointsStale_ = true;
}

void TRunControl::ReportOutcome(TRunState loop, uint64_t remembered) {
  const TQRXEmulater& machine = session_.Machine();
  const uint64_t total = machine.StepCount;
  // A reset (or a restored state) while the loop delivered events sets the
  // count back below the remembered value; the steps since then are the
  // whole count, not a wrapped difference.
  const uint64_t steps = total >= remembered ? total - remembered : total;
  host_.RunFinished({loop, machine.Opcode == kOpcodeHalt, steps, total});
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
  frequency_ = clock_.Frequency();
  ticksPerMs_ = frequency_ > 0 ? (frequency_ + 999) / 1000 : 0;
  // The loop starts from the event loop, which has just delivered.
  lastDelivery_ = ticksPerMs_ > 0 ? clock_.NowTicks() : 0;
  lastReadingMs_ = TicksToMs(lastDelivery_, frequency_);
  if (history_ != nullptr) history_->StartRunClock(lastReadingMs_);
}

void TRunControl::PacedDelivery() {
  if (ticksPerMs_ > 0) {
    const int64_t now = clock_.NowTicks();
    lastReadingMs_ = TicksToMs(now, frequency_);
    OfferCheckpoint(lastReadingMs_);
    if (now - lastDelivery_ < ticksPerMs_) return;
    lastDelivery_ = now;
  } else {
    OfferCheckpoint(0);
  }
  DeliverNow();
}

void TRunControl::OfferCheckpoint(int64_t nowMs) {
  if (history_ != nullptr) history_->TakeCheckpointIfDue(nowMs);
}
