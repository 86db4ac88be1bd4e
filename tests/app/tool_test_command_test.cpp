// qrx test end to end: the case files of the samples pass, submissions are
// checked against every case with the report saying where they differ, and
// broken case files are reported with their line and column.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tool_runner.h"

namespace {

std::string SamplePath(const std::string& name) {
  return std::string(QRX_SAMPLES_DIR) + "/" + name;
}

std::string CaseFilePath(const std::string& name) {
  return SamplePath("tests/" + name + ".json");
}

class ToolTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(scratch_.Ok()); }
  TToolRun Run(const std::vector<std::string>& args) { return RunTool(scratch_, args); }
  TTempFolder scratch_;
};

// Every program among the samples (the lib_ files are included by others)
// has a case file, and all its cases pass.
TEST_F(ToolTest, EverySampleHasACaseFileWhoseCasesAllPass) {
  int programs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(QRX_SAMPLES_DIR)) {
    const std::string name = entry.path().stem().string();
    if (entry.path().extension() != ".qasm" || name.starts_with("lib_")) continue;
    ++programs;
    SCOPED_TRACE(name);
    ASSERT_TRUE(std::filesystem::exists(CaseFilePath(name)));
    const TToolRun run = Run({"test", CaseFilePath(name)});
    EXPECT_EQ(run.exit, 0) << run.out << run.err;
    EXPECT_EQ(run.err, "");
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_GE(lines.size(), 2u);
    for (size_t i = 0; i + 1 < lines.size(); ++i)
      EXPECT_TRUE(lines[i].starts_with("PASS ")) << lines[i];
    EXPECT_EQ(lines.back(), std::to_string(lines.size() - 1) + " passed, 0 failed");
  }
  EXPECT_GE(programs, 10);
}

// hello's cases on two submissions: hello itself passes, snake (which never
// halts) fails on every case; the report has each expectation, and for the
// screen row the text expected and the text found.
TEST_F(ToolTest, EverySubmissionIsCheckedAgainstEveryCaseInOrder) {
  const std::string hello = SamplePath("hello.qasm");
  const std::string snake = SamplePath("snake.qasm");
  const std::string report = scratch_.Path("report.json");
  const TToolRun run =
      Run({"test", CaseFilePath("hello"), hello, snake, "--jobs", "2", "--json", report});
  EXPECT_EQ(run.exit, 1) << run.err;
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 5u) << run.out;
  EXPECT_EQ(lines[0], "PASS 二つのあいさつを書いて停止する (" + hello + ")");
  EXPECT_EQ(lines[1], "PASS 文字列のポインタは最後の 0 の語を指して終わる (" + hello + ")");
  EXPECT_EQ(lines[2], "FAIL 二つのあいさつを書いて停止する (" + snake +
                          "): 停止: 期待 HALT で停止する、実際 ステップ上限 10,000 で打ち切り "
                          "(停止せず)");
  EXPECT_TRUE(lines[3].starts_with("FAIL 文字列のポインタ")) << lines[3];
  EXPECT_EQ(lines[4], "2 passed, 2 failed");

  const nlohmann::json json = nlohmann::json::parse(FileText(report));
  EXPECT_EQ(json["passed"], 2);
  EXPECT_EQ(json["failed"], 2);
  ASSERT_EQ(json["results"].size(), 4u);
  const nlohmann::json& failed = json["results"][2];
  EXPECT_EQ(failed["status"], "failed");
  EXPECT_EQ(failed["source"], snake);
  EXPECT_EQ(failed["halted"], false);
  EXPECT_EQ(failed["step_limit_reached"], true);
  EXPECT_EQ(failed["steps"], 10000);
  const nlohmann::json& checks = failed["expectations"];
  const auto row = std::find_if(checks.begin(), checks.end(), [](const nlohmann::json& c) {
    return c["kind"] == "screen" && c["what"] == "画面 10 行 8 桁";
  });
  ASSERT_NE(row, checks.end());
  EXPECT_EQ((*row)["passed"], false);
  EXPECT_EQ((*row)["expected"], "Hello, QRX!");
  EXPECT_EQ((*row)["actual"], "　　　　　　　　　　　") << "snake's title screen is blank there";
  // Every expectation of the case is there, passed or not.
  EXPECT_EQ(checks.size(), 9u);
}

TEST_F(ToolTest, AMalformedCaseFileRunsNothingAndNamesTheLineAndColumn) {
  const std::string cases =
      scratch_.Write("broken.json", "{\"cases\": [\n  {\"name\": \"a\",}\n]}\n");
  const TToolRun run = Run({"test", cases});
  EXPECT_EQ(run.exit, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(run.err.starts_with(cases + ":2:16: JSON の書き方が正しくありません: ")) << run.err;
}

TEST_F(ToolTest, ABrokenCaseIsReportedAndTheOthersStillRun) {
  const std::string cases =
      scratch_.Write("cases.json",
                     "{\"cases\": [\n"
                     "  {\"name\": \"typo\", \"source\": \"" +
                         SamplePath("hello.qasm") +
                         "\", \"expct\": {}},\n"
                         "  {\"name\": \"missing\", \"source\": \"nowhere.qasm\"},\n"
                         "  {\"name\": \"fine\", \"source\": \"" +
                         SamplePath("hello.qasm") +
                         "\"}\n"
                         "]}\n");
  const TToolRun run = Run({"test", cases});
  EXPECT_EQ(run.exit, 2);
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 4u) << run.out;
  const std::string typo = cases + ":2:" + std::to_string(34 + SamplePath("hello.qasm").size()) +
                           ": 知らないキー \"expct\" です";
  EXPECT_TRUE(lines[0].starts_with("FAIL typo: " + typo)) << lines[0];
  EXPECT_EQ(lines[1], "FAIL missing: " + cases + ":3:33: 指定されたファイルが存在しません: " +
                          scratch_.Path("nowhere.qasm"));
  EXPECT_EQ(lines[2], "PASS fine");
  EXPECT_EQ(lines[3], "1 passed, 2 failed");
  // The problem of the broken case is on stderr as well, before the runs.
  EXPECT_TRUE(run.err.starts_with(typo.substr(0, typo.find(": ")) + ": typo: 知らないキー"))
      << run.err;
}

}  // namespace
