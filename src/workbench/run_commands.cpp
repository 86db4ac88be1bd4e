#include "workbench/run_commands.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

#include "monitor_qt/screen_thread.h"
#include "session/run_control.h"
#include "session/run_report.h"
#include "workbench/label_view.h"
#include "workbench/listing_view.h"
#include "workbench/live_view_refresh.h"
#include "workbench/main_window.h"
#include "workbench/memory_view.h"
#include "workbench/message_line.h"
#include "workbench/tool_buttons.h"
#include "workbench/view_commands.h"
#include "workbench/workbench_document.h"

TRunCommands::TRunCommands(TMainWindow& form) : QObject(&form), form_(form) {
  TWorkbenchDocument* document = &form.Document();
  connect(document, &TWorkbenchDocument::RunStarted, this, &TRunCommands::ShowRunStarted);
  connect(document, &TWorkbenchDocument::RunStateChanged, this, &TRunCommands::ShowRunState);
  connect(document, &TWorkbenchDocument::RunFinished, this, &TRunCommands::ShowRunFinished);
  connect(document, &TWorkbenchDocument::MachineReset, this, &TRunCommands::ShowMachineReset);
  connect(document, &TWorkbenchDocument::WentBack, this, &TRunCommands::ShowWentBack);
  connect(document, &TWorkbenchDocument::HistoryRestarted, this, &TRunCommands::UpdateBackCommands);
  // The toggles only flip their check marks; run control follows them.
  const TMainMenus& menus = form.Menus();
  TRunControl& control = document->RunControl();
  connect(menus.BreakPointStop, &QAction::toggled, this,
          [&control](bool on) { control.SetBreakpointsDuringRun(on); });
  connect(menus.MonitorActive, &QAction::toggled, this,
          [&control](bool on) { control.SetMonitorToFront(on); });
  control.SetBreakpointsDuringRun(menus.BreakPointStop->isChecked());
  control.SetMonitorToFront(menus.MonitorActive->isChecked());
}

// ---------------------------------------------------------------- run events

void TRunCommands::ShowRunStarted(const TRunStart& start) {
  // Run and trace: " 実行中" (the message line keeps its look), the run,
  // trace, step and reset buttons off, the jump history restarted at the
  // selected listing row, the monitor brought to the front when asked. A
  // step changes nothing here.
  if (start.Loop == TRunState::Stepping) return;
  form_.MessageLine()->SetMessageText(RunningText());
  SetRunButtonsEnabled(false);
  form_.Navigator().JumpList().Init(form_.ListingView()->SelectedRow());
  if (start.MonitorToFront) form_.Screen().RequestFront();
  if (start.Loop == TRunState::Running) form_.LiveRefresh().RunStarted();
}

void TRunCommands::ShowRunState(TRunState state) {
  // "ファイル(&F)" is enabled exactly while idle; the back commands follow.
  form_.Menus().File->menuAction()->setEnabled(state == TRunState::Idle);
  UpdateBackCommands();
}

void TRunCommands::ShowRunFinished(const TRunOutcome& outcome) {
  // The execution position and the monitor shown; after run and trace the
  // buttons on and every view repainted, after a step the label view and
  // the memory view; then the outcome text.
  TViewCommands& views = form_.Views();
  form_.LiveRefresh().RunEnded();
  views.ShowExecutionState();
  views.RefreshMonitor();
  if (outcome.Loop == TRunState::Stepping) {
    form_.LabelView()->RepaintAll();
    form_.MemoryView()->RefreshMemoryView();
  } else {
    SetRunButtonsEnabled(true);
    views.RepaintViews();
  }
  form_.MessageLine()->SetMessageText(RunOutcomeText(outcome.Halted, outcome.Steps, outcome.Total));
}

void TRunCommands::ShowMachineReset() {
  // The jump history at row 0, the memory grid's typed texts dropped, the
  // views and the monitor redrawn, " 初期化完了"; nothing to go back to.
  TViewCommands& views = form_.Views();
  form_.Navigator().JumpList().Init(0);
  form_.MemoryView()->ClearMemoryCells();
  views.ShowExecutionState();
  views.RepaintViews();
  views.RefreshMonitor();
  form_.MessageLine()->SetMessageText(ResetDoneText());
  UpdateBackCommands();
}

void TRunCommands::ShowWentBack(const TBackOutcome& outcome) {
  // As after a stopped run: the execution position, the monitor and every
  // view shown afresh; " 戻りました: ..."; the back commands follow.
  TViewCommands& views = form_.Views();
  views.ShowExecutionState();
  views.RefreshMonitor();
  views.RepaintViews();
  form_.MessageLine()->SetMessageText(WentBackText(outcome.Steps, outcome.Total));
  UpdateBackCommands();
}

// ---------------------------------------------------------------- buttons

void TRunCommands::SetRunButtonsEnabled(bool enabled) {
  for (int button :
       {TToolBarPanel::Run, TToolBarPanel::Trace, TToolBarPanel::Step, TToolBarPanel::Reset})
    form_.ToolBar()->ButtonAt(button)->setEnabled(enabled);
}

void TRunCommands::RunOrTraceClick(int tag) {
  form_.Document().RunControl().RunOrTrace(tag == TToolBarPanel::kRunTag ? TRunMode::Run
                                                                         : TRunMode::Trace);
}

void TRunCommands::StepClick() {
  form_.Document().RunControl().StepCommand();
}

void TRunCommands::StopClick() {
  form_.Document().RunControl().Stop();
}

void TRunCommands::ResetClick() {
  form_.Document().RunControl().Reset();
}

void TRunCommands::RunMenuPopup() {
  const TMainMenus& menus = form_.Menus();
  QAction* const items[] = {menus.RunItem, menus.TraceItem, menus.StepItem, menus.StopItem,
                            menus.ResetItem};
  for (int i = 0; i < TToolBarPanel::kButtonCount; ++i)
    items[i]->setEnabled(form_.ToolBar()->ButtonAt(i)->isEnabled());
}

// ---------------------------------------------------------------- going back

void TRunCommands::StepBackClick() {
  form_.Document().RunControl().StepBack();
}

void TRunCommands::StepBackOverCallClick() {
  form_.Document().RunControl().StepBackOverCall();
}

void TRunCommands::RunBackClick() {
  form_.Document().RunControl().RunBack();
}

void TRunCommands::UpdateBackCommands() {
  const bool enabled = form_.Document().RunControl().CanGoBack();
  const TMainMenus& menus = form_.Menus();
  for (QAction* item : {menus.StepBackItem, menus.StepBackOverCallItem, menus.RunBackItem})
    item->setEnabled(enabled);
  for (int i = 0; i < TToolBarPanel::kBackButtonCount; ++i)
    form_.ToolBar()->BackButtonAt(i)->setEnabled(enabled);
}
