#include "assembler/line_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assembler/asm_error_codes.h"
#include "assembler/literals.h"

namespace {

const std::string kSo = "\x83\x5C";    // ソ
const std::string kHyou = "\x95\x5C";  // 表
const std::string kTag =
    ";/\x1B"
    "1\x1B"
    "7";

struct TSplitCase {
  std::string Delimiters;
  std::string Text;
  bool Found;
  std::string Before;
  std::string After;
};

void PrintTo(const TSplitCase& c, std::ostream* os) {
  *os << testing::PrintToString(c.Text);
}

class SplitAtForms : public testing::TestWithParam<TSplitCase> {};

TEST_P(SplitAtForms, Splits) {
  const TSplitCase& c = GetParam();
  const TSplitResult r = SplitAt(c.Delimiters, c.Text);
  EXPECT_EQ(r.Found, c.Found);
  EXPECT_EQ(std::string(r.Before), c.Before);
  EXPECT_EQ(std::string(r.After), c.After);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitAtForms,
    testing::Values(
        TSplitCase{";", "LD A,B ; c", true, "LD A,B", "c"},
        TSplitCase{";", "  x  ", false, "x", ""}, TSplitCase{";", "\x01\tA;B\x1F", true, "A", "B"},
        TSplitCase{" ,\t", ", A B", true, "A", "B"}, TSplitCase{" ,\t", "A, ,B", true, "A", ",B"},
        TSplitCase{" ,\t", ",B", false, "B", ""}, TSplitCase{" ,\t", ",,B", true, "", "B"},
        TSplitCase{";", "DW ';' ;c", true, "DW ';'", "c"},
        TSplitCase{" ", "'A B' C", true, "'A B'", "C"},
        TSplitCase{";", "DW 'A;B", false, "DW 'A;B", ""}, TSplitCase{";", "", false, "", ""},
        // A trail byte equal to the delimiter belongs to its character.
        TSplitCase{"\\", kSo + "\\x", true, kSo, "x"},
        TSplitCase{"|",
                   "\x83|"
                   "|y",
                   true, "\x83|", "y"}));

TEST(PosOutsideQuotes, CountsFromOneAndSkipsQuotedAndDoubleBytes) {
  EXPECT_EQ(PosOutsideQuotes(':', "A:B"), 2u);
  EXPECT_EQ(PosOutsideQuotes(':', "'A:B'"), 0u);
  EXPECT_EQ(PosOutsideQuotes(':', "'x' y:"), 6u);
  EXPECT_EQ(PosOutsideQuotes(':', ""), 0u);
  EXPECT_EQ(PosOutsideQuotes('\\', kSo + "A\\"), 4u);
  EXPECT_EQ(PosOutsideQuotes('\\', kHyou), 0u);
}

TEST(UpperAscii, LeavesDoubleByteCharactersAlone) {
  EXPECT_EQ(UpperAscii("ld"), "LD");
  // 0x83 0x61 is one character whose second byte looks like "a".
  EXPECT_EQ(UpperAscii("\x83\x61x"), "\x83\x61X");
}

struct TParseCase {
  std::string Text;
  std::string Label;
  std::vector<std::string> Fields;  // the first FieldCount entries
  int FieldCount;
  std::string Mnemonic;
  std::string Comment;
};

void PrintTo(const TParseCase& c, std::ostream* os) {
  *os << testing::PrintToString(c.Text);
}

class ParseLineForms : public testing::TestWithParam<TParseCase> {};

TEST_P(ParseLineForms, Parses) {
  const TParseCase& c = GetParam();
  TAsmLine line;
  ParseLine(c.Text, line);
  EXPECT_EQ(line.LabelName, c.Label);
  EXPECT_EQ(line.FieldCount, c.FieldCount);
  EXPECT_EQ(line.Mnemonic, c.Mnemonic);
  EXPECT_EQ(line.Comment, c.Comment);
  ASSERT_GE(line.Fields.size(), c.Fields.size());
  for (size_t i = 0; i < c.Fields.size(); ++i)
    EXPECT_EQ(line.Fields[i], c.Fields[i]) << i;
  for (size_t i = c.Fields.size(); i < line.Fields.size(); ++i)
    EXPECT_EQ(line.Fields[i], "") << i;
  EXPECT_EQ(line.Fields.size(), line.Words.size());
}

using F = std::vector<std::string>;

INSTANTIATE_TEST_SUITE_P(
    FieldSplitting, ParseLineForms,
    testing::Values(TParseCase{"ld a,b", "", F{"ld", "a", "b"}, 3, "LD", ""},
                    TParseCase{"LD A,B", "", F{"LD", "A", "B"}, 3, "LD", ""},
                    TParseCase{"LD A, B", "", F{"LD", "A", "B"}, 3, "LD", ""},
                    TParseCase{"LD A B", "", F{"LD", "A", "B"}, 3, "LD", ""},
                    TParseCase{"LD\tA\t,\tB", "", F{"LD", "A", "B"}, 3, "LD", ""},
                    TParseCase{"LD A,,B", "", F{"LD", "A", "B"}, 3, "LD", ""},
                    TParseCase{"LD A, ,B", "", F{"LD", "A", "B"}, 3, "LD", ""},
                    TParseCase{"  LD A,B  ", "", F{"LD", "A", "B"}, 3, "LD", ""},
                    TParseCase{"LD A,,,B", "", F{"LD", "A", "", "B"}, 4, "LD", ""},
                    TParseCase{"LD A,,", "", F{"LD", "A", ""}, 3, "LD", ""},
                    TParseCase{"PROGRAM", "", F{"PROGRAM"}, 1, "PROGRAM", ""}));

INSTANTIATE_TEST_SUITE_P(
    LabelsAndComments, ParseLineForms,
    testing::Values(TParseCase{"", "", F{}, 0, "", ""},
                    TParseCase{"; only a comment", "", F{}, 0, "", "only a comment"},
                    TParseCase{"LOOP:", "LOOP", F{}, 0, "", ""},
                    TParseCase{"100:", "100", F{}, 0, "", ""},
                    TParseCase{"START: LD X,#1 " + kTag, "START", F{"LD", "X", "#1"}, 3, "LD",
                               "/\x1B"
                               "1\x1B"
                               "7"},
                    TParseCase{"LD A,B ; load: now", "", F{"LD", "A", "B"}, 3, "LD", "load: now"},
                    TParseCase{"A: B: NOP", "A", F{"B:", "NOP"}, 2, "B:", ""},
                    TParseCase{"DW 'A:B'", "", F{"DW", "A\\", ":\\", "B\\"}, 4, "DW", ""},
                    TParseCase{"DW ';'", "", F{"DW", ";\\"}, 2, "DW", ""},
                    TParseCase{"X: DW 'A B,C',0 ; s", "X",
                               F{"DW", "A\\", "\\s\\", "B\\", "\\c\\", "C\\", "0"}, 7, "DW", "s"},
                    // An unterminated string swallows the rest of the line, tag included.
                    TParseCase{"DW 'A;B " + kTag, "", F{"DW", "'A;B " + kTag}, 2, "DW", ""}));

INSTANTIATE_TEST_SUITE_P(
    EquForms, ParseLineForms,
    testing::Values(TParseCase{"X EQU 5", "X", F{"EQU", "5"}, 0, "EQU", ""},
                    TParseCase{"x equ 5", "x", F{"equ", "5"}, 0, "EQU", ""},
                    TParseCase{"X: EQU 5", "X", F{"EQU", "5"}, 2, "EQU", ""},
                    TParseCase{"X EQU", "X", F{"EQU"}, 0, "EQU", ""},
                    TParseCase{"X EQU 1 2", "X", F{"EQU", "1", "", "2"}, 0, "EQU", ""},
                    TParseCase{"A: B EQU 1", "B", F{"EQU", "1"}, 0, "EQU", ""},
                    TParseCase{"#K EQU 3 ; k", "#K", F{"EQU", "3"}, 0, "EQU", "k"},
                    TParseCase{"5 EQU 3", "5", F{"EQU", "3"}, 0, "EQU", ""},
                    TParseCase{"C EQU 'A'", "C", F{"EQU", "A\\"}, 0, "EQU", ""}));

INSTANTIATE_TEST_SUITE_P(
    DoubleByteText, ParseLineForms,
    testing::Values(
        // Strings of characters with a 0x5C second byte: one field each.
        TParseCase{"DW '" + kSo + kHyou + "' ; " + kSo + kHyou + " " + kTag, "",
                   F{"DW", kSo + "\\", kHyou + "\\"}, 3, "DW", kSo + kHyou + " " + kTag},
        // The same characters outside quotes are one field, never escapes.
        TParseCase{kSo + ": LD " + kHyou + "," + kSo, kSo, F{"LD", kHyou, kSo}, 3, "LD", ""},
        TParseCase{"\x83\x61x a", "", F{"\x83\x61x", "a"}, 2, "\x83\x61X", ""}));

TEST(ParseLineStrings, DataWordsCarryOneValuePerCharacter) {
  struct TCase {
    std::string Text;
    std::vector<int32_t> Values;
  } cases[] = {
      {"DW 'A B,C'", {65, 32, 66, 44, 67}},
      {"DW 'It\\qs'", {'I', 't', '\'', 's'}},
      {"DW 'AB',0", {65, 66, 0}},
      {"DW ';'", {59}},
      {"DW 'x\\'", {'x', 92}},
      {"DW '" + kSo + "'", {0x835C}},
      {"DW '" + kSo + "A" + kHyou + "'", {0x835C, 65, 0x955C}},
      {"DW '\\ x'", {32, 'x'}},
      {"DW 'a\\,b'", {'a', ',', 'b'}},
      {"DW '\x01'", {1}},
      // A lead byte that no trail byte follows is a character of its own,
      // written bare or behind a backslash, and the list goes on behind it.
      {"DW 'caf\xE9'", {0x63, 0x61, 0x66, 0xE9}},
      {"DW '\\\x81'", {0x81}},
      {"DW '\xE9 x',1", {0xE9, 32, 'x', 1}},
      {"DW '\x81\x7F\xFC'", {0x81, 0x7F, 0xFC}},
      // Characters that would mark an operand are characters like any other.
      {"DW '#@[x]'", {'#', '@', '[', 'x', ']'}},
  };
  for (const TCase& c : cases) {
    TAsmLine line;
    ParseLine(c.Text, line);
    ASSERT_EQ(line.FieldCount, c.Values.size() + 1) << c.Text;
    for (size_t k = 0; k < c.Values.size(); ++k)
      EXPECT_EQ(EvalNumber(line.Fields[k + 1]), c.Values[k]) << c.Text << " value " << k;
  }
}

TEST(ParseLineRecord, FieldsAndWordsGrowTogetherByEight) {
  TAsmLine line;
  EXPECT_EQ(line.Fields.size(), 3u);
  EXPECT_EQ(line.Words.size(), 3u);
  ParseLine("DW 1,2,3", line);
  EXPECT_EQ(line.FieldCount, 4);
  EXPECT_EQ(line.Fields.size(), 11u);
  EXPECT_EQ(line.Words.size(), 11u);
  ParseLine("DW 1,2,3,4,5,6,7,8,9,10,11", line);
  EXPECT_EQ(line.FieldCount, 12);
  EXPECT_EQ(line.Fields.size(), 19u);
  EXPECT_EQ(line.Words.size(), 19u);
  EXPECT_EQ(line.Fields[11], "11");
}

TEST(ParseLineRecord, ReparseClearsStaleFieldsButKeepsOtherMembers) {
  TAsmLine line;
  ParseLine("X: LD A,B", line);
  line.Words[0] = 0x100A;
  line.InstructionWord = 0x100A;
  line.ErrorCode = kErrUndefined;
  line.Address = 7;
  ParseLine("NOP ; c", line);
  EXPECT_EQ(line.FieldCount, 1);
  EXPECT_EQ(line.Mnemonic, "NOP");
  EXPECT_EQ(line.Fields[1], "");
  EXPECT_EQ(line.Fields[2], "");
  EXPECT_EQ(line.LabelName, "X");  // written only by a line with a label
  EXPECT_EQ(line.Words[0], 0x100A);
  EXPECT_EQ(line.InstructionWord, 0x100A);
  EXPECT_EQ(line.ErrorCode, kErrUndefined);
  EXPECT_EQ(line.Address, 7);
  // A stale "EQU" in entry 1 must not turn a one-field line into an EQU.
  ParseLine("A EQU 1", line);
  ParseLine("HALT", line);
  EXPECT_EQ(line.Mnemonic, "HALT");
  EXPECT_EQ(line.FieldCount, 1);
}

TEST(ParseLineRecord, ReparseRereadsTheSourceTag) {
  TAsmLine line;
  ParseLine(
      "NOP ;/\x1B"
      "1\x1B"
      "5",
      line);
  EXPECT_EQ(line.TagLineNumber(), 5);
  ParseLine(
      "NOP ;/\x1B"
      "2\x1B"
      "9",
      line);
  EXPECT_EQ(line.TagFileIndex(), 2);
  EXPECT_EQ(line.TagLineNumber(), 9);
}

TEST(ParseLineRecord, FieldCountNeverWrapsOnHugeLines) {
  std::string text = "DW";
  for (int i = 0; i < 70000; ++i)
    text += " 1";
  TAsmLine line;
  ParseLine(text, line);
  EXPECT_EQ(line.FieldCount, 65535);
  EXPECT_EQ(line.Fields.size(), line.Words.size());
  EXPECT_GE(line.Fields.size(), 65535u);
  EXPECT_EQ(line.Fields[65533], "1");
  // The rest that did not fit stays in the last field, which then fails.
  EXPECT_EQ(line.Fields[65534].size(), 2 * (70000 - 65533) - 1);
}

}  // namespace
