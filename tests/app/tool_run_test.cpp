// qrx run, run as a separate process: the run itself, its reports, and the
// state file it leaves.
#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "assembler/qrx_assembler.h"
#include "monitor/monitor_model.h"
#include "session/program_session.h"
#include "tool_runner.h"

namespace {

class ToolRun : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(scratch_.Ok()); }
  TToolRun Run(const std::vector<std::string>& args) { return RunTool(scratch_, args); }
  TTempFolder scratch_;
};

TEST_F(ToolRun, AHaltedRunReportsRegistersAndTheFinishedText) {
  const TToolRun run = Run({"run", ProgramPath("tool_clean.qasm"), "--regs"});
  EXPECT_EQ(run.exit, 0);
  EXPECT_EQ(run.out, "PC=000C SP=FFEF VF=0000 SF=0000 ZF=0001 CF=0000 STEPS=11\n");
  EXPECT_EQ(run.err, "ロード＆アセンブル正常終了\n実行終了: 11steps(Total:11steps)\n");
}

TEST_F(ToolRun, TheStepLimitStopsTheRun) {
  const TToolRun run = Run({"run", ProgramPath("tool_loop.qasm"), "--max-steps", "1000", "--regs"});
  EXPECT_EQ(run.exit, 1);
  EXPECT_TRUE(std::regex_match(run.out, std::regex("PC=[0-9A-F]{4} SP=FFEF VF=[0-9A-F]{4} "
                                                   "SF=[0-9A-F]{4} ZF=[0-9A-F]{4} "
                                                   "CF=[0-9A-F]{4} STEPS=1000\n")))
      << run.out;
  EXPECT_EQ(Lines(run.err).back(), "実行停止: 1,000steps(Total:1,000steps)");

  const TToolRun none = Run({"run", ProgramPath("tool_loop.qasm"), "--max-steps", "0", "--regs"});
  EXPECT_EQ(none.exit, 1);
  EXPECT_EQ(none.out, "PC=0000 SP=FFEF VF=0000 SF=0000 ZF=0000 CF=0000 STEPS=0\n");
  EXPECT_EQ(Lines(none.err).back(), "実行停止: 0steps(Total:0steps)");
}

TEST_F(ToolRun, AProgramWithAssemblyErrorsRunsAllTheSame) {
  const TToolRun run = Run({"run", ProgramPath("tool_errors.qasm")});
  EXPECT_EQ(run.exit, 0);
  EXPECT_EQ(run.err, "アセンブルエラーが2個あります\n実行終了: 3steps(Total:3steps)\n");
}

TEST_F(ToolRun, DumpLinesHoldSixteenWordsAndAddressesWrap) {
  const std::string program = ProgramPath("tool_clean.qasm");
  EXPECT_EQ(Run({"run", program, "--dump", "0:20"}).out,
            "0000: 1009 000D 0003 2209 000D 0001 2219 000D 0000 410A 0003 FFFB FFF0 0000 0000 "
            "0000\n"
            "0010: 0000 0000 0000 0000\n");
  EXPECT_EQ(Run({"run", program, "--dump", "0FFFEh:4"}).out, "FFFE: FFEF 000C 1009 000D\n");
  EXPECT_EQ(Run({"run", program, "--dump", "$FFF8:9"}).out,
            "FFF8: 0000 0000 0000 0001 0000 0000 FFEF 000C 1009\n");
  // COUNT defaults to 16; the reports come in the order regs, dump, screen.
  const TToolRun both = Run({"run", program, "--dump", "12", "--regs"});
  const std::vector<std::string> lines = Lines(both.out);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].rfind("PC=000C ", 0), 0u);
  EXPECT_EQ(lines[1],
            "000C: FFF0 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 0000 "
            "0000 0000 0000");
}

