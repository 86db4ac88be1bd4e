// Assemble: addresses, scopes and labels, units and USES, the error codes of
// the passes, the macro pre-pass lines and the tally.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assembler/asm_error_codes.h"
#include "assembler/macro_prepass.h"
#include "assembler/qrx_assembler.h"
#include "assembler/source_set.h"
#include "assembler_support.h"
#include "persistence/encoding.h"

namespace {

using assembler_test::AssembleSource;
using assembler_test::FirstWords;
using assembler_test::LabelValue;

std::vector<uint16_t> Addresses(const TQRXAssembler& assembler) {
  std::vector<uint16_t> addresses;
  for (int i = 0; i < assembler.LineCount(); ++i)
    addresses.push_back(assembler.LineAt(i).Address);
  return addresses;
}

std::vector<std::string> Scopes(const TQRXAssembler& assembler) {
  std::vector<std::string> scopes;
  for (int i = 0; i < assembler.LineCount(); ++i)
    scopes.push_back(assembler.LineAt(i).Scope);
  return scopes;
}

std::vector<int32_t> ErrorCodes(const TQRXAssembler& assembler) {
  std::vector<int32_t> codes;
  for (int i = 0; i < assembler.LineCount(); ++i)
    codes.push_back(assembler.LineAt(i).ErrorCode);
  return codes;
}

std::vector<uint16_t> InstructionWords(const TQRXAssembler& assembler) {
  std::vector<uint16_t> words;
  for (int i = 0; i < assembler.LineCount(); ++i)
    words.push_back(assembler.LineAt(i).InstructionWord);
  return words;
}

TEST(AssemblerCreate, StartsWithOneCommentLineAndTheRegisters) {
  TQRXAssembler assembler;
  ASSERT_EQ(assembler.LineCount(), 1);
  EXPECT_EQ(assembler.LineText(0), ";");
  EXPECT_EQ(assembler.LineAt(0).Comment, ";");
  EXPECT_EQ(assembler.Labels().ToVector(),
            (std::vector<std::string>{"CF", "PC", "SF", "SP", "VF", "ZF"}));
  ASSERT_EQ(assembler.Units().Count(), 1);
  EXPECT_EQ(assembler.Units()[0], "*=.*");
  EXPECT_EQ(assembler.Units().EntryMark(0), 1);
  EXPECT_EQ(assembler.AutoLabelCounter(), 0u);
}

// ---------------------------------------------------------------- addresses

TEST(AssemblerAddresses, WorkedExampleGivesAddressesLabelsAndWords) {
  TQRXAssembler assembler;
  EXPECT_EQ(AssembleSource(assembler, {"START: LD X,#1", "; a comment", "X: DW 1,2", "HALT"}), 0);
  EXPECT_EQ(Addresses(assembler), (std::vector<uint16_t>{0, 0xFFFF, 3, 5}));
  EXPECT_EQ(LabelValue(assembler, "X.*"), 3);
  EXPECT_EQ(LabelValue(assembler, "START.*"), 0);
  EXPECT_EQ(FirstWords(assembler.LineAt(0), 3), (std::vector<uint16_t>{0x1009, 3, 1}));
  EXPECT_EQ(assembler.LineAt(0).InstructionWord, 0x1009);
  EXPECT_EQ(assembler.LineAt(0).ErrorCode, 0);
  EXPECT_EQ(FirstWords(assembler.LineAt(2), 2), (std::vector<uint16_t>{1, 2}));
  EXPECT_EQ(assembler.LineAt(3).Words[0], 0xFFF0);
  EXPECT_EQ(assembler.ErrorLineCount(), 0);
  EXPECT_EQ(assembler.Labels().RecordOf("X.*").DefLine, 2);
}

struct TAddressCase {
  const char* name;
  std::vector<std::string> source;
  std::vector<uint16_t> addresses;
};

class AssemblerAddressTable : public testing::TestWithParam<TAddressCase> {};

TEST_P(AssemblerAddressTable, LocationCounter) {
  TQRXAssembler assembler;
  EXPECT_EQ(AssembleSource(assembler, GetParam().source), 0);
  EXPECT_EQ(Addresses(assembler), GetParam().addresses);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AssemblerAddressTable,
    testing::Values(
        TAddressCase{"EquTakesNoAddress", {"NOP", "K EQU 7", "NOP", "HALT"}, {0, 0xFFFF, 1, 2}},
        TAddressCase{
            "LastLineKeepsItsAddress", {"NOP", "; c", "LD PC,#0", "; end"}, {0, 0xFFFF, 1, 4}},
        TAddressCase{"LabelOnlyLastLine", {"NOP", "END:"}, {0, 1}},
        TAddressCase{"DirectivesDoNotAdvance",
                     {"P: PROC", "RET", "ENDPROC", "PROGRAM", "X: DW 'AB',0", "HALT"},
                     {0, 0, 1, 1, 1, 4}},
        TAddressCase{"NumericLabelMovesForward",
                     {"NOP", "100:", "NOP", "0200h: NOP"},
                     {0, 0xFFFF, 100, 0x200}},
        TAddressCase{"AddressesWrapAt16Bits", {"0FFFEh: LD PC,#0", "NOP"}, {0xFFFE, 0x0001}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AssemblerAddresses, EquValuesAndForwardReferences) {
  TQRXAssembler assembler;
  ASSERT_EQ(AssembleSource(assembler, {"JP LATER", "K EQU 0Ah", "#C EQU 'A'", "NOP", "LD LATER,#C",
                                       "LATER: HALT"}),
            0);
  EXPECT_EQ(LabelValue(assembler, "K.*"), 10);
  EXPECT_EQ(LabelValue(assembler, "C.*"), 0x41);
  EXPECT_TRUE(assembler.Labels().RecordOf("C.*").ValueOnly);
  EXPECT_FALSE(assembler.Labels().RecordOf("K.*").ValueOnly);
  EXPECT_EQ(assembler.LineAt(2).LabelName, "C");  // the "#" is gone
  // The reference lies ahead of the definition: all labels are known first.
  EXPECT_EQ(FirstWords(assembler.LineAt(0), 2), (std::vector<uint16_t>{0x4002, 6}));
  EXPECT_EQ(FirstWords(assembler.LineAt(4), 3), (std::vector<uint16_t>{0x1009, 6, 0x41}));
}

// ---------------------------------------------------------------- scopes

TEST(AssemblerScopes, ProcedureScopesAndLabelKeys) {
  TQRXAssembler assembler;
  ASSERT_EQ(AssembleSource(assembler, {"MAIN: PROC", "LOOP: JP LOOP", "SUB: PROC", "JP LOOP",
                                       "ENDPROC", "ENDPROC", "LOOP: JP LOOP", "JP LOOP.MAIN"}),
            0);
  EXPECT_EQ(Scopes(assembler),
            (std::vector<std::string>{".MAIN.*", ".MAIN.*", ".SUB.MAIN.*", ".SUB.MAIN.*", ".MAIN.*",
                                      ".*", ".*", ".*"}));
  EXPECT_EQ(LabelValue(assembler, "MAIN.*"), 0);
  EXPECT_EQ(LabelValue(assembler, "LOOP.MAIN.*"), 0);
  EXPECT_EQ(LabelValue(assembler, "SUB.MAIN.*"), 2);
  EXPECT_EQ(LabelValue(assembler, "LOOP.*"), 4);
  EXPECT_EQ(assembler.LineAt(1).Words[1], 0);  // LOOP inside MAIN
  EXPECT_EQ(assembler.LineAt(3).Words[1], 0);  // found from the enclosing block
  EXPECT_EQ(assembler.LineAt(6).Words[1], 4);  // the top-level LOOP
  EXPECT_EQ(assembler.LineAt(7).Words[1], 0);  // qualified
}

TEST(AssemblerScopes, UnnamedProceduresGetAutomaticNames) {
  TQRXAssembler assembler;
  ASSERT_EQ(AssembleSource(assembler, {"PROC", "ENDPROC", "PROC", "NOP", "ENDPROC"}), 0);
  EXPECT_EQ(assembler.LineAt(0).LabelName, "*0000");
  EXPECT_EQ(assembler.LineAt(2).LabelName, "*0001");
  EXPECT_EQ(assembler.LineAt(3).Scope, ".*0001.*");
  EXPECT_EQ(LabelValue(assembler, "*0001.*"), 0);
  EXPECT_EQ(assembler.AutoLabelCounter(), 2u);
  EXPECT_EQ(assembler.NewAutoLabel(), "*0002");
  EXPECT_EQ(assembler.AutoLabelCounter(), 3u);
  // Every assembly counts from 0 again.
  assembler.Assemble();
  EXPECT_EQ(assembler.LineAt(0).LabelName, "*0000");
}

TEST(AssemblerScopes, StrayEndprocMarksEveryFollowingLineOfThatLevel) {
  TQRXAssembler assembler;
  EXPECT_GT(AssembleSource(assembler, {"NOP", "ENDPROC", "NOP", "X: DW 1"}), 0);
  EXPECT_EQ(ErrorCodes(assembler),
            (std::vector<int32_t>{0, kErrBlockMismatch, kErrBlockMismatch, kErrBlockMismatch}));
  // Never encoded: no instruction word, no directive mark, so the ENDPROC
  // takes one word like an instruction.
  EXPECT_EQ(assembler.LineAt(2).Words[0], 0);
  EXPECT_FALSE(assembler.LineAt(1).IsDirective);
  EXPECT_EQ(Addresses(assembler), (std::vector<uint16_t>{0, 1, 2, 3}));
  EXPECT_EQ(assembler.ErrorLineCount(), 3);
  // Every pass counts these lines again; the error lines count once each.
  EXPECT_EQ(assembler.Assemble().ErrorLines, 3);
}

TEST(AssemblerScopes, BlockLeftOpenIsNoError) {
  TQRXAssembler assembler;
  EXPECT_GT(AssembleSource(assembler, {"MAIN: PROC", "NOP", "U: UNIT"}), 0);
  EXPECT_EQ(assembler.ErrorLineCount(), 1);  // only the misplaced UNIT
  EXPECT_EQ(AssembleSource(assembler, {"MAIN: PROC", "NOP"}), 0);
  EXPECT_EQ(assembler.LineAt(1).Scope, ".MAIN.*");
}

// ---------------------------------------------------------------- units

TEST(AssemblerUnits, UnitInsideProcedureAndUnitWithoutName) {
  TQRXAssembler assembler;
  EXPECT_GT(AssembleSource(assembler, {"P: PROC", "U: UNIT", "ENDUNIT", "ENDPROC"}), 0);
  EXPECT_EQ(ErrorCodes(assembler),
            (std::vector<int32_t>{0, kErrBlockMismatch, kErrBlockMismatch, 0}));

  EXPECT_GT(AssembleSource(assembler, {"NOP", "UNIT", "NOP", "ENDUNIT", "HALT"}), 0);
  EXPECT_EQ(assembler.LineAt(1).ErrorCode, kErrMissingUnitName);
  // Never encoded, so it takes one word.
  EXPECT_EQ(Addresses(assembler), (std::vector<uint16_t>{0, 1, 2, 3, 3}));
  EXPECT_EQ(assembler.ErrorLineCount(), 1);
  // A unit without a name gets no unit entry, so its lines (and the error)
  // stay in the listing.
  EXPECT_EQ(assembler.Units().IndexOfName(""), -1);
  EXPECT_EQ(assembler.Listing().Count(), 5);
}

TEST(AssemblerUnits, UnitsEnterTheTableHiddenWithTheirUsesNamesOneByOne) {
  TQRXAssembler assembler;
  ASSERT_EQ(AssembleSource(assembler, {"MATH: UNIT", "USES IO, TEXT", "USES IO2", "ENDUNIT",
                                       "IO: UNIT", "ENDUNIT", "USES MATH"}),
            0);
  const TSubStringList& units = assembler.Units();
  EXPECT_EQ(units.ToVector(), (std::vector<std::string>{"*=.*", "IO=.IO.*", "MATH=.MATH.*"}));
  EXPECT_EQ(units.EntryMark(units.IndexOf("MATH=.MATH.*")), 0);
  EXPECT_EQ(units.EntryMark(units.IndexOf("*=.*")), 1);
  const TSubStringList* mathUses = units.ChildIfAny(units.IndexOf("MATH=.MATH.*"));
  ASSERT_NE(mathUses, nullptr);
  EXPECT_EQ(mathUses->ToVector(), (std::vector<std::string>{"IO", "TEXT", "IO2"}));
  EXPECT_EQ(units.ChildIfAny(0)->ToVector(), (std::vector<std::string>{"MATH"}));
  EXPECT_EQ(LabelValue(assembler, "MATH.*"), 0);
  // Reassembling empties the USES lists and fills them again once.
  ASSERT_EQ(assembler.Assemble().Tally, 0);
  EXPECT_EQ(units.ChildIfAny(0)->ToVector(), (std::vector<std::string>{"MATH"}));
}

const std::vector<std::string> kMathSource = {
    "NOP",     "MATH: UNIT", "ONE: DW 1",     "SQ: PROC",   "IN1: DW 2",        "ENDPROC",
    "ENDUNIT", "USES MATH",  "LD ONE,IN1.SQ", "LD ONE,IN1", "LD IN1.SQ.MATH,#0"};

TEST(AssemblerUnits, UsesReachesUnitLabelsByPlainAndQualifiedNames) {
  TQRXAssembler assembler;
  EXPECT_GT(AssembleSource(assembler, kMathSource), 0);
  EXPECT_EQ(LabelValue(assembler, "ONE.MATH.*"), 1);
  EXPECT_EQ(LabelValue(assembler, "IN1.SQ.MATH.*"), 2);
  const TAsmLine& qualified = assembler.LineAt(8);
  EXPECT_EQ(qualified.InstructionWord, 0x100A);
  EXPECT_EQ(qualified.ErrorCode, 0);
  EXPECT_EQ(FirstWords(qualified, 3), (std::vector<uint16_t>{0x100A, 1, 2}));
  // A label inside a procedure of the unit is not reached by its plain name.
  const TAsmLine& plain = assembler.LineAt(9);
  EXPECT_EQ(plain.ErrorCode, kErrUndefined);
  EXPECT_EQ(plain.UndefinedName, "IN1");
  EXPECT_EQ(plain.Words[1], 1);
  EXPECT_EQ(assembler.LineAt(10).Words[1], 2);  // the full path works without USES too
  EXPECT_EQ(assembler.ErrorLineCount(), 1);
}

TEST(AssemblerUnits, WithoutUsesTheUnitLabelsAreUndefined) {
  std::vector<std::string> source = kMathSource;
  source[7] = "; no USES";
  TQRXAssembler assembler;
  AssembleSource(assembler, source);
  EXPECT_EQ(assembler.LineAt(8).ErrorCode, kErrUndefined);
  EXPECT_EQ(assembler.LineAt(8).UndefinedName, "IN1.SQ");
  EXPECT_EQ(assembler.LineAt(10).InstructionWord, 0x1009);
  EXPECT_EQ(assembler.LineAt(10).ErrorCode, 0);
}

TEST(AssemblerUnits, UsesInsideAUnitAppliesBetweenUnitAndEndunit) {
  TQRXAssembler assembler;
  ASSERT_EQ(AssembleSource(assembler, {"LIB: UNIT", "K: DW 7", "ENDUNIT", "APP: UNIT", "USES LIB",
                                       "LD K,#1", "ENDUNIT", "LD K,#1"}),
            1);
  EXPECT_EQ(assembler.LineAt(5).Words[1], 0);
  EXPECT_EQ(assembler.LineAt(7).ErrorCode, kErrUndefined);  // back at the top level
  EXPECT_EQ(assembler.UnitStack().ToVector(), (std::vector<std::string>{"*"}));
}

TEST(AssemblerUnits, UsesInsideAProcedureIsItsOwnErrorAndTakesNoWord) {
  TQRXAssembler assembler;
  EXPECT_GT(AssembleSource(assembler, {"MATH: UNIT", "ENDUNIT", "P: PROC", "USES MATH", "ENDPROC",
                                       "M: UNIT", "Q: PROC", "USES MATH", "ENDPROC", "ENDUNIT"}),
            0);
  EXPECT_EQ(assembler.LineAt(3).ErrorCode, kErrUsesInProcedure);
  EXPECT_EQ(assembler.LineAt(7).ErrorCode, kErrUsesInProcedure);
  EXPECT_EQ(AsmErrorMessage(kErrUsesInProcedure), Sjis("USES は PROC の中には書けません"));
  EXPECT_EQ(assembler.ErrorLineCount(), 2);
  // Nothing was added to any list.
  for (int u = 0; u < assembler.Units().Count(); ++u) {
    const TSubStringList* uses = assembler.Units().ChildIfAny(u);
    EXPECT_TRUE(uses == nullptr || uses->Empty()) << assembler.Units()[u];
  }

  // The rest of the program keeps the addresses and words it has without
  // the misplaced line.
  const std::vector<std::string> without = {"P: PROC", "LD X,#1", "ENDPROC", "X: DW 5", "HALT"};
  std::vector<std::string> with = without;
  with.insert(with.begin() + 2, "USES MATH, IO");
  const auto imageWords = [&assembler] {
    std::vector<std::pair<uint16_t, std::vector<uint16_t>>> words;
    for (const TImageLine& line : assembler.MemoryImage())
      words.emplace_back(line.Address, std::vector<uint16_t>(line.Words.begin(), line.Words.end()));
    return words;
  };
  ASSERT_EQ(AssembleSource(assembler, without), 0);
  const auto expected = imageWords();
  EXPECT_GT(AssembleSource(assembler, with), 0);
  EXPECT_EQ(assembler.LineAt(2).ErrorCode, kErrUsesInProcedure);
  EXPECT_EQ(LabelValue(assembler, "X.*"), 3);
  EXPECT_EQ(imageWords(), expected);
}

// ---------------------------------------------------------------- error codes

struct TErrorCase {
  const char* name;
  std::vector<std::string> source;
  int line;
  int32_t status;
  const char* undefinedName;
};

class AssemblerErrorTable : public testing::TestWithParam<TErrorCase> {};

TEST_P(AssemblerErrorTable, LineGetsTheCode) {
  const TErrorCase& c = GetParam();
  TQRXAssembler assembler;
  const int tally = AssembleSource(assembler, c.source);
  const TAsmLine& line = assembler.LineAt(c.line);
  EXPECT_EQ(line.ErrorCode, c.status);
  EXPECT_EQ(line.UndefinedName, c.undefinedName);
  EXPECT_GT(tally, 0);
  EXPECT_EQ(assembler.ErrorLineCount(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AssemblerErrorTable,
    testing::Values(
        TErrorCase{"UnknownMnemonic", {"FOO 1"}, 0, kErrBadMnemonic, ""},
        TErrorCase{"FieldCount", {"NOP 5"}, 0, kErrFieldCount, ""},
        TErrorCase{"DwWithoutValues", {"DW"}, 0, kErrFieldCount, ""},
        TErrorCase{"BadEquValue", {"K EQU 12Z"}, 0, kErrBadNumber, ""},
        TErrorCase{"EquValueIsNoLabel", {"A: DW 0", "K EQU A"}, 1, kErrBadNumber, ""},
        TErrorCase{"BadNumericLabel", {"12Z: NOP"}, 0, kErrBadNumber, ""},
        TErrorCase{"LocationBackwards", {"NOP", "100:", "NOP", "50: NOP"}, 3, kErrBadLocation, ""},
        TErrorCase{"DuplicateAnyCase", {"Loop: NOP", "LOOP: NOP"}, 1, kErrDuplicateLabel, ""},
        TErrorCase{"DuplicateInsideBlock",
                   {"MAIN: PROC", "LOOP: NOP", "LOOP: NOP", "ENDPROC"},
                   2,
                   kErrDuplicateLabel,
                   ""},
        TErrorCase{"BadLabelCharacter", {"A-B: NOP"}, 0, kErrBadLabelChar, ""},
        // A lone "#" leaves no name to define.
        TErrorCase{"ValueOnlyWithoutName", {"# EQU 3"}, 0, kErrBadLabelChar, ""},
        TErrorCase{"BinaryEquTooLong", {"K EQU 10101010101010101b"}, 0, kErrBadLabelChar, ""},
        TErrorCase{"FirstOperandMode", {"LD #1,PC"}, 0, kErrBadParameter, ""},
        TErrorCase{"IndirectRegister", {"LD V,[PC]", "V: DW 0"}, 0, kErrBadParameter, ""},
        TErrorCase{
            "ValueOnlyWithoutHash", {"#K EQU 3", "LD V,K", "V: DW 0"}, 1, kErrMissingHash, ""},
        TErrorCase{"UndefinedSecond", {"LD V,NOPE", "V: DW 0"}, 0, kErrUndefined, "NOPE"},
        TErrorCase{"EmptyOperandField", {"LD V,,,V", "V: DW 0"}, 0, kErrUndefined, ""},
        // The binary literal's own error (too many digits) means no value too.
        TErrorCase{"BinaryOperandTooLong",
                   {"LD V,#10101010101010101b", "V: DW 0"},
                   0,
                   kErrUndefined,
                   "#10101010101010101b"},
        TErrorCase{"LastFailingOperandDecides", {"LD [PC],NOPE"}, 0, kErrUndefined, "NOPE"},
        TErrorCase{"ProgramOperandsAreEvaluated", {"PROGRAM NOPE"}, 0, kErrUndefined, "NOPE"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AssemblerErrors, UndefinedFirstOperandLetsTheSecondMoveUp) {
  TQRXAssembler assembler;
  AssembleSource(assembler, {"LD NOPE,X", "X: DW 9"});
  const TAsmLine& line = assembler.LineAt(0);
  EXPECT_EQ(line.ErrorCode, kErrUndefined);
  EXPECT_EQ(line.UndefinedName, "NOPE");
  EXPECT_EQ(FirstWords(line, 3), (std::vector<uint16_t>{0x100A, 3, 0}));
}

TEST(AssemblerErrors, ErrorLinesStillTakeTheirPlace) {
  TQRXAssembler assembler;
  // The unknown mnemonic advances by its fields; the bad label's DW still
  // holds its values.
  AssembleSource(assembler, {"FOO A,B", "A-B: DW 5,6", "HALT"});
  EXPECT_EQ(Addresses(assembler), (std::vector<uint16_t>{0, 3, 5}));
  EXPECT_EQ(FirstWords(assembler.LineAt(1), 2), (std::vector<uint16_t>{5, 6}));
}

// ---------------------------------------------------------------- macro lines

TEST(AssemblerMacros, PrePassErrorsBecomeCommentLinesWithCode30) {
  TQRXAssembler assembler;
  const int tally =
      AssembleSource(assembler, {"NOP", "ENDMACRO", "M: MACRO %A", "ENDMACRO", "M 1"});
  EXPECT_GT(tally, 0);
  const TAsmLine& stray = assembler.LineAt(1);
  EXPECT_EQ(stray.ErrorCode, kErrPrePass);
  EXPECT_EQ(stray.FieldCount, 0);
  EXPECT_EQ(stray.Address, 0xFFFF);
  const std::string message = Sjis("変なところにENDMACROがあります → ");
  EXPECT_EQ(CommentText(stray), message + "ENDMACRO");
  // The marker stays in the line text, so the line is an error line again
  // whenever the lines are assembled again.
  EXPECT_NE(assembler.LineText(1).find(std::string(kMacroErrorMarker)), std::string::npos);
  EXPECT_EQ(AsmErrorMessage(stray.ErrorCode, stray.UndefinedName, CommentText(stray)),
            message + "ENDMACRO");
  // With an error in the pre-pass no call is expanded: M is an unknown mnemonic.
  EXPECT_EQ(assembler.LineAt(4).ErrorCode, kErrBadMnemonic);
  EXPECT_EQ(assembler.ErrorLineCount(), 2);
}

TEST(AssemblerMacros, DefinitionLinesAreParsedForTheListingButLoadNothing) {
  TQRXAssembler assembler;
  ASSERT_EQ(AssembleSource(assembler, {"M: MACRO %A", "DW %A", "ENDMACRO", "M 5", "HALT"}), 0);
  ASSERT_EQ(assembler.LineCount(), 5);
  const TAsmLine& header = assembler.LineAt(0);
  EXPECT_EQ(header.LabelName, "M");
  EXPECT_EQ(header.Mnemonic, "MACRO");
  EXPECT_TRUE(header.IsDirective);
  EXPECT_EQ(header.ErrorCode, 0);
  EXPECT_EQ(header.InstructionWord, 0);
  const TAsmLine& body = assembler.LineAt(1);
  EXPECT_EQ(body.Mnemonic, "DW");
  EXPECT_EQ(body.FieldCount, 2);
  EXPECT_EQ(body.Fields[1], "%A");
  EXPECT_TRUE(body.IsDirective);
  EXPECT_EQ(body.Address, 0xFFFF);
  EXPECT_EQ(assembler.LineAt(1).TagLineNumber(), 2);
  // The expansion sits where the call was.
  EXPECT_EQ(assembler.LineAt(3).Words[0], 5);
  EXPECT_EQ(assembler.LineAt(3).Address, 0);
  EXPECT_EQ(assembler.LineAt(4).Address, 1);
  EXPECT_EQ(assembler.LineAt(3).TagLineNumber(), 4);  // the call's line
  const std::vector<TImageLine> image = assembler.MemoryImage();
  ASSERT_EQ(image.size(), 2u);
  EXPECT_EQ(image[0].LineIndex, 3);
  EXPECT_EQ(image[1].LineIndex, 4);
}

// ---------------------------------------------------------------- tally

TEST(AssemblerTally, ZeroExactlyWhenNoLineHasAnError) {
  const std::vector<std::vector<std::string>> sources = {
      {"NOP"},
      {"HALT", "X: DW 1"},
      {"NOP", "ENDUNIT"},
      {"U: UNIT", "USES V", "ENDUNIT"},
      {"MAIN: PROC", "LD A,B", "ENDPROC"},
      {"M: MACRO", "ENDMACRO", "M", "M"},
      {"M: MACRO X", "ENDMACRO"},
      {"K EQU", "LD PC,#K"},
      {"#K EQU 1", "LD PC,@K"},
  };
  for (const auto& source : sources) {
    TQRXAssembler assembler;
    const int tally = AssembleSource(assembler, source);
    EXPECT_GE(tally, 0);
    EXPECT_EQ(tally == 0, assembler.ErrorLineCount() == 0) << source[0] << " / " << tally;
  }
}

// The lines that Assemble leaves behind (macros expanded, definitions and
// errors marked) are what a state file saves and assembles again on
// restore; a second assembly must give the same program.
TEST(AssemblerTally, ReassemblingExpandedLinesGivesTheSameProgram) {
  struct TCase {
    const char* what;
    std::vector<std::string> source;
  };
  const std::vector<TCase> cases = {
      {"pre-pass errors and nothing else", {"NOP", "ENDMACRO", "HALT"}},
      {"pre-pass errors with calls left unexpanded",
       {"M: MACRO %A", "MACRO", "ENDMACRO", "M 1", "X: MACRO Q", "ENDMACRO"}},
      {"an unnamed block after an expansion with a label parameter",
       {"M: MACRO ?L", "?L: NOP", "JP ?L", "ENDMACRO", "M", "PROC", "RET", "ENDPROC", "M", "HALT"}},
      {"an error marker written in the source", {"NOP ; E\x08", "LD X,#1 E\x08", "X: DW 0"}},
  };
  for (const TCase& c : cases) {
    TQRXAssembler assembler;
    const int first = AssembleSource(assembler, c.source);
    const std::vector<int32_t> codes = ErrorCodes(assembler);
    const std::vector<uint16_t> words = InstructionWords(assembler);
    const int errors = assembler.ErrorLineCount();
    const int second = assembler.Assemble().Tally;
    EXPECT_EQ(first > 0, second > 0) << c.what;
    EXPECT_EQ(second > 0, assembler.ErrorLineCount() > 0) << c.what;
    EXPECT_EQ(assembler.ErrorLineCount(), errors) << c.what;
    EXPECT_EQ(ErrorCodes(assembler), codes) << c.what;
    EXPECT_EQ(InstructionWords(assembler), words) << c.what;
    EXPECT_EQ(assembler.Assemble().Tally, second) << c.what;
  }
}

// Assembles lines exactly as given (no tags added).
int AssembleLines(TQRXAssembler& assembler, const std::vector<std::string>& lines) {
  TCustomStringList list;
  for (const std::string& line : lines)
    list.Add(line);
  assembler.SetLines(list);
  return assembler.Assemble().Tally;
}

TEST(AssemblerTally, UnnamedBlocksSkipAutomaticNamesThatAnExpansionWrote) {
  // As a restored state file holds them: a line an expansion wrote carries
  // the body line's tag followed by the call's file and line.
  const std::string expanded = SourceTag(1, 2) +
                               "\x1b"
                               "1\x1b"
                               "9";
  const std::string plain = SourceTag(1, 3);
  TQRXAssembler assembler;
  ASSERT_EQ(AssembleLines(assembler, {";M\x08M: MACRO ?L" + plain, "*0001: NOP" + expanded,
                                      "*0000: NOP" + expanded, "PROC" + plain, "ENDPROC" + plain,
                                      "PROC" + plain, "ENDPROC" + plain}),
            0);
  EXPECT_EQ(assembler.LineAt(3).LabelName, "*0002");
  EXPECT_EQ(assembler.LineAt(5).LabelName, "*0003");
  // Only label fields count: a name in an operand or a comment of an
  // expanded line is text, and so is a name in a form no assembly writes.
  // (The references are undefined, which is beside the point here.)
  AssembleLines(assembler,
                {"*0001: NOP" + expanded, "JP *0007" + expanded, "DW *0008, '*0009'" + expanded,
                 "NOP ; loops 2*1000 times" + expanded, "*00005: NOP ; *123456789" + expanded,
                 "PROC" + plain, "ENDPROC" + plain});
  EXPECT_EQ(assembler.LineAt(5).LabelName, "*0002");
  // The name an EQU line defines is its label field too ("#" dropped).
  ASSERT_EQ(AssembleLines(assembler, {"*0004 EQU 1" + expanded, "#*0006 EQU 2" + expanded,
                                      "PROC" + plain, "ENDPROC" + plain}),
            0);
  EXPECT_EQ(assembler.LineAt(2).LabelName, "*0007");
  // The highest name an assembly can meet leaves the counter far from its
  // end: the next names follow it and never come round to *0000 again.
  ASSERT_EQ(AssembleLines(assembler,
                          {"*FFFFFFFE: NOP" + expanded, "*0000: NOP" + expanded, "PROC" + plain,
                           "ENDPROC" + plain, "PROC" + plain, "ENDPROC" + plain}),
            0);
  EXPECT_EQ(assembler.LineAt(2).LabelName, "*FFFFFFFF");
  EXPECT_EQ(assembler.LineAt(4).LabelName, "*100000000");
  // A line that the pre-pass makes part of a definition (a header without
  // ENDMACRO takes every line behind it) defines nothing and moves nothing,
  // so the lines it leaves behind, assembled again, name the block alike.
  ASSERT_EQ(AssembleLines(assembler, {"PROC" + plain, "ENDPROC" + plain, "M: MACRO" + plain,
                                      "*0000: NOP" + expanded}),
            0);
  EXPECT_EQ(assembler.LineAt(0).LabelName, "*0000");
  EXPECT_EQ(assembler.Assemble().Tally, 0);
  EXPECT_EQ(assembler.LineAt(0).LabelName, "*0000");
  // A name in lower case is the same label.
  ASSERT_EQ(AssembleLines(assembler, {"*000b: NOP" + expanded, "PROC" + plain, "ENDPROC"}), 0);
  EXPECT_EQ(assembler.LineAt(1).LabelName, "*000C");
  // A learner's own reference to an automatic name, tagged or not, is no
  // expansion: the first unnamed block is *0000 still.
  ASSERT_EQ(AssembleLines(assembler, {"CALL *0000" + plain, "CALL *0003", "PROC" + plain, "RET",
                                      "ENDPROC", "*0003: RET"}),
            0);
  EXPECT_EQ(assembler.LineAt(2).LabelName, "*0000");
}

// On a fresh assembly only "?" parameters and unnamed blocks draw names:
// text that looks like an automatic name, in a macro body's comment or
// operand or anywhere in the source, moves nothing.
TEST(AssemblerTally, AFreshAssemblyNamesBlocksFromZero) {
  TQRXAssembler assembler;
  ASSERT_EQ(AssembleSource(assembler, {"M: MACRO %A", "DW %A ; loops 2*1000 times, *FFFFFFFE",
                                       "ENDMACRO", "M 7", "PROC", "ENDPROC", "JP *0000 ; *0010"}),
            0);
  EXPECT_EQ(assembler.LineAt(4).LabelName, "*0000");
  EXPECT_EQ(assembler.LineAt(6).Words[1], 1);  // the block's address

  // A "?" parameter that the body uses only as an operand still draws its
  // name first; the block follows it.
  ASSERT_GT(AssembleSource(assembler,
                           {"M: MACRO ?L", "JP ?L", "ENDMACRO", "M", "PROC", "ENDPROC", "HALT"}),
            0);
  EXPECT_EQ(assembler.LineAt(3).ErrorCode, kErrUndefined);
  EXPECT_EQ(assembler.LineAt(4).LabelName, "*0001");
  // Assembled again (as a state file restores them) the lines hold that
  // name in no label field, so the block takes it and the jump finds it.
  EXPECT_EQ(assembler.Assemble().Tally, 0);
  EXPECT_EQ(assembler.LineAt(4).LabelName, "*0000");
  EXPECT_EQ(assembler.LineAt(3).Words[1], 2);
}

TEST(AssemblerTally, ReassemblyGivesTheSameResult) {
  TQRXAssembler assembler;
  const int first = AssembleSource(assembler, kMathSource);
  const std::vector<int32_t> codes = ErrorCodes(assembler);
  const std::vector<uint16_t> words = InstructionWords(assembler);
  EXPECT_EQ(assembler.Assemble().Tally, first);
  EXPECT_EQ(ErrorCodes(assembler), codes);
  EXPECT_EQ(InstructionWords(assembler), words);
  EXPECT_EQ(LabelValue(assembler, "ONE.MATH.*"), 1);
}

}  // namespace
