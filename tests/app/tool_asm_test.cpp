// qrx asm (and the command line as a whole), run as a separate process.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tool_runner.h"

namespace {

class ToolAsm : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(scratch_.Ok()); }
  TToolRun Run(const std::vector<std::string>& args) { return RunTool(scratch_, args); }
  TTempFolder scratch_;
};

TEST_F(ToolAsm, ExitStatusTellsCleanErrorsLoadFailureAndUsage) {
  struct Case {
    std::vector<std::string> args;
    int exit;
  };
  const std::vector<Case> cases = {
      {{"asm", ProgramPath("tool_clean.qasm")}, 0},
      {{"asm", ProgramPath("tool_errors.qasm")}, 1},
      {{"asm", ProgramPath("tool_include_main.qasm")}, 1},
      {{"asm", ProgramPath("no_such_program.qasm")}, 2},
      {{"asm", ProgramPath("tool_include_twice.qasm")}, 2},
      {{"asm", ProgramPath("tool_include_missing.qasm")}, 2},
      {{"run", ProgramPath("tool_clean.qasm")}, 0},
      {{"run", ProgramPath("tool_loop.qasm"), "--max-steps", "100"}, 1},
      {{"run", ProgramPath("no_such_program.qasm")}, 2},
      {{"--help"}, 0},
      {{"--version"}, 0},
      {{}, 64},
      {{"assemble", ProgramPath("tool_clean.qasm")}, 64},
      {{"asm"}, 64},
      {{"asm", ProgramPath("tool_clean.qasm"), ProgramPath("tool_loop.qasm")}, 64},
      {{"asm", ProgramPath("tool_clean.qasm"), "--regs"}, 64},
      {{"asm", ProgramPath("tool_clean.qasm"), "--machine-code"}, 64},
      {{"run", ProgramPath("tool_clean.qasm"), "--listing"}, 64},
      {{"run", ProgramPath("tool_clean.qasm"), "--max-steps"}, 64},
      {{"run", ProgramPath("tool_clean.qasm"), "--max-steps", "ten"}, 64},
      {{"run", ProgramPath("tool_clean.qasm"), "--max-steps", "-1"}, 64},
      {{"run", ProgramPath("tool_clean.qasm"), "--dump", "zz"}, 64},
      {{"run", ProgramPath("tool_clean.qasm"), "--dump", "0:0"}, 64},
      {{"run", ProgramPath("tool_clean.qasm"), "--regs=1"}, 64},
      {{"--version", "asm"}, 64},
  };
  for (const Case& c : cases) {
    const TToolRun run = Run(c.args);
    EXPECT_EQ(run.exit, c.exit) << testing::PrintToString(c.args) << "\n" << run.err;
    if (c.exit == 64) {
      EXPECT_NE(run.err.find("usage: qrx asm SOURCE"), std::string::npos) << run.err;
    }
  }
}

TEST_F(ToolAsm, HelpAndVersion) {
  const TToolRun help = Run({"--help"});
  EXPECT_EQ(
      help.out.rfind(
          "usage: qrx asm SOURCE [--listing] [--labels] [--hints] [--machine-code FILE]\n", 0),
      0u);
  EXPECT_EQ(Run({"--version"}).out, std::string("qrx ") + QRX_VERSION_STRING + "\n");
}

TEST_F(ToolAsm, TheLoadOutcomeIsTheMessageLineWithoutItsBlank) {
  struct Case {
    std::string program;
    std::string err;
  };
  const std::vector<Case> cases = {
      {"tool_clean.qasm", "ロード＆アセンブル正常終了\n"},
      {"tool_errors.qasm", ProgramPath("tool_errors.qasm") + "(3): 命令が不正です\n" +
                               ProgramPath("tool_errors.qasm") + "(5): \"NOWHERE\"は未定義です\n" +
                               "アセンブルエラーが2個あります\n"},
      {"no_such_program.qasm", "指定されたファイルが存在しません\n"},
      {"tool_include_twice.qasm", "インクルードする\"tool_include_lib.qasm\"が重複しています\n"},
  };
  // Run in a folder the programs do not lie in, so error rows name them by
  // their full paths.
  for (const Case& c : cases)
    EXPECT_EQ(RunTool(scratch_, {"asm", ProgramPath(c.program)}, scratch_.Folder()).err, c.err)
        << c.program;

  // A reading failure adds the system's message naming the file.
  const std::vector<std::string> lines =
      Lines(Run({"asm", ProgramPath("tool_include_missing.qasm")}).err);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "ファイルロード時にエラーが発生しました");
  EXPECT_NE(lines[1].find("tool_no_such_file.qasm"), std::string::npos) << lines[1];
}

