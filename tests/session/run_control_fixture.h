// The rig of the run control tests: a fake clock, a fake host that records
// every call and lets a test act inside event delivery, a fixture that
// assembles programs from sources in a temporary folder, and the programs.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "../persistence/temp_folder.h"
#include "assembler/qrx_assembler.h"
#include "machine/machine.h"
#include "monitor/monitor_model.h"
#include "monitor/performance_counter.h"
#include "persistence/encoding.h"
#include "session/program_session.h"
#include "session/run_control.h"
#include "session/run_report.h"

// A clock that moves on by `advance` ticks at every reading.
class TTickingClock : public TClock {
 public:
  int64_t NowTicks() const override {
    ++reads;
    now += advance;
    return now;
  }
  int64_t Frequency() const override { return frequency; }
  double Ms() const {
    return frequency > 0 ? static_cast<double>(now) * 1000.0 / static_cast<double>(frequency) : 0;
  }

  int64_t frequency = 10'000;  // one tick = 0.1 ms
  int64_t advance = 1;
  mutable int64_t now = 0;
  mutable int64_t reads = 0;
};

// Records every question and event in order, written as the view updates the
// workbench makes of them; deliveries and Control can be scripted.
class TFakeHost : public TRunHost {
 public:
  static constexpr uint64_t kRunaway = 5'000'000;

  void DeliverPendingEvents() override {
    ++deliveries;
    deliverySteps.push_back(Machine().StepCount);
    deliveryStates.push_back(control->RunState());
    if (logDeliveries) log.push_back("deliver");
    if (onDeliver) onDeliver();
    // A loop that should have ended long ago is stopped, so a fault fails
    // the test instead of hanging it.
    if (Machine().StepCount > kRunaway) control->Stop();
  }
  bool IsControlDown() const override { return controlDown ? controlDown() : false; }
  // Records the sleep; the clock moves on by it only when asked to.
  void SleepMs(int ms) override {
    sleeps.push_back(ms);
    log.push_back("sleep");
    if (sleepMovesClock) clock->now += ms * clock->frequency / 1000;
  }

  void RunStarted(const TRunStart& start) override {
    starts.push_back(start);
    if (start.Loop == TRunState::Stepping) return;
    SetMessage(RunningText());
    log.push_back("buttons:off");
    log.push_back("jump:" + std::to_string(selectedRow));
    if (start.MonitorToFront) log.push_back("front");
  }
  void RunStateChanged(TRunState state) override {
    log.push_back("state:" + std::to_string(static_cast<int>(state)));
  }
  void ExecutionStateChanged() override { Show(); }
  void RunFinished(const TRunOutcome& outcome) override {
    outcomes.push_back(outcome);
    Show();
    log.push_back("monitor");
    if (outcome.Loop == TRunState::Stepping) {
      log.push_back("labels");
      log.push_back("memory");
    } else {
      log.push_back("buttons:on");
      log.push_back("repaint");
    }
    SetMessage(RunOutcomeText(outcome.Halted, outcome.Steps, outcome.Total));
  }
  void MachineReset() override {
    log.push_back("jump:0");
    log.push_back("clearcells");
    Show();
    log.push_back("repaint");
    log.push_back("monitor");
    SetMessage(ResetDoneText());
  }
  void WentBack(const TBackOutcome& outcome) override {
    backs.push_back(outcome);
    Show();
    log.push_back("monitor");
    log.push_back("repaint");
    SetMessage(WentBackText(outcome.Steps, outcome.Total));
  }

  TQRXEmulater& Machine() const { return session->Machine(); }
  int CurrentLine() const { return Machine().LineOf(Machine().ReadWord(TQRXEmulater::PC)); }

  struct TShown {
    int line;
    TRunState state;
    double ms;
  };

  // What the workbench shows: the listing selects the execution position.
  void Show() {
    log.push_back("show");
    shown.push_back({CurrentLine(), control->RunState(), clock->Ms()});
  }
  void SetMessage(const std::string& text) {
    log.push_back("msg:" + text);
    messages.push_back(text);
  }

  TProgramSession* session = nullptr;
  TRunControl* control = nullptr;
  const TTickingClock* clock = nullptr;
  std::function<void()> onDeliver;
  std::function<bool()> controlDown;
  int selectedRow = 7;
  bool logDeliveries = true;
  bool sleepMovesClock = false;
  std::vector<int> sleeps;
  int deliveries = 0;
  std::vector<uint64_t> deliverySteps;
  std::vector<TRunState> deliveryStates;
  std::vector<std::string> log;
  std::vector<std::string> messages;
  std::vector<TShown> shown;
  std::vector<TRunStart> starts;
  std::vector<TRunOutcome> outcomes;
  std::vector<TBackOutcome> backs;
};

