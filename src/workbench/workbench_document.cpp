#include "workbench/workbench_document.h"

#include <QCoreApplication>
#include <chrono>
#include <thread>

#include "monitor/monitor_model.h"
#include "session/execution_history.h"
#include "session/run_control.h"
#include "workbench/keyboard_table.h"

// Run control's host: answers its questions and passes its events on as the
// document's signals.
class TWorkbenchDocument::THost final : public TRunHost {
 public:
  explicit THost(TWorkbenchDocument& document) : document_(document) {}

  // QCoreApplication::processEvents; run control paces the calls.
  void DeliverPendingEvents() override { QCoreApplication::processEvents(); }
  // The keyboard table's Control key.
  bool IsControlDown() const override { return document_.KeyboardTable().IsControlDown(); }
  // Sleeps the GUI thread (between the trace wait's deliveries).
  void SleepMs(int ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

  void RunStarted(const TRunStart& start) override { emit document_.RunStarted(start); }
  void RunStateChanged(TRunState state) override { emit document_.RunStateChanged(state); }
  void ExecutionStateChanged() override { emit document_.ExecutionStateChanged(); }
  void RunFinished(const TRunOutcome& outcome) override { emit document_.RunFinished(outcome); }
  void MachineReset() override { emit document_.MachineReset(); }
  void WentBack(const TBackOutcome& outcome) override { emit document_.WentBack(outcome); }

 private:
  TWorkbenchDocument& document_;
};

TWorkbenchDocument::TWorkbenchDocument(QObject* parent) : QObject(parent) {
  keyboard_ = std::make_unique<TKeyboardTable>();
  keyboard_->Install();
  monitorModel_ = std::make_unique<TMonitorModel>();
  monitorModel_->SetKeyboardSource(keyboard_.get());
  session_ = std::make_unique<TProgramSession>(*monitorModel_);
  // The history records from the first load on; a machine reset (every
  // load, the reset command) starts it afresh.
  history_ = std::make_unique<TExecutionHistory>(session_->Machine(), *monitorModel_);
  history_->SetEnabled(true);
  host_ = std::make_unique<THost>(*this);
  runControl_ = std::make_unique<TRunControl>(*session_, *host_, runClock_);
  runControl_->SetHistory(history_.get());
}

TWorkbenchDocument::~TWorkbenchDocument() {
  runControl_.reset();
  host_.reset();
  history_.reset();
}

TLoadResult TWorkbenchDocument::LoadFile(const std::string& path, TLoadOutcome& outcome) {
  const TLoadResult result = session_->LoadFile(path, outcome);
  if (outcome.Committed) {
    history_->Start();
    emit HistoryRestarted();
  }
  emit ProgramLoaded(result, outcome);
  return result;
}

TRunState TWorkbenchDocument::RunState() const {
  return runControl_->RunState();
}

void TWorkbenchDocument::SetRunState(TRunState state) {
  runControl_->SetRunState(state);
}

int TWorkbenchDocument::TraceWait() const {
  return runControl_->TraceWait();
}

void TWorkbenchDocument::SetTraceWait(int ms) {
  runControl_->SetTraceWait(ms);
}
