// Jumps, the stack, calls, HALT and the port instructions.
#include "machine_fixture.h"

namespace {

using M = TQRXEmulater;

class StepFlow : public MachineTest {
 protected:
  void At(uint16_t address, std::initializer_list<uint16_t> words) {
    Place(address, words);
    m->WriteWord(M::PC, address);
  }
};

// ---------------------------------------------------------------- jumps

struct TJumpCase {
  const char* name;
  uint16_t first;
  uint16_t operand1;
  uint16_t operand2;
  uint16_t expectedPc;
};

class Jumps : public StepFlow, public ::testing::WithParamInterface<TJumpCase> {};

TEST_P(Jumps, TargetIsTheAddressOfOperandOne) {
  const TJumpCase c = GetParam();
  m->WriteWord(0x300, 0x0444);  // pointer, and the word a direct JP does not read as target
  m->WriteWord(0x310, 0x0000);  // a zero condition
  m->WriteWord(0x311, 0x0002);  // a non-zero condition
  m->WriteWord(0x444, 0x0001);  // non-zero, read through the pointer
  PoisonFlags(7);
  At(0x20, {c.first, c.operand1, c.operand2});
  EXPECT_EQ(m->Step(), 0);
  EXPECT_EQ(Pc(), c.expectedPc);
  EXPECT_EQ(m->Destination, -1);
}

INSTANTIATE_TEST_SUITE_P(
    Step, Jumps,
    ::testing::Values(TJumpCase{"JpDirect", Enc1(op::Jp, kDir), 0x300, 0, 0x300},
                      TJumpCase{"JpIndirect", Enc1(op::Jp, kInd), 0x300, 0, 0x444},
                      TJumpCase{"JpImmediate", Enc1(op::Jp, kImm), 0x300, 0, 0xFFFF},
                      TJumpCase{"JpfZeroFlag", Enc2(op::Jpf, kDir, kDir), 0x300, 0x310, 0x300},
                      TJumpCase{"JpfSetFlag", Enc2(op::Jpf, kDir, kDir), 0x300, 0x311, 0x23},
                      TJumpCase{"JpfImmediateZero", Enc2(op::Jpf, kInd, kImm), 0x300, 0, 0x444},
                      TJumpCase{"JptZeroFlag", Enc2(op::Jpt, kDir, kDir), 0x300, 0x310, 0x23},
                      TJumpCase{"JptSetFlag", Enc2(op::Jpt, kDir, kDir), 0x300, 0x311, 0x300},
                      TJumpCase{"JptAllOnes", Enc2(op::Jpt, kDir, kNone), 0x300, 0, 0x300},
                      TJumpCase{"JptIndirectCond", Enc2(op::Jpt, kDir, kInd), 0x300, 0x300, 0x300}),
    [](const ::testing::TestParamInfo<TJumpCase>& info) { return std::string(info.param.name); });

TEST_F(StepFlow, ConditionalJumpOnAFlagSetByTheInstructionBefore) {
  // count = 3; loop: SUB count, #1; JPF loop, ZF; HALT
  m->WriteWord(0x300, 3);
  Place(0, {Enc2(op::Sub, kDir, kImm), 0x300, 1, Enc2(op::Jpf, kDir, kDir), 0, M::ZF, op::Halt});
  int steps = 0;
  while (m->Step() == 0 && steps < 100)
    ++steps;
  EXPECT_EQ(steps, 6);
  EXPECT_EQ(Word(0x300), 0);
  EXPECT_EQ(Pc(), 6);
  EXPECT_EQ(m->StepCount, 7u);
}

// ---------------------------------------------------------------- stack

TEST_F(StepFlow, PushFromResetWritesTheFirstStackWord) {
  At(0, {Enc1(op::Push, kImm), 0xABCD});
  m->Step();
  EXPECT_EQ(Word(0xFFEF), 0xABCD);
  EXPECT_EQ(Sp(), 0xFFEE);
  EXPECT_EQ(m->Destination, -1);
  EXPECT_EQ(Pc(), 2);
}

TEST_F(StepFlow, PushAndPopAreLastInFirstOut) {
  m->WriteWord(0x300, 0x1111);
  At(0, {Enc1(op::Push, kDir), 0x300, Enc1(op::Push, kImm), 0x2222, Enc1(op::Pop, kDir), 0x310,
         Enc1(op::Pop, kDir), 0x311});
  m->Result = 0;
  for (int i = 0; i < 4; ++i)
    m->Step();
  EXPECT_EQ(Word(0x310), 0x2222);
  EXPECT_EQ(Word(0x311), 0x1111);
  EXPECT_EQ(m->Result, 0x1111);
  EXPECT_EQ(m->Destination, 0x311);
  EXPECT_EQ(Sp(), 0xFFEF);
}

TEST_F(StepFlow, AddToSpMovesTheStack) {
  At(0, {Enc2(op::Add, kDir, kImm), M::SP, 0xFFF0,  // SP -= 16
         Enc1(op::Push, kImm), 0x0077});
  m->Step();
  EXPECT_EQ(Sp(), 0xFFDF);
  m->Step();
  EXPECT_EQ(Word(0xFFDF), 0x0077);
  EXPECT_EQ(Sp(), 0xFFDE);
}

TEST_F(StepFlow, StackPointerWrapsBothWays) {
  m->WriteWord(M::SP, 0x0000);
  At(0x10, {Enc1(op::Push, kImm), 0x0005});
  m->Step();
  EXPECT_EQ(Word(0x0000), 0x0005);
  EXPECT_EQ(Sp(), 0xFFFF);

  m->WriteWord(M::SP, 0xFFFF);
  m->WriteWord(0x0000, 0x0099);
  At(0x20, {Enc1(op::Pop, kDir), 0x300});
  m->Step();
  EXPECT_EQ(Sp(), 0x0000);
  EXPECT_EQ(Word(0x300), 0x0099);
}

// SP is read again after each write, so writes through a stack pointer that
// points at the register block behave as the words say.
TEST_F(StepFlow, PushWithSpPointingAtItselfRereadsSp) {
  m->WriteWord(M::SP, M::SP);
  At(0x10, {Enc1(op::Push, kImm), 0x1234});
  m->Step();
  EXPECT_EQ(Sp(), 0x1233);  // 0x1234 written over SP, then decremented
  EXPECT_EQ(Pc(), 0x12);
}

TEST_F(StepFlow, PushWithSpPointingAtPcIsAJump) {
  m->WriteWord(M::SP, M::PC);
  At(0x10, {Enc1(op::Push, kImm), 0x0400});
  m->Step();
  EXPECT_EQ(Pc(), 0x0400);
  EXPECT_EQ(Sp(), 0xFFFE);
}

TEST_F(StepFlow, PopReadsThroughTheIncrementedSp) {
  m->WriteWord(M::SP, 0xFFFD);  // the pop reads SP's own word
  At(0x10, {Enc1(op::Pop, kDir), 0x300});
  m->Step();
  EXPECT_EQ(Sp(), 0xFFFE);
  EXPECT_EQ(Word(0x300), 0xFFFE);
}

TEST_F(StepFlow, PopIntoSpOverwritesTheIncrement) {
  m->WriteWord(0xFFF0, 0x8000);
  At(0x10, {Enc1(op::Pop, kDir), M::SP});
  m->Step();
  EXPECT_EQ(Sp(), 0x8000);
}

TEST_F(StepFlow, CallAndReturn) {
  At(0x10, {Enc1(op::Call, kDir), 0x0080});
  Place(0x80, {op::Ret});
  m->Step();
  EXPECT_EQ(Pc(), 0x80);
  EXPECT_EQ(Word(0xFFEF), 0x12);  // the address after the CALL
  EXPECT_EQ(Sp(), 0xFFEE);
  EXPECT_EQ(m->CallDepth, 1);
  EXPECT_EQ(m->Destination, -1);
  m->Step();
  EXPECT_EQ(Pc(), 0x12);
  EXPECT_EQ(Sp(), 0xFFEF);
  EXPECT_EQ(m->CallDepth, 0);
  EXPECT_EQ(m->Destination, -1);
}

TEST_F(StepFlow, NestedCallsThroughAPointer) {
  m->WriteWord(0x300, 0x0080);
  At(0x10, {Enc1(op::Call, kInd), 0x300});
  Place(0x80, {Enc1(op::Call, kDir), 0x0090, op::Ret});
  Place(0x90, {op::Ret});
  m->Step();
  m->Step();
  EXPECT_EQ(m->CallDepth, 2);
  EXPECT_EQ(Pc(), 0x90);
  EXPECT_EQ(Word(0xFFEE), 0x82);
  m->Step();
  m->Step();
  EXPECT_EQ(Pc(), 0x12);
  EXPECT_EQ(m->CallDepth, 0);
}

TEST_F(StepFlow, CallWithSpPointingAtItself) {
  m->WriteWord(M::SP, M::SP);
  At(0x10, {Enc1(op::Call, kDir), 0x0080});
  m->Step();
  EXPECT_EQ(Sp(), 0x11);  // return address 0x12 written over SP, then decremented
  EXPECT_EQ(Pc(), 0x80);
}

TEST_F(StepFlow, ReturnWithoutCallGoesNegative) {
  m->WriteWord(0xFFF0, 0x0055);
  At(0x10, {op::Ret});
  m->Step();
  EXPECT_EQ(m->CallDepth, -1);
  EXPECT_EQ(Pc(), 0x55);
  EXPECT_EQ(Sp(), 0xFFF0);
}

// ---------------------------------------------------------------- HALT

TEST_F(StepFlow, HaltStaysPutAndCountsEveryExecution) {
  At(0x30, {op::Halt});
  m->WriteWord(0x300, 0);
  EXPECT_EQ(m->Step(), -1);
  EXPECT_EQ(m->Step(), -1);
  EXPECT_EQ(m->StepCount, 2u);
  EXPECT_EQ(Pc(), 0x30);
  EXPECT_EQ(m->InstrAddress, 0x30);
  EXPECT_EQ(m->Opcode, op::Halt);
  EXPECT_EQ(m->Destination, -1);
}

TEST_F(StepFlow, HaltWithOperandsStillStays) {
  m->WriteWord(0x300, 0x4242);
  At(0x30, {static_cast<uint16_t>(op::Halt | 0x9), 0x300, 0x0001});
  EXPECT_EQ(m->Step(), -1);
  EXPECT_EQ(Pc(), 0x30);
  EXPECT_EQ(m->Value1, 0x4242);
  EXPECT_EQ(m->Value2, 0x0001);
  EXPECT_EQ(m->Destination, -1);
}

// ---------------------------------------------------------------- ports

TEST_F(StepFlow, InReadsThePortNamedByOperandTwo) {
  TFakePort port;
  port.inValue = 0x8123;
  m->SetPortDevice(&port);
  m->WriteWord(0x310, 0x0021);
  PoisonFlags(7);
  At(0, {Enc2(op::In, kDir, kImm), 0x300, 0x0020, Enc2(op::In, kDir, kDir), 0x301, 0x310});
  m->Step();
  m->Step();
  ASSERT_EQ(port.inPorts.size(), 2u);
  EXPECT_EQ(port.inPorts[0], 0x0020);
  EXPECT_EQ(port.inPorts[1], 0x0021);
  EXPECT_EQ(Word(0x300), 0x8123);
  EXPECT_EQ(Word(0x301), 0x8123);
  EXPECT_EQ(m->Result, 0x8123);
  EXPECT_EQ(m->Destination, 0x301);
  EXPECT_EQ(Word(M::SF), 7);
  EXPECT_EQ(Word(M::ZF), 7);
  EXPECT_TRUE(port.outs.empty());
}

TEST_F(StepFlow, OutSendsPortFromOperandOneAndDataFromOperandTwo) {
  TFakePort port;
  m->SetPortDevice(&port);
  m->WriteWord(0x300, 0x0011);
  m->WriteWord(0x310, 0x0041);
  At(0, {Enc2(op::Out, kImm, kImm), 0x0017, 0x0048, Enc2(op::Out, kDir, kDir), 0x300, 0x310});
  m->Step();
  EXPECT_EQ(m->Destination, -1);
  m->Step();
  ASSERT_EQ(port.outs.size(), 2u);
  EXPECT_EQ(port.outs[0], std::make_pair(uint16_t{0x0017}, uint16_t{0x0048}));
  EXPECT_EQ(port.outs[1], std::make_pair(uint16_t{0x0011}, uint16_t{0x0041}));
  EXPECT_EQ(Word(0x300), 0x0011);
  EXPECT_TRUE(port.inPorts.empty());
}

TEST_F(StepFlow, WithoutADeviceInReadsZeroAndOutDoesNothing) {
  m->WriteWord(0x300, 0x5555);
  At(0, {Enc2(op::In, kDir, kImm), 0x300, 0x0020, Enc2(op::Out, kImm, kImm), 0x0017, 0x0041});
  EXPECT_EQ(m->Step(), 0);
  EXPECT_EQ(Word(0x300), 0);
  EXPECT_EQ(m->Step(), 0);
  EXPECT_EQ(Pc(), 6);
}

}  // namespace
