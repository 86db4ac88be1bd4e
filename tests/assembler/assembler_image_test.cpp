// The memory image and loading it into the machine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assembler/machine_loader.h"
#include "assembler/qrx_assembler.h"
#include "assembler_support.h"
#include "machine/machine.h"

namespace {

using assembler_test::AssembleSource;

// Address, words and line index of every image line.
struct TFlatLine {
  uint16_t address;
  std::vector<uint16_t> words;
  int line;
  bool operator==(const TFlatLine&) const = default;
};

std::vector<TFlatLine> Flat(const std::vector<TImageLine>& image) {
  std::vector<TFlatLine> flat;
  for (const TImageLine& line : image)
    flat.push_back({line.Address, std::vector<uint16_t>(line.Words.begin(), line.Words.end()),
                    line.LineIndex});
  return flat;
}

void PrintTo(const TFlatLine& line, std::ostream* os) {
  *os << "{" << line.address << ", " << testing::PrintToString(line.words) << ", " << line.line
      << "}";
}

struct TImageCase {
  const char* name;
  std::vector<std::string> source;
  std::vector<TFlatLine> image;
};

class AssemblerImageTable : public testing::TestWithParam<TImageCase> {};

TEST_P(AssemblerImageTable, LinesThatContributeWords) {
  TQRXAssembler assembler;
  AssembleSource(assembler, GetParam().source);
  EXPECT_EQ(Flat(assembler.MemoryImage()), GetParam().image);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AssemblerImageTable,
    testing::Values(
        TImageCase{"WorkedExample",
                   {"START: LD X,#1", "; a comment", "X: DW 1,2", "HALT"},
                   {{0, {0x1009, 3, 1}, 0}, {3, {1, 2}, 2}, {5, {0xFFF0}, 3}}},
        TImageCase{"DirectivesAndConstantsLoadNothing",
                   {"K EQU 3", "U: UNIT", "USES U", "ENDUNIT", "P: PROC", "PROGRAM", "ENDPROC",
                    "RET", "X:"},
                   {{0, {0x8100}, 7}}},
        TImageCase{"DataStringsOneWordPerCharacter", {"DW 'AB',0"}, {{0, {0x41, 0x42, 0}, 0}}},
        TImageCase{"MarksAndSignsInStringsAreCharacters",
                   {"DW 'a#@[b',0", "DW '\\-\\+-'"},
                   {{0, {0x61, 0x23, 0x40, 0x5B, 0x62, 0}, 0}, {6, {0x2D, 0x2B, 0x2D}, 1}}},
        TImageCase{"LoneLeadByteIsOneCharacter",
                   {"DW 'caf\xE9',1", "HALT"},
                   {{0, {0x63, 0x61, 0x66, 0xE9, 1}, 0}, {5, {0xFFF0}, 1}}},
        TImageCase{"NeverEncodedLineLoadsAZeroWordAndItsOperands",
                   {"FOO X,#5", "X: DW 1"},
                   {{0, {0, 3, 5}, 0}, {3, {1}, 1}}},
        TImageCase{"UnitWithoutNameTakesOneWord", {"UNIT", "NOP"}, {{0, {0}, 0}, {1, {0}, 1}}},
        TImageCase{"MacroDefinitionDataLoadsNothing",
                   {"M: MACRO", "DW 7", "NOP", "ENDMACRO", "HALT"},
                   {{0, {0xFFF0}, 4}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AssemblerImage, NothingBeforeTheFirstAssembly) {
  TQRXAssembler assembler;
  EXPECT_TRUE(assembler.MemoryImage().empty());
  assembler_test::SetSource(assembler, {"NOP"});
  EXPECT_TRUE(assembler.MemoryImage().empty());  // lines without records
}

TEST(AssemblerImage, LoadFromAssemblerFillsMemoryAndLineMap) {
  TQRXAssembler assembler;
  ASSERT_EQ(AssembleSource(assembler, {"START: LD X,#1", "; a comment", "X: DW 1,2", "HALT"}), 0);
  TQRXEmulater machine;
  machine.WriteWord(100, 0x1234);
  machine.SetLineOf(100, 9);
  machine.WriteWord(TQRXEmulater::PC, 50);
  LoadFromAssembler(machine, assembler);
  const std::vector<uint16_t> memory(machine.Memory.begin(), machine.Memory.begin() + 7);
  const std::vector<uint16_t> lines(machine.LineMap.begin(), machine.LineMap.begin() + 7);
  EXPECT_EQ(memory, (std::vector<uint16_t>{0x1009, 3, 1, 1, 2, 0xFFF0, 0}));
  EXPECT_EQ(lines, (std::vector<uint16_t>{0, 0, 0, 2, 2, 3, 0}));
  EXPECT_EQ(machine.ReadWord(100), 0);
  EXPECT_EQ(machine.LineOf(100), 0);
  EXPECT_EQ(machine.ReadWord(TQRXEmulater::PC), 0);
  EXPECT_EQ(machine.ReadWord(TQRXEmulater::SP), TQRXEmulater::kStackStart);
}

TEST(AssemblerImage, LaterLinesWinAndTheResetRestoresTheRegisterWords) {
  TQRXAssembler assembler;
  // The data at 0xFFFC wraps round to 0 and 1, over the two NOPs.
  ASSERT_EQ(AssembleSource(assembler, {"NOP", "NOP", "0FFFCh: DW 1,2,3,4,5,6"}), 0);
  TQRXEmulater machine;
  LoadFromAssembler(machine, assembler);
  EXPECT_EQ(machine.ReadWord(0), 5);
  EXPECT_EQ(machine.ReadWord(1), 6);
  EXPECT_EQ(machine.LineOf(0), 2);
  EXPECT_EQ(machine.LineOf(1), 2);
  EXPECT_EQ(machine.LineOf(0xFFFC), 2);
  // SF, ZF, PC and SP took the reset values; the line map keeps the line.
  EXPECT_EQ(machine.ReadWord(0xFFFC), 0);
  EXPECT_EQ(machine.ReadWord(0xFFFD), 0);
  EXPECT_EQ(machine.ReadWord(0xFFFE), TQRXEmulater::kStackStart);
  EXPECT_EQ(machine.ReadWord(0xFFFF), 0);
  EXPECT_EQ(machine.LineOf(0xFFFF), 2);
}

}  // namespace
