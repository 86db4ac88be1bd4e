// TRunHost: what run control asks of the program it runs in, and the events
// it reports to it. Run control names no widget: the workbench turns the
// events into view updates, tests record them, the tool and the benchmarks
// ignore them.
//
// Every call comes on the thread that runs run control (the GUI thread).
#pragma once

#include <cstdint>

// Which loop is active. Greater than Idle while a loop runs; other code
// tests it (closing, the file menu, jump recording, the screen thread).
enum class TRunState : int32_t { Idle = 0, Running = 1, Tracing = 2, Stepping = 3 };

// The run and trace commands share their handler; this says which it is.
enum class TRunMode { Run, Trace };

// A run, trace or step command is about to start its loop.
struct TRunStart {
  // The loop about to run: Running, Tracing or Stepping.
  TRunState Loop;
  // Whether the monitor is to be brought to the front (run and trace only).
  bool MonitorToFront;
};

// How a run, trace or step command ended.
struct TRunOutcome {
  // The loop that ran: Running, Tracing or Stepping.
  TRunState Loop;
  // The last instruction executed was a HALT.
  bool Halted;
  // Instructions executed by the command, and the machine's step count.
  uint64_t Steps;
  uint64_t Total;
};

// How a step back, step back over a CALL or run back ended.
struct TBackOutcome {
  // Instructions gone back, and the machine's step count now.
  uint64_t Steps;
  uint64_t Total;
};

class TRunHost {
 public:
  virtual ~TRunHost() = default;

  // ---- questions
  // Lets the window system deliver pending events (Qt: processEvents). The
  // handlers it runs may call back into run control: Stop, RunOrTrace,
  // StepCommand, Reset, and they may change the breakpoints.
  virtual void DeliverPendingEvents() = 0;
  // Whether the Control key is down in the keyboard state as the GUI
  // thread last saw it.
  virtual bool IsControlDown() const = 0;
  // Sleeps for ms milliseconds (the trace wait sleeps in short slices
  // between its deliveries instead of spinning).
  virtual void SleepMs(int ms) = 0;

  // ---- events
  // A run, trace or step command starts; its loop follows.
  virtual void RunStarted(const TRunStart& start) = 0;
  // The run state has just been set.
  virtual void RunStateChanged(TRunState state) = 0;
  // The machine stands where it should be shown: a displayed trace line,
  // or a stop.
  virtual void ExecutionStateChanged() = 0;
  // A run, trace or step command has ended; the run state is Idle again
  // unless a command entered from the loop's event delivery still runs.
  virtual void RunFinished(const TRunOutcome& outcome) = 0;
  // The reset command has reloaded the machine from the assembled program.
  virtual void MachineReset() = 0;
  // The machine and the monitor's screen stand at an earlier point of the
  // execution history, as if a run had stopped there.
  virtual void WentBack(const TBackOutcome& outcome) = 0;
};

// A host without windows: no events delivered, Control up, no sleep, every
// event ignored. Hosts that care about a few calls only (benchmarks,
// fuzzing) derive from it.
class TQuietRunHost : public TRunHost {
 public:
  void DeliverPendingEvents() override {}
  bool IsControlDown() const override { return false; }
  void SleepMs(int) override {}
  void RunStarted(const TRunStart&) override {}
  void RunStateChanged(TRunState) override {}
  void ExecutionStateChanged() override {}
  void RunFinished(const TRunOutcome&) override {}
  void MachineReset() override {}
  void WentBack(const TBackOutcome&) override {}
};
