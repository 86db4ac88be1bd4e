// The main window's side of run control: it answers run control's questions
// and turns the events run control reports into the view updates of the run,
// trace, step, stop and reset commands and of going back. TMainWindow owns one of these next to its
// TRunControl; every call comes on the GUI thread.
#pragma once

#include <string>

#include "session/run_host.h"

class TMainWindow;

class TWorkbenchRunHost final : public TRunHost {
 public:
  explicit TWorkbenchRunHost(TMainWindow& form) : form_(form) {}

  // QCoreApplication::processEvents; run control paces the calls.
  void DeliverPendingEvents() override;
  // The keyboard table's Control key.
  bool IsControlDown() const override;
  // Sleeps the GUI thread (between the trace wait's deliveries).
  void SleepMs(int ms) override;

  // Run and trace: " 実行中" (the message line keeps its look), the run,
  // trace, step and reset buttons off, the jump history restarted at the
  // selected listing row, the monitor brought to the front when asked.
  // A step changes nothing here.
  void RunStarted(const TRunStart& start) override;
  // "ファイル(&F)" is enabled exactly while idle; the back commands follow.
  void RunStateChanged(TRunState state) override;
  // The listing, labels and memory show the execution position.
  void ExecutionStateChanged() override;
  // The execution position and the monitor shown; after run and trace the
  // buttons on and every view repainted, after a step the label view and
  // the memory view; then the outcome text.
  void RunFinished(const TRunOutcome& outcome) override;
  // The jump history at row 0, the memory grid's typed texts dropped, the
  // views and the monitor redrawn, " 初期化完了"; nothing to go back to.
  void MachineReset() override;
  // As after a stopped run: the execution position, the monitor and every
  // view shown afresh; " 戻りました: ..."; the back commands follow.
  void WentBack(const TBackOutcome& outcome) override;

 private:
  void SetRunButtonsEnabled(bool enabled);
  void RefreshMonitor();

  TMainWindow& form_;
};