TEST_F(ToolRun, ScreenShowsWhatTheProgramWroteThroughPort17) {
  const TToolRun run = Run({"run", ProgramPath("tool_hello.qasm"), "--screen"});
  EXPECT_EQ(run.exit, 0) << run.err;
  const std::vector<std::string> rows = Lines(run.out);
  ASSERT_EQ(rows.size(), 48u);
  EXPECT_EQ(rows[0], "Ｈｉ　あ");
  EXPECT_EQ(rows[1], "");
  EXPECT_EQ(rows[2], "　　　　Ｚ");
  for (size_t r = 3; r < rows.size(); ++r)
    EXPECT_EQ(rows[r], "") << r;
}

// The program waits for three frames of the monitor: it halts only when the
// frame counter advances during the run.
TEST_F(ToolRun, AProgramPacedByTheFrameCounterFinishes) {
  const TToolRun run =
      Run({"run", ProgramPath("tool_frames.qasm"), "--max-steps", "500000000", "--dump", "0Dh:1"});
  EXPECT_EQ(run.exit, 0) << run.err;
  EXPECT_EQ(run.out, "000D: 0003\n");
  EXPECT_NE(run.err.find("実行終了: "), std::string::npos) << run.err;
}

TEST_F(ToolRun, ASavedStateContinuesWhereTheRunStopped) {
  const std::string state = scratch_.Path("loop.qsav");
  const std::string loop = ProgramPath("tool_loop.qasm");
  EXPECT_EQ(Run({"run", loop, "--max-steps", "999", "--save-state", state}).exit, 1);
  const TToolRun resumed = Run({"run", state, "--max-steps", "999", "--regs", "--dump", "0Bh:1"});
  const TToolRun straight = Run({"run", loop, "--max-steps", "1998", "--regs", "--dump", "0Bh:1"});
  EXPECT_EQ(resumed.exit, 1);
  ASSERT_EQ(Lines(resumed.out).size(), 2u);
  ASSERT_EQ(Lines(straight.out).size(), 2u);
  // Same place and the same counter; this run's own step count.
  EXPECT_EQ(Lines(resumed.out)[0].substr(0, 8), Lines(straight.out)[0].substr(0, 8));
  EXPECT_NE(Lines(resumed.out)[0].find("STEPS=999"), std::string::npos);
  EXPECT_EQ(Lines(resumed.out)[1], Lines(straight.out)[1]);
  EXPECT_EQ(Lines(resumed.out)[1], "000B: FD66");
  EXPECT_EQ(Lines(resumed.err).back(), "実行停止: 999steps(Total:999steps)");
}

TEST_F(ToolRun, TheSavedStateHasEveryUnitVisibleAndNoBreakpointsOrSelections) {
  const std::string state = scratch_.Path("units.qsav");
  ASSERT_EQ(Run({"run", ProgramPath("tool_units.qasm"), "--save-state", state}).exit, 0);

  auto monitor = std::make_unique<TMonitorModel>();
  TProgramSession session(*monitor);
  TLoadOutcome outcome;
  ASSERT_EQ(session.LoadFile(state, outcome), TLoadResult::Clean);
  EXPECT_EQ(outcome.Branch, TLoadBranch::State);
  EXPECT_EQ(session.Breakpoints().Count(), 0);
  EXPECT_EQ(session.SelectedLabelList().Count(), 0);
  EXPECT_GE(session.VisibleUnitList().IndexOf("MATH"), 0);
  EXPECT_EQ(session.MainSource(), ProgramPath("tool_units.qasm"));
  EXPECT_EQ(session.Files().Count(), 2);

  // The state file is a program for asm too.
  const TToolRun listing = Run({"asm", state, "--listing"});
  EXPECT_EQ(listing.exit, 0);
  EXPECT_EQ(Lines(listing.out).size(), 8u);

  const TToolRun failed =
      Run({"run", ProgramPath("tool_clean.qasm"), "--save-state", scratch_.Path("no/x.qsav")});
  EXPECT_EQ(failed.exit, 2);
  EXPECT_NE(failed.err.find("x.qsav"), std::string::npos) << failed.err;
}

}  // namespace
