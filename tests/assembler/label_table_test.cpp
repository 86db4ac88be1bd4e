// The label table's contents: the registers, defining labels, label kinds,
// record access, and the key comparison its searches rely on.
#include "assembler/label_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assembler/assembler_errors.h"
#include "assembler/label_key.h"
#include "persistence/compare_text.h"
#include "persistence/encoding.h"
#include "persistence/string_list_error.h"

namespace {

std::vector<std::string> Keys(const TKwList& table) {
  return table.ToVector();
}

// ---------------------------------------------------------------- registers

TEST(LabelTableRegisters, ResetLeavesExactlyTheSixRegisters) {
  TKwList table;
  table.DefineLabel("X.*", 1);
  table.DefineLabel("LOOP.MAIN.*", 2);
  table.ResetLabels();

  struct TReg {
    const char* Name;
    uint16_t Address;
    uint16_t Kind;
  };
  const TReg regs[] = {{"PC", 0xFFFF, kindPointer},  {"SP", 0xFFFE, kindPointer},
                       {"VF", 0xFFFD, kindVariable}, {"SF", 0xFFFC, kindVariable},
                       {"ZF", 0xFFFB, kindVariable}, {"CF", 0xFFFA, kindVariable}};
  ASSERT_EQ(table.Count(), 6);
  for (const TReg& reg : regs) {
    const int index = table.IndexOf(reg.Name);
    ASSERT_GE(index, 0) << reg.Name;
    EXPECT_EQ(table.Strings(index), reg.Name);  // stored bare, no scope path
    EXPECT_EQ(static_cast<uint16_t>(table.RecordAt(index).Value), reg.Address) << reg.Name;
    EXPECT_EQ(table.RecordAt(index).DefLine, 0);
    EXPECT_EQ(table.LabelKinds(index), reg.Kind) << reg.Name;
    EXPECT_EQ(table.EvaluateOperand(reg.Name), reg.Address) << reg.Name;
  }
  EXPECT_EQ(table.RecordOf("X.*").Value, 0);  // the old labels are gone
}

// ---------------------------------------------------------------- defining

TEST(LabelTableDefine, StoresTheLow16BitsAndHandsBackTheRecord) {
  TKwList table;
  TKwValues& record = table.DefineLabel("BIG.*", 0x12345);
  EXPECT_EQ(static_cast<uint16_t>(record.Value), 0x2345);
  EXPECT_FALSE(record.Selected);
  EXPECT_FALSE(record.ValueOnly);
  record.DefLine = 42;
  record.ValueOnly = true;
  EXPECT_EQ(table.RecordOf("BIG.*").DefLine, 42);
  EXPECT_TRUE(table.RecordOf("big.*").ValueOnly);

  EXPECT_EQ(table.DefineLabel("NEG.*", -1).Value, -1);
  EXPECT_EQ(table.DefineLabel("TOP.*", 0xFFFF).Value, -1);
}

TEST(LabelTableDefine, AcceptsEveryLabelKeyCharacter) {
  TKwList table;
  for (const char* key : {">LINE.*", "^PTR.*", "_under.*", "*0001.*", "9Z.*", "a.SUB.MAIN.*"})
    EXPECT_NO_THROW(table.DefineLabel(key, 1)) << key;
  EXPECT_EQ(table.Count(), 12);
}

class LabelTableBadCharacters : public testing::TestWithParam<std::string> {};

TEST_P(LabelTableBadCharacters, AreRefusedAndLeaveTheTableAlone) {
  TKwList table;
  table.DefineLabel("KEEP.*", 7);
  const std::vector<std::string> before = Keys(table);
  try {
    table.DefineLabel(GetParam(), 1);
    ADD_FAILURE() << "accepted " << GetParam();
  } catch (const EInvaridCharsetError& e) {
    EXPECT_EQ(e.what(), Sjis("ラベルに使えない文字があります"));
  }
  EXPECT_EQ(Keys(table), before);
  EXPECT_EQ(table.RecordOf("KEEP.*").Value, 7);
}

INSTANTIATE_TEST_SUITE_P(Keys, LabelTableBadCharacters,
                         testing::Values("A-B.*", "#K.*", "A B.*", "X@.*", "[X].*", "A,B.*",
                                         "A+1.*", "ä.*", Sjis("ラベル") + ".*",
                                         "LOOP." + Sjis("主") + ".*"));

TEST(LabelTableDefine, ACharacterErrorComesBeforeTheDuplicateCheck) {
  TKwList table;
  table.DefineLabel("A.*", 1);
  // Both faults at once: the character is reported.
  EXPECT_THROW(table.DefineLabel("PC-", 1), EInvaridCharsetError);
}

class LabelTableDuplicates : public testing::TestWithParam<std::string> {};

TEST_P(LabelTableDuplicates, AreRefusedWithoutRegardToCase) {
  TKwList table;
  TKwValues& first = table.DefineLabel("Loop.MAIN.*", 10);
  first.DefLine = 3;
  const std::vector<std::string> before = Keys(table);
  try {
    table.DefineLabel(GetParam(), 99);
    ADD_FAILURE() << "accepted " << GetParam();
  } catch (const EStringListError& e) {
    EXPECT_EQ(e.what(), Sjis("文字列が重複しています"));
  }
  EXPECT_EQ(Keys(table), before);
  EXPECT_EQ(table.RecordOf("LOOP.MAIN.*").Value, 10);
  EXPECT_EQ(table.RecordOf("LOOP.MAIN.*").DefLine, 3);
}

INSTANTIATE_TEST_SUITE_P(Keys, LabelTableDuplicates,
                         testing::Values("LOOP.MAIN.*", "loop.main.*", "Loop.MAIN.*", "PC", "pc",
                                         "cF"));

TEST(LabelTableDefine, TheSameNameInOtherScopesIsNoDuplicate) {
  TKwList table;
  table.DefineLabel("LOOP.MAIN.*", 1);
  table.DefineLabel("LOOP.SUB.*", 2);
  table.DefineLabel("LOOP.*", 3);
  table.DefineLabel("PC.*", 4);  // a root label named PC is not the register
  EXPECT_EQ(table.Count(), 10);
}

// ---------------------------------------------------------------- kinds

struct TKindCase {
  std::string Key;
  bool ValueOnly;
  bool Selected;
  uint16_t Kinds;
};

void PrintTo(const TKindCase& c, std::ostream* os) {
  *os << c.Key;
}

class LabelTableKinds : public testing::TestWithParam<TKindCase> {};

TEST_P(LabelTableKinds, FollowTheRuleOrder) {
  const TKindCase& c = GetParam();
  TKwList table;
  int index = table.IndexOf(c.Key);
  if (index < 0) {
    table.DefineLabel(c.Key, 1);
    index = table.IndexOf(c.Key);
  }
  TKwValues* record = table.FindRecord(c.Key);
  ASSERT_NE(record, nullptr);
  record->ValueOnly = c.ValueOnly;
  record->Selected = c.Selected;
  EXPECT_EQ(table.LabelKinds(index), c.Kinds);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, LabelTableKinds,
    testing::Values(TKindCase{"LOOP.*", false, false, kindVariable},
                    TKindCase{"_tmp.MAIN.*", false, false, kindVariable},

                    TKindCase{">NEXT.*", false, false, kindLineLabel},
                    TKindCase{"^BUF.*", false, false, kindPointer},
                    TKindCase{"*000A.*", false, false, kindAuto},
                    // A key that begins with a digit matches no rule.
                    TKindCase{"1X.*", false, false, 0},
                    // Selected is added to whatever the other rules gave.
                    TKindCase{"1X.*", false, true, kindSelected},
                    TKindCase{"LOOP.*", false, true, kindVariable | kindSelected},
                    TKindCase{"PC", false, true, kindPointer | kindSelected},
                    // ValueOnly comes before the first character...
                    TKindCase{"K.*", true, false, kindImmediate},
                    TKindCase{">K.*", true, false, kindImmediate},
                    TKindCase{"^K.*", true, true, kindImmediate | kindSelected},
                    // ...but after the register names, which compare with exact case.
                    TKindCase{"SP", true, false, kindPointer},
                    TKindCase{"ZF", true, false, kindVariable},
                    TKindCase{"pc.*", false, false, kindVariable},
                    TKindCase{"sp.*", false, false, kindVariable}));

TEST(LabelTableKinds, OutsideTheTableThereIsNoKind) {
  const TKwList table;
  EXPECT_EQ(table.LabelKinds(-1), 0);
  EXPECT_EQ(table.LabelKinds(table.Count()), 0);
}

// ---------------------------------------------------------------- records

TEST(LabelTableRecords, AbsentEntriesGiveTheEmptyRecord) {
  TKwList table;
  table.DefineLabel("X.*", 5).DefLine = 9;
  const TKwValues* empty = &table.EmptyRecord();
  for (int index : {-1, table.Count(), 1000})
    EXPECT_EQ(&table.RecordAt(index), empty) << index;
  EXPECT_EQ(&table.RecordOf("Y.*"), empty);
  EXPECT_EQ(&table.RecordOf("X"), empty);  // the key is exact: no scope walk
  EXPECT_EQ(table.FindRecord("Y.*"), nullptr);
  EXPECT_EQ(empty->Value, 0);
  EXPECT_EQ(empty->DefLine, 0);
  EXPECT_FALSE(empty->Selected);
  EXPECT_FALSE(empty->ValueOnly);
  // Present keys, in any case, give their own record.
  EXPECT_EQ(table.RecordOf("x.*").DefLine, 9);
  EXPECT_EQ(&table.RecordAt(table.IndexOf("X.*")), &table.RecordOf("X.*"));
}

TEST(LabelTableRecords, AnEntryAddedAsAPlainStringReadsAsEmpty) {
  TKwList table;
  const int index = table.Add("BARE.*");  // string-list access, no record
  EXPECT_EQ(&table.RecordAt(index), &table.EmptyRecord());
  EXPECT_EQ(table.LabelKinds(index), kindVariable);
  EXPECT_EQ(table.EvaluateOperand("BARE.*"), 0);
  ASSERT_NE(table.FindRecord("BARE.*"), nullptr);  // writable access makes one
  table.FindRecord("BARE.*")->Selected = true;
  EXPECT_TRUE(table.RecordAt(index).Selected);
}

// ---------------------------------------------------------------- keys

TEST(LabelKeys, PartComparisonMatchesTheListComparison) {
  const std::string so = "\x83\x5C";  // ソ, second byte a backslash
  const std::string a = "\x83\x41";   // ア, second byte "A"
  const std::string di = "\x83\x61";  // ヂ, second byte "a"
  const std::vector<std::string> texts = {
      "",           "L",       "LOOP.*", "loop.MAIN.*", "LOOP", ".*",   "LOOPa",
      "LOOP.SUB.*", "_",       "^P.*",   "PC",          "pc",   a,      di,
      a + "X",      so + ".*", "X" + a,  "X" + di,      "\x83", "Z\x83"};
  for (const std::string& key : texts) {
    for (const std::string& whole : texts) {
      for (size_t cut = 0; cut <= whole.size(); ++cut) {
        const std::string head = whole.substr(0, cut);
        const std::string tail = whole.substr(cut);
        const int expected = CompareText(key, whole);
        const int got = CompareKeyParts(key, head, tail);
        EXPECT_EQ((got > 0) - (got < 0), (expected > 0) - (expected < 0))
            << testing::PrintToString(key) << " vs " << testing::PrintToString(head) << "+"
            << testing::PrintToString(tail);
      }
    }
  }
}

TEST(LabelKeys, OuterScopeWalksToTheRootAndStops) {
  struct TCase {
    const char* Scope;
    const char* Outer;
  };
  for (const TCase& c : {TCase{".SUB.MAIN.*", ".MAIN.*"}, TCase{".MAIN.*", ".*"}, TCase{".*", ""},
                         TCase{"", ""}, TCase{"MAIN.*", ""}, TCase{".X", ""}})
    EXPECT_EQ(OuterScope(c.Scope), c.Outer) << c.Scope;
}

}  // namespace
