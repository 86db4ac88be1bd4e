// Results and flags of the arithmetic, logic and shift instructions at their
// boundaries. Every flag word starts at 7, a value no instruction writes, so
// each case also shows which flags an instruction leaves alone.
#include <string>

#include "machine_fixture.h"

namespace {

using M = TQRXEmulater;
constexpr int kKept = -1;  // flag word not written

struct TAluCase {
  const char* name;
  uint16_t opcode;
  bool twoOperands;
  uint16_t a;
  uint16_t b;
  uint16_t result;
  bool stores;
  int vf, sf, zf, cf;
};

class AluFlags : public MachineTest, public ::testing::WithParamInterface<TAluCase> {};

TEST_P(AluFlags, ResultStoreAndFlags) {
  const TAluCase c = GetParam();
  constexpr uint16_t kOperand = 0x0200;
  if (c.twoOperands)
    Place(0, {Enc2(c.opcode, kDir, kImm), kOperand, c.b});
  else
    Place(0, {Enc1(c.opcode, kDir), kOperand});
  m->WriteWord(kOperand, c.a);
  PoisonFlags(7);

  ASSERT_EQ(m->Step(), 0);
  EXPECT_EQ(m->Result, c.result);
  EXPECT_EQ(Word(kOperand), c.stores ? c.result : c.a);
  EXPECT_EQ(m->Destination, c.stores ? kOperand : -1);
  EXPECT_EQ(Pc(), c.twoOperands ? 3 : 2);
  const auto expectFlag = [&](uint16_t address, int expected, const char* flag) {
    EXPECT_EQ(Word(address), expected == kKept ? 7 : expected) << flag;
  };
  expectFlag(M::VF, c.vf, "VF");
  expectFlag(M::SF, c.sf, "SF");
  expectFlag(M::ZF, c.zf, "ZF");
  expectFlag(M::CF, c.cf, "CF");
}

constexpr bool k2 = true, k1 = false;
constexpr bool kStore = true, kNoStore = false;

INSTANTIATE_TEST_SUITE_P(
    Step, AluFlags,
    ::testing::Values(
        //        name              opcode  ops a       b       result  store    VF SF ZF CF
        TAluCase{"AddSignedOverflow", op::Add, k2, 0x7FFF, 0x0001, 0x8000, kStore, 1, 1, 0, 0},
        TAluCase{"AddCarryToZero", op::Add, k2, 0xFFFF, 0x0001, 0x0000, kStore, 0, 0, 1, 1},
        TAluCase{"AddTwoMostNegative", op::Add, k2, 0x8000, 0x8000, 0x0000, kStore, 1, 0, 1, 1},
        TAluCase{"AddNegativeOverflow", op::Add, k2, 0x8000, 0xFFFF, 0x7FFF, kStore, 1, 0, 0, 1},
        TAluCase{"AddPositivesOverflow", op::Add, k2, 0x7FFF, 0x7FFF, 0xFFFE, kStore, 1, 1, 0, 0},
        TAluCase{"AddMinusOnes", op::Add, k2, 0xFFFF, 0xFFFF, 0xFFFE, kStore, 0, 1, 0, 1},
        TAluCase{"AddToNegativeNoCarry", op::Add, k2, 0x0001, 0xFFFE, 0xFFFF, kStore, 0, 1, 0, 0},
        TAluCase{"AddZero", op::Add, k2, 0x0005, 0x0000, 0x0005, kStore, 0, 0, 0, 0},
        TAluCase{"AddZeroToZero", op::Add, k2, 0x0000, 0x0000, 0x0000, kStore, 0, 0, 1, 0},
        TAluCase{"SubBorrow", op::Sub, k2, 0x0001, 0x0002, 0xFFFF, kStore, 0, 1, 0, 1},
        TAluCase{"SubSignedOverflow", op::Sub, k2, 0x8000, 0x0001, 0x7FFF, kStore, 1, 0, 0, 0},
        TAluCase{"SubMinusOneOverflow", op::Sub, k2, 0x7FFF, 0xFFFF, 0x8000, kStore, 1, 1, 0, 1},
        TAluCase{"SubMostNegative", op::Sub, k2, 0x0000, 0x8000, 0x8000, kStore, 1, 1, 0, 1},
        TAluCase{"SubEqual", op::Sub, k2, 0x0005, 0x0005, 0x0000, kStore, 0, 0, 1, 0},
        TAluCase{"SubZero", op::Sub, k2, 0x0003, 0x0000, 0x0003, kStore, 0, 0, 0, 0},
        TAluCase{"SubNegFromNeg", op::Sub, k2, 0xFFFE, 0xFFFF, 0xFFFF, kStore, 0, 1, 0, 1},
        TAluCase{"CmpEqual", op::Cmp, k2, 0x0005, 0x0005, 0x0000, kNoStore, 0, 0, 1, 0},
        TAluCase{"CmpBorrow", op::Cmp, k2, 0x0001, 0x0002, 0xFFFF, kNoStore, 0, 1, 0, 1},
        TAluCase{"CmpOverflow", op::Cmp, k2, 0x8000, 0x0001, 0x7FFF, kNoStore, 1, 0, 0, 0},
        TAluCase{"NegZeroKeepsZf", op::Neg, k1, 0x0000, 0, 0x0000, kStore, kKept, 0, kKept, kKept},
        TAluCase{"NegOne", op::Neg, k1, 0x0001, 0, 0xFFFF, kStore, kKept, 1, kKept, kKept},
        TAluCase{"NegMostNegative", op::Neg, k1, 0x8000, 0, 0x8000, kStore, kKept, 1, kKept, kKept},
        TAluCase{"NegMinusOne", op::Neg, k1, 0xFFFF, 0, 0x0001, kStore, kKept, 0, kKept, kKept},
        TAluCase{"NotZero", op::Not, k1, 0x0000, 0, 0xFFFF, kStore, kKept, 1, 0, kKept},
        TAluCase{"NotAllOnes", op::Not, k1, 0xFFFF, 0, 0x0000, kStore, kKept, 0, 1, kKept},
        TAluCase{"OrZero", op::Or, k2, 0x0000, 0x0000, 0x0000, kStore, kKept, 0, 1, kKept},
        TAluCase{"OrSign", op::Or, k2, 0x0F00, 0x8001, 0x8F01, kStore, kKept, 1, 0, kKept},
        TAluCase{"XorSame", op::Xor, k2, 0x1234, 0x1234, 0x0000, kStore, kKept, 0, 1, kKept},
        TAluCase{"XorSign", op::Xor, k2, 0x7FFF, 0xFFFF, 0x8000, kStore, kKept, 1, 0, kKept},
        TAluCase{"AndDisjoint", op::And, k2, 0x00F0, 0x0F0F, 0x0000, kStore, kKept, 0, 1, kKept},
        TAluCase{"AndSign", op::And, k2, 0xFF00, 0x8800, 0x8800, kStore, kKept, 1, 0, kKept},
        TAluCase{"BitDisjoint", op::Bit, k2, 0x00F0, 0x0F0F, 0x0000, kNoStore, kKept, 0, 1, kKept},
        TAluCase{"BitSign", op::Bit, k2, 0x8001, 0x8000, 0x8000, kNoStore, kKept, 1, 0, kKept},
        TAluCase{"SlBothEnds", op::Sl, k1, 0x8001, 0, 0x0002, kStore, kKept, 0, 0, 1},
        TAluCase{"SlIntoSign", op::Sl, k1, 0x4000, 0, 0x8000, kStore, kKept, 1, 0, 0},
        TAluCase{"SlOutToZero", op::Sl, k1, 0x8000, 0, 0x0000, kStore, kKept, 0, 1, 1},
        TAluCase{"SrBothEnds", op::Sr, k1, 0x8001, 0, 0x4000, kStore, kKept, 0, 0, 1},
        TAluCase{"SrOutToZero", op::Sr, k1, 0x0001, 0, 0x0000, kStore, kKept, 0, 1, 1},
        TAluCase{"SrClearsBit15", op::Sr, k1, 0xFFFE, 0, 0x7FFF, kStore, kKept, 0, 0, 0}),
    [](const ::testing::TestParamInfo<TAluCase>& info) { return std::string(info.param.name); });

// The flag words take exactly 0 or 1 whatever they held before.
TEST_F(MachineTest, FlagsAreWrittenAsZeroOrOneOverAnyOldValue) {
  Place(0, {Enc2(op::Add, kDir, kImm), 0x200, 1});
  m->WriteWord(0x200, 0x7FFF);
  PoisonFlags(0xFFFF);
  m->Step();
  EXPECT_EQ(Word(M::VF), 1);
  EXPECT_EQ(Word(M::SF), 1);
  EXPECT_EQ(Word(M::ZF), 0);
  EXPECT_EQ(Word(M::CF), 0);
}

// Instructions that compute nothing leave every flag and Result alone.
class NoFlags : public MachineTest, public ::testing::WithParamInterface<uint16_t> {};

TEST_P(NoFlags, LeavesFlagsAndResult) {
  Place(0, {GetParam(), 0x0100, 0x0000});
  Place(0x0100, {0x0000});
  m->Result = 0x5151;
  PoisonFlags(7);
  m->Step();
  for (uint16_t f : {M::VF, M::SF, M::ZF, M::CF})
    EXPECT_EQ(Word(f), 7) << f;
  EXPECT_EQ(m->Result, 0x5151);
}

INSTANTIATE_TEST_SUITE_P(Step, NoFlags,
                         ::testing::Values(Enc2(op::Ld, kDir, kImm), Enc1(op::Jp, kDir),
                                           Enc2(op::Jpf, kDir, kImm), Enc2(op::Jpt, kDir, kImm),
                                           Enc2(op::Out, kImm, kImm), Enc1(op::Push, kImm),
                                           Enc1(op::Call, kDir), op::Nop, op::Ret, op::Halt));

}  // namespace
