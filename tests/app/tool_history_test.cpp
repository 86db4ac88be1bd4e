// qrx run --record, --replay and --back, run as a separate process: a
// replay repeats a run exactly, a log's keys and timer reach the program,
// going back shows what a shorter run shows, and a log that cannot be used
// stops the command before anything runs.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tool_runner.h"

namespace {

using Args = std::vector<std::string>;

// Everything a run prints on stdout.
const Args kReports = {"--regs", "--dump", "0:64", "--screen"};

Args With(Args args, const Args& more) {
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

// The number of the log's "end N" line.
std::string LogEnd(const std::string& log) {
  const size_t end = log.rfind("\r\nend ");
  if (end == std::string::npos) return {};
  const size_t start = end + 6;
  return log.substr(start, log.find('\r', start) - start);
}

std::string Repeated(const std::string& text, int count) {
  std::string out;
  for (int i = 0; i < count; ++i)
    out += text;
  return out;
}

// A row of keyboard.qasm's grid: its label, then one mark per key, a
// square for the keys down.
std::string KeyRow(const std::string& label, int downBit) {
  std::string row = label;
  for (int bit = 0; bit < 16; ++bit)
    row += bit == downBit ? "　　■" : "　　・";
  return row;
}

class ToolHistory : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(scratch_.Ok()); }
  TToolRun Run(const Args& args) { return RunTool(scratch_, args); }
  TTempFolder scratch_;
};

// The program's output depends on when the timer and the frame counter
// changed, so two live runs differ; the replay of one is that run again.
TEST_F(ToolHistory, AReplayRepeatsARunThatReadTheTimerAndFrameCounter) {
  const std::string clock = ProgramPath("tool_clock.qasm");
  const std::string log = scratch_.Path("clock.log");
  const TToolRun recorded = Run(With({"run", clock, "--record", log}, kReports));
  ASSERT_EQ(recorded.exit, 0) << recorded.err;
  const std::string text = FileText(log);
  EXPECT_TRUE(text.starts_with("QRX-INPUT-LOG 1\r\n")) << text;
  EXPECT_NE(text.find(" 768 "), std::string::npos) << "the timer's reads are logged\n" << text;

  const TToolRun replayed = Run(With({"run", clock, "--replay", log}, kReports));
  EXPECT_EQ(replayed.exit, 0) << replayed.err;
  EXPECT_EQ(replayed.out, recorded.out);
  EXPECT_EQ(replayed.err, recorded.err);

  // A replay records what it read: the same log again.
  const std::string again = scratch_.Path("again.log");
  EXPECT_EQ(Run({"run", clock, "--replay", log, "--record", again}).exit, 0);
  EXPECT_EQ(FileText(again), text);
}

// Hand-written logs, as the workbench would save them after a learner's
// keys: the keys reach the program, the log's end stops the run.
TEST_F(ToolHistory, AHandWrittenLogsKeysAndTimerShowOnTheScreen) {
  const std::string keyboard = std::string(QRX_SAMPLES_DIR) + "/keyboard.qasm";
  const std::string escRow = "　２５７　１０ｈ";
  const std::string aRow = "　２６０　４０ｈ";
  const std::string statusRow = "　選択キー（ポート２７２）：";
  struct Case {
    std::string name;
    std::string program;
    std::string log;
    int exit;
    std::string steps;
    // Screen rows (0-based) and their text.
    std::vector<std::pair<size_t, std::string>> rows;
  };
  // Port 21 reads 1 throughout, so the program never waits for a frame.
  const std::string header = "QRX-INPUT-LOG 1\nin 0 21 1\n";
  const std::vector<Case> cases = {
      {"A held, then Esc ends the program",
       keyboard,
       header + "in 0 260 2   # A (41h) down\nin 0 272 1\nin 100000 257 0x800  # Esc\nend\n",
       0,
       "",
       {{6, KeyRow(escRow, 11)},
        {9, KeyRow(aRow, 1)},
        {22, statusRow + "１Ｂｈ　押されている"},
        {30, "　Ｅｓｃキーが押されたので終了しました。"}}},
      {"A held until the log's end",
       keyboard,
       header + "in 0 260 2\nin 0 272 1\nend 60000\n",
       1,
       "60000",
       {{6, KeyRow(escRow, -1)},
        {9, KeyRow(aRow, 1)},
        {22, statusRow + "４１ｈ　押されている"},
        {30, ""}}},
      {"A pressed and released",
       keyboard,
       header + "in 0 260 2\nin 30000 260 0\nend 60000\n",
       1,
       "60000",
       {{9, KeyRow(aRow, -1)}, {22, statusRow + "４１ｈ　離されている"}}},
      {"the timer at 40 from the start",
       ProgramPath("tool_clock.qasm"),
       "QRX-INPUT-LOG 1\nin 0 768 40\nend\n",
       0,
       "",
       {{0, Repeated("　", 40) + "＊"}, {1, ""}}},
  };
  for (const Case& c : cases) {
    const std::string log = scratch_.Write("case.log", c.log);
    const TToolRun run = Run({"run", c.program, "--replay", log, "--screen", "--regs"});
    EXPECT_EQ(run.exit, c.exit) << c.name << "\n" << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 49u) << c.name;
    if (!c.steps.empty()) {
      EXPECT_TRUE(lines[0].ends_with(" STEPS=" + c.steps)) << c.name;
    }
    for (const auto& [row, text] : c.rows)
      EXPECT_EQ(lines[row + 1], text) << c.name << ", row " << row;
  }
}

