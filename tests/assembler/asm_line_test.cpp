#include "assembler/asm_line.h"

#include <gtest/gtest.h>

#include <string>

#include "assembler/asm_error_codes.h"
#include "assembler/assembler_errors.h"
#include "assembler/auto_label.h"
#include "assembler/line_parser.h"
#include "persistence/encoding.h"

namespace {

TAsmLine Parsed(const std::string& text) {
  TAsmLine line;
  ParseLine(text, line);
  return line;
}

TEST(SourceTag, PlainLineGivesFileAndLine) {
  const TAsmLine line = Parsed(
      "LD A,B ; load ;/\x1B"
      "3\x1B"
      "12");
  EXPECT_EQ(line.TagCount(), 2);
  EXPECT_EQ(line.TagFileIndex(), 3);
  EXPECT_EQ(line.TagLineNumber(), 12);
  EXPECT_EQ(line.TagItem(0), 3);
  EXPECT_EQ(line.TagItem(1), 12);
  EXPECT_EQ(line.TagItem(2), 0);
  EXPECT_EQ(line.TagItem(-1), 0);
  ASSERT_EQ(line.SourceTag.size(), 2u);
  EXPECT_EQ(line.SourceTag[0], "3");
}

TEST(SourceTag, ExpandedLineGivesFourItemsAndTheCallPosition) {
  const TAsmLine line = Parsed(
      "NOP ;/\x1B"
      "2\x1B"
      "7\x1B"
      "1\x1B"
      "40");
  EXPECT_EQ(line.TagCount(), 4);
  EXPECT_EQ(line.TagItem(0), 2);
  EXPECT_EQ(line.TagItem(1), 7);
  EXPECT_EQ(line.TagItem(2), 1);
  EXPECT_EQ(line.TagItem(3), 40);
  EXPECT_EQ(line.TagFileIndex(), 1);
  EXPECT_EQ(line.TagLineNumber(), 40);
}

TEST(SourceTag, LinesWithoutTag) {
  for (const char* text : {"LD A,B ; hi", "; INCLUDE [a.qasm] ===>", "",
                           "DW 'A;/\x1B"
                           "1\x1B"
                           "2"}) {
    const TAsmLine line = Parsed(text);
    EXPECT_EQ(line.TagCount(), 0) << text;
    EXPECT_EQ(line.TagFileIndex(), -1) << text;
    EXPECT_EQ(line.TagLineNumber(), 0) << text;
  }
}

TEST(SourceTag, OddTagsReadSafely) {
  // Leading separators are skipped; a non-number item reads as 0; a single
  // item has a line number but no file index.
  EXPECT_EQ(Parsed("NOP ;/\x1B\x1B"
                   "4\x1B"
                   "9")
                .TagFileIndex(),
            4);
  EXPECT_EQ(Parsed("NOP ;/\x1B"
                   "x\x1B"
                   "9")
                .TagFileIndex(),
            0);
  const TAsmLine single = Parsed(
      "NOP ;/\x1B"
      "9");
  EXPECT_EQ(single.TagFileIndex(), -1);
  EXPECT_EQ(single.TagLineNumber(), 9);
}

TEST(CommentText, DropsTheSourceTag) {
  const struct {
    const char* Text;
    const char* Comment;
  } cases[] = {{"LD A,B ; load ;/\x1B"
                "1\x1B"
                "2",
                "load"},
               {"LD A,B ;/\x1B"
                "1\x1B"
                "2",
                ""},
               {"; *important;/\x1B"
                "1\x1B"
                "2",
                "*important"},
               {";   spaced   ", "spaced"},
               {"NOP", ""}};
  for (const auto& c : cases)
    EXPECT_EQ(CommentText(Parsed(c.Text)), c.Comment) << c.Text;
}

TEST(ScopeAndOperands, DepthAndJoin) {
  TAsmLine line;
  EXPECT_EQ(ScopeDepth(line), 0);
  line.Scope = ".*";
  EXPECT_EQ(ScopeDepth(line), 1);
  line.Scope = ".SUB.MAIN.*";
  EXPECT_EQ(ScopeDepth(line), 3);

  EXPECT_EQ(JoinOperands(Parsed("LD A , B")), "A,B");
  EXPECT_EQ(JoinOperands(Parsed("USES M1 M2, M3")), "M1,M2,M3");
  EXPECT_EQ(JoinOperands(Parsed("NOP")), "");
  EXPECT_EQ(JoinOperands(Parsed("X EQU 5")), "");
}

TEST(AutoLabel, StarAndAtLeastFourUpperCaseHexDigits) {
  EXPECT_EQ(FormatAutoLabel(0), "*0000");
  EXPECT_EQ(FormatAutoLabel(1), "*0001");
  EXPECT_EQ(FormatAutoLabel(0xABC), "*0ABC");
  EXPECT_EQ(FormatAutoLabel(0xFFFF), "*FFFF");
  EXPECT_EQ(FormatAutoLabel(0x10000), "*10000");
}

TEST(ErrorMessages, EveryCodeHasItsCp932Text) {
  const struct {
    int32_t Code;
    const char* Utf8;
  } cases[] = {{kErrBadMnemonic, "命令が不正です"},
               {kErrFieldCount, "パラメータ数が不正です"},
               {kErrBadNumber, "数値の評価ができません"},
               {kErrBadParameter, "使用できないパラメーターです"},
               {kErrBadLocation, "行番号が不正です"},
               {kErrDuplicateLabel, "ラベルの2重定義です"},
               {kErrBadLabelChar, "ラベルに使えない文字があります"},
               {kErrMissingHash, "パラメータに#がありません"},
               {kErrBlockMismatch, "ブロックの対応が不正です"},
               {kErrMissingUnitName, "ユニット名がありません"},
               {-6, "エラー：-6"},
               {-99, "エラー：-99"}};
  for (const auto& c : cases) {
    const std::string message = AsmErrorMessage(c.Code);
    EXPECT_EQ(message, Sjis(c.Utf8)) << c.Code;
    EXPECT_NE(message, std::string(c.Utf8)) << "code " << c.Code << " is not CP932";
  }
}

TEST(ErrorMessages, UndefinedNameAndPrePassText) {
  EXPECT_EQ(AsmErrorMessage(kErrUndefined, "FOO"), "\"FOO\"" + Sjis("は未定義です"));
  EXPECT_EQ(AsmErrorMessage(kErrUndefined, ""), "\"\"" + Sjis("は未定義です"));
  const std::string note = Sjis("マクロ名がありません");
  EXPECT_EQ(AsmErrorMessage(kErrPrePass, "", note), note);
}

TEST(Exceptions, CarryTheirCp932Messages) {
  EXPECT_EQ(std::string(EInvaridCharsetError().what()), Sjis("ラベルに使えない文字があります"));
  EXPECT_EQ(std::string(EInvaridParamTypeError().what()), Sjis("[]内で使えないラベル"));
  EXPECT_EQ(std::string(EValueOnlyError().what()), Sjis("ValueOnlyなのに#から始まってない"));
  EXPECT_EQ(assembler_messages::ConvertError(), Sjis("文字列の変換エラー"));
}

}  // namespace
