// The case-file reader: every way a case file can be wrong is reported at
// its line and column, and a well-formed file becomes the cases it says,
// with its scripted input as the events the replay reads.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "persistence/encoding.h"
#include "session/case_file.h"

namespace {

struct TFoundProblem {
  int Line = 0;
  int Column = 0;
  std::string Message;  // UTF-8
  bool Fatal = false;
};

// The first problem the reader reports for text: the fatal one, else the
// first outside the cases, else the first of the first broken case.
TFoundProblem FirstProblem(const std::string& text) {
  TCaseFile file;
  TCaseFileProblem fatal;
  const auto found = [](const TCaseFileProblem& p, bool isFatal) {
    return TFoundProblem{p.Position.Line, p.Position.Column, Cp932ToUtf8(p.Message), isFatal};
  };
  if (!ParseCaseFile(text, "", file, fatal)) return found(fatal, true);
  if (!file.Problems.empty()) return found(file.Problems.front(), false);
  for (const TTestCase& testCase : file.Cases)
    if (testCase.Broken()) return found(testCase.Problems.front(), false);
  return {};
}

struct TBadFile {
  std::string Text;
  int Line;
  int Column;
  std::string Fragment;  // part of the message
};

// The start of a file whose one case has the given members after its name.
std::string Case(const std::string& members) {
  return R"({"cases": [{"name": "a", )" + members + "}]}";
}

TEST(CaseFileReader, EveryProblemNamesItsLineAndColumn) {
  const std::string deep = R"({"cases": )" + std::string(70, '[') + std::string(70, ']') + "}";
  const std::vector<TBadFile> files = {
      // Nothing can be run.
      {R"({"cases": [})", 1, 12, "JSON の書き方"},
      {R"({"cases": [)", 1, 12, "JSON の書き方"},
      {"[1]", 1, 1, "オブジェクト"},
      {R"({"x": 1})", 1, 1, "\"cases\""},
      {R"({"cases": {}})", 1, 11, "\"cases\""},
      {deep, 1, 74, "入れ子が深すぎます"},
      // Lines, comments, characters beyond ASCII and escaped quotes.
      {"{\n  \"cases\": [\n    {\"name\": \"a\", \"bad\": 1}\n  ]\n}", 3, 19,
       "知らないキー \"bad\""},
      {"// comment\n{\"cases\": /* x */ [{\"name\": 1}]}", 2, 29, "文字列 を書きます"},
      {R"({"cases": [{"name": "あいう", "bad": 1}]})", 1, 28, "知らないキー \"bad\""},
      {R"({"cases": [{"name": "a\"b", "x": 1}]})", 1, 29, "知らないキー \"x\""},
      {R"({"cases": [{"name": "a\\", "expect": {"halted": "x\"y"}}]})", 1, 49, "true, false"},
      {R"({"cases": [{"name": null}]})", 1, 21, "文字列 を書きます"},
      // Outside the cases: the cases still run.
      {R"({"cases": [{"name": "a"}], "wildcards": "*"})", 1, 28, "知らないキー \"wildcards\""},
      {R"({"wildcard": "**", "cases": [{"name": "a"}]})", 1, 14, "1文字"},
      {R"({"cases": []})", 1, 11, "ひとつもありません"},
      {R"({"max_steps": 0, "cases": [{"name": "a"}]})", 1, 15, "整数 1～"},
      // A case.
      {R"({"cases": [1]})", 1, 12, "オブジェクト を書きます"},
      {R"({"cases": [{"source": "a.qasm"}]})", 1, 12, "\"name\" がありません"},
      {R"({"cases": [{"name": "a"}, {"name": "a"}]})", 1, 36, "同じ名前"},
      {R"({"cases": [{"name": 5}]})", 1, 21, "文字列 を書きます"},
      {R"({"cases": [{"name": "😀"}]})", 1, 21, "シフトJIS"},
      {R"({"cases": [{"name": "a", "name": "b"}]})", 1, 26, "2回あります"},
      {Case(R"("max_steps": -1)"), 1, 39, "整数 1～"},
      // Scripted input.
      {Case(R"("input": [{"step": 1}])"), 1, 36, "port, key, timer, mouse"},
      {Case(R"("input": [{"step": 1, "port": 17, "value": 1}])"), 1, 56,
       "入力ポートではありません"},
      {Case(R"("input": [{"key": "Hyper", "from": 0}])"), 1, 44, "キーの名前"},
      {Case(R"("input": [{"key": "A", "from": 10, "to": 10}])"), 1, 67, "to は from より後"},
      {Case(R"("input": [{"key": "A", "from": 0}, {"step": 5, "port": 260, "value": 2}])"), 1, 81,
       "キーボードのポート"},
      {Case(R"("input": [{"timer": 0, "from": 0, "every": 0}])"), 1, 69, "every は 1 以上"},
      {Case(R"("input": [{"timer": 0, "from": 0, "every": 1}])"), 1, 69, "every が小さすぎます"},
      {Case(R"("input": [{"mouse": {"row": 48, "column": 0}, "from": 0}])"), 1, 54, "整数 0～47"},
      {Case(R"("input": [{"mouse": "outside", "buttons": ["left", "thumb"], "from": 0}])"), 1, 77,
       "ボタンは"},
      // Settings.
      {Case(R"("memory": [{"address": 16, "value": "any"}])"), 1, 62, "\"any\" は書けません"},
      {Case(R"("memory": [{"address": 16}])"), 1, 37, "\"value\" か \"values\""},
      {Case(R"("memory": [{"address": 70000, "value": 1}])"), 1, 49, "整数 0～65535"},
      {Case(R"("memory": [{"address": 65535, "values": [1, 2]}])"), 1, 49, "メモリの外"},
      {Case(R"("registers": {"AX": 1})"), 1, 40, "知らないキー \"AX\""},
      // Expectations.
      {Case(R"("expect": {"halt": true})"), 1, 37, "知らないキー \"halt\""},
      {Case(R"("expect": {"halted": "yes"})"), 1, 47, "true, false"},
      {Case(R"("expect": {"steps": {"min": 5, "max": 4}})"), 1, 46, "min が max"},
      {Case(R"("expect": {"screen": [{"row": 48, "text": "x"}]})"), 1, 56, "画面の外"},
      {Case(R"("expect": {"screen": [{"row": 0, "column": 64, "text": "x"}]})"), 1, 69, "画面の外"},
      {Case(R"("expect": {"screen": [{"row": 0, "column": 60, "text": "abcde"}]})"), 1, 81,
       "63 桁を越えます"},
      {Case(R"("expect": {"screen": [{"row": 0}]})"), 1, 48, "\"text\", \"foreground\""},
      {Case(R"("expect": {"screen": [{"row": 0, "foreground": "#12345"}]})"), 1, 73, "#RRGGBB"},
      {Case(R"("expect": {"assembly_errors": [3, "x"]})"), 1, 60, "行番号か"},
      {Case(R"("expect": {"memory": [{"address": "12Q", "value": 1}]})"), 1, 60,
       "数値として読めません"},
  };
  for (const TBadFile& bad : files) {
    SCOPED_TRACE(bad.Text);
    const TFoundProblem problem = FirstProblem(bad.Text);
    EXPECT_EQ(problem.Line, bad.Line);
    EXPECT_EQ(problem.Column, bad.Column);
    EXPECT_NE(problem.Message.find(bad.Fragment), std::string::npos) << problem.Message;
  }
}

