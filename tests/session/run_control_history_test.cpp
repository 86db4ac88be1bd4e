// Run control with an execution history: the loops record, and the commands
// that go back follow the breakpoint and visible-line rules of the commands
// that go forward.
#include <gtest/gtest.h>

#include "run_control_fixture.h"
#include "session/execution_history.h"

namespace {

class RunControlHistoryTest : public RunControlTest {
 protected:
  void SetUp() override {
    RunControlTest::SetUp();
    history.SetEnabled(true);
    control.SetHistory(&history);
  }

  TExecutionHistory history{session->Machine(), monitor};
};

TEST_F(RunControlHistoryTest, StepBackOverCallPassesTheSubroutineUnlessAVisibleBreakpointStops) {
  struct TCase {
    const char* name;
    const std::vector<std::string>* program;
    const char* breakpoint;  // nullptr: none
    uint64_t position;       // where the step back ends
  };
  // Each program is run to its HALT (5 instructions: CALL, LD, LD, RET,
  // HALT), then stepped back once onto the HALT's line at depth 0.
  const TCase cases[] = {
      {"over the call", &kCallSub, nullptr, 0},
      {"visible breakpoint inside", &kCallSub, "INNER", 2},
      {"hidden breakpoint inside", &kCallHiddenSub, "INNER", 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    Load(*c.program);
    control.SetBreakpointsDuringRun(false);
    if (c.breakpoint != nullptr) SetBreakpoint(c.breakpoint);
    control.RunOrTrace(TRunMode::Run);
    ASSERT_EQ(LastMessage(), Halted(5, 5));
    control.StepBack();
    ASSERT_EQ(history.Position(), 4u);
    control.StepBackOverCall();
    EXPECT_EQ(history.Position(), c.position);
    EXPECT_EQ(Steps(), c.position);
    EXPECT_EQ(Machine().CallDepth, c.position == 0 ? 0 : 1);
    EXPECT_EQ(LastMessage(), WentBackText(4 - c.position, c.position));
  }
}

TEST_F(RunControlHistoryTest, RunBackStopsAtThePreviousBreakpointOnlyWhenARunWould) {
  for (bool toggle : {true, false}) {
    SCOPED_TRACE(toggle);
    // The runs stop on LOOP after 2 and 4 instructions.
    Load(kForever);
    SetBreakpoint("LOOP");
    control.RunOrTrace(TRunMode::Run);
    control.RunOrTrace(TRunMode::Run);
    ASSERT_EQ(Steps(), 4u);
    control.SetBreakpointsDuringRun(toggle);
    control.RunBack();
    EXPECT_EQ(Steps(), toggle ? 2u : 0u);
    ASSERT_FALSE(host.backs.empty());
    EXPECT_EQ(host.backs.back().Steps, toggle ? 2u : 4u);
    EXPECT_EQ(host.CurrentLine(), LineOf("LOOP"));
    // Again: the start, where LOOP is the line too.
    control.RunBack();
    EXPECT_EQ(Steps(), 0u);
    EXPECT_FALSE(control.CanGoBack());
    control.SetBreakpointsDuringRun(true);
  }
}

TEST_F(RunControlHistoryTest, NothingGoesBackWhileALoopRunsOrBeforeAnythingRan) {
  Load(kForever);
  EXPECT_FALSE(control.CanGoBack());
  control.StepBack();
  EXPECT_TRUE(host.backs.empty());
  host.onDeliver = [&] {
    if (Steps() < 1000) return;
    control.StepBack();
    control.RunBack();
    control.Stop();
  };
  control.RunOrTrace(TRunMode::Run);
  EXPECT_TRUE(host.backs.empty());
  EXPECT_TRUE(control.CanGoBack());
}

TEST_F(RunControlHistoryTest, TheRunLoopTakesCheckpointsAndGoesOnFromWhereItWentBack) {
  Load(kForever);
  host.logDeliveries = false;
  host.onDeliver = [&] {
    if (Steps() >= 1'500'000) control.Stop();
  };
  control.RunOrTrace(TRunMode::Run);
  const uint64_t ran = Steps();
  // The start, and at least one after a million instructions (the fake
  // clock adds more by its time).
  EXPECT_GE(history.Checkpoints().Count(), 2u);
  const uint16_t n = Machine().ReadWord(
      static_cast<uint16_t>(session->Assembler().Labels().RecordOf("N.*").Value));
  control.StepBack();
  control.StepBack();
  EXPECT_EQ(Steps(), ran - 2);
  // Forward again from there: the same two instructions give the same word.
  control.StepCommand();
  control.StepCommand();
  EXPECT_EQ(Steps(), ran);
  EXPECT_EQ(Machine().ReadWord(
                static_cast<uint16_t>(session->Assembler().Labels().RecordOf("N.*").Value)),
            n);
}

}  // namespace