// tool_frames halts after three frames. The log says frame 1 for 100
// steps; past its end the tool's own frame counter takes over.
TEST_F(ToolHistory, AReplayEndsWithItsLogUnlessTheStepLimitRunsOn) {
  const std::string frames = ProgramPath("tool_frames.qasm");
  const std::string log = scratch_.Write("frames.log", "QRX-INPUT-LOG 1\nin 0 21 1\nend 100\n");
  struct Case {
    Args limit;
    int exit;
    std::string outcome;
  };
  const std::vector<Case> cases = {
      {{}, 1, "実行停止: 100steps(Total:100steps)"},
      {{"--max-steps", "50"}, 1, "実行停止: 50steps(Total:50steps)"},
      {{"--max-steps", "500000000"}, 0, "実行終了: "},
  };
  for (const Case& c : cases) {
    const std::string record = scratch_.Path("run.log");
    const TToolRun run =
        Run(With({"run", frames, "--replay", log, "--record", record, "--regs", "--dump", "0Dh:1"},
                 c.limit));
    EXPECT_EQ(run.exit, c.exit) << run.err;
    EXPECT_TRUE(Lines(run.err).back().starts_with(c.outcome)) << run.err;
    // The recorded log is that of the run made: replaying it repeats it.
    const std::string recorded = FileText(record);
    EXPECT_NE(recorded.find("\r\nin 0 21 1\r\n"), std::string::npos) << recorded;
    ASSERT_FALSE(run.out.empty());
    EXPECT_TRUE(Lines(run.out)[0].ends_with(" STEPS=" + LogEnd(recorded))) << run.out;
    const TToolRun again = Run({"run", frames, "--replay", record, "--regs", "--dump", "0Dh:1"});
    EXPECT_EQ(again.exit, c.exit);
    EXPECT_EQ(again.out, run.out);
  }
}

