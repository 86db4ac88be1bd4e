// Run control in the main window: the window's side of the commands (the
// run host), the handlers of the five buttons and their menu items, and the
// run state, trace wait and toggles that run control reads.
#include "workbench/run_commands.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QToolButton>
#include <chrono>
#include <thread>

#include "monitor_qt/form_mon.h"
#include "monitor_qt/screen_thread.h"
#include "session/run_control.h"
#include "workbench/keyboard_table.h"
#include "workbench/label_view.h"
#include "workbench/listing_view.h"
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

void TWorkbenchRunHost::ShowExecutionState() {
  form_.ShowExecutionState();
}

void TWorkbenchRunHost::RepaintViews() {
  form_.RepaintViews();
}

void TWorkbenchRunHost::RepaintLabelView() {
  form_.LabelView()->RepaintAll();
}

void TWorkbenchRunHost::RefreshMemoryView() {
  form_.MemoryView()->RefreshMemoryView();
}

void TWorkbenchRunHost::ClearMemoryCells() {
  form_.MemoryView()->ClearMemoryCells();
}

void TWorkbenchRunHost::RefreshMonitor() {
  if (TFormMon* monitor = form_.Screen().Monitor()) monitor->Refresh();
}

void TWorkbenchRunHost::InitJumpHistory(int row) {
  form_.JumpList().Init(row);
}

int TWorkbenchRunHost::SelectedListingRow() const {
  return form_.ListingView()->SelectedRow();
}

void TWorkbenchRunHost::RequestMonitorFront() {
  form_.Screen().RequestFront();
}

void TWorkbenchRunHost::SetMessage(const std::string& text) {
  form_.MessageLine()->SetMessageText(text);
}

void TWorkbenchRunHost::SetRunButtonsEnabled(bool enabled) {
  TToolBarPanel* bar = form_.ToolBar();
  for (int button :
       {TToolBarPanel::Run, TToolBarPanel::Trace, TToolBarPanel::Step, TToolBarPanel::Reset})
    bar->ButtonAt(button)->setEnabled(enabled);
}

void TWorkbenchRunHost::RunStateChanged(int state) {
  form_.Menus().File->menuAction()->setEnabled(state == TRunControl::kIdle);
}

// ---------------------------------------------------------------- TForm1

void TForm1::SetUpRunControl() {
  runHost_ = std::make_unique<TWorkbenchRunHost>(*this);
  runControl_ = std::make_unique<TRunControl>(*session_, *runHost_, runClock_);
  // The toggles only flip their check marks; run control follows them, also
  // while a run is going on (a run looks at its toggle after each delivery).
  connect(menus_.BreakPointStop, &QAction::toggled, this,
          [this](bool on) { runControl_->SetBreakpointsDuringRun(on); });
  connect(menus_.MonitorActive, &QAction::toggled, this,
          [this](bool on) { runControl_->SetMonitorToFront(on); });
  runControl_->SetBreakpointsDuringRun(menus_.BreakPointStop->isChecked());
  runControl_->SetMonitorToFront(menus_.MonitorActive->isChecked());
}

int TForm1::RunState() const {
  return runControl_->RunState();
}

void TForm1::SetRunState(int state) {
  runControl_->SetRunState(state);
}

int TForm1::TraceWait() const {
  return runControl_->TraceWait();
}

void TForm1::SetTraceWait(int ms) {
  runControl_->SetTraceWait(ms);
}

void TForm1::SpeedButton1Click(int tag) {
  runControl_->RunOrTrace(tag);
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
