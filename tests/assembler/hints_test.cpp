// Hints for mistakes that assemble silently: every kind fires on the mistake
// it names and stays quiet on the nearest correct program, and collecting
// them changes nothing in the assembly.
#include "assembler/hints.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "../persistence/temp_folder.h"
#include "assembler/hint_program.h"
#include "assembler/qrx_assembler.h"
#include "persistence/encoding.h"
#include "persistence/file_set.h"

namespace {

using TFiles = std::map<std::string, std::string>;  // name -> text; "main.qasm" is read

// A hint as the cases expect it: kind, file-set index, line number.
using TPlace = std::tuple<THintKind, int, int>;

struct THintCase {
  const char* name;
  TFiles files;
  std::vector<TPlace> hints;
};

void PrintTo(const THintCase& c, std::ostream* out) {
  *out << c.name;
}

constexpr auto kDirect = THintKind::DirectNumber;
constexpr auto kName = THintKind::NumberLikeName;
constexpr auto kProc = THintKind::FallIntoProc;
constexpr auto kInclude = THintKind::FallIntoInclude;
constexpr auto kUnclosed = THintKind::UnclosedBlock;
constexpr auto kReturn = THintKind::ReturnWithoutCall;
constexpr auto kCode = THintKind::WriteIntoCode;

// A subroutine that a correct program calls.
const std::string kPrint =
    "PRINT:  PROC\n"
    "        OUT #17, CH\n"
    "        RET\n"
    "        ENDPROC\n"
    "CH:     DW 0\n";

const std::vector<THintCase> kCases = {
    // ---- direct operands that are plain numbers
    {"read of address 0", {{"main.qasm", "LD X, 0\nHALT\nX: DW 0\n"}}, {{kDirect, 1, 1}}},
    {"port written as an address", {{"main.qasm", "OUT 17, #A$\nHALT\n"}}, {{kDirect, 1, 1}}},
    {"character as an address", {{"main.qasm", "OUT #17, A$\nHALT\n"}}, {{kDirect, 1, 1}}},
    {"pushed address, offset alone",
     {{"main.qasm", "PUSH 5\nPUSH -1\nHALT\n"}},
     {{kDirect, 1, 1}, {kDirect, 1, 2}}},
    {"near miss: immediates, labels, registers, indirect, jump target",
     {{"main.qasm",
       "L: LD X, #0\nOUT #17, #A$\nLD X, Y\nLD X, SP\nLD X, [P]\nJPF L, ZF\nJP 0\n"
       "X: DW 0\nY: DW 0\nP: DW X\n"}},
     {}},

    // ---- names and numbers that read as numbers the learner did not mean
    {"name that is no label", {{"main.qasm", "LD X, B\nHALT\nX: DW 0\n"}}, {{kName, 1, 1}}},
    {"register names of other machines, a prefix x read as hexadecimal",
     {{"main.qasm", "LD X, CH\nLD X, #ah\nLD X, #X1\nHALT\nX: DW 0\n"}},
     {{kName, 1, 1}, {kName, 1, 2}, {kName, 1, 3}}},
    {"near miss: hexadecimal numbers written on purpose",
     {{"main.qasm", "LD X, #FFh\nLD X, #x1F\nHALT\nX: DW ACh, 0FFFFh\n"}},
     {}},
    {"radix suffixes",
     {{"main.qasm", "LD X, #0D\nHALT\nX: DW 0\nDW 1B, 0b\n"}},
     {{kName, 1, 1}, {kName, 1, 4}, {kName, 1, 4}}},
    {"undefined name as the destination", {{"main.qasm", "HALT\nLD B, #1\n"}}, {{kName, 1, 2}}},
    {"near miss: the name is a label, suffixes written in full",
     {{"main.qasm", "LD X, B\nLD X, #0Dh\nHALT\nX: DW 1010b, 0Bh, 10\nB: DW 0\n"}},
     {}},
    {"near miss: the name is a label of another block",
     {{"main.qasm", "LD X, #B\nHALT\nX: DW 0\nP: PROC\nB: RET\nENDPROC\n"}},
     {}},

    // ---- falling into a PROC
    {"program starts inside a PROC",
     {{"main.qasm", kPrint + "LD CH, #A$\nCALL PRINT\nHALT\n"}},
     {{kProc, 1, 1}}},
    {"main part without HALT runs into a PROC",
     {{"main.qasm", "LD CH, #A$\nCALL PRINT\n" + kPrint}},
     {{kProc, 1, 3}}},
    {"near miss: HALT before the PROC",
     {{"main.qasm", "LD CH, #A$\nCALL PRINT\nHALT\n" + kPrint}},
     {}},
    {"near miss: a jump over the PROC",
     {{"main.qasm", "JP START\n" + kPrint + "START: HALT\n"}},
     {}},
    {"near miss: the main part is a PROC that halts",
     {{"main.qasm", "MAIN: PROC\nCALL PRINT\nHALT\nENDPROC\n" + kPrint}},
     {}},
    {"near miss: a library of PROCs assembled alone", {{"main.qasm", kPrint}}, {}},

    // ---- falling into an included file
    {"INCLUDE before the main part",
     {{"main.qasm", "; main\nINCLUDE lib.qasm\nLD CH, #A$\nCALL PRINT\nHALT\n"},
      {"lib.qasm", kPrint}},
     {{kInclude, 1, 2}}},
    {"main part without HALT runs into the included file",
     {{"main.qasm", "LD CH, #A$\nCALL PRINT\nINCLUDE lib.qasm\n"}, {"lib.qasm", kPrint}},
     {{kInclude, 1, 3}}},
    {"included file runs into the next one included beside it",
     {{"main.qasm", "LD X, #1\nINCLUDE a.qasm\nX: DW 0\n"},
      {"a.qasm", "INCLUDE step.qasm\nINCLUDE lib.qasm\n"},
      {"step.qasm", "ADD X, #1\n"},
      {"lib.qasm", kPrint}},
     {{kInclude, 1, 2}, {kInclude, 2, 2}}},
    {"near miss: INCLUDE after HALT",
     {{"main.qasm", "LD CH, #A$\nCALL PRINT\nHALT\nINCLUDE lib.qasm\n"}, {"lib.qasm", kPrint}},
     {}},
    {"near miss: an included file of constants first",
     {{"main.qasm", "INCLUDE k.qasm\nLD X, #K\nHALT\nX: DW 0\n"}, {"k.qasm", "K EQU 5\n"}},
     {}},

    // ---- blocks left open, RET without CALL
    {"PROC without ENDPROC", {{"main.qasm", "CALL P\nHALT\nP: PROC\nRET\n"}}, {{kUnclosed, 1, 3}}},
    {"UNIT without ENDUNIT in its included file",
     {{"main.qasm", "USES M\nCALL DOUBLE\nHALT\nINCLUDE u.qasm\nENDUNIT\n"},
      {"u.qasm", "M: UNIT\nDOUBLE: PROC\nRET\nENDPROC\n"}},
     {{kUnclosed, 2, 1}}},
    {"near miss: every block closed in its file",
     {{"main.qasm", "CALL P\nHALT\nP: PROC\nRET\nENDPROC\nINCLUDE u.qasm\n"},
      {"u.qasm", "M: UNIT\nENDUNIT\n"}},
     {}},
    {"RET at the end of the main part",
     {{"main.qasm", "LD X, #1\nRET\nX: DW 0\n"}},
     {{kReturn, 1, 2}}},
    {"JP to a PROC instead of CALL", {{"main.qasm", "JP PRINT\n" + kPrint}}, {{kReturn, 1, 4}}},
    {"near miss: a subroutine without PROC reached by CALL",
     {{"main.qasm", "CALL SUB\nHALT\nSUB: LD X, #1\nRET\nX: DW 0\n"}},
     {}},

    // ---- stores into the program's own code
    {"store into an instruction",
     {{"main.qasm", "L: LD X, #1\nADD L, #1\nHALT\nX: DW 0\n"}},
     {{kCode, 1, 2}}},
    {"store into an operand word", {{"main.qasm", "LD 1, #5\nHALT\n"}}, {{kCode, 1, 1}}},
    {"near miss: stores into data and through a pointer",
     {{"main.qasm", "LD X, #1\nLD [P], #2\nHALT\nX: DW 0\nP: DW L\nL: NOP\n"}},
     {}},
};

class Hints : public ::testing::TestWithParam<THintCase> {
 protected:
  void SetUp() override { ASSERT_TRUE(folder_.Ok()); }

