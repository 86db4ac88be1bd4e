// Run control in the main window: the handlers of the five run buttons and
// of "実行(&R)"'s items, the back commands ("1命令戻る(&P)",
// "CALLの前まで戻る(&C)", "逆実行(&V)") with their buttons, and what the window
// shows for run control's events (the document's signals).
#pragma once

#include <QObject>

#include "session/run_host.h"

class TMainWindow;

class TRunCommands : public QObject {
  Q_OBJECT

 public:
  // Follows the document's run events and hands run control the toggles
  // "ブレークポイントで停止" and the monitor-to-front item, also while a run
  // goes on (a run looks at its toggles after each delivery).
  explicit TRunCommands(TMainWindow& form);

  // The run, trace, step and reset buttons.
  void SetRunButtonsEnabled(bool enabled);
  // The back commands' buttons and menu items are enabled exactly when run
  // control can go back (idle, with a past in the history).
  void UpdateBackCommands();

 public slots:
  // Run and trace share the handler, the tag decides (1 run, any other
  // trace); step, stop, reset.
  void RunOrTraceClick(int tag);
  void StepClick();
  void StopClick();
  void ResetClick();
  void StepBackClick();
  void StepBackOverCallClick();
  void RunBackClick();
  // "実行(&R)" opens: its items follow the buttons.
  void RunMenuPopup();

 private:
  void ShowRunStarted(const TRunStart& start);
  void ShowRunState(TRunState state);
  void ShowRunFinished(const TRunOutcome& outcome);
  void ShowMachineReset();
  void ShowWentBack(const TBackOutcome& outcome);

  TMainWindow& form_;
};
