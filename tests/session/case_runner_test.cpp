// Checking programs against cases: scripted keys and timer reach the program
// at the steps the case names, settings and labels are taken from the
// program checked, colours are compared cell by cell, and the parallel
// runner gives what a run one job after the other gives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../persistence/temp_folder.h"
#include "persistence/encoding.h"
#include "session/case_file.h"
#include "session/case_runner.h"
#include "session/grading_report.h"
#include "session/grading_run.h"

namespace {

// Waits for the A key through port 272 (A selected), then writes A.
const char* const kKeyProgram =
    "        OUT  #272, #41h\n"
    "WAIT:   IN   K, #272\n"
    "        JPF  WAIT, K\n"
    "        OUT  #17, #41h\n"
    "        HALT\n"
    "K:      DW   0\n";

// The same through key row 4 (codes 40h..4Fh), bit 1.
const char* const kKeyRowProgram =
    "WAIT:   IN   K, #260\n"
    "        BIT  K, #2\n"
    "        JPT  WAIT, ZF\n"
    "        HALT\n"
    "K:      DW   0\n";

// Waits until the timer reads 3.
const char* const kTimerProgram =
    "WAIT:   IN   T, #768\n"
    "        CMP  T, #3\n"
    "        JPT  WAIT, CF\n"
    "        HALT\n"
    "T:      DW   0\n";

// Doubles DATA and counts DATA+1 up.
const char* const kDataProgram =
    "        ADD  DATA, DATA\n"
    "        ADD  DATA+1, #1\n"
    "STOP:   HALT\n"
    "DATA:   DW   0, 0\n";

// Red "AB" and black "C" at row 2, column 4.
const char* const kColourProgram =
    "        OUT  #35, #255\n"
    "        OUT  #33, #2\n"
    "        OUT  #34, #4\n"
    "        OUT  #17, #41h\n"
    "        OUT  #17, #42h\n"
    "        OUT  #35, #0\n"
    "        OUT  #17, #43h\n"
    "        HALT\n";

// Errors on lines 3 and 5.
const char* const kErrorProgram =
    "; two errors\n"
    "START:  LD   X, #1\n"
    "        FOO\n"
    "        HALT\n"
    "        JP   NOWHERE\n"
    "X:      DW   0\n";

const char* const kLoopProgram = "LOOP:   JP   LOOP\n";

class CaseRunner : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.Ok());
    folder_.Write("keys.qasm", kKeyProgram);
    folder_.Write("key_row.qasm", kKeyRowProgram);
    folder_.Write("timer.qasm", kTimerProgram);
    folder_.Write("data.qasm", kDataProgram);
    folder_.Write("colour.qasm", kColourProgram);
    folder_.Write("errors.qasm", kErrorProgram);
    folder_.Write("loop.qasm", kLoopProgram);
  }

  // Reads a case file with the given cases, written into the folder.
  TCaseFile Cases(const std::string& cases) {
    const std::string path = folder_.Write("cases.json", "{\"cases\": [" + cases + "]}");
    TCaseFile file;
    TCaseFileProblem fatal;
    EXPECT_TRUE(ReadCaseFile(path, file, fatal)) << Cp932ToUtf8(fatal.Message);
    for (const TTestCase& c : file.Cases)
      EXPECT_FALSE(c.Broken()) << Cp932ToUtf8(c.Problems.front().Message);
    return file;
  }

  // Runs the only case of a file on its own source.
  TCaseResult RunOnly(const std::string& testCase) {
    const TCaseFile file = Cases(testCase);
    if (file.Cases.size() != 1) return {};
    return RunCase(file.Cases[0], file.Cases[0].Source, true);
  }

  TTempFolder folder_;
};

std::string Difference(const TCaseResult& result) {
  return Cp932ToUtf8(FirstDifference(result));
}

