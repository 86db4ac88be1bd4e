// Resolving operand names through scopes and units, and evaluating operand
// texts: decoration, indirect terms, offsets, value-only constants.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "assembler/assembler_errors.h"
#include "assembler/label_key.h"
#include "assembler/label_table.h"
#include "persistence/encoding.h"
#include "persistence/sub_string_list.h"

namespace {

// ---------------------------------------------------------------- scopes

// MAIN at the root holds SUB; OTHER is a second root block.
class ScopedLookup : public testing::Test {
 protected:
  void SetUp() override {
    table_.DefineLabel("MAIN.*", 0x100);
    table_.DefineLabel("SUB.MAIN.*", 0x110);
    table_.DefineLabel("OTHER.*", 0x200);
    table_.DefineLabel("LOOP.MAIN.*", 0x101);
    table_.DefineLabel("LOOP.OTHER.*", 0x201);
    table_.DefineLabel("LOOP.SUB.MAIN.*", 0x111);
    table_.DefineLabel("COUNT.MAIN.*", 0x102);
    table_.DefineLabel("DATA.*", 0x300);
  }

  uint16_t ValueIn(const char* scope, const char* operand) {
    table_.SetCurrentScope(scope);
    return table_.EvaluateOperand(operand);
  }

  TKwList table_;
};

TEST_F(ScopedLookup, EachBlockFindsItsOwnLabelFirst) {
  struct TCase {
    const char* Scope;
    const char* Name;
    uint16_t Value;
  };
  const TCase cases[] = {
      {".MAIN.*", "LOOP", 0x101},           {".OTHER.*", "loop", 0x201},
      {".SUB.MAIN.*", "LOOP", 0x111},       {".SUB.MAIN.*", "COUNT", 0x102},  // outer block
      {".SUB.MAIN.*", "DATA", 0x300},       {".OTHER.*", "MAIN", 0x100},      // root labels
      {".SUB.MAIN.*", "SUB", 0x110},        {".*", "LOOP.MAIN", 0x101},       // qualified
      {".*", "LOOP.SUB.MAIN", 0x111},       {".OTHER.*", "loop.sub.main", 0x111},
      {".SUB.MAIN.*", "LOOP.OTHER", 0x201}, {".SUB.MAIN.*", "SP", 0xFFFE},  // registers last
  };
  for (const TCase& c : cases)
    EXPECT_EQ(ValueIn(c.Scope, c.Name), c.Value) << c.Scope << " " << c.Name;
}

TEST_F(ScopedLookup, InnerLabelsAreHiddenFromOutside) {
  struct TCase {
    const char* Scope;
    const char* Name;
  };
  for (const TCase& c : {TCase{".*", "LOOP"}, TCase{".*", "COUNT"}, TCase{".OTHER.*", "COUNT"},
                         TCase{".OTHER.*", "LOOP.SUB"}}) {
    table_.SetCurrentScope(c.Scope);
    EXPECT_EQ(table_.FindLabel(c.Name), -1) << c.Scope << " " << c.Name;
    EXPECT_THROW(table_.EvaluateOperand(c.Name), EConvertError) << c.Scope << " " << c.Name;
  }
}

TEST_F(ScopedLookup, AnOffsetAloneIsLookedUpNowhere) {
  // A key made only of a scope path must not answer for a name-less operand.
  table_.DefineLabel(".MAIN.*", 0x1234);
  table_.DefineLabel(".*", 0x1234);
  EXPECT_EQ(ValueIn(".MAIN.*", "-5"), 0xFFFB);
  EXPECT_EQ(ValueIn(".MAIN.*", "+5"), 5);
}

// Agrees with a plain search for each concatenated key, over many keys that
// share their names and scopes, so the in-place probes meet every order.
// The reference: the first key of the chain that is present, searched as
// one joined string.
int JoinedKeyIndex(const TKwList& table, const std::string& name) {
  for (std::string_view s = table.CurrentScope(); !s.empty(); s = OuterScope(s)) {
    const int index = table.IndexOf(name + std::string(s));
    if (index >= 0) return index;
  }
  return table.IndexOf(name);
}

// Many keys share their names, their beginnings and their scopes, so the
// searches meet every order; the lookup names also include a name with an
// unfinished double-byte character and one that is a Japanese character.
TEST(ScopedLookupRandom, AgreesWithSearchingTheJoinedKeys) {
  std::mt19937 random(7);
  const std::vector<std::string> scopes = {".*",    ".A.*",    ".B.A.*", ".C.B.A.*",
                                           ".a1.*", ".Z.a1.*", ".B.*"};
  const std::vector<std::string> names = {"L",  "L1", "l",  "LOOP", "LOOP.B", "X_",
                                          ">L", "^L", "L.", "_",    "A",      "B.A"};
  TKwList table;
  for (int i = 0; i < 400; ++i) {
    const std::string key = names[random() % names.size()] + scopes[random() % scopes.size()];
    if (table.IndexOf(key) < 0) table.DefineLabel(key, i);
  }
  std::vector<std::string> probes = names;
  probes.insert(probes.end(), {"L\x83", "\x83\x41", "LO", "Lx", "", "PC", "pc"});
  for (const std::string& scope : scopes) {
    table.SetCurrentScope(scope);
    for (const std::string& name : probes)
      EXPECT_EQ(table.FindLabel(name), JoinedKeyIndex(table, name)) << name << " in " << scope;
  }
}

// One name in a thousand blocks: each block finds its own, the top level
// none but its own.
TEST(ScopedLookupRandom, ANameInManyBlocksResolvesInEach) {
  TKwList table;
  std::vector<int> order(1000);
  for (int i = 0; i < 1000; ++i)
    order[i] = i;
  std::shuffle(order.begin(), order.end(), std::mt19937(3));
  for (int i : order)
    table.DefineLabel("LOOP.P" + std::to_string(i) + ".*", i);
  for (int i : {0, 1, 10, 99, 100, 500, 999}) {
    table.SetCurrentScope(".P" + std::to_string(i) + ".*");
    EXPECT_EQ(table.EvaluateOperand("LOOP"), i);
  }
  table.SetCurrentScope(".*");
  EXPECT_EQ(table.FindLabel("LOOP"), -1);
  table.DefineLabel("LOOP.*", 5000);
  EXPECT_EQ(table.EvaluateOperand("LOOP"), 5000);
}

// ---------------------------------------------------------------- units

// Units MATH and GFX; MATH holds SQR and INIT directly and LOOP inside its
// block P; GFX holds INIT and DRAW; the root holds SQR too.
class UnitLookup : public testing::Test {
 protected:
  UnitLookup() : units_(true, TDuplicates::Ignore) {}

