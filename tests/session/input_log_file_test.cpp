#include "session/input_log_file.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "../persistence/temp_folder.h"
#include "persistence/encoding.h"
#include "persistence/file_io.h"

namespace {

TInputLog RandomLog(std::mt19937& rng, uint64_t& end) {
  const uint16_t ports[] = {21, 256, 263, 272, 400, 511, 512, 513, 514, 515, 768};
  TInputLog log;
  uint64_t step = 0;
  for (int i = 0; i < 300; ++i) {
    step += rng() % 3 == 0 ? 0 : rng() % 5000;
    if (rng() % 4 == 0)
      log.RecordEdit(step, static_cast<uint16_t>(rng()), static_cast<uint16_t>(rng()));
    else
      log.RecordInput(step, ports[rng() % std::size(ports)], static_cast<uint16_t>(rng() % 70));
  }
  end = step + 1 + rng() % 10;
  return log;
}

TEST(InputLogFile, WritingAndReadingGivesTheSameLog) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    std::mt19937 rng(seed);
    uint64_t end = 0;
    const TInputLog log = RandomLog(rng, end);
    TInputLogFile read;
    std::string error;
    ASSERT_TRUE(ReadInputLogText(InputLogText(log, end), read, error)) << Cp932ToUtf8(error);
    EXPECT_TRUE(read.Log == log);
    EXPECT_EQ(read.EndStep, end);
  }
}

TEST(InputLogFile, ReadsCommentsHexadecimalBareLineBreaksAndAnOpenEnd) {
  const std::string text =
      "QRX-INPUT-LOG 1\n"
      "# by hand\n"
      "\n"
      "in 0x10 0x300 7   # timer\r\n"
      "  set 16 0xFFFF 3\n"
      "end\n";
  TInputLogFile read;
  std::string error;
  ASSERT_TRUE(ReadInputLogText(text, read, error)) << Cp932ToUtf8(error);
  const std::vector<TInputEvent> inputs = {{16, 768, 7}};
  const std::vector<TUserEdit> edits = {{16, 0xFFFF, 3}};
  EXPECT_EQ(read.Log.Inputs(), inputs);
  EXPECT_EQ(read.Log.Edits(), edits);
  EXPECT_FALSE(read.EndStep.has_value());
}

TEST(InputLogFile, BadForeignAndCutFilesAreRefusedWithAMessageAndChangeNothing) {
  const std::string header = "QRX-INPUT-LOG 1\r\n";
  struct TCase {
    std::string text;
    std::string message;  // UTF-8, part of the expected message
  };
  const TCase cases[] = {
      {"", "入力ログファイルではありません"},
      {"hello\r\nend\r\n", "入力ログファイルではありません"},
      {"QRXBIN0001\r\n", "入力ログファイルではありません"},
      {"QRX-INPUT-LOG 2\r\nend\r\n", "版 2 には対応していません"},
      {header, "途中で切れています"},
      {header + "in 0 768 5\r\n", "途中で切れています"},
      {header + "in 0 768 5\r\nend 10", "途中で切れています"},
      {header + "in 0 768 5\r\nend 1", "途中で切れています"},
      {header + "in 0 17 5\r\nend\r\n", "2 行目: ポート 17 は"},
      {header + "in 0 768 65536\r\nend\r\n", "2 行目: 値が"},
      {header + "in 0 768 x\r\nend\r\n", "2 行目: 数値が"},
      {header + "in 99999999999999999999 768 1\r\nend\r\n", "2 行目: 数値が"},
      {header + "in -1 768 1\r\nend\r\n", "2 行目: 数値が"},
      {header + "in 0 768\r\nend\r\n", "2 行目: 書式が"},
      {header + "press 0 768 1\r\nend\r\n", "2 行目: 書式が"},
      {header + "in 5 768 1\r\nin 4 768 2\r\nend\r\n", "3 行目: ステップが前の in 行"},
      {header + "set 5 1 1\r\nset 4 1 2\r\nend\r\n", "3 行目: ステップが前の set 行"},
      {header + "set 0 65536 1\r\nend\r\n", "2 行目: アドレスか値が"},
      {header + "in 10 768 1\r\nend 10\r\n", "3 行目: end のステップ数より後"},
      {header + "set 11 1 1\r\nend 10\r\n", "3 行目: end のステップ数より後"},
      {header + "end 10\r\nin 11 768 1\r\n", "3 行目: end 行の後に"},
      {header + "memory 0x100000000\r\nend\r\n", "2 行目: 数値が"},
      {header + "memory 1\r\nmemory 1\r\nend\r\n", "3 行目: memory 行が2つ"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.text);
    TInputLogFile out;
    out.Log.RecordInput(1, 768, 42);
    out.EndStep = 77;
    const TInputLog before = out.Log;
    std::string error;
    EXPECT_FALSE(ReadInputLogText(c.text, out, error));
    EXPECT_NE(Cp932ToUtf8(error).find(c.message), std::string::npos) << Cp932ToUtf8(error);
    EXPECT_TRUE(out.Log == before);
    EXPECT_EQ(out.EndStep, 77u);
  }
}

TEST(InputLogFile, SavesAndLoadsThroughFilesAndReportsAMissingOne) {
  TTempFolder folder;
  TInputLog log;
  log.RecordInput(3, 21, 2);
  log.RecordEdit(3, 0xFFFF, 0x20);
  std::string error;
  const std::string path = folder.Path("run.log");
  ASSERT_TRUE(SaveInputLogFile(path, log, 9, 0xC0FFEE, error)) << Cp932ToUtf8(error);
  TInputLogFile read;
  ASSERT_TRUE(LoadInputLogFile(path, read, error)) << Cp932ToUtf8(error);
  EXPECT_TRUE(read.Log == log);
  EXPECT_EQ(read.EndStep, 9u);
  EXPECT_EQ(read.StartMemory, 0xC0FFEEu);
  // The edit of step 3 comes before the input of step 3, as it happened.
  std::string text;
  ASSERT_TRUE(ReadWholeFile(path, text, error));
  EXPECT_LT(text.find("set 3 65535 32\r\n"), text.find("in 3 21 2\r\n"));

  TInputLogFile untouched;
  untouched.EndStep = 5;
  EXPECT_FALSE(LoadInputLogFile(folder.Path("missing.log"), untouched, error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(untouched.EndStep, 5u);
}

}  // namespace
