#include "assembler/line_encoder.h"

#include <gtest/gtest.h>

#include <string>

#include "assembler/asm_error_codes.h"
#include "assembler/line_parser.h"

namespace {

struct TEncodeCase {
  std::string Text;
  int32_t Result;
};

void PrintTo(const TEncodeCase& c, std::ostream* os) {
  *os << testing::PrintToString(c.Text);
}

class EncodeInstructions : public testing::TestWithParam<TEncodeCase> {};

TEST_P(EncodeInstructions, BuildsTheInstructionWord) {
  TAsmLine line;
  ParseLine(GetParam().Text, line);
  const int32_t result = EncodeLine(line);
  EXPECT_EQ(result, GetParam().Result) << GetParam().Text;
  EXPECT_EQ(line.Words[0], GetParam().Result) << GetParam().Text;
  EXPECT_FALSE(line.IsDirective);
  // Operand words are the driver's; encoding leaves them alone.
  EXPECT_EQ(line.Words[1], 0);
  EXPECT_EQ(line.Words[2], 0);
  EXPECT_EQ(line.ErrorCode, 0);
  EXPECT_EQ(line.InstructionWord, 0);  // the driver keeps the word
}

INSTANTIATE_TEST_SUITE_P(
    Modes, EncodeInstructions,
    testing::Values(TEncodeCase{"ld a,b", 0x100A}, TEncodeCase{"LD X,#1", 0x1009},
                    TEncodeCase{"LD X,@1", 0x1009}, TEncodeCase{"JP [X]", 0x4003},
                    TEncodeCase{"JP X", 0x4002}, TEncodeCase{"PUSH #5", 0x6001},
                    TEncodeCase{"PUSH X", 0x6002}, TEncodeCase{"CMP X,[X]", 0x221B},
                    TEncodeCase{"OUT #1,A", 0x5106}, TEncodeCase{"OUT [P],#1", 0x510D},
                    TEncodeCase{"LD A,[PC]", 0x100B}, TEncodeCase{"LD [X+1],[Y]", 0x100F},
                    TEncodeCase{"RET", 0x8100}, TEncodeCase{"HALT", 0xFFF0},
                    TEncodeCase{"halt ; stop", 0xFFF0}, TEncodeCase{"L: SL X", 0x7002},
                    TEncodeCase{"JPT ZF,LOOP", 0x420A}, TEncodeCase{"BIT A,#4", 0x3319},
                    // An empty operand field counts as direct.
                    TEncodeCase{"LD ,,A", 0x100A}));

class EncodeErrors : public testing::TestWithParam<TEncodeCase> {};

TEST_P(EncodeErrors, ReturnsTheCodeAndWritesNothing) {
  TAsmLine line;
  ParseLine(GetParam().Text, line);
  EXPECT_EQ(EncodeLine(line), GetParam().Result) << GetParam().Text;
  EXPECT_EQ(line.Words[0], 0);
  EXPECT_FALSE(line.IsDirective);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, EncodeErrors,
    testing::Values(TEncodeCase{"FOO A", kErrBadMnemonic},
                    TEncodeCase{"A: B: NOP", kErrBadMnemonic}, TEncodeCase{"NOP 5", kErrFieldCount},
                    TEncodeCase{"LD A", kErrFieldCount}, TEncodeCase{"LD A,B,C", kErrFieldCount},
                    TEncodeCase{"LD A,,,B", kErrFieldCount}, TEncodeCase{"HALT 1", kErrFieldCount},
                    TEncodeCase{"LD #1,A", kErrBadParameter},
                    TEncodeCase{"LD @1,A", kErrBadParameter},
                    TEncodeCase{"JP #X", kErrBadParameter},
                    TEncodeCase{"POP #1", kErrBadParameter}));

class EncodeDirectives : public testing::TestWithParam<std::string> {};

TEST_P(EncodeDirectives, MarkTheLineAndProduceNoWord) {
  TAsmLine line;
  ParseLine(GetParam(), line);
  EXPECT_EQ(EncodeLine(line), 0) << GetParam();
  EXPECT_TRUE(line.IsDirective) << GetParam();
  EXPECT_EQ(line.Words[0], 0);
}

INSTANTIATE_TEST_SUITE_P(AllEight, EncodeDirectives,
                         testing::Values("DW 1,2", "dw", "X EQU 5", "X: EQU 5", "MAIN: PROC",
                                         "endproc", "M: UNIT", "ENDUNIT", "USES A, B",
                                         "PROGRAM x"));

TEST(EncodeNothing, EmptyAndCommentLinesAreNeitherCodeNorDirective) {
  for (const char* text : {"", "; comment", "LABEL:", ";M\x08 LD A,B"}) {
    TAsmLine line;
    ParseLine(text, line);
    EXPECT_EQ(EncodeLine(line), 0) << text;
    EXPECT_FALSE(line.IsDirective) << text;
  }
}

TEST(OperandMode, FirstByteDecides) {
  const struct {
    const char* Text;
    int Mode;
  } cases[] = {{"#1", 1}, {"@X", 1}, {"[X]", 3}, {"[", 3},  {"X", 2},
               {"", 2},   {"-1", 2}, {"^P", 2},  {"X#", 2}, {"\x83\x5C", 2}};
  for (const auto& c : cases)
    EXPECT_EQ(OperandMode(c.Text), c.Mode) << c.Text;
}

}  // namespace