  void SetUp() override {
    units_.Add("*=.*");
    units_.Add("MATH=.MATH.*");
    units_.Add("GFX=.GFX.*");
    table_.SetUnits(&units_);
    table_.DefineLabel("MATH.*", 0x500);
    table_.DefineLabel("GFX.*", 0x600);
    table_.DefineLabel("SQR.MATH.*", 0x510);
    table_.DefineLabel("INIT.MATH.*", 0x511);
    table_.DefineLabel("P.MATH.*", 0x520);
    table_.DefineLabel("LOOP.P.MATH.*", 0x521);
    table_.DefineLabel("INIT.GFX.*", 0x610);
    table_.DefineLabel("DRAW.GFX.*", 0x611);
    table_.DefineLabel("ROOTONLY.*", 0x010);
    table_.SetCurrentScope(".*");
  }

  TSubStringList& RootUses() { return units_.Child(units_.IndexOf("*=.*")); }

  TSubStringList units_;
  TKwList table_;
};

TEST_F(UnitLookup, UnitScopesAreFoundByNameInAnyCase) {
  EXPECT_EQ(table_.UnitScope("MATH"), ".MATH.*");
  EXPECT_EQ(table_.UnitScope("gfx"), ".GFX.*");
  EXPECT_EQ(table_.UnitScope("*"), ".*");
  EXPECT_EQ(table_.UnitScope("MAT"), "");
  EXPECT_EQ(table_.UnitScope("MATHS"), "");
  EXPECT_EQ(table_.UnitScope("MATH=.MATH.*"), "");
  table_.SetUnits(nullptr);
  EXPECT_EQ(table_.UnitScope("MATH"), "");
}

TEST_F(UnitLookup, UsesReachesOnlyTheUnitsOwnLevel) {
  table_.SetCurrentUses(&RootUses());
  EXPECT_THROW(table_.EvaluateOperand("DRAW"), EConvertError);  // nothing used yet
  RootUses().Add("MATH");
  EXPECT_EQ(table_.EvaluateOperand("INIT"), 0x511);
  EXPECT_EQ(table_.EvaluateOperand("P"), 0x520);
  EXPECT_EQ(table_.FindLabel("LOOP"), -1);  // inside MATH's block P
  EXPECT_EQ(table_.EvaluateOperand("LOOP.P"), 0x521);
  EXPECT_THROW(table_.EvaluateOperand("DRAW"), EConvertError);  // GFX is not used
  EXPECT_EQ(table_.EvaluateOperand("DRAW.GFX"), 0x611);         // qualified from the root
}

TEST_F(UnitLookup, TheScopeChainComesBeforeTheUnits) {
  table_.DefineLabel("SQR.*", 0x020);
  RootUses().Add("MATH");
  table_.SetCurrentUses(&RootUses());
  EXPECT_EQ(table_.EvaluateOperand("SQR"), 0x020);
  table_.SetCurrentScope(".MATH.*");  // inside the unit its own label wins
  EXPECT_EQ(table_.EvaluateOperand("SQR"), 0x510);
}

TEST_F(UnitLookup, TheUsesOrderDecidesBetweenUnits) {
  struct TCase {
    std::vector<std::string> Uses;
    uint16_t Init;
  };
  for (const TCase& c : {TCase{{"MATH", "GFX"}, 0x511}, TCase{{"GFX", "MATH"}, 0x610},
                         TCase{{"gfx"}, 0x610}, TCase{{"NOSUCH", "MATH", "GFX"}, 0x511}}) {
    TCustomStringList uses;
    for (const std::string& u : c.Uses)
      uses.Add(u);
    table_.SetCurrentUses(&uses);
    EXPECT_EQ(table_.EvaluateOperand("INIT"), c.Init) << uses.CommaText();
    EXPECT_EQ(table_.EvaluateOperand("CF"), 0xFFFA) << uses.CommaText();
  }
}

TEST_F(UnitLookup, AnUnsortedUnitTableGivesTheSameAnswers) {
  TSubStringList plain;  // unsorted: searched entry by entry
  plain.Add("GFX=.GFX.*");
  plain.Add("math=.MATH.*");
  plain.Add("*=.*");
  table_.SetUnits(&plain);
  TCustomStringList uses;
  uses.Add("Math");
  table_.SetCurrentUses(&uses);
  EXPECT_EQ(table_.UnitScope("GFX"), ".GFX.*");
  EXPECT_EQ(table_.EvaluateOperand("INIT"), 0x511);
  EXPECT_EQ(table_.EvaluateOperand("LOOP.P"), 0x521);
}

TEST_F(UnitLookup, WithoutUnitsOrUsesOnlyScopesAndRegistersCount) {
  table_.SetCurrentUses(nullptr);
  EXPECT_EQ(table_.FindLabel("INIT"), -1);
  TCustomStringList uses;
  uses.Add("MATH");
  table_.SetCurrentUses(&uses);
  table_.SetUnits(nullptr);
  EXPECT_EQ(table_.FindLabel("INIT"), -1);
  EXPECT_EQ(table_.EvaluateOperand("ROOTONLY"), 0x010);
  EXPECT_EQ(table_.EvaluateOperand("PC"), 0xFFFF);
}

// ---------------------------------------------------------------- operands

// X = 0x0010, Y = 0xFFFF, ^P = 0x0040, K a value-only constant 5, FF a label.
class OperandValue : public testing::Test {
 protected:
  void SetUp() override {
    table_.DefineLabel("X.*", 0x0010);
    table_.DefineLabel("Y.*", 0xFFFF);
    table_.DefineLabel("^P.*", 0x0040);
    table_.DefineLabel("K.*", 5).ValueOnly = true;
    table_.SetCurrentScope(".*");
  }

