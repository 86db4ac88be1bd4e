// qrx asm points into the sources: a FILE(LINE): message line for every
// error row and, with --hints, for every hint, on stderr before the count.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tool_runner.h"

namespace {

class ToolDiagnostics : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(scratch_.Ok());
    ASSERT_TRUE(sources_.Ok());
  }
  // Runs qrx in `folder` (a folder of sources_).
  TToolRun RunIn(const std::string& folder, const std::vector<std::string>& args) {
    return RunTool(scratch_, args, sources_.Path(folder));
  }

  TTempFolder scratch_;
  TTempFolder sources_;
};

// Errors in the main source, in an included file and in a macro expansion
// (reported at the call), named relative to the working folder when the
// files lie below it and by their full paths otherwise.
TEST_F(ToolDiagnostics, EveryErrorRowIsNamedByFileAndLineBeforeTheCount) {
  sources_.Write("prog/main.qasm",
                 "; errors in three places\n"
                 "        FOO\n"
                 "TWICE:  MACRO %A\n"
                 "        LD X, %A\n"
                 "        ENDMACRO\n"
                 "        TWICE NOWHERE\n"
                 "        HALT\n"
                 "X:      DW 0\n"
                 "        INCLUDE lib/inc.qasm\n");
  sources_.Write("prog/lib/inc.qasm", "; library\nY: DW 0\nY: DW 1\n");

  const TToolRun below = RunIn("", {"asm", "prog/main.qasm"});
  EXPECT_EQ(below.exit, 1);
  EXPECT_EQ(below.out, "");
  EXPECT_EQ(below.err,
            "prog/main.qasm(2): 命令が不正です\n"
            "prog/main.qasm(6): \"NOWHERE\"は未定義です\n"
            "prog/lib/inc.qasm(3): ラベルの2重定義です\n"
            "アセンブルエラーが3個あります\n");

  EXPECT_EQ(Lines(RunIn("prog", {"asm", "main.qasm"}).err)[2],
            "lib/inc.qasm(3): ラベルの2重定義です");
  const TToolRun elsewhere =
      RunTool(scratch_, {"asm", sources_.Path("prog/main.qasm")}, scratch_.Folder());
  EXPECT_EQ(Lines(elsewhere.err)[0], sources_.Path("prog/main.qasm") + "(2): 命令が不正です");
}

// The message of each error line is the text of the listing's error
// column, "[name(line)]message".
TEST_F(ToolDiagnostics, TheMessagesAreTheListingsErrorTexts) {
  const TToolRun run =
      RunTool(scratch_, {"asm", ProgramPath("tool_errors.qasm"), "--listing"}, scratch_.Folder());
  std::vector<std::string> fromListing;
  for (const std::string& row : Lines(run.out)) {
    const std::string comment = row.substr(row.rfind('\t') + 1);
    if (!comment.starts_with("[")) continue;
    const size_t close = comment.find(")]");
    fromListing.push_back(ProgramPath(comment.substr(1, comment.find('(') - 1)) +
                          comment.substr(comment.find('('), close - comment.find('(') + 1) + ": " +
                          comment.substr(close + 2));
  }
  std::vector<std::string> fromErrors = Lines(run.err);
  ASSERT_FALSE(fromErrors.empty());
  fromErrors.pop_back();  // the count
  EXPECT_EQ(fromErrors, fromListing);
  EXPECT_EQ(fromErrors.size(), 2u);
}

const char kMistakes[] =
    "        LD      X, 0\n"
    "        OUT     #17, A$\n"
    "        HALT\n"
    "X:      DW      0\n";

// --hints adds one line per hint after a clean assembly; the exit status,
// stdout and the count line stay as they are without it.
TEST_F(ToolDiagnostics, HintsComeBeforeTheCountAndChangeNothingElse) {
  sources_.Write("mistakes.qasm", kMistakes);
  const TToolRun plain = RunIn("", {"asm", "mistakes.qasm", "--listing"});
  const TToolRun hinted = RunIn("", {"asm", "mistakes.qasm", "--listing", "--hints"});
  EXPECT_EQ(plain.err, "ロード＆アセンブル正常終了\n");
  EXPECT_EQ(hinted.err,
            "mistakes.qasm(1): 0 番地の中身を使います。数値 0 なら #0\n"
            "mistakes.qasm(2): A$ は 65 番地の中身を使います。数値 A$ なら #A$\n"
            "ロード＆アセンブル正常終了\n");
  EXPECT_EQ(hinted.exit, 0);
  EXPECT_EQ(hinted.out, plain.out);
  EXPECT_FALSE(plain.out.empty());
}

// A program with errors gets its error lines and no hints.
TEST_F(ToolDiagnostics, AProgramWithErrorsGetsNoHints) {
  sources_.Write("both.qasm", std::string(kMistakes) + "        FOO\n");
  const TToolRun run = RunIn("", {"asm", "both.qasm", "--hints"});
  EXPECT_EQ(run.exit, 1);
  EXPECT_EQ(run.err, "both.qasm(5): 命令が不正です\nアセンブルエラーが1個あります\n");
}

}  // namespace
