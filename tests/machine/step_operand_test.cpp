// Decoding, operand resolution and stores of Step: where an instruction
// reads its operands, where it stores, and what it leaves in the decode
// fields, including encodings that only data words can produce.
#include "machine_fixture.h"

namespace {

using M = TQRXEmulater;

class StepOperands : public MachineTest {
 protected:
  // Places an instruction at address and points PC at it.
  void At(uint16_t address, std::initializer_list<uint16_t> words) {
    Place(address, words);
    m->WriteWord(M::PC, address);
  }
};

TEST_F(StepOperands, DecodeFieldsAfterATwoOperandInstruction) {
  m->WriteWord(0x300, 0x0011);
  m->Result = 0x9999;
  At(0x10, {Enc2(op::Ld, kDir, kImm), 0x300, 0x42});
  EXPECT_EQ(m->Step(), 0);
  EXPECT_EQ(m->InstrAddress, 0x10);
  EXPECT_EQ(m->Opcode, op::Ld);
  EXPECT_EQ(m->Modes, 9);
  EXPECT_EQ(m->Value1, 0x0011);
  EXPECT_EQ(m->Value2, 0x42);
  EXPECT_EQ(m->Destination, 0x300);
  EXPECT_EQ(m->Result, 0x9999);  // LD does not touch Result
  EXPECT_EQ(Word(0x300), 0x42);
  EXPECT_EQ(Pc(), 0x13);
  EXPECT_EQ(m->StepCount, 1u);
}

TEST_F(StepOperands, IndirectOperandsFollowThePointer) {
  m->WriteWord(0x300, 0x0400);  // destination pointer
  m->WriteWord(0x310, 0x0410);  // source pointer
  m->WriteWord(0x410, 0xCAFE);
  At(0, {Enc2(op::Ld, kInd, kInd), 0x300, 0x310});
  m->Step();
  EXPECT_EQ(Word(0x400), 0xCAFE);
  EXPECT_EQ(Word(0x300), 0x0400);
  EXPECT_EQ(m->Destination, 0x400);
  EXPECT_EQ(m->Value2, 0xCAFE);
}

TEST_F(StepOperands, ReadingPcSeesTheAddressOfTheInstructionItself) {
  At(0x40, {Enc2(op::Ld, kDir, kDir), 0x300, M::PC});
  m->Step();
  EXPECT_EQ(Word(0x300), 0x40);
  EXPECT_EQ(Pc(), 0x43);
}

TEST_F(StepOperands, AddToPcIsRelativeToTheInstruction) {
  At(0x40, {Enc2(op::Add, kDir, kImm), M::PC, 0x10});
  m->Step();
  EXPECT_EQ(Pc(), 0x50);  // 0x40 + 0x10, not 0x43 + 0x10
  EXPECT_EQ(m->Destination, M::PC);
}

TEST_F(StepOperands, LoadIntoPcIsAJump) {
  At(0x20, {Enc2(op::Ld, kDir, kImm), M::PC, 0x0777});
  m->Step();
  EXPECT_EQ(Pc(), 0x0777);
}

TEST_F(StepOperands, ImmediateDestinationStoresIntoPc) {
  At(0x20, {Enc2(op::Ld, kImm, kImm), 0x1234, 0x0050});
  m->Step();
  EXPECT_EQ(Pc(), 0x0050);
  EXPECT_EQ(Word(0x1234), 0);
  EXPECT_EQ(m->Destination, 0xFFFF);  // the word actually written
}

TEST_F(StepOperands, ImmediateDestinationOfArithmeticStoresIntoPc) {
  At(0x20, {Enc2(op::Add, kImm, kImm), 0x0100, 0x0005});
  m->Step();
  EXPECT_EQ(Pc(), 0x0105);
  EXPECT_EQ(m->Result, 0x0105);
}

// A flag word as destination: the flags are written first, the store wins.
struct TFlagStoreCase {
  uint16_t opcode;
  uint16_t flag;
  uint16_t before;
  uint16_t operand;
  uint16_t stored;
};

class StoreIntoFlag : public StepOperands, public ::testing::WithParamInterface<TFlagStoreCase> {};

TEST_P(StoreIntoFlag, StoreOverwritesTheFlagJustWritten) {
  const TFlagStoreCase c = GetParam();
  m->WriteWord(c.flag, c.before);
  At(0, {Enc2(c.opcode, kDir, kImm), c.flag, c.operand});
  m->Step();
  EXPECT_EQ(Word(c.flag), c.stored);
  EXPECT_EQ(m->Destination, c.flag);
}

INSTANTIATE_TEST_SUITE_P(
    Step, StoreIntoFlag,
    ::testing::Values(TFlagStoreCase{op::Add, M::CF, 0xFFFF, 0x0001, 0x0000},  // carry 1
                      TFlagStoreCase{op::Add, M::ZF, 0x0000, 0x0005, 0x0005},  // zero 0
                      TFlagStoreCase{op::Sub, M::SF, 0x0000, 0x0001, 0xFFFF},  // sign 1
                      TFlagStoreCase{op::Xor, M::ZF, 0x0001, 0x0001, 0x0000},  // zero 1
                      TFlagStoreCase{op::Sub, M::VF, 0x8000, 0x0001, 0x7FFF}));

TEST_F(StepOperands, ShiftIntoCarryWordKeepsTheShiftedValue) {
  m->WriteWord(M::CF, 0x8001);
  At(0, {Enc1(op::Sl, kDir), M::CF});
  m->Step();
  EXPECT_EQ(Word(M::CF), 0x0002);  // the flag (1) was overwritten by the store
}

// Operand 2 with mode 0 (nibbles 4, 8 and 12): value 0xFFFF, and the
// instruction is still three words long.
struct TNoneModeCase {
  unsigned mode1;
  uint16_t stored;      // where the 0xFFFF went
  uint16_t expectedPc;  // after the step
};

class NoneMode : public StepOperands, public ::testing::WithParamInterface<TNoneModeCase> {};

TEST_P(NoneMode, OperandTwoIsAllOnes) {
  const TNoneModeCase c = GetParam();
  m->WriteWord(0x300, 0x0310);  // pointer for the indirect case
  At(0x10, {Enc2(op::Ld, c.mode1, kNone), 0x300, 0x1234});
  m->Step();
  EXPECT_EQ(m->Value2, 0xFFFF);
  EXPECT_EQ(Word(c.stored), 0xFFFF);
  EXPECT_EQ(Pc(), c.expectedPc);
}

INSTANTIATE_TEST_SUITE_P(Step, NoneMode,
                         ::testing::Values(TNoneModeCase{kImm, M::PC, 0xFFFF},  // nibble 4
                                           TNoneModeCase{kDir, 0x300, 0x13},    // nibble 8
                                           TNoneModeCase{kInd, 0x310, 0x13}));  // nibble 12

// Instructions encoded with fewer operand words than they use work on what
// the previous instruction left behind.
TEST_F(StepOperands, LoadWithoutOperandsStoresPreviousValueTwoAtPreviousDestination) {
  Place(0, {Enc2(op::Add, kDir, kImm), 0x300, 0x0007,  // stores at 0x300, Value2 = 7
            op::Ld});                                  // nibble 0
  m->Step();
  m->WriteWord(0x300, 0);
  m->Step();
  EXPECT_EQ(Word(0x300), 0x0007);
  EXPECT_EQ(m->Destination, 0x300);
  EXPECT_EQ(Pc(), 4);  // one word long
}

TEST_F(StepOperands, LoadWithoutOperandsAfterANonStoringInstructionStoresIntoPc) {
  Place(0, {Enc2(op::Cmp, kDir, kImm), 0x300, 0x0060,  // Destination := -1 after it
            op::Ld});
  m->Step();
  EXPECT_EQ(m->Destination, -1);
  m->Step();
  EXPECT_EQ(Pc(), 0x0060);
}

TEST_F(StepOperands, JumpWithOneOperandNibbleUsesPreviousCondition) {
  Place(0, {Enc2(op::Ld, kDir, kImm), 0x300, 0x0001,  // Value2 = 1
            Enc1(op::Jpt, kDir), 0x0080});            // JPT with one operand word
  m->Step();
  m->Step();
  EXPECT_EQ(Pc(), 0x0080);
  EXPECT_EQ(m->Value2, 0x0001);

  Place(0x80, {Enc2(op::Ld, kDir, kImm), 0x300, 0x0000, Enc1(op::Jpt, kDir), 0x0010});
  m->Step();
  m->Step();
  EXPECT_EQ(Pc(), 0x0085);  // Value2 = 0: not taken, two words long
}

TEST_F(StepOperands, UnknownOpcodesAreNopsOfTheirNibbleLength) {
  struct TCase {
    uint16_t word;
    uint16_t length;
  };
  for (const TCase c : {TCase{0x9000, 1}, TCase{0xA001, 2}, TCase{0x2235, 3}, TCase{0x0006, 3},
                        TCase{0xFFE3, 2}, TCase{0x8110, 1}}) {
    m->ClearMemory();
    m->ResetRegisters();
    PoisonFlags(7);
    At(0x10, {c.word, 0x0300, 0x0300});
    EXPECT_EQ(m->Step(), 0);
    EXPECT_EQ(Pc(), 0x10 + c.length) << std::hex << c.word;
    EXPECT_EQ(m->Destination, -1);
    EXPECT_EQ(m->Opcode, c.word & 0xFFF0);
    EXPECT_EQ(Word(0x300), 0);
    EXPECT_EQ(Word(M::ZF), 7);
    EXPECT_EQ(Sp(), 0xFFEF);
  }
}

TEST_F(StepOperands, InstructionFetchAndPcWrapAtTheTopOfMemory) {
  // SP's word is executed as a NOP of three words; PC wraps to 1.
  m->WriteWord(M::SP, 0x0005);
  m->WriteWord(M::PC, M::SP);
  m->Step();
  EXPECT_EQ(Pc(), 0x0001);
  EXPECT_EQ(Sp(), 0x0005);
  EXPECT_EQ(m->InstrAddress, M::SP);
}

TEST_F(StepOperands, JumpToPcExecutesPcAsAHalt) {
  At(0, {Enc1(op::Jp, kImm), 0x1234});
  m->Step();
  EXPECT_EQ(Pc(), 0xFFFF);
  // The word at 0xFFFF is 0xFFFF: HALT with a mode nibble of 15.
  EXPECT_EQ(m->Step(), -1);
  EXPECT_EQ(Pc(), 0xFFFF);
}

TEST_F(StepOperands, StepCountIsSixtyFourBits) {
  m->StepCount = 0xFFFFFFFFu;
  m->Step();
  EXPECT_EQ(m->StepCount, 0x100000000u);
}

}  // namespace
