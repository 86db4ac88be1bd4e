// What run control asks of the main window: the window's side of the run,
// trace, step, stop and reset commands. TForm1 owns one of these next to its
// TRunControl; every call comes on the GUI thread.
#pragma once

#include <string>

#include "session/run_host.h"

class TForm1;

class TWorkbenchRunHost final : public TRunHost {
 public:
  explicit TWorkbenchRunHost(TForm1& form) : form_(form) {}

  // QCoreApplication::processEvents; run control paces the calls.
  void DeliverPendingEvents() override;
  // The keyboard table's Control key.
  bool IsControlDown() const override;
  // Sleeps the GUI thread (between the trace wait's deliveries).
  void SleepMs(int ms) override;
  void ShowExecutionState() override;
  void RepaintViews() override;
  void RepaintLabelView() override;
  void RefreshMemoryView() override;
  void ClearMemoryCells() override;
  // The monitor window's Refresh, once the screen thread has created it.
  void RefreshMonitor() override;
  // The jump history restarts at the row.
  void InitJumpHistory(int row) override;
  int SelectedListingRow() const override;
  // The screen thread's RequestFront.
  void RequestMonitorFront() override;
  // The message line's text; its look (normal or alarm) stays.
  void SetMessage(const std::string& text) override;
  // Buttons run, trace, step and reset; stop keeps its state.
  void SetRunButtonsEnabled(bool enabled) override;
  // "ファイル(&F)" is enabled exactly at run state 0.
  void RunStateChanged(int state) override;

 private:
  TForm1& form_;
};