TEST_F(ToolAsm, ListingRowsHaveSixFieldsWithErrorTexts) {
  const TToolRun run = Run({"asm", ProgramPath("tool_errors.qasm"), "--listing"});
  EXPECT_EQ(run.exit, 1);
  EXPECT_EQ(Lines(run.out),
            (std::vector<std::string>{
                "\t\t\t\t\ttwo errors",
                "0000\tSTART\tLD\tX\t#1\t",
                "0003\t\tFOO\t\t\t[tool_errors.qasm(3)]命令が不正です",
                "0004\t\tHALT\t\t\t",
                "0005\t\tJP\tNOWHERE\t\t[tool_errors.qasm(5)]\"NOWHERE\"は未定義です",
                "0007\tX\tDW\t0\t\t",
            }));
}

TEST_F(ToolAsm, ListingShowsEveryUnitIncludedFilesAndOperandLists) {
  const TToolRun units = Run({"asm", ProgramPath("tool_units.qasm"), "--listing"});
  EXPECT_EQ(units.exit, 0) << units.err;
  EXPECT_EQ(Lines(units.out), (std::vector<std::string>{
                                  "\t\tUSES\tMATH\t\t",
                                  "0000\tSTART\tLD\tX\t#TWO\t",
                                  "0003\t\tHALT\t\t\t",
                                  "0004\tX\tDW\t0,'AB\t\t",
                                  "\t#K\tEQU\t7\t\t",
                                  "\tMATH\tUNIT\t\t\t",
                                  "0007\tTWO\tDW\t2\t\t",
                                  "\t\tENDUNIT\t\t\t",
                              }));

  const TToolRun include = Run({"asm", ProgramPath("tool_include_main.qasm"), "--listing"});
  EXPECT_EQ(Lines(include.out), (std::vector<std::string>{
                                    "\t\t\t\t\tincludes a library with an error",
                                    "0000\t\tHALT\t\t\t",
                                    "\t\t\t\t\tINCLUDE [tool_include_lib.qasm] ===>",
                                    "0001\tLIB\tDW\t1\t\t",
                                    "0002\t\tBAD\t1\t\t[tool_include_lib.qasm(2)]命令が不正です",
                                    "\t\t\t\t\t<=== END INCLUDE [tool_include_lib.qasm]",
                                }));
}

TEST_F(ToolAsm, LabelsAreListedInTableOrder) {
  const TToolRun run = Run({"asm", ProgramPath("tool_units.qasm"), "--labels"});
  EXPECT_EQ(Lines(run.out), (std::vector<std::string>{
                                "CF\tFFFA\t0\t0",
                                "K.*\t0007\t1\t4",
                                "MATH.*\t0007\t0\t5",
                                "PC\tFFFF\t0\t0",
                                "SF\tFFFC\t0\t0",
                                "SP\tFFFE\t0\t0",
                                "START.*\t0000\t0\t1",
                                "TWO.MATH.*\t0007\t0\t6",
                                "VF\tFFFD\t0\t0",
                                "X.*\t0004\t0\t3",
                                "ZF\tFFFB\t0\t0",
                            }));
}

TEST_F(ToolAsm, MachineCodeFileIsWrittenByteForByte) {
  const std::string path = scratch_.Path("clean.qrxg");
  const TToolRun run = Run({"asm", ProgramPath("tool_clean.qasm"), "--machine-code", path});
  EXPECT_EQ(run.exit, 0) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(FileText(path),
            "00000h:DW,1009h,000Dh,0003h\r\n"
            "00003h:DW,2209h,000Dh,0001h\r\n"
            "00006h:DW,2219h,000Dh,0000h\r\n"
            "00009h:DW,410Ah,0003h,FFFBh\r\n"
            "0000Ch:DW,FFF0h\r\n"
            "0000Dh:DW,0000h\r\n");

  const TToolRun failed = Run({"asm", ProgramPath("tool_clean.qasm"), "--machine-code",
                               scratch_.Path("missing/clean.qrxg")});
  EXPECT_EQ(failed.exit, 2);
  EXPECT_NE(failed.err.find("clean.qrxg"), std::string::npos) << failed.err;
}

}  // namespace