// A broken case does not stop the others: they are read whole.
TEST(CaseFileReader, ABrokenCaseLeavesTheOthersWhole) {
  TCaseFile file;
  TCaseFileProblem fatal;
  ASSERT_TRUE(
      ParseCaseFile(R"({"cases": [{"name": "x", "bogus": 1}, {"name": "y", "source": "y.qasm"}]})",
                    "/tmp", file, fatal));
  ASSERT_EQ(file.Cases.size(), 2u);
  EXPECT_TRUE(file.Cases[0].Broken());
  EXPECT_FALSE(file.Cases[1].Broken());
  EXPECT_EQ(file.Cases[1].Source, "/tmp/y.qasm");
}

TEST(CaseFileReader, ScriptedInputBecomesTheEventsOfTheReplayedLog) {
  TCaseFile file;
  TCaseFileProblem fatal;
  ASSERT_TRUE(ParseCaseFile(R"({"cases": [{
      "name": "script", "max_steps": 100,
      "input": [
        {"key": "Space", "from": 10, "to": 20},
        {"key": "left", "from": 15},
        {"key": 27, "from": 20, "to": 30},
        {"timer": 5, "from": 0, "every": 40},
        {"mouse": {"row": 2, "column": 3}, "buttons": ["left", "middle"], "from": 50},
        {"step": 7, "port": 21, "value": "1"}
      ]}]})",
                            "", file, fatal))
      << Cp932ToUtf8(fatal.Message);
  ASSERT_EQ(file.Cases.size(), 1u);
  const TTestCase& testCase = file.Cases[0];
  ASSERT_FALSE(testCase.Broken()) << Cp932ToUtf8(testCase.Problems.front().Message);
  // Space is key 20h (row 2, bit 0), Left 25h (row 2, bit 5), Esc 1Bh (row
  // 1, bit 11); at step 20 Space goes up as Esc goes down.
  const std::vector<TInputEvent> expected = {
      {0, 768, 5},     {7, 21, 1},   {10, 258, 0x01}, {15, 258, 0x21}, {20, 257, 0x800},
      {20, 258, 0x20}, {30, 257, 0}, {40, 768, 6},    {50, 512, 5},    {50, 513, 2 * 64 + 3},
      {50, 514, 2},    {50, 515, 3}, {80, 768, 7},
  };
  EXPECT_EQ(testCase.Input.Inputs(), expected);
  EXPECT_TRUE(testCase.SelectedKeyFromRows);
}