inline std::ostream& operator<<(std::ostream& os, TRunState state) {
  return os << "run state " << static_cast<int>(state);
}

inline std::string Halted(uint64_t steps, uint64_t total) {
  return RunOutcomeText(true, steps, total);
}
inline std::string Stopped(uint64_t steps, uint64_t total) {
  return RunOutcomeText(false, steps, total);
}

class RunControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.Ok());
    setenv("APPDATA", folder.Path("appdata").c_str(), 1);
    setenv("USERPROFILE", folder.Path("profile").c_str(), 1);
    host.session = session.get();
    host.control = &control;
    host.clock = &clock;
  }

  // Loads a program from source lines; fails the test on any error.
  void Load(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
      text += line + "\r\n";
    TLoadOutcome outcome;
    ASSERT_EQ(session->LoadFile(folder.Write("prog.qasm", text), outcome), TLoadResult::Clean);
    host.log.clear();
  }
  // Runs the command whose loop is given.
  void RunCommand(TRunState loop) {
    if (loop == TRunState::Stepping)
      control.StepCommand();
    else
      control.RunOrTrace(loop == TRunState::Running ? TRunMode::Run : TRunMode::Trace);
  }
  // The listing line that carries the label.
  int LineOf(const std::string& label) const {
    const TQRXAssembler& assembler = session->Assembler();
    for (int i = 0; i < assembler.LineCount(); ++i)
      if (assembler.LineAt(i).LabelName == label) return i;
    ADD_FAILURE() << "no line with label " << label;
    return -1;
  }
  void SetBreakpoint(const std::string& label) {
    session->Breakpoints().SetMember(LineOf(label), true);
  }
  TQRXEmulater& Machine() { return session->Machine(); }
  uint64_t Steps() { return Machine().StepCount; }
  const std::string& LastMessage() { return host.messages.back(); }
  // The lines shown while the loop ran (not the closing show).
  std::vector<int> LinesShownAt(TRunState state) const {
    std::vector<int> lines;
    for (const auto& s : host.shown)
      if (s.state == state) lines.push_back(s.line);
    return lines;
  }
  std::vector<int> Lines(const std::vector<const char*>& labels) const {
    std::vector<int> lines;
    for (const char* label : labels)
      lines.push_back(LineOf(label));
    return lines;
  }

  TTempFolder folder;
  TMonitorModel monitor;
  std::unique_ptr<TProgramSession> session = std::make_unique<TProgramSession>(monitor);
  TTickingClock clock;
  TFakeHost host;
  TRunControl control{*session, host, clock};
};

// A countdown of three turns: 1 + 3 * 3 + 1 = 11 instructions.
inline const std::vector<std::string> kCountdown = {
    "START:  LD   N, #3", "LOOP:   ADD  N, #0FFFFh", "        CMP  N, #0", "        JPF  LOOP, ZF",
    "FIN:    HALT",       "N:      DW   9",
};
// Counts up for ever.
inline const std::vector<std::string> kForever = {
    "LOOP:   ADD  N, #1",
    "BACK:   JP   LOOP",
    "N:      DW   0",
};
// A subroutine with a line worth a breakpoint: CALL, LD, LD, RET, HALT.
inline const std::vector<std::string> kCallSub = {
    "        CALL SUB",   "AFTER:  HALT", "SUB:    LD   N, #1",
    "INNER:  LD   N, #2", "LAST:   RET",  "N:      DW   0",
};
// The same subroutine inside a unit, which starts hidden.
inline const std::vector<std::string> kCallHiddenSub = {
    "        USES LIB", "        CALL SUB",   "AFTER:  HALT",
    "LIB:    UNIT",     "SUB:    LD   N, #1", "INNER:  LD   N, #2",
    "        RET",      "N:      DW   0",     "        ENDUNIT",
};
// Two visible lines after the first instruction, then HALT.
inline const std::vector<std::string> kStraight = {
    "        LD   N, #1",
    "MID:    LD   N, #2",
    "FIN:    HALT",
    "N:      DW   0",
};
// Traces through a call: CALL, three lines inside, two lines after.
inline const std::vector<std::string> kTraceCall = {
    "        CALL TD",    "TB:     LD   N, #3", "TC:     HALT",   "TD:     LD   N, #1",
    "TE:     LD   N, #2", "TF:     RET",        "N:      DW   0",
};
// A long subroutine (2000 turns of three instructions) between CALL and HALT.
inline const std::vector<std::string> kLongSub = {
    "        CALL SUB",      "AFTER:  HALT",
    "SUB:    LD   N, #2000", "LOOP:   ADD  N, #0FFFFh",
    "        CMP  N, #0",    "        JPF  LOOP, ZF",
    "        RET",           "N:      DW   0",
};
