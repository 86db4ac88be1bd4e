// Run control driven through a fake host and a fake clock, on programs
// assembled from sources in a temporary folder.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "persistence/encoding.h"
#include "run_control_fixture.h"
#include "session/run_control.h"
#include "session/run_report.h"

namespace {

// The commands by the loop they run.
constexpr TRunState kRun = TRunState::Running;
constexpr TRunState kTrace = TRunState::Tracing;
constexpr TRunState kStep = TRunState::Stepping;

// ---------------------------------------------------------------- outcome

TEST_F(RunControlTest, RunEndsOnHaltWithTheFinishedTextAndTotals) {
  Load(kCountdown);
  control.RunOrTrace(TRunMode::Run);
  EXPECT_EQ(Steps(), 11u);
  EXPECT_EQ(Machine().ReadWord(Machine().ReadWord(TQRXEmulater::PC)), 0xFFF0);
  EXPECT_EQ(host.messages.front(), RunningText());
  EXPECT_EQ(LastMessage(), Halted(11, 11));
  EXPECT_EQ(control.RunState(), TRunState::Idle);

  // A second run executes the HALT once more.
  control.RunOrTrace(TRunMode::Run);
  EXPECT_EQ(LastMessage(), Halted(1, 12));
}

TEST_F(RunControlTest, ReportGroupsLargeCountsInThrees) {
  Load({"        LD   N, #1000", "LOOP:   ADD  N, #0FFFFh", "        CMP  N, #0",
        "        JPF  LOOP, ZF", "        HALT", "N:      DW   0"});
  Machine().StepCount = 1'234'567 - 3'002;  // the run adds 1 + 3 * 1000 + 1
  control.RunOrTrace(TRunMode::Run);
  EXPECT_EQ(LastMessage(), Sjis(" 実行終了: 3,002steps(Total:1,234,567steps)"));
}

TEST_F(RunControlTest, StepOnHaltExecutesItOnceAndReportsFinished) {
  Load({"        HALT"});
  control.StepCommand();
  EXPECT_EQ(LastMessage(), Halted(1, 1));
  control.StepCommand();
  EXPECT_EQ(LastMessage(), Halted(1, 2));
  EXPECT_EQ(Machine().ReadWord(TQRXEmulater::PC), 0);
}

TEST_F(RunControlTest, ResetReloadsAndClearsTheStepCount) {
  Load(kCountdown);
  control.RunOrTrace(TRunMode::Run);
  const uint16_t n = 13;  // LD 3 words, ADD 3, CMP 3, JPF 3, HALT 1
  ASSERT_EQ(Machine().ReadWord(n), 0);
  session->SetReferenceDepth(5);
  control.Reset();
  EXPECT_EQ(LastMessage(), ResetDoneText());
  EXPECT_EQ(Steps(), 0u);
  EXPECT_EQ(Machine().ReadWord(TQRXEmulater::PC), 0);
  EXPECT_EQ(Machine().ReadWord(n), 9);
  EXPECT_EQ(session->ReferenceDepth(), 0);

  control.StepCommand();
  EXPECT_EQ(LastMessage(), Stopped(1, 1));
  control.RunOrTrace(TRunMode::Run);
  EXPECT_EQ(LastMessage(), Halted(10, 11));
}

TEST_F(RunControlTest, ResetDuringAStepDoesNotWrapTheReportedCount) {
  Load(kLongSub);
  control.RunOrTrace(TRunMode::Run);         // 6004 instructions
  Machine().WriteWord(TQRXEmulater::PC, 0);  // back to the CALL, count kept
  bool resetDone = false;
  host.onDeliver = [&] {
    if (!resetDone && control.RunState() == TRunState::Stepping) {
      resetDone = true;
      control.Reset();
    }
  };
  control.StepCommand();
  ASSERT_TRUE(resetDone);
  // The step went on from the start of the reloaded program, over the call
  // again; the report counts from the reset instead of wrapping below zero.
  EXPECT_EQ(Steps(), 6003u);
  EXPECT_EQ(LastMessage(), Stopped(6003, 6003));
}

// ---------------------------------------------------------------- breakpoints

TEST_F(RunControlTest, BreakpointOnTheStartingLineStopsTheNextTimeItIsReached) {
  Load(kForever);
  SetBreakpoint("LOOP");
  control.RunOrTrace(TRunMode::Run);
  EXPECT_EQ(Steps(), 2u);
  EXPECT_EQ(host.CurrentLine(), LineOf("LOOP"));
  EXPECT_EQ(LastMessage(), Stopped(2, 2));
  control.RunOrTrace(TRunMode::Run);
  EXPECT_EQ(LastMessage(), Stopped(2, 4));
}

struct TBreakCase {
  const char* name;
  const std::vector<std::string>* program;
  TRunState command;  // the loop of the command: run, trace or step
  bool duringRun;
  uint64_t steps;
  bool halted;
  const char* stopLabel;
};
void PrintTo(const TBreakCase& c, std::ostream* os) {
  *os << c.name;
}

class Breakpoints : public RunControlTest, public ::testing::WithParamInterface<TBreakCase> {};

TEST_P(Breakpoints, EachCommandHonoursThemAsItShould) {
  const TBreakCase& c = GetParam();
  Load(*c.program);
  SetBreakpoint("INNER");
  control.SetBreakpointsDuringRun(c.duringRun);
  control.SetTraceWait(0);
  RunCommand(c.command);
  EXPECT_EQ(Steps(), c.steps);
  EXPECT_EQ(LastMessage(), c.halted ? Halted(c.steps, c.steps) : Stopped(c.steps, c.steps));
  EXPECT_EQ(host.CurrentLine(), LineOf(c.stopLabel));
}

INSTANTIATE_TEST_SUITE_P(
    RunTraceStep, Breakpoints,
    ::testing::Values(
        TBreakCase{"RunStops", &kCallSub, kRun, true, 2, false, "INNER"},
        TBreakCase{"RunWithToggleOffPasses", &kCallSub, kRun, false, 5, true, "AFTER"},
        TBreakCase{"TraceStopsWithToggleOff", &kCallSub, kTrace, false, 2, false, "INNER"},
        TBreakCase{"StepOverCallStopsWithToggleOff", &kCallSub, kStep, false, 2, false, "INNER"},
        TBreakCase{"HiddenStopsARun", &kCallHiddenSub, kRun, true, 2, false, "INNER"},
        TBreakCase{"HiddenNeverStopsATrace", &kCallHiddenSub, kTrace, true, 5, true, "AFTER"},
        TBreakCase{"HiddenNeverStopsAStep", &kCallHiddenSub, kStep, true, 4, false, "AFTER"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RunControlTest, BreakpointsChangedBetweenCommandsAreHonoured) {
  Load(kCallSub);
  SetBreakpoint("SUB");
  control.RunOrTrace(TRunMode::Run);
  EXPECT_EQ(host.CurrentLine(), LineOf("SUB"));
  session->Breakpoints().SetMember(LineOf("SUB"), false);
  SetBreakpoint("LAST");
  control.RunOrTrace(TRunMode::Run);
  EXPECT_EQ(host.CurrentLine(), LineOf("LAST"));
  session->Breakpoints().Clear();
  control.RunOrTrace(TRunMode::Run);
  EXPECT_EQ(LastMessage(), Halted(2, 5));
}

TEST_F(RunControlTest, BreakpointOrToggleChangedWhileRunningIsHonoured) {
  for (bool setToggle : {false, true}) {
    SCOPED_TRACE(setToggle);
    Load(kForever);
    host.deliveries = 0;
    host.deliverySteps.clear();
    if (setToggle) {
      // The breakpoint is there from the start; the toggle goes on later.
      SetBreakpoint("BACK");
      control.SetBreakpointsDuringRun(false);
      host.onDeliver = [&] { control.SetBreakpointsDuringRun(true); };
    } else {
      session->Breakpoints().Clear();
      control.SetBreakpointsDuringRun(true);
      host.onDeliver = [&] { SetBreakpoint("BACK"); };
    }
    control.RunOrTrace(TRunMode::Run);
    ASSERT_EQ(host.deliveries, 1);
    EXPECT_LE(Steps() - host.deliverySteps[0], 2u);
    EXPECT_EQ(host.CurrentLine(), LineOf("BACK"));
    EXPECT_EQ(LastMessage(), Stopped(Steps(), Steps()));
  }
}

// ---------------------------------------------------------------- step depth

TEST_F(RunControlTest, StepOverACallRunsTheSubroutineAndStepIntoStopsInside) {
  Load(kCallSub);
  control.StepCommand();
  EXPECT_EQ(Steps(), 4u);
  EXPECT_EQ(host.CurrentLine(), LineOf("AFTER"));
  EXPECT_EQ(Machine().CallDepth, 0);

  control.Reset();
  host.controlDown = [] { return true; };
  control.StepCommand();
  EXPECT_EQ(Steps(), 1u);
  EXPECT_EQ(host.CurrentLine(), LineOf("SUB"));
  EXPECT_EQ(session->ReferenceDepth(), 1);
  // Further steps inside, Control let go, go line by line and return.
  host.controlDown = nullptr;
  control.StepCommand();
  EXPECT_EQ(host.CurrentLine(), LineOf("INNER"));
  control.StepCommand();
  control.StepCommand();
  EXPECT_EQ(host.CurrentLine(), LineOf("AFTER"));
  EXPECT_EQ(LastMessage(), Stopped(1, 4));
}

TEST_F(RunControlTest, StepIntoAHiddenSubroutineStopsAfterItReturns) {
  Load(kCallHiddenSub);
  host.controlDown = [] { return true; };
  control.StepCommand();
  EXPECT_EQ(Steps(), 4u);
  EXPECT_EQ(host.CurrentLine(), LineOf("AFTER"));
}

// ---------------------------------------------------------------- trace

struct TTraceCase {
  const char* name;
  // Control down as a function of the instructions executed and the number
  // of times Control was asked.
  std::function<bool(uint64_t steps, int asks)> control;
  std::vector<const char*> shown;
};
void PrintTo(const TTraceCase& c, std::ostream* os) {
  *os << c.name;
}

class TraceDepth : public RunControlTest, public ::testing::WithParamInterface<TTraceCase> {};

TEST_P(TraceDepth, ShowsLinesAtTheStartDepthUnlessControlIsHeld) {
  const TTraceCase& c = GetParam();
  Load(kTraceCall);
  control.SetTraceWait(0);
  int asks = 0;
  host.controlDown = [&] { return c.control(Steps(), ++asks); };
  control.RunOrTrace(TRunMode::Trace);
  EXPECT_EQ(LinesShownAt(TRunState::Tracing), Lines(c.shown));
  EXPECT_EQ(LastMessage(), Halted(6, 6));
}

INSTANTIATE_TEST_SUITE_P(
    Trace, TraceDepth,
    ::testing::Values(TTraceCase{"ControlUp", [](uint64_t, int) { return false; }, {"TB", "TC"}},
                      TTraceCase{"ControlHeld",
                                 [](uint64_t, int) { return true; },
                                 {"TD", "TE", "TF", "TB", "TC"}},
                      // Pressed on entering the subroutine and let go: tracing keeps the
                      // depth reached.
                      TTraceCase{"ControlPressedOnce",
                                 [](uint64_t steps, int) { return steps == 1; },
                                 {"TD", "TE", "TF", "TB", "TC"}},
                      // Down at the first question, up at the second: nothing is shown.
                      TTraceCase{"ControlLetGoBetweenAsks",
                                 [](uint64_t, int asks) { return asks % 2 == 1; },
                                 {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RunControlTest, TraceWaitOfZeroNeverWaits) {
  Load(kStraight);
  control.SetTraceWait(0);
  control.RunOrTrace(TRunMode::Trace);
  EXPECT_EQ(LinesShownAt(TRunState::Tracing), Lines({"MID", "FIN"}));
  // Per displayed line one delivery in the wait and one after it.
  EXPECT_EQ(host.deliveries, 4);
  EXPECT_LT(clock.Ms(), 1.0);
}

TEST_F(RunControlTest, TraceWaitPausesUntilTheClockHasPassedIt) {
  // Each reading of the clock moves it on by 1 ms.
  clock.frequency = 1000;
  for (int wait : {20, 500}) {
    SCOPED_TRACE(wait);
    Load(kStraight);
    host.shown.clear();
    host.deliveries = 0;
    control.SetTraceWait(wait);
    const double start = clock.Ms();
    control.RunOrTrace(TRunMode::Trace);
    std::vector<double> times = {start};
    for (const auto& s : host.shown)
      if (s.state == TRunState::Tracing) times.push_back(s.ms);
    ASSERT_EQ(times.size(), 3u);
    for (size_t i = 1; i < times.size(); ++i) {
      EXPECT_GT(times[i] - times[i - 1], wait);
      EXPECT_LE(times[i] - times[i - 1], wait + 3);
    }
    // Events are delivered at every check: elapsed 1, 2, ... wait + 1 ms
    // (the first check past the wait ends it), then once after the line.
    EXPECT_EQ(host.deliveries, 2 * (wait + 2));
    control.Reset();
  }
}

TEST_F(RunControlTest, TraceWaitSleepsInSlicesBetweenDeliveries) {
  // The clock moves only while run control sleeps. A wait that spins would
  // never see it move: after many deliveries the clock jumps, so such a
  // fault fails the test instead of hanging it.
  clock.frequency = 1000;
  clock.advance = 0;
  host.sleepMovesClock = true;
  host.onDeliver = [this] {
    if (host.deliveries > 10'000) clock.now += 1'000'000;
  };
  Load(kStraight);
  control.SetTraceWait(20);
  control.RunOrTrace(TRunMode::Trace);
  // Per displayed line: deliveries at 0, 1, ... 21 ms with a 1 ms sleep
  // after each but the last, then one delivery after the line.
  EXPECT_EQ(host.sleeps, std::vector<int>(2 * 21, 1));
  EXPECT_EQ(host.deliveries, 2 * (22 + 1));
  for (size_t i = 1; i < host.log.size(); ++i)
    EXPECT_FALSE(host.log[i] == "sleep" && host.log[i - 1] == "sleep") << i;
}

TEST_F(RunControlTest, TraceWaitWithoutACounterDeliversOnce) {
  clock.frequency = 0;
  Load(kStraight);
  control.SetTraceWait(500);
  control.RunOrTrace(TRunMode::Trace);
  EXPECT_EQ(host.deliveries, 4);
  EXPECT_EQ(clock.reads, 0);
}

// ---------------------------------------------------------------- stop

struct TStopCase {
  const char* name;
  const std::vector<std::string>* program;
  TRunState command;  // the loop of the command: run, trace or step
  uint64_t stopAt;    // stop at the first delivery at or after this count
  bool halted;
};
void PrintTo(const TStopCase& c, std::ostream* os) {
  *os << c.name;
}

class StopDuringLoop : public RunControlTest, public ::testing::WithParamInterface<TStopCase> {};

TEST_P(StopDuringLoop, LetsExactlyOneMoreInstructionRun) {
  const TStopCase& c = GetParam();
  Load(*c.program);
  control.SetTraceWait(0);
  uint64_t stoppedAt = 0;
  host.onDeliver = [&] {
    if (stoppedAt == 0 && Steps() >= c.stopAt) {
      stoppedAt = Steps();
      control.Stop();
    }
  };
  RunCommand(c.command);
  ASSERT_GT(stoppedAt, 0u);
  EXPECT_EQ(Steps(), stoppedAt + 1);
  EXPECT_EQ(LastMessage(), c.halted ? Halted(Steps(), Steps()) : Stopped(Steps(), Steps()));
  EXPECT_EQ(control.RunState(), TRunState::Idle);
}

INSTANTIATE_TEST_SUITE_P(
    RunTraceStep, StopDuringLoop,
    ::testing::Values(TStopCase{"Run", &kForever, kRun, 5000, false},
                      TStopCase{"Trace", &kForever, kTrace, 7, false},
                      TStopCase{"StepOverLongCall", &kLongSub, kStep, 3000, false},
                      TStopCase{"TraceStoppedBeforeHalt", &kStraight, kTrace, 2, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RunControlTest, StopShowsTheStateThenGoesIdle) {
  Load(kStraight);
  control.Stop();
  EXPECT_EQ(host.log, (std::vector<std::string>{"show", "state:0"}));
}

// ---------------------------------------------------------------- pacing

struct TPaceCase {
  const char* name;
  int64_t frequency;
  uint64_t gap;  // instructions between two deliveries
};
void PrintTo(const TPaceCase& c, std::ostream* os) {
  *os << c.name;
}

class DeliveryPacing : public RunControlTest, public ::testing::WithParamInterface<TPaceCase> {};

TEST_P(DeliveryPacing, RunDeliversAboutOncePerMillisecond) {
  const TPaceCase& c = GetParam();
  clock.frequency = c.frequency;
  Load(kForever);
  host.logDeliveries = false;
  host.onDeliver = [&] {
    if (Steps() >= 1'000'000) control.Stop();
  };
  control.RunOrTrace(TRunMode::Run);
  const uint64_t steps = Steps();
  ASSERT_GE(steps, 1'000'000u);
  ASSERT_GE(host.deliverySteps.size(), 2u);
  for (size_t i = 1; i < host.deliverySteps.size(); ++i)
    ASSERT_EQ(host.deliverySteps[i] - host.deliverySteps[i - 1], c.gap) << i;
  EXPECT_LT(static_cast<uint64_t>(host.deliveries), steps / 200);
  if (c.frequency > 0) {
    // The clock is read once per 256 instructions (and once at the start),
    // and every fake millisecond has seen a delivery.
    EXPECT_EQ(clock.reads, 1 + static_cast<int64_t>(steps / TRunControl::kPaceInstructions));
    EXPECT_GE(host.deliveries, static_cast<int>(clock.Ms()) - 1);
  } else {
    EXPECT_EQ(clock.reads, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Clocks, DeliveryPacing,
                         ::testing::Values(TPaceCase{"TenthMsPerRead", 10'000, 2560},
                                           TPaceCase{"NoCounter", 0, 256}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- states, order

TEST_F(RunControlTest, HostSeesTheLoopsRunStateAndIdleAfterwards) {
  Load(kLongSub);
  control.SetTraceWait(0);
  const struct {
    TRunState command;
    TRunState state;
  } cases[] = {
      {kRun, TRunState::Running}, {kTrace, TRunState::Tracing}, {kStep, TRunState::Stepping}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    control.Reset();
    host.deliveryStates.clear();
    host.shown.clear();
    RunCommand(c.command);
    ASSERT_FALSE(host.deliveryStates.empty());
    for (TRunState s : host.deliveryStates)
      EXPECT_EQ(s, c.state);
    EXPECT_EQ(host.shown.back().state, TRunState::Idle);
    EXPECT_EQ(control.RunState(), TRunState::Idle);
  }
}

TEST_F(RunControlTest, CommandsCallTheHostInOrder) {
  Load(kStraight);
  const std::string running = "msg:" + RunningText();
  const std::string finished = "msg:" + Halted(3, 3);

  control.RunOrTrace(TRunMode::Run);
  EXPECT_EQ(host.log,
            (std::vector<std::string>{running, "buttons:off", "jump:7", "state:1", "state:0",
                                      "show", "monitor", "buttons:on", "repaint", finished}));

  control.Reset();
  host.log.clear();
  control.SetMonitorToFront(true);
  control.SetTraceWait(0);
  host.selectedRow = 2;
  control.RunOrTrace(TRunMode::Trace);
  EXPECT_EQ(host.log, (std::vector<std::string>{running, "buttons:off", "jump:2", "front",
                                                "state:2", "deliver", "show", "deliver", "deliver",
                                                "show", "deliver", "state:0", "show", "monitor",
                                                "buttons:on", "repaint", finished}));

  control.Reset();
  host.log.clear();
  control.StepCommand();
  EXPECT_EQ(host.log, (std::vector<std::string>{"state:3", "state:0", "show", "monitor", "labels",
                                                "memory", "msg:" + Stopped(1, 1)}));

  host.log.clear();
  control.Reset();
  EXPECT_EQ(host.log, (std::vector<std::string>{"jump:0", "clearcells", "show", "repaint",
                                                "monitor", "msg:" + ResetDoneText()}));
}

TEST_F(RunControlTest, StartAndFinishEventsCarryTheLoopAndTheOutcome) {
  // kCallSub: a run halts after 5 instructions, a step over the CALL stops
  // after 4 on the HALT's line without running it.
  const struct {
    TRunState command;
    bool toFront;
    bool halted;
    uint64_t steps;
  } cases[] = {{kRun, true, true, 5}, {kTrace, true, true, 5}, {kStep, false, false, 4}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    Load(kCallSub);
    host.starts.clear();
    host.outcomes.clear();
    control.SetMonitorToFront(true);
    control.SetTraceWait(0);
    RunCommand(c.command);
    ASSERT_EQ(host.starts.size(), 1u);
    EXPECT_EQ(host.starts[0].Loop, c.command);
    // A step never brings the monitor to the front.
    EXPECT_EQ(host.starts[0].MonitorToFront, c.toFront);
    ASSERT_EQ(host.outcomes.size(), 1u);
    const TRunOutcome& o = host.outcomes[0];
    EXPECT_EQ(o.Loop, c.command);
    EXPECT_EQ(o.Halted, c.halted);
    EXPECT_EQ(o.Steps, c.steps);
    EXPECT_EQ(o.Total, c.steps);
  }
  // Reset and stop start nothing and finish nothing.
  control.Reset();
  control.Stop();
  EXPECT_EQ(host.starts.size(), 1u);
  EXPECT_EQ(host.outcomes.size(), 1u);
}

// ---------------------------------------------------------------- re-entrancy

TEST_F(RunControlTest, RunStartedInsideAStepFinishesThenTheStepEnds) {
  Load(kLongSub);
  bool started = false;
  host.onDeliver = [&] {
    if (!started && control.RunState() == TRunState::Stepping) {
      started = true;
      control.RunOrTrace(TRunMode::Run);
    }
  };
  control.StepCommand();
  ASSERT_TRUE(started);
  // The run went to the HALT; the step loop then ran one more instruction
  // (the HALT again) and ended on the changed state.
  EXPECT_EQ(Steps(), 6005u);
  ASSERT_EQ(host.messages.size(), 3u);
  // The nested run reported first, from where the step had got to.
  ASSERT_FALSE(host.deliverySteps.empty());
  EXPECT_EQ(host.messages[0], RunningText());
  EXPECT_EQ(host.messages[1], Halted(6004 - host.deliverySteps[0], 6004));
  EXPECT_EQ(host.messages[2], Halted(6005, 6005));
  std::vector<std::string> states;
  for (const std::string& entry : host.log)
    if (entry.rfind("state:", 0) == 0) states.push_back(entry);
  EXPECT_EQ(states, (std::vector<std::string>{"state:3", "state:1", "state:0", "state:0"}));
  EXPECT_EQ(control.RunState(), TRunState::Idle);
}

}  // namespace