  // Writes the files, reads main.qasm with its includes and assembles it;
  // the assembly must be clean.
  void Assemble(const TFiles& files) {
    for (const auto& [name, text] : files)
      folder_.Write(name, text);
    files_.AddWithStamp(folder_.Path("main.qasm"));
    files_.AddWithStamp(folder_.Path("main.qasm"));
    std::string error;
    ASSERT_EQ(assembler_.ReadSourceSet(files_, error), TSourceReadResult::Complete) << error;
    ASSERT_EQ(assembler_.Assemble().Tally, 0);
  }

  TTempFolder folder_;
  TFileNames files_;
  TQRXAssembler assembler_;
};

TEST_P(Hints, FireOnTheMistakeAndNotOnItsNearMiss) {
  const THintCase& c = GetParam();
  Assemble(c.files);
  std::vector<TPlace> found;
  for (const TAsmHint& hint : CollectHints(assembler_)) {
    found.emplace_back(hint.Kind, hint.FileIndex, hint.LineNumber);
    EXPECT_FALSE(hint.Text.empty());
  }
  EXPECT_EQ(found, c.hints);
}

INSTANTIATE_TEST_SUITE_P(EveryKind, Hints, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<THintCase>& info) {
                           std::string name;
                           for (const char* p = info.param.name; *p != '\0'; ++p)
                             name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           return name;
                         });