  TKwList table_;
};

struct TValueCase {
  std::string Text;
  uint16_t Value;
};

void PrintTo(const TValueCase& c, std::ostream* os) {
  *os << testing::PrintToString(c.Text);
}

class OperandValues : public OperandValue, public testing::WithParamInterface<TValueCase> {};

TEST_P(OperandValues, Evaluate) {
  EXPECT_EQ(table_.EvaluateOperand(GetParam().Text), GetParam().Value) << GetParam().Text;
}

INSTANTIATE_TEST_SUITE_P(
    LabelsAndLiterals, OperandValues,
    testing::Values(TValueCase{"X", 0x10}, TValueCase{"x", 0x10}, TValueCase{"#X", 0x10},
                    TValueCase{"@X", 0x10}, TValueCase{"^P", 0x40}, TValueCase{"#K", 5},
                    TValueCase{"#k", 5}, TValueCase{"#K+1", 6}, TValueCase{"10h", 0x10},
                    TValueCase{"#100", 100}, TValueCase{"@A$", 65}, TValueCase{"65536", 0},
                    TValueCase{"-1", 0xFFFF}, TValueCase{"#-1", 0xFFFF}, TValueCase{"#-5", 0xFFFB},
                    TValueCase{"-5", 0xFFFB}, TValueCase{"5+3", 8}));

INSTANTIATE_TEST_SUITE_P(Offsets, OperandValues,
                         testing::Values(TValueCase{"X+2", 0x12}, TValueCase{"X-1", 0x0F},
                                         TValueCase{"X-17", 0xFFFF}, TValueCase{"Y+1", 0},
                                         TValueCase{"Y+2", 1}, TValueCase{"PC+1", 0},
                                         TValueCase{"CF-1", 0xFFF9}, TValueCase{"X+10d", 0x1A},
                                         TValueCase{"X+65536", 0x10},
                                         TValueCase{"Y+2147483647", 0xFFFE},
                                         TValueCase{"X-2147483648", 0x10}));

INSTANTIATE_TEST_SUITE_P(
    Indirect, OperandValues,
    testing::Values(TValueCase{"[X]", 0x10}, TValueCase{"[X+1]", 0x11}, TValueCase{"[^P]", 0x40},
                    TValueCase{"[5]", 5}, TValueCase{"[+1]", 1},
                    TValueCase{"[PC+1]", 0},  // an offset makes it more than a register
                    TValueCase{"[" + Sjis("ゾ") + "$]", 0x835D}));

struct TFailCase {
  std::string Text;
  enum TKind { Convert, ParamType, ValueOnly } Kind;
};

void PrintTo(const TFailCase& c, std::ostream* os) {
  *os << testing::PrintToString(c.Text);
}

class OperandFailures : public OperandValue, public testing::WithParamInterface<TFailCase> {};

TEST_P(OperandFailures, RaiseTheirError) {
  const TFailCase& c = GetParam();
  try {
    table_.EvaluateOperand(c.Text);
    ADD_FAILURE() << "evaluated " << testing::PrintToString(c.Text);
  } catch (const EInvaridParamTypeError& e) {
    EXPECT_EQ(c.Kind, TFailCase::ParamType);
    EXPECT_EQ(e.what(), Sjis("[]内で使えないラベル"));
  } catch (const EValueOnlyError& e) {
    EXPECT_EQ(c.Kind, TFailCase::ValueOnly);
    EXPECT_EQ(e.what(), Sjis("ValueOnlyなのに#から始まってない"));
  } catch (const EConvertError&) {
    EXPECT_EQ(c.Kind, TFailCase::Convert);
  }
}

INSTANTIATE_TEST_SUITE_P(ValueOnly, OperandFailures,
                         testing::Values(TFailCase{"K", TFailCase::ValueOnly},
                                         TFailCase{"@K", TFailCase::ValueOnly},
                                         TFailCase{"[K]", TFailCase::ValueOnly},
                                         TFailCase{"K+1", TFailCase::ValueOnly}));

INSTANTIATE_TEST_SUITE_P(Indirect, OperandFailures,
                         testing::Values(TFailCase{"[PC]", TFailCase::ParamType},
                                         TFailCase{"[pc]", TFailCase::ParamType},
                                         TFailCase{"[CF]", TFailCase::ParamType},
                                         TFailCase{"[#X]", TFailCase::ParamType},
                                         TFailCase{"[@X]", TFailCase::ParamType},
                                         TFailCase{"[#5]", TFailCase::ParamType}));

INSTANTIATE_TEST_SUITE_P(
    NoValue, OperandFailures,
    testing::Values(
        // Nothing written: an empty field such as the middle one of "LD A,,B".
        TFailCase{"", TFailCase::Convert}, TFailCase{"#", TFailCase::Convert},
        TFailCase{"@", TFailCase::Convert}, TFailCase{"[]", TFailCase::Convert},
        TFailCase{"#[]", TFailCase::Convert},
        // A "[" that is never closed by a "]" of its own.
        TFailCase{"[", TFailCase::Convert}, TFailCase{"[X", TFailCase::Convert},
        TFailCase{"[X]+1", TFailCase::Convert}, TFailCase{"[" + Sjis("ゾ"), TFailCase::Convert},
        // Neither a label nor a literal.
        TFailCase{"UNDEFINED", TFailCase::Convert}, TFailCase{"FF", TFailCase::Convert},
        TFailCase{"X+10h", TFailCase::Convert}, TFailCase{"X+$10", TFailCase::Convert},
        TFailCase{"X+0x10", TFailCase::Convert}, TFailCase{"X+", TFailCase::Convert},
        TFailCase{"X+Y", TFailCase::Convert}, TFailCase{"X+-1", TFailCase::Convert},
        TFailCase{"X*2", TFailCase::Convert}, TFailCase{Sjis("ラベル"), TFailCase::Convert},
        TFailCase{"+", TFailCase::Convert}));

TEST_F(OperandValue, ALabelNamedLikeANumberWinsOverTheNumber) {
  EXPECT_THROW(table_.EvaluateOperand("FF"), EConvertError);
  table_.DefineLabel("FF.*", 0x1234);
  EXPECT_EQ(table_.EvaluateOperand("FF"), 0x1234);
  EXPECT_EQ(table_.EvaluateOperand("FF+1"), 0x1235);
}

}  // namespace
