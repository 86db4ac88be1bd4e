// Memory, line map and resets.
#include "machine_fixture.h"

namespace {

using M = TQRXEmulater;

TEST(MachineCreate, StartsZeroedWithStackPointerSet) {
  auto m = std::make_unique<TQRXEmulater>();
  for (size_t a = 0; a < M::kWords; ++a) {
    const uint16_t expected = a == M::SP ? M::kStackStart : 0;
    ASSERT_EQ(m->Memory[a], expected) << "address " << a;
    ASSERT_EQ(m->LineMap[a], 0) << "address " << a;
  }
  EXPECT_EQ(m->CallDepth, 0);
  EXPECT_EQ(m->StepCount, 0u);
  EXPECT_EQ(m->PortDevice(), nullptr);
}

struct TWrapCase {
  int given;
  uint16_t actual;
};

class AddressWrap : public MachineTest, public ::testing::WithParamInterface<TWrapCase> {};

TEST_P(AddressWrap, WordsAndLinesUseTheLow16Bits) {
  const TWrapCase c = GetParam();
  m->WriteWord(c.given, 0xBEEF);
  EXPECT_EQ(m->Memory[c.actual], 0xBEEF);
  EXPECT_EQ(m->ReadWord(c.given), 0xBEEF);
  m->SetLineOf(c.given, 4321);
  EXPECT_EQ(m->LineMap[c.actual], 4321);
  EXPECT_EQ(m->LineOf(c.given), 4321);
}

INSTANTIATE_TEST_SUITE_P(Machine, AddressWrap,
                         ::testing::Values(TWrapCase{-1, 0xFFFF}, TWrapCase{-6, 0xFFFA},
                                           TWrapCase{0x10000, 0}, TWrapCase{0x12345, 0x2345},
                                           TWrapCase{-0x10000, 0}, TWrapCase{0x7FFF, 0x7FFF}));

TEST_F(MachineTest, WritingPcThroughMemoryMovesExecution) {
  m->WriteWord(0x1234, op::Halt);
  m->WriteWord(-1, 0x1234);
  EXPECT_EQ(m->Step(), -1);
  EXPECT_EQ(m->InstrAddress, 0x1234);
}

TEST_F(MachineTest, LineIndicesAboveSixteenBitsWrapAndReadBackUnsigned) {
  m->SetLineOf(10, 0xFFFF);
  EXPECT_EQ(m->LineOf(10), 0xFFFF);  // not -1
  m->SetLineOf(10, 0x10005);
  EXPECT_EQ(m->LineOf(10), 5);
}

TEST_F(MachineTest, ClearMemoryZeroesEveryWordAndLineIncludingRegisters) {
  m->Memory.fill(0x5A5A);
  m->LineMap.fill(77);
  m->ClearMemory();
  for (size_t a = 0; a < M::kWords; ++a) {
    ASSERT_EQ(m->Memory[a], 0) << a;
    ASSERT_EQ(m->LineMap[a], 0) << a;
  }
}

TEST_F(MachineTest, ResetRegistersTouchesOnlyRegistersAndCounters) {
  m->Memory.fill(0x1111);
  m->LineMap.fill(3);
  m->CallDepth = -4;
  m->StepCount = 99;
  m->ResetRegisters();
  EXPECT_EQ(Pc(), 0);
  EXPECT_EQ(Sp(), 0xFFEF);
  for (uint16_t f : {M::VF, M::SF, M::ZF, M::CF})
    EXPECT_EQ(Word(f), 0) << f;
  EXPECT_EQ(m->CallDepth, 0);
  EXPECT_EQ(m->StepCount, 0u);
  for (size_t a = 0; a < 0xFFFA; ++a)
    ASSERT_EQ(m->Memory[a], 0x1111) << a;
  EXPECT_EQ(m->LineOf(0xFFFF), 3);
}

TEST_F(MachineTest, ResetMachineResetsTheScreenOnlyWhenADeviceIsAttached) {
  m->WriteWord(M::PC, 40);
  m->ResetMachine();  // no device: must not crash
  EXPECT_EQ(Pc(), 0);

  TFakePort port;
  m->SetPortDevice(&port);
  m->WriteWord(M::PC, 40);
  m->ResetMachine();
  EXPECT_EQ(port.resets, 1);
  EXPECT_EQ(Pc(), 0);

  m->SetPortDevice(nullptr);
  m->ResetMachine();
  EXPECT_EQ(port.resets, 1);
}

// ---------------------------------------------------------------- operands

struct TOperandCase {
  int mode;
  uint16_t w;
  uint16_t value;
  int32_t address;
};

class OperandTable : public MachineTest, public ::testing::WithParamInterface<TOperandCase> {};

TEST_P(OperandTable, ValueAndAddress) {
  m->WriteWord(0x0010, 0x0020);  // pointer
  m->WriteWord(0x0020, 0x7777);
  m->WriteWord(0xFFFF, 0x0010);  // PC, reached by w = 0xFFFF
  const TOperandCase c = GetParam();
  EXPECT_EQ(m->OperandValue(c.mode, c.w), c.value);
  EXPECT_EQ(m->OperandAddress(c.mode, c.w), c.address);
}

INSTANTIATE_TEST_SUITE_P(Machine, OperandTable,
                         ::testing::Values(TOperandCase{0, 0x0010, 0xFFFF, -1},  // none
                                           TOperandCase{1, 0x0010, 0x0010, -1},  // immediate
                                           TOperandCase{2, 0x0010, 0x0020, 0x0010},
                                           TOperandCase{3, 0x0010, 0x7777, 0x0020},
                                           TOperandCase{2, 0xFFFF, 0x0010, 0xFFFF},
                                           TOperandCase{3, 0xFFFF, 0x0020, 0x0010},
                                           // only the low two bits of the mode count
                                           TOperandCase{6, 0x0010, 0x0020, 0x0010}));

}  // namespace