TEST(CaseFileReader, EventsOfPort272KeepItFromFollowingTheKeyRows) {
  TCaseFile file;
  TCaseFileProblem fatal;
  ASSERT_TRUE(
      ParseCaseFile(Case(R"("input": [{"step": 3, "port": 272, "value": 1}])"), "", file, fatal));
  ASSERT_FALSE(file.Cases[0].Broken());
  EXPECT_FALSE(file.Cases[0].SelectedKeyFromRows);
}

TEST(CaseFileReader, ExpectationsAndSettingsAreReadAsWritten) {
  TCaseFile file;
  TCaseFileProblem fatal;
  ASSERT_TRUE(ParseCaseFile(R"({"wildcard": "*", "max_steps": 500, "cases": [{
      "name": "すべて",
      "memory": [{"address": "DATA", "values": [1, "0FFh", "A$"]}],
      "registers": {"SP": -2},
      "expect": {
        "halted": "any",
        "steps": {"min": 3},
        "registers": {"ZF": 1, "PC": "any"},
        "memory": [{"address": 16, "value": "LOOP.SUB"}],
        "screen": [{"row": 4, "text": "a*b"}, {"row": 5, "column": 2, "background": "#102030"}],
        "assembly_errors": ["lib.qasm:4", 7, 3, 7]
      }}]})",
                            "", file, fatal));
  const TTestCase& c = file.Cases.at(0);
  ASSERT_FALSE(c.Broken()) << Cp932ToUtf8(c.Problems.front().Message);
  EXPECT_EQ(Cp932ToUtf8(c.Name), "すべて");
  EXPECT_EQ(c.MaxSteps, 500u);
  ASSERT_EQ(c.MemorySettings.size(), 1u);
  EXPECT_EQ(c.MemorySettings[0].Address.Label, "DATA");
  ASSERT_EQ(c.MemorySettings[0].Values.size(), 3u);
  EXPECT_EQ(c.MemorySettings[0].Values[1].Number, 0xFF);
  EXPECT_EQ(c.MemorySettings[0].Values[2].Number, 0x41);
  ASSERT_EQ(c.RegisterSettings.size(), 1u);
  EXPECT_EQ(c.RegisterSettings[0].Address, 0xFFFE);
  EXPECT_EQ(c.RegisterSettings[0].Value.Number, 0xFFFE);

  const TExpectations& e = c.Expect;
  EXPECT_EQ(e.Halt, THaltExpectation::Either);
  ASSERT_TRUE(e.Steps.has_value());
  EXPECT_EQ(e.Steps->Min, 3u);
  EXPECT_EQ(e.Steps->Max, UINT64_MAX);
  ASSERT_EQ(e.Registers.size(), 2u);
  EXPECT_TRUE(e.Registers[1].Value.Any);
  EXPECT_EQ(e.Memory.at(0).Values.at(0).Label, "LOOP.SUB");
  ASSERT_EQ(e.Screen.size(), 2u);
  EXPECT_TRUE(e.Screen[0].WholeRow);
  ASSERT_EQ(e.Screen[0].Text.size(), 3u);
  EXPECT_FALSE(e.Screen[0].Text[1].has_value()) << "the file's wildcard is *";
  EXPECT_FALSE(e.Screen[1].HasText);
  EXPECT_EQ(e.Screen[1].Background, 0x302010u) << "#RRGGBB becomes 0x00BBGGRR";
  const std::vector<TErrorLine> lines = {{"", 3}, {"", 7}, {"lib.qasm", 4}};
  EXPECT_EQ(e.AssemblyErrors, lines);
}

}  // namespace