class HintTexts : public Hints {};

// The sentences name what the line does and what to write instead.
TEST_F(HintTexts, SayWhatTheLineDoesAndWhatWasProbablyMeant) {
  Assemble({{"main.qasm", "LD X, 0\nOUT #17, A$\nLD X, B\nDW 0D\nHALT\nX: DW 0\n"}});
  std::vector<std::string> texts;
  for (const TAsmHint& hint : CollectHints(assembler_))
    texts.push_back(Cp932ToUtf8(hint.Text));
  EXPECT_EQ(texts, (std::vector<std::string>{
                       "0 番地の中身を使います。数値 0 なら #0",
                       "A$ は 65 番地の中身を使います。数値 A$ なら #A$",
                       "B はラベルとして定義されていないので、数値 0 と読みます（0 "
                       "番地の中身を使います）。変数なら B: DW 0 で作ります",
                       "0D は10進数の 0 です。16進数なら 0Dh",
                   }));
}

// The hint of an include names the file and points at the INCLUDE line,
// which the expanded source holds as the include start marker.
TEST_F(HintTexts, AnIncludeHintNamesTheFileAndItsMarkerLine) {
  Assemble(
      {{"main.qasm", "INCLUDE lib.qasm\nLD CH, #A$\nCALL PRINT\nHALT\n"}, {"lib.qasm", kPrint}});
  const std::vector<TAsmHint> hints = CollectHints(assembler_);
  ASSERT_EQ(hints.size(), 1u);
  EXPECT_EQ(hints[0].LineIndex, 0);
  EXPECT_NE(Cp932ToUtf8(hints[0].Text).find("インクルードした lib.qasm の中から始まり"),
            std::string::npos);
}

// Collecting leaves the assembly as it was, and there are no hints for a
// program with errors.
TEST_F(HintTexts, CollectingChangesNothingAndErrorsSilenceTheHints) {
  Assemble({{"main.qasm", "LD X, 0\nHALT\nX: DW 0\n"}});
  const std::string listingBefore = assembler_.Listing().Text();
  const int labelsBefore = assembler_.Labels().Count();
  EXPECT_EQ(CollectHints(assembler_).size(), 1u);
  EXPECT_EQ(assembler_.Listing().Text(), listingBefore);
  EXPECT_EQ(assembler_.Labels().Count(), labelsBefore);
  EXPECT_EQ(assembler_.ErrorLineCount(), 0);

  folder_.Write("main.qasm", "LD X, 0\nFOO\nHALT\nX: DW 0\n");
  std::string error;
  ASSERT_EQ(assembler_.ReadSourceSet(files_, error), TSourceReadResult::Complete);
  ASSERT_GT(assembler_.Assemble().Tally, 0);
  EXPECT_TRUE(CollectHints(assembler_).empty());
}

}  // namespace

namespace {

// The hints lay out the memory image themselves, in their one sweep over the
// lines; it must be the image the machine loads: the same lines, and the
// same line at every address. The source has what the rule tells apart:
// instructions, data, a string, directives, a macro definition holding DW,
// a numeric label, and words that wrap past the top of memory onto the
// first instruction.
TEST(HintProgram, LaysOutTheMemoryImageOfTheAssembler) {
  TQRXAssembler assembler;
  const std::vector<std::string> code = {
      "START: LD X, #1", "K EQU 5",    "TWO: MACRO %A", "  DW %A, %A", "  ENDMACRO",
      "  TWO 7",         "P: PROC",    "  RET",         "  ENDPROC",   "X: DW 'AB', 0",
      "0FFFEh:",         "  LD X, #2", "  HALT",        "; the end",
  };
  TCustomStringList lines;
  for (size_t i = 0; i < code.size(); ++i)
    lines.Add(code[i] + ";/\x1B" + "1\x1B" + std::to_string(i + 1));
  assembler.SetLines(lines);
  ASSERT_EQ(assembler.Assemble().Tally, 0);

  THintProgram program(assembler);
  for (int i = 0; i < program.LineCount(); ++i)
    program.AddLine(i);
  std::vector<int> imageLines;
  std::vector<int> owner(0x10000, -1);
  for (const TImageLine& line : assembler.MemoryImage()) {
    imageLines.push_back(line.LineIndex);
    for (size_t j = 0; j < line.Words.size(); ++j)
      owner[static_cast<uint16_t>(line.Address + j)] = line.LineIndex;
  }
  EXPECT_EQ(program.LoadedLines(), imageLines);
  for (uint32_t address = 0; address < 0x10000; ++address)
    ASSERT_EQ(program.OwnerOf(static_cast<uint16_t>(address)), owner[address]) << address;
  // The LD at 0FFFEh wraps onto address 0: START's instruction is gone.
  EXPECT_EQ(program.InstructionAt(0).Line, -1);
  EXPECT_EQ(program.InstructionAt(0xFFFE).Opcode, 0x1000);
}

}  // namespace
