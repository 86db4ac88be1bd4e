// Run control in the main window: how the views follow run control's events
// (the document's signals), the handlers of the five buttons, the back
// commands and their menu items, and the toggles that run control reads.

#include <QAction>
#include <QMenu>
#include <QToolButton>

#include "monitor_qt/form_mon.h"
#include "monitor_qt/screen_thread.h"
#include "session/execution_history.h"
#include "session/program_session.h"
#include "session/run_control.h"
#include "session/run_report.h"
#include "workbench/label_view.h"
#include "workbench/listing_view.h"
#include "workbench/live_view_refresh.h"
#include "workbench/main_window.h"
#include "workbench/memory_view.h"
#include "workbench/message_line.h"
#include "workbench/tool_buttons.h"
#include "workbench/workbench_document.h"

// ---------------------------------------------------------------- run events

void TMainWindow::ShowRunStarted(const TRunStart& start) {
  // Run and trace: " 実行中" (the message line keeps its look), the run,
  // trace, step and reset buttons off, the jump history restarted at the
  // selected listing row, the monitor brought to the front when asked. A
  // step changes nothing here.
  if (start.Loop == TRunState::Stepping) return;
  MessageLine()->SetMessageText(RunningText());
  SetRunButtonsEnabled(false);
  navigator_->JumpList().Init(listingView_->SelectedRow());
  if (start.MonitorToFront) screen_->RequestFront();
  if (start.Loop == TRunState::Running) liveRefresh_->RunStarted();
}

void TMainWindow::ShowRunState(TRunState state) {
  // "ファイル(&F)" is enabled exactly while idle; the back commands follow.
  menus_.File->menuAction()->setEnabled(state == TRunState::Idle);
  UpdateBackCommands();
}

void TMainWindow::ShowRunFinished(const TRunOutcome& outcome) {
  // The execution position and the monitor shown; after run and trace the
  // buttons on and every view repainted, after a step the label view and
  // the memory view; then the outcome text.
  liveRefresh_->RunEnded();
  ShowExecutionState();
  RefreshMonitor();
  if (outcome.Loop == TRunState::Stepping) {
    labelView_->RepaintAll();
    memoryView_->RefreshMemoryView();
  } else {
    SetRunButtonsEnabled(true);
    RepaintViews();
  }
  MessageLine()->SetMessageText(RunOutcomeText(outcome.Halted, outcome.Steps, outcome.Total));
}

void TMainWindow::ShowMachineReset() {
  // The jump history at row 0, the memory grid's typed texts dropped, the
  // views and the monitor redrawn, " 初期化完了"; nothing to go back to.
  navigator_->JumpList().Init(0);
  memoryView_->ClearMemoryCells();
  ShowExecutionState();
  RepaintViews();
  RefreshMonitor();
  MessageLine()->SetMessageText(ResetDoneText());
  UpdateBackCommands();
}

void TMainWindow::ShowWentBack(const TBackOutcome& outcome) {
  // As after a stopped run: the execution position, the monitor and every
  // view shown afresh; " 戻りました: ..."; the back commands follow.
  ShowExecutionState();
  RefreshMonitor();
  RepaintViews();
  MessageLine()->SetMessageText(WentBackText(outcome.Steps, outcome.Total));
  UpdateBackCommands();
}

void TMainWindow::SetRunButtonsEnabled(bool enabled) {
  for (int button :
       {TToolBarPanel::Run, TToolBarPanel::Trace, TToolBarPanel::Step, TToolBarPanel::Reset})
    toolBar_->ButtonAt(button)->setEnabled(enabled);
}

void TMainWindow::RefreshMonitor() {
  if (TFormMon* monitor = screen_->Monitor()) monitor->Refresh();
}

// ---------------------------------------------------------------- TMainWindow

void TMainWindow::ConnectDocument() {
  TWorkbenchDocument* document = document_.get();
  connect(document, &TWorkbenchDocument::RunStarted, this, &TMainWindow::ShowRunStarted);
  connect(document, &TWorkbenchDocument::RunStateChanged, this, &TMainWindow::ShowRunState);
  connect(document, &TWorkbenchDocument::ExecutionStateChanged, this,
          &TMainWindow::ShowExecutionState);
  connect(document, &TWorkbenchDocument::RunFinished, this, &TMainWindow::ShowRunFinished);
  connect(document, &TWorkbenchDocument::MachineReset, this, &TMainWindow::ShowMachineReset);
  connect(document, &TWorkbenchDocument::WentBack, this, &TMainWindow::ShowWentBack);
  connect(document, &TWorkbenchDocument::HistoryRestarted, this, &TMainWindow::UpdateBackCommands);
  connect(document, &TWorkbenchDocument::ProgramLoaded, this, &TMainWindow::ShowLoadOutcome);
  // The toggles only flip their check marks; run control follows them, also
  // while a run is going on (a run looks at its toggle after each delivery).
  connect(menus_.BreakPointStop, &QAction::toggled, this,
          [this](bool on) { document_->RunControl().SetBreakpointsDuringRun(on); });
  connect(menus_.MonitorActive, &QAction::toggled, this,
          [this](bool on) { document_->RunControl().SetMonitorToFront(on); });
  document_->RunControl().SetBreakpointsDuringRun(menus_.BreakPointStop->isChecked());
  document_->RunControl().SetMonitorToFront(menus_.MonitorActive->isChecked());
}

void TMainWindow::RunOrTraceClick(int tag) {
  document_->RunControl().RunOrTrace(tag == TToolBarPanel::kRunTag ? TRunMode::Run
                                                                   : TRunMode::Trace);
}

void TMainWindow::StepClick() {
  document_->RunControl().StepCommand();
}

void TMainWindow::StopClick() {
  document_->RunControl().Stop();
}

void TMainWindow::ResetClick() {
  document_->RunControl().Reset();
}

// ---------------------------------------------------------------- going back

void TMainWindow::StepBackClick() {
  document_->RunControl().StepBack();
}

void TMainWindow::StepBackOverCallClick() {
  document_->RunControl().StepBackOverCall();
}

void TMainWindow::RunBackClick() {
  document_->RunControl().RunBack();
}

void TMainWindow::UpdateBackCommands() {
  const bool enabled = document_->RunControl().CanGoBack();
  for (QAction* item : {menus_.StepBackItem, menus_.StepBackOverCallItem, menus_.RunBackItem})
    item->setEnabled(enabled);
  for (int i = 0; i < TToolBarPanel::kBackButtonCount; ++i)
    toolBar_->BackButtonAt(i)->setEnabled(enabled);
}
