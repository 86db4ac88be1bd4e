// TRunHost: what run control needs from the window it runs in. The main
// window implements it; tests implement it with a fake that records the
// calls and injects stops, Control presses and nested commands.
//
// Every call comes on the thread that runs run control (the GUI thread).
#pragma once

#include <string>

class TRunHost {
 public:
  virtual ~TRunHost() = default;

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

  // After instructions ran: the listing selects the execution position, the
  // label rows and the memory cell of the machine's Destination are redrawn.
  virtual void ShowExecutionState() = 0;
  // Repaints the label view, the listing view and the memory view.
  virtual void RepaintViews() = 0;
  // Repaints the label view alone.
  virtual void RepaintLabelView() = 0;
  // Repaints the memory grid and its status bar for the current cell.
  virtual void RefreshMemoryView() = 0;
  // Drops every stored cell text of the memory grid.
  virtual void ClearMemoryCells() = 0;
  // The monitor copies its screen and redraws it at once.
  virtual void RefreshMonitor() = 0;

  // Re-initialises the jump history with one listing row.
  virtual void InitJumpHistory(int row) = 0;
  // The listing view's selected row (-1 when none).
  virtual int SelectedListingRow() const = 0;
  // Asks the screen thread to show the monitor window and bring it to the
  // front.
  virtual void RequestMonitorFront() = 0;

  // Sets the message line to a CP932 text. The texts of run control keep
  // the message line's look as it is (no error colour, no bold).
  virtual void SetMessage(const std::string& text) = 0;
  // Enables or disables the run, trace, step and reset buttons; the stop
  // button stays enabled either way.
  virtual void SetRunButtonsEnabled(bool enabled) = 0;
  // The run state has just been set (0 idle, 1 running, 2 tracing,
  // 3 stepping); the "ファイル(&F)" menu is enabled exactly at 0.
  virtual void RunStateChanged(int state) = 0;
};

// A host without windows: every call does nothing. Hosts that care about a
// few calls only (benchmarks, fuzzing) derive from it.
class TQuietRunHost : public TRunHost {
 public:
  void DeliverPendingEvents() override {}
  bool IsControlDown() const override { return false; }
  void SleepMs(int) override {}
  void ShowExecutionState() override {}
  void RepaintViews() override {}
  void RepaintLabelView() override {}
  void RefreshMemoryView() override {}
  void ClearMemoryCells() override {}
  void RefreshMonitor() override {}
  void InitJumpHistory(int) override {}
  int SelectedListingRow() const override { return 0; }
  void RequestMonitorFront() override {}
  void SetMessage(const std::string&) override {}
  void SetRunButtonsEnabled(bool) override {}
  void RunStateChanged(int) override {}
};
