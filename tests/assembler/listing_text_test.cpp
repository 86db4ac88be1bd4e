// The texts of a listing row: code rows, labels, operand lists, comments
// and error texts.
#include "assembler/listing_text.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "assembler/asm_error_codes.h"
#include "assembler_support.h"
#include "persistence/encoding.h"
#include "persistence/file_set.h"

namespace {

using assembler_test::AssembleSource;

TAsmLine DwLine(const std::vector<std::string>& operands) {
  TAsmLine line;
  line.Mnemonic = "DW";
  line.Fields.assign(1, "DW");
  for (const std::string& operand : operands)
    line.Fields.push_back(operand);
  line.Words.resize(line.Fields.size());
  line.FieldCount = static_cast<uint16_t>(line.Fields.size());
  return line;
}

TEST(OperandListText, StringCharactersBecomeOneQuotedRun) {
  struct Case {
    std::vector<std::string> operands;
    std::string text;
  };
  const std::vector<Case> cases = {
      {{"1", "A\\", "B\\"}, "1,'AB"},  // a run at the end is not closed
      {{"1", "A\\", "B\\", "0"}, "1,'AB',0"},
      {{"1", "2", "3"}, "1,2,3"},
      {{"A\\", "B\\"}, "'AB"},  // a list may begin with a run
      {{"A\\", "1"}, "'A',1"},
      {{"1", "A\\", "2", "B\\"}, "1,'A',2,'B"},
      {{"X"}, "X"},
      {{}, ""},
      // The second byte of a double-byte character may be 0x5C: it is no
      // backslash, so "ソ" alone is an ordinary field, its token a run.
      {{"1", "\x83\x5C"}, "1,\x83\x5C"},
      {{"1", "\x83\x5C\\"}, "1,'\x83\x5C"},
      // A lone lead byte's token belongs to the run too.
      {{"c\\", "\xE9$", "1"}, "'c\xE9',1"},
      {{"1", "\xE9$"}, "1,'\xE9"},
      // The marks a string keeps behind a backslash show as written.
      {{"a\\", "\\#\\", "\\@\\", "\\[\\", "\\n\\"}, "'a#@[\\n"},
      // A mark that begins a field outside quotes marks its operand; the
      // field is no character of a run.
      {{"a\\", "@\\"}, "'a',@\\"},
      // A backslash alone ends a run bare; inside one it shows as "\\", so
      // that it does not make an escape with the character after it.
      {{"\\\\", "s\\", "\\\\"}, "'\\\\s\\"},
      {{"a\\", "\\\\", "1"}, "'a\\',1"},
      {{"#\\", "b\\"}, "#\\,'b"},
      {{"1", "[\\"}, "1,[\\"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(OperandListText(DwLine(c.operands)), c.text) << testing::PrintToString(c.operands);
}

TEST(OperandListText, OnlyFieldsBelowFieldCountCount) {
  TAsmLine line = DwLine({"1", "2", "3"});
  line.FieldCount = 3;
  EXPECT_EQ(OperandListText(line), "1,2");
  line.FieldCount = 1;
  EXPECT_EQ(OperandListText(line), "");
}

class ListingText : public ::testing::Test {
 protected:
  const TAsmLine& Line(int i) const { return assembler_->LineAt(i); }
  std::unique_ptr<TQRXAssembler> assembler_ = std::make_unique<TQRXAssembler>();
};

TEST_F(ListingText, CodeRowsAreDataAndInstructionsOnly) {
  AssembleSource(*assembler_, {
                                  "START: LD X, #1",  // 0 instruction
                                  "; a comment",      // 1
                                  "X: DW 1, 'AB'",    // 2 data
                                  "N EQU 5",          // 3
                                  "L:",               // 4 label alone
                                  "P: PROC",          // 5
                                  " RET",             // 6
                                  " ENDPROC",         // 7
                                  " USES P",          // 8
                                  "",                 // 9
                              });
  const std::vector<bool> code = {true,  false, true,  false, false,
                                  false, true,  false, false, false};
  for (int i = 0; i < static_cast<int>(code.size()); ++i)
    EXPECT_EQ(IsCodeRow(Line(i)), code[static_cast<size_t>(i)]) << i;
  EXPECT_TRUE(IsOperandListRow(Line(2)));
  EXPECT_TRUE(IsOperandListRow(Line(8)));
  EXPECT_FALSE(IsOperandListRow(Line(0)));
  EXPECT_EQ(OperandListText(Line(2)), "1,'AB");
  EXPECT_EQ(ListingFieldText(Line(0), 1), "X");
  EXPECT_EQ(ListingFieldText(Line(0), 2), "#1");
  EXPECT_EQ(ListingFieldText(Line(0), 99), "");
}

TEST_F(ListingText, ValueOnlyConstantsShowAHashOnTheirEquRow) {
  AssembleSource(*assembler_, {
                                  "#TEN EQU 10",
                                  "NINE EQU 9",
                                  "START: LD X, #TEN",
                                  "X: DW 0",
                                  "P: PROC",
                                  "#IN EQU 1",
                                  " ENDPROC",
                              });
  const TKwList& labels = assembler_->Labels();
  EXPECT_EQ(ListingLabelText(Line(0), labels), "#TEN");
  EXPECT_EQ(ListingLabelText(Line(1), labels), "NINE");
  EXPECT_EQ(ListingLabelText(Line(2), labels), "START");
  // Looked up under the row's own scope.
  EXPECT_EQ(ListingLabelText(Line(5), labels), "#IN");
}

// A constant that is not defined keeps its "#": its row shows the label as
// written, not a name that reads as another line.
TEST_F(ListingText, AFailedValueOnlyConstantShowsItsHash) {
  AssembleSource(*assembler_, {"#A-B EQU 2", "# EQU 4"});
  for (int i = 0; i < 2; ++i)
    EXPECT_TRUE(Line(i).HasError()) << i;
  const TKwList& labels = assembler_->Labels();
  EXPECT_EQ(ListingLabelText(Line(0), labels), "#A-B");
  EXPECT_EQ(ListingLabelText(Line(1), labels), "#");
}

TEST_F(ListingText, CommentsLoseTheirTagAndAStarMakesThemImportant) {
  AssembleSource(*assembler_, {"  ;   * look here  ", " HALT ; stop", " NOP"});
  EXPECT_EQ(ListingCommentText(Line(0)), "* look here");
  EXPECT_TRUE(IsImportantComment(ListingCommentText(Line(0))));
  EXPECT_EQ(ListingCommentText(Line(1)), "stop");
  EXPECT_FALSE(IsImportantComment(ListingCommentText(Line(1))));
  EXPECT_EQ(ListingCommentText(Line(2)), "");
  EXPECT_FALSE(IsImportantComment(""));
}

TEST_F(ListingText, ErrorRowsNameTheirFileAndLine) {
  std::vector<std::string> source(11, "; filler");
  source.push_back(" FOO");
  source.push_back(" JP NOWHERE");
  source.push_back(" HALT");
  AssembleSource(*assembler_, source);
  TFileNames files;
  files.AddWithStamp("/work/x/main.qasm", -1);
  files.AddWithStamp("/work/x/main.qasm", -1);

  EXPECT_EQ(ListingErrorText(Line(11), files), Sjis("[main.qasm(12)]命令が不正です"));
  EXPECT_EQ(ListingErrorText(Line(12), files), Sjis("[main.qasm(13)]\"NOWHERE\"は未定義です"));
  EXPECT_EQ(ListingErrorText(Line(13), files), "");
}

TEST_F(ListingText, PrePassErrorsShowTheirOwnCommentText) {
  AssembleSource(*assembler_, {" ENDMACRO", " HALT"});
  TFileNames files;
  files.AddWithStamp("/a/m.qasm", -1);
  files.AddWithStamp("/a/m.qasm", -1);
  ASSERT_EQ(Line(0).ErrorCode, -30);
  const std::string text = ListingErrorText(Line(0), files);
  EXPECT_EQ(text.rfind(Sjis("[m.qasm(1)]"), 0), 0u) << Cp932ToUtf8(text);
  EXPECT_NE(text.find(Sjis("変なところにENDMACROがあります")), std::string::npos)
      << Cp932ToUtf8(text);
}

TEST_F(ListingText, AnUnterminatedStringSwallowsTheTagSoOnlyTheMessageShows) {
  AssembleSource(*assembler_, {" DW 'AB", " HALT"});
  TFileNames files;
  files.AddWithStamp("/a/m.qasm", -1);
  files.AddWithStamp("/a/m.qasm", -1);
  ASSERT_LT(Line(0).ErrorCode, 0);
  ASSERT_EQ(Line(0).TagFileIndex(), -1);
  const std::string text = ListingErrorText(Line(0), files);
  EXPECT_EQ(text, AsmErrorMessage(Line(0).ErrorCode, Line(0).UndefinedName)) << Cp932ToUtf8(text);
  EXPECT_EQ(ListingErrorText(Line(1), files), "");
}

// Only the pre-pass flags a line, and it writes its marker right behind the
// macro-definition marker at the front. An "E" and a backspace in the
// line's own text (the fuzzer's find: a comment, then a line whose
// unpaired apostrophe hides the ";" the marker would become) flag nothing.
TEST_F(ListingText, AnErrorMarkerInTheLinesOwnTextFlagsNothing) {
  AssembleSource(*assembler_, {
                                  "; \xE6\x97\xDF\xDF\xA1\xE3\x08",
                                  "      YYe\xB3\xE3\x83\xE3\x81\xAF',E\x08",
                                  " NOP ; E\x08 in a comment",
                                  " DW 'E\x08',1",
                                  "E\x08 HALT",
                                  " ENDMACRO",
                              });
  TFileNames files;
  files.AddWithStamp("/a/m.qasm", -1);
  files.AddWithStamp("/a/m.qasm", -1);
  const std::vector<int32_t> codes = {0, kErrBadMnemonic, 0, 0, kErrUndefined, kErrPrePass};
  for (int i = 0; i < static_cast<int>(codes.size()); ++i) {
    EXPECT_EQ(Line(i).ErrorCode, codes[static_cast<size_t>(i)]) << i;
    EXPECT_EQ(ListingErrorText(Line(i), files).empty(), !Line(i).HasError()) << i;
  }
  EXPECT_EQ(Line(2).InstructionWord, 0x0000);
  EXPECT_EQ(Line(3).Words[0], 'E');
  EXPECT_EQ(Line(3).Words[1], 0x08);
  EXPECT_EQ(Line(3).Words[2], 1);
}

TEST(ListingErrorText, ARowWithoutASourceTagShowsTheMessageAlone) {
  TFileNames files;
  files.AddWithStamp("/a/m.qasm", -1);
  TAsmLine line;
  line.ErrorCode = -1;
  line.Comment = "; INCLUDE [a.qasm] ===>";
  EXPECT_EQ(ListingErrorText(line, files), Sjis("命令が不正です"));
  line.ErrorCode = -99;
  EXPECT_EQ(ListingErrorText(line, files), Sjis("エラー：-99"));
  // A flagged line without any message (only a line list written by hand
  // can hold one) still shows an error text.
  line.ErrorCode = kErrPrePass;
  line.Comment.clear();
  EXPECT_EQ(ListingErrorText(line, files), Sjis("エラー：-30"));
  line.Comment = "message";
  EXPECT_EQ(ListingErrorText(line, files), "message");
}

}  // namespace
