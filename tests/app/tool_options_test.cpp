// The command line of qrx, run as a separate process: what each usage error
// says, and that options are read in any order and spelling.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tool_runner.h"

namespace {

class ToolOptions : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(scratch_.Ok()); }
  TToolRun Run(const std::vector<std::string>& args) { return RunTool(scratch_, args); }
  TTempFolder scratch_;
};

TEST_F(ToolOptions, EachUsageErrorNamesItsFault) {
  const std::string clean = ProgramPath("tool_clean.qasm");
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{}, "no command given"},
      {{"assemble", clean}, "unknown command: assemble"},
      {{"--bogus", "--version"}, "unknown command: --bogus"},
      {{"--version", "asm"}, "--version takes no arguments"},
      {{"asm"}, "asm needs a SOURCE"},
      {{"run", ""}, "run needs a FILE"},
      {{"asm", clean, "run"}, "more than one file given: run"},
      {{"asm", clean, "--regs"}, "unknown option for asm: --regs"},
      {{"asm", clean, "--bogus=1"}, "unknown option for asm: --bogus"},
      {{"asm", clean, "--version"}, "unknown option for asm: --version"},
      {{"run", clean, "--listing=x"}, "unknown option for run: --listing"},
      {{"asm", clean, "-l"}, "unknown option for asm: -l"},
      {{"asm", clean, "--"}, "unknown option for asm: --"},
      {{"asm", "--", clean}, "unknown option for asm: --"},
      {{"asm", clean, "--machine-code"}, "--machine-code needs a value"},
      {{"run", clean, "--regs", "--dump"}, "--dump needs a value"},
      {{"run", clean, "--save-state"}, "--save-state needs a value"},
      {{"asm", clean, "--listing=1"}, "--listing takes no value"},
      {{"asm", clean, "--labels=true"}, "--labels takes no value"},
      {{"asm", clean, "--hints=1"}, "--hints takes no value"},
      {{"run", clean, "--hints"}, "unknown option for run: --hints"},
      {{"run", clean, "--screen="}, "--screen takes no value"},
      {{"run", clean, "--regs={}"}, "--regs takes no value"},
      {{"run", clean, "--max-steps", "-1"}, "--max-steps needs a decimal number: -1"},
      {{"run", clean, "--max-steps", "0x10"}, "--max-steps needs a decimal number: 0x10"},
      {{"run", clean, "--max-steps", "--regs"}, "--max-steps needs a decimal number: --regs"},
      {{"run", clean, "--max-steps", "ten", "--max-steps", "5"},
       "--max-steps needs a decimal number: ten"},
      {{"run", clean, "--back", "-1"}, "--back needs a decimal number: -1"},
      {{"run", clean, "--back=1k"}, "--back needs a decimal number: 1k"},
      {{"run", clean, "--record"}, "--record needs a value"},
      {{"run", clean, "--replay"}, "--replay needs a value"},
      {{"asm", clean, "--replay", "x.log"}, "unknown option for asm: --replay"},
      {{"run", clean, "--dump", "0:65537"},
       "--dump needs START[:COUNT] (COUNT 1 to 65536): 0:65537"},
      {{"test"}, "test needs a CASES file"},
      {{"test", "c.json", "--regs"}, "unknown option for test: --regs"},
      {{"test", "c.json", "--json"}, "--json needs a value"},
      {{"test", "c.json", "--jobs", "0"}, "--jobs needs a number from 1 to 256: 0"},
      {{"test", "c.json", "--jobs=257"}, "--jobs needs a number from 1 to 256: 257"},
      {{"test", "c.json", "--jobs", "two"}, "--jobs needs a number from 1 to 256: two"},
  };
  for (const Case& c : cases) {
    const TToolRun run = Run(c.args);
    EXPECT_EQ(run.exit, 64) << testing::PrintToString(c.args);
    EXPECT_EQ(Lines(run.err).front(), "qrx: " + c.message) << testing::PrintToString(c.args);
  }
}

TEST_F(ToolOptions, HelpWinsWhereverItStands) {
  const std::string usage = Run({"--help"}).out;
  ASSERT_FALSE(usage.empty());
  const std::vector<std::vector<std::string>> lines = {
      {"-h"},
      {"asm", "--help"},
      {"--version", "-h"},
      {"run", ProgramPath("tool_clean.qasm"), "--max-steps", "--help"},
      {"run", "--bogus", "--dump", "zz", "--help"},
  };
  for (const std::vector<std::string>& args : lines) {
    const TToolRun run = Run(args);
    EXPECT_EQ(run.exit, 0) << testing::PrintToString(args);
    EXPECT_EQ(run.out, usage) << testing::PrintToString(args);
    EXPECT_EQ(run.err, "") << testing::PrintToString(args);
  }
}

// The same command written in other orders and spellings reads the same.
TEST_F(ToolOptions, OptionsMayStandAnywhereAndTakeTheirValueAfterAnEqualsSign) {
  const std::string clean = ProgramPath("tool_clean.qasm");
  const std::string loop = ProgramPath("tool_loop.qasm");
  struct Case {
    std::vector<std::string> canonical;
    std::vector<std::string> variant;
  };
  const std::vector<Case> cases = {
      {{"asm", clean, "--listing", "--labels"}, {"asm", "--labels", "--listing", clean}},
      {{"run", loop, "--max-steps", "50", "--regs", "--dump", "0:3"},
       {"run", "--dump=0:3", "--max-steps=50", loop, "--regs"}},
      // The last of a repeated option counts; flags may repeat.
      {{"run", loop, "--max-steps", "7", "--regs"},
       {"run", loop, "--max-steps", "900", "--regs", "--max-steps", "7", "--regs"}},
      {{"run", loop, "--max-steps", "70", "--back", "3", "--regs"},
       {"run", "--back=9", loop, "--max-steps=70", "--back", "3", "--regs"}},
      // A value is taken as it stands, even when it looks like an option.
      {{"run", ProgramPath("no_such_program.qasm"), "--save-state", "-x"},
       {"run", "--save-state", "-x", ProgramPath("no_such_program.qasm")}},
  };
  for (const Case& c : cases) {
    const TToolRun canonical = Run(c.canonical);
    const TToolRun variant = Run(c.variant);
    EXPECT_NE(canonical.exit, 64) << canonical.err;
    EXPECT_EQ(variant.exit, canonical.exit) << testing::PrintToString(c.variant) << variant.err;
    EXPECT_EQ(variant.out, canonical.out) << testing::PrintToString(c.variant);
    EXPECT_EQ(variant.err, canonical.err) << testing::PrintToString(c.variant);
  }
}

TEST_F(ToolOptions, AFileValueBeforeTheSourceIsWrittenAndTheSourceStillRead) {
  const std::string first = scratch_.Path("first.qrxg");
  const std::string second = scratch_.Path("second.qrxg");
  const TToolRun run = Run({"asm", "--machine-code=" + first, ProgramPath("tool_clean.qasm"),
                            "--machine-code", second, "--listing"});
  EXPECT_EQ(run.exit, 0) << run.err;
  EXPECT_FALSE(run.out.empty());
  EXPECT_FALSE(FileText(second).empty());
  EXPECT_FALSE(std::filesystem::exists(first)) << "only the last --machine-code is written";
}

}  // namespace