// The key goes down at step 500: the first IN from then on is at step 501,
// and JPF, OUT and HALT follow, so the run is 505 instructions long.
TEST_F(CaseRunner, AScriptedKeyIsSeenFromItsStepOnThroughPort272AndTheKeyRows) {
  for (const char* source : {"keys.qasm", "key_row.qasm"}) {
    SCOPED_TRACE(source);
    const TCaseResult result = RunOnly(std::string(R"({"name": "A", "source": ")") + source +
                                       R"(", "input": [{"key": "A", "from": 500}],
         "expect": {"steps": {"min": 500, "max": 510}}})");
    EXPECT_EQ(result.Status, TCaseStatus::Passed) << Difference(result);
    EXPECT_TRUE(result.Halted);
  }
  const TCaseResult exact = RunOnly(R"({"name": "A", "source": "keys.qasm",
      "input": [{"key": "A", "from": 500}], "expect": {"steps": 505}})");
  EXPECT_EQ(exact.Status, TCaseStatus::Passed) << Difference(exact);
}

TEST_F(CaseRunner, AProgramThatNeverHaltsIsEndedByTheStepLimitAndSaysSo) {
  // B is not the key selected, so port 272 stays 0.
  const TCaseResult result = RunOnly(R"({"name": "B", "source": "keys.qasm", "max_steps": 2000,
      "input": [{"key": "B", "from": 10}]})");
  EXPECT_EQ(result.Status, TCaseStatus::Failed);
  EXPECT_FALSE(result.Halted);
  EXPECT_EQ(result.Steps, 2000u);
  EXPECT_TRUE(result.StepLimitReached());
  EXPECT_EQ(Difference(result),
            "停止: 期待 HALT で停止する、実際 ステップ上限 2,000 で打ち切り (停止せず)");

  const TCaseResult expected = RunOnly(R"({"name": "loop", "source": "loop.qasm",
      "max_steps": 300, "expect": {"halted": false, "steps": 300}})");
  EXPECT_EQ(expected.Status, TCaseStatus::Passed) << Difference(expected);
}

// IN 768 at step s reads s / 100: the first IN at step 300 or later is at
// step 300 (every third instruction), then CMP, JPT and HALT.
TEST_F(CaseRunner, ACountingTimerReadsOneMoreEveryGivenSteps) {
  const TCaseResult result = RunOnly(R"({"name": "t", "source": "timer.qasm",
      "input": [{"timer": 0, "from": 0, "every": 100}], "expect": {"steps": 304}})");
  EXPECT_EQ(result.Status, TCaseStatus::Passed) << Difference(result);
}

TEST_F(CaseRunner, SettingsAndExpectationsNameLabelsOfTheProgram) {
  const TCaseResult doubled = RunOnly(R"({"name": "d", "source": "data.qasm",
      "memory": [{"address": "DATA", "values": [7, 40]}],
      "expect": {"memory": [{"address": "DATA", "values": [14, 41]}],
                 "registers": {"PC": "STOP"}}})");
  EXPECT_EQ(doubled.Status, TCaseStatus::Passed) << Difference(doubled);

  // PC set past the first ADD.
  const TCaseResult skipped = RunOnly(R"({"name": "s", "source": "data.qasm",
      "memory": [{"address": "DATA", "value": 7}], "registers": {"PC": 3},
      "expect": {"memory": [{"address": "DATA", "values": [14, "any"]}]}})");
  EXPECT_EQ(skipped.Status, TCaseStatus::Failed);
  EXPECT_EQ(Difference(skipped),
            "メモリ 0007h～0008h (DATA): 期待 000Eh (14), any、実際 0007h (7), 0001h (1) (0007h "
            "番地が違います)");

  const TCaseResult missing = RunOnly(R"({"name": "m", "source": "data.qasm",
      "expect": {"memory": [{"address": "RESULT", "value": 1}]}})");
  EXPECT_EQ(missing.Status, TCaseStatus::Failed);
  EXPECT_EQ(Difference(missing), "メモリ RESULT: ラベル RESULT がプログラムにありません");
}

