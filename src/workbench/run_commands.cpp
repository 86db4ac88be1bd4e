// Run control in the main window: the window's side of the commands (the
// run host), the handlers of the five buttons, the back commands and their
// menu items, the execution history, and the run state, trace wait and
// toggles that run control reads.
#include "workbench/run_commands.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QToolButton>
#include <chrono>
#include <thread>

#include "monitor_qt/form_mon.h"
#include "monitor_qt/screen_thread.h"
#include "session/execution_history.h"
#include "session/program_session.h"
#include "session/run_control.h"
#include "session/run_report.h"
#include "workbench/keyboard_table.h"
#include "workbench/label_view.h"
#include "workbench/listing_view.h"
#include "workbench/live_view_refresh.h"
#include "workbench/main_window.h"
#include "workbench/memory_view.h"
#include "workbench/message_line.h"
#include "workbench/tool_buttons.h"

// ---------------------------------------------------------------- run host

void TWorkbenchRunHost::DeliverPendingEvents() {
  QCoreApplication::processEvents();
}

void TWorkbenchRunHost::SleepMs(int ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

bool TWorkbenchRunHost::IsControlDown() const {
  return form_.IsControlDown();
}

void TWorkbenchRunHost::RunStarted(const TRunStart& start) {
  if (start.Loop == TRunState::Stepping) return;
  form_.MessageLine()->SetMessageText(RunningText());
  SetRunButtonsEnabled(false);
  form_.JumpList().Init(form_.ListingView()->SelectedRow());
  if (start.MonitorToFront) form_.Screen().RequestFront();
  if (start.Loop == TRunState::Running) form_.LiveRefresh().RunStarted();
}

void TWorkbenchRunHost::RunStateChanged(TRunState state) {
  form_.Menus().File->menuAction()->setEnabled(state == TRunState::Idle);
  form_.UpdateBackCommands();
}

void TWorkbenchRunHost::ExecutionStateChanged() {
  form_.ShowExecutionState();
}

void TWorkbenchRunHost::RunFinished(const TRunOutcome& outcome) {
  form_.LiveRefresh().RunEnded();
  form_.ShowExecutionState();
  RefreshMonitor();
  if (outcome.Loop == TRunState::Stepping) {
    form_.LabelView()->RepaintAll();
    form_.MemoryView()->RefreshMemoryView();
  } else {
    SetRunButtonsEnabled(true);
    form_.RepaintViews();
  }
  form_.MessageLine()->SetMessageText(RunOutcomeText(outcome.Halted, outcome.Steps, outcome.Total));
}

void TWorkbenchRunHost::MachineReset() {
  form_.JumpList().Init(0);
  form_.MemoryView()->ClearMemoryCells();
  form_.ShowExecutionState();
  form_.RepaintViews();
  RefreshMonitor();
  form_.MessageLine()->SetMessageText(ResetDoneText());
  form_.UpdateBackCommands();
}

void TWorkbenchRunHost::WentBack(const TBackOutcome& outcome) {
  form_.ShowExecutionState();
  RefreshMonitor();
  form_.RepaintViews();
  form_.MessageLine()->SetMessageText(WentBackText(outcome.Steps, outcome.Total));
  form_.UpdateBackCommands();
}

void TWorkbenchRunHost::SetRunButtonsEnabled(bool enabled) {
  TToolBarPanel* bar = form_.ToolBar();
  for (int button :
       {TToolBarPanel::Run, TToolBarPanel::Trace, TToolBarPanel::Step, TToolBarPanel::Reset})
    bar->ButtonAt(button)->setEnabled(enabled);
}

void TWorkbenchRunHost::RefreshMonitor() {
  if (TFormMon* monitor = form_.Screen().Monitor()) monitor->Refresh();
}

// ---------------------------------------------------------------- TForm1

void TForm1::SetUpRunControl() {
  // The history records from the first load on; a machine reset (every
  // load, the reset command) starts it afresh.
  history_ = std::make_unique<TExecutionHistory>(session_->Machine(), *monitorModel_);
  history_->SetEnabled(true);
  runHost_ = std::make_unique<TWorkbenchRunHost>(*this);
  runControl_ = std::make_unique<TRunControl>(*session_, *runHost_, runClock_);
  runControl_->SetHistory(history_.get());
  // The toggles only flip their check marks; run control follows them, also
  // while a run is going on (a run looks at its toggle after each delivery).
  connect(menus_.BreakPointStop, &QAction::toggled, this,
          [this](bool on) { runControl_->SetBreakpointsDuringRun(on); });
  connect(menus_.MonitorActive, &QAction::toggled, this,
          [this](bool on) { runControl_->SetMonitorToFront(on); });
  runControl_->SetBreakpointsDuringRun(menus_.BreakPointStop->isChecked());
  runControl_->SetMonitorToFront(menus_.MonitorActive->isChecked());
}

TRunState TForm1::RunState() const {
  return runControl_->RunState();
}

void TForm1::SetRunState(TRunState state) {
  runControl_->SetRunState(state);
}

int TForm1::TraceWait() const {
  return runControl_->TraceWait();
}

void TForm1::SetTraceWait(int ms) {
  runControl_->SetTraceWait(ms);
}

void TForm1::SpeedButton1Click(int tag) {
  runControl_->RunOrTrace(tag == TToolBarPanel::kRunTag ? TRunMode::Run : TRunMode::Trace);
}

void TForm1::SpeedButton3Click() {
  runControl_->StepCommand();
}

void TForm1::SpeedButton4Click() {
  runControl_->Stop();
}

void TForm1::SpeedButton5Click() {
  runControl_->Reset();
}

// ---------------------------------------------------------------- going back

void TForm1::StepBackClick() {
  runControl_->StepBack();
}

void TForm1::StepBackOverCallClick() {
  runControl_->StepBackOverCall();
}

void TForm1::RunBackClick() {
  runControl_->RunBack();
}

void TForm1::UpdateBackCommands() {
  const bool enabled = runControl_->CanGoBack();
  for (QAction* item : {menus_.StepBackItem, menus_.StepBackOverCallItem, menus_.RunBackItem})
    item->setEnabled(enabled);
  for (int i = 0; i < TToolBarPanel::kBackButtonCount; ++i)
    toolBar_->BackButtonAt(i)->setEnabled(enabled);
}

void TForm1::RestartHistory() {
  history_->Start();
  UpdateBackCommands();
}