// Going back K instructions shows exactly what a run K instructions shorter
// shows: near the end, across checkpoints (one every million), to the start
// and past it, and before a HALT.
TEST_F(ToolHistory, GoingBackEqualsAShorterRun) {
  const std::string letters = ProgramPath("tool_letters.qasm");
  const std::string clean = ProgramPath("tool_clean.qasm");
  struct Case {
    std::string program;
    uint64_t length;
    uint64_t back;
  };
  const std::vector<Case> cases = {
      {letters, 2'500'000, 0},
      {letters, 2'500'000, 1},
      {letters, 2'500'000, 777},
      {letters, 2'500'000, 1'000'001},
      {letters, 2'500'000, 2'499'999},
      {letters, 2'500'000, 2'500'000},
      {letters, 2'500'000, 3'000'000},
      {clean, 11, 0},
      {clean, 11, 3},
      {clean, 11, 12},
  };
  for (const Case& c : cases) {
    const std::string name = std::to_string(c.length) + " back " + std::to_string(c.back);
    const uint64_t shorter = c.length - std::min(c.back, c.length);
    const std::string backState = scratch_.Path("back.qsav");
    const std::string shortState = scratch_.Path("short.qsav");
    const TToolRun back = Run(With({"run", c.program, "--max-steps", std::to_string(c.length),
                                    "--back", std::to_string(c.back), "--save-state", backState},
                                   kReports));
    const TToolRun shortRun = Run(
        With({"run", c.program, "--max-steps", std::to_string(shorter), "--save-state", shortState},
             kReports));
    EXPECT_EQ(back.exit, shortRun.exit) << name << "\n" << back.err;
    EXPECT_EQ(back.out, shortRun.out) << name;
    EXPECT_EQ(Lines(back.err).back(), Lines(shortRun.err).back()) << name;
    EXPECT_EQ(FileText(backState), FileText(shortState)) << name;
    const bool pastStart = c.back > c.length;
    EXPECT_EQ(back.err.find("--back " + std::to_string(c.back) + ": ") != std::string::npos,
              pastStart)
        << name << "\n"
        << back.err;
  }
}

// A live run that read the timer, gone back: the state the recorded log
// gives when replayed for that many steps.
TEST_F(ToolHistory, GoingBackAfterALiveRunUsesWhatItRead) {
  const std::string clock = ProgramPath("tool_clock.qasm");
  const std::string log = scratch_.Path("clock.log");
  for (const uint64_t back : {uint64_t{0}, uint64_t{1}, uint64_t{500}, uint64_t{1} << 40}) {
    const TToolRun run =
        Run(With({"run", clock, "--record", log, "--back", std::to_string(back)}, kReports));
    const uint64_t length = std::stoull(LogEnd(FileText(log)));
    const uint64_t shorter = length - std::min(back, length);
    const TToolRun replay = Run(
        With({"run", clock, "--replay", log, "--max-steps", std::to_string(shorter)}, kReports));
    EXPECT_EQ(run.exit, replay.exit) << back;
    EXPECT_EQ(run.out, replay.out) << back;
  }
}

// A log that is missing, no log, cut short, of another version, wrong in a
// line, or recorded with another program: exit 2, the reason on stderr,
// nothing run and nothing written.
TEST_F(ToolHistory, ALogThatCannotBeUsedStopsTheCommand) {
  const std::string clean = ProgramPath("tool_clean.qasm");
  const std::string foreign = scratch_.Path("foreign.log");
  ASSERT_EQ(Run({"run", ProgramPath("tool_hello.qasm"), "--record", foreign}).exit, 0);
  struct Case {
    std::string log;
    std::string reason;
  };
  const std::vector<Case> cases = {
      {scratch_.Path("missing.log"), "ファイルを開けません"},
      {clean, "入力ログファイルではありません"},
      {scratch_.Write("cut.log", "QRX-INPUT-LOG 1\r\nin 5 21 1\r\n"),
       "入力ログファイルが途中で切れています"},
      {scratch_.Write("cut2.log", "QRX-INPUT-LOG 1\r\nin 5 21 1\r\nend 9"),
       "入力ログファイルが途中で切れています"},
      {scratch_.Write("v2.log", "QRX-INPUT-LOG 2\r\nend\r\n"), "版 2 には対応していません"},
      {scratch_.Write("port.log", "QRX-INPUT-LOG 1\r\nin 5 22 1\r\nend\r\n"),
       "入力ログファイルの 2 行目: ポート 22 は"},
      {foreign, "別のプログラム"},
  };
  for (const Case& c : cases) {
    const std::string state = scratch_.Path("state.qsav");
    const std::string record = scratch_.Path("record.log");
    const TToolRun run =
        Run({"run", clean, "--replay", c.log, "--regs", "--save-state", state, "--record", record});
    EXPECT_EQ(run.exit, 2) << c.log;
    EXPECT_EQ(run.out, "") << c.log;
    EXPECT_NE(run.err.find("入力ログ \"" + c.log + "\" を使えません\n"), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("steps(Total:"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(state)) << c.log;
    EXPECT_FALSE(std::filesystem::exists(record)) << c.log;
  }
}

}  // namespace
