// The program the workbench works on, apart from any window: the keyboard
// table and the monitor model the machine reads and writes, the program
// session, the execution history and run control. It is run control's host
// and reports what happens as signals; the main window turns them into view
// updates. Everything runs on the GUI thread; only RunState may be read from
// any thread.
#pragma once

#include <QObject>
#include <memory>
#include <string>

#include "monitor/performance_counter.h"
#include "session/load_result.h"
#include "session/program_session.h"
#include "session/run_host.h"

class TExecutionHistory;
class TKeyboardTable;
class TMonitorModel;
class TRunControl;

class TWorkbenchDocument : public QObject {
  Q_OBJECT

 public:
  // Installs the keyboard table on the application.
  explicit TWorkbenchDocument(QObject* parent = nullptr);
  // Run control and the history go before the session: the history gives
  // the machine its monitor back.
  ~TWorkbenchDocument() override;

  TKeyboardTable& KeyboardTable() { return *keyboard_; }
  TMonitorModel& MonitorModel() { return *monitorModel_; }
  TProgramSession& Session() { return *session_; }
  // The execution history that run control records into and goes back in.
  TExecutionHistory& History() { return *history_; }
  // The run, trace, step, stop, reset and back commands.
  TRunControl& RunControl() { return *runControl_; }

  // Opens a source or state file. A committed load starts a new execution
  // history (a restored state is a new start like a loaded program):
  // HistoryRestarted; then ProgramLoaded reports the outcome.
  TLoadResult LoadFile(const std::string& path, TLoadOutcome& outcome);

  // Run control's run state (safe to read from any thread).
  TRunState RunState() const;
  void SetRunState(TRunState state);
  // The trace wait in milliseconds.
  int TraceWait() const;
  void SetTraceWait(int ms);

 signals:
  void ProgramLoaded(TLoadResult result, const TLoadOutcome& outcome);
  void HistoryRestarted();
  // Run control's events, as session/run_host.h describes them.
  void RunStarted(const TRunStart& start);
  void RunStateChanged(TRunState state);
  void ExecutionStateChanged();
  void RunFinished(const TRunOutcome& outcome);
  void MachineReset();
  void WentBack(const TBackOutcome& outcome);

 private:
  class THost;

  std::unique_ptr<TKeyboardTable> keyboard_;
  std::unique_ptr<TMonitorModel> monitorModel_;
  std::unique_ptr<TProgramSession> session_;
  // Run control keeps references to its clock, the history and its host.
  TSteadyClock runClock_;
  std::unique_ptr<TExecutionHistory> history_;
  std::unique_ptr<THost> host_;
  std::unique_ptr<TRunControl> runControl_;
};