TEST_F(CaseRunner, ColoursAreCheckedOnEveryCellTheTextCovers) {
  const TCaseResult red = RunOnly(R"({"name": "red", "source": "colour.qasm", "expect": {"screen": [
      {"row": 2, "column": 4, "text": "AB", "foreground": "#FF0000", "background": "#FFFFFF"},
      {"row": 2, "column": 6, "foreground": "#000000"}]}})");
  EXPECT_EQ(red.Status, TCaseStatus::Passed) << Difference(red);

  const TCaseResult third = RunOnly(R"({"name": "third", "source": "colour.qasm", "expect": {
      "screen": [{"row": 2, "column": 4, "text": "ABC", "foreground": "#FF0000"}]}})");
  EXPECT_EQ(third.Status, TCaseStatus::Failed);
  EXPECT_EQ(Difference(third), "画面 2 行 6 桁の文字色: 期待 #FF0000、実際 #000000");
}

TEST_F(CaseRunner, AssemblyErrorsAreCheckedByLine) {
  const TCaseResult right = RunOnly(R"({"name": "e", "source": "errors.qasm",
      "expect": {"halted": "any", "assembly_errors": [5, 3]}})");
  EXPECT_EQ(right.Status, TCaseStatus::Passed) << Difference(right);
  const TCaseResult clean = RunOnly(R"({"name": "c", "source": "errors.qasm",
      "expect": {"halted": "any", "assembly_errors": []}})");
  EXPECT_EQ(Difference(clean), "アセンブルエラーの行: 期待 なし、実際 3, 5");
}

TEST_F(CaseRunner, ASourceThatCannotBeLoadedBreaksItsCaseOrFailsASubmission) {
  const TCaseFile file = Cases(R"({"name": "gone", "source": "gone.qasm"})");
  const TCaseResult own = RunCase(file.Cases[0], file.Cases[0].Source, true);
  EXPECT_EQ(own.Status, TCaseStatus::Broken);
  ASSERT_TRUE(own.ProblemPosition.has_value());
  EXPECT_EQ(own.ProblemPosition->Column, 39);
  const TCaseResult submitted = RunCase(file.Cases[0], folder_.Path("gone.qasm"), false);
  EXPECT_EQ(submitted.Status, TCaseStatus::Failed);
  EXPECT_NE(Difference(submitted).find("指定されたファイルが存在しません"), std::string::npos);
}

TEST_F(CaseRunner, ParallelRunsGiveTheResultsOfOneRunAfterTheOther) {
  const TCaseFile file = Cases(R"(
      {"name": "A", "max_steps": 20000, "input": [{"key": "A", "from": 700}],
       "expect": {"steps": {"max": 800}}},
      {"name": "timer", "max_steps": 5000, "input": [{"timer": 0, "from": 0, "every": 50}]},
      {"name": "screen", "max_steps": 20000,
       "expect": {"screen": [{"row": 2, "column": 4, "text": "ABC"}]}},
      {"name": "quick", "max_steps": 20, "expect": {"halted": "any"}})");
  std::vector<std::string> sources;
  for (const char* name : {"keys.qasm", "timer.qasm", "colour.qasm", "loop.qasm", "gone.qasm",
                           "key_row.qasm", "errors.qasm"})
    sources.push_back(folder_.Path(name));
  const std::vector<TGradingJob> jobs = GradingJobs(file, sources);
  ASSERT_EQ(jobs.size(), 28u);

  const std::string sequential = GradingReportJson(file, RunGrading(jobs, 1));
  std::vector<size_t> heard;
  const std::vector<TCaseResult> parallel =
      RunGrading(jobs, 4, [&](size_t index, const TCaseResult&) { heard.push_back(index); });
  EXPECT_EQ(GradingReportJson(file, parallel), sequential);
  std::vector<size_t> inOrder(jobs.size());
  for (size_t i = 0; i < inOrder.size(); ++i)
    inOrder[i] = i;
  EXPECT_EQ(heard, inOrder);
  const TGradingCount count = CountResults(parallel);
  EXPECT_GT(count.Passed, 0u);
  EXPECT_GT(count.Failed, 0u);
}

}  // namespace
