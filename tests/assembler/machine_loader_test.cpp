// Loading a memory image into the machine: words, line tags, overlaps,
// wrapping and the reset that follows.
#include "assembler/machine_loader.h"

#include <array>
#include <vector>

#include "../machine/machine_fixture.h"

namespace {

using M = TQRXEmulater;

class LoadImageTest : public MachineTest {
 protected:
  void Load(std::vector<TImageLine> lines) { LoadImage(*m, lines); }
};

TEST_F(LoadImageTest, WritesWordsAndTagsThemWithTheirLine) {
  const std::array<uint16_t, 3> code = {0x1009, 0x0100, 0x0005};
  const std::array<uint16_t, 1> halt = {op::Halt};
  Load({{0x0000, code, 2}, {0x0003, halt, 3}});
  EXPECT_EQ(Word(0), 0x1009);
  EXPECT_EQ(Word(1), 0x0100);
  EXPECT_EQ(Word(2), 0x0005);
  EXPECT_EQ(Word(3), op::Halt);
  for (int a : {0, 1, 2})
    EXPECT_EQ(m->LineOf(a), 2) << a;
  EXPECT_EQ(m->LineOf(3), 3);
  EXPECT_EQ(m->LineOf(4), 0);  // nothing loaded there
}

TEST_F(LoadImageTest, ClearsWhatWasThereBefore) {
  m->Memory.fill(0xAAAA);
  m->LineMap.fill(9);
  const std::array<uint16_t, 1> one = {1};
  Load({{0x10, one, 1}});
  EXPECT_EQ(Word(0x0F), 0);
  EXPECT_EQ(Word(0x11), 0);
  EXPECT_EQ(m->LineOf(0x0F), 0);
  EXPECT_EQ(Word(0x10), 1);
}

TEST_F(LoadImageTest, LaterLinesOverwriteEarlierOnesInMemoryAndLineMap) {
  const std::array<uint16_t, 3> first = {1, 2, 3};
  const std::array<uint16_t, 2> second = {8, 9};
  Load({{0x20, first, 5}, {0x21, second, 6}});
  EXPECT_EQ(Word(0x20), 1);
  EXPECT_EQ(Word(0x21), 8);
  EXPECT_EQ(Word(0x22), 9);
  EXPECT_EQ(m->LineOf(0x20), 5);
  EXPECT_EQ(m->LineOf(0x21), 6);
  EXPECT_EQ(m->LineOf(0x22), 6);

  // Same lines in the other order: the first one wins now.
  Load({{0x21, second, 6}, {0x20, first, 5}});
  EXPECT_EQ(Word(0x21), 2);
  EXPECT_EQ(m->LineOf(0x22), 5);
}

TEST_F(LoadImageTest, AddressesWrapAndRegisterWordsAreReplacedByReset) {
  const std::array<uint16_t, 8> tail = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88};
  Load({{0xFFF9, tail, 7}});
  EXPECT_EQ(Word(0xFFF9), 0x11);
  // 0xFFFA..0xFFFF hold the register start values, not the image.
  EXPECT_EQ(Word(M::CF), 0);
  EXPECT_EQ(Word(M::ZF), 0);
  EXPECT_EQ(Word(M::SF), 0);
  EXPECT_EQ(Word(M::VF), 0);
  EXPECT_EQ(Sp(), 0xFFEF);
  EXPECT_EQ(Pc(), 0);
  // The eighth word wrapped to address 0.
  EXPECT_EQ(Word(0), 0x88);
  // The line map keeps its tags even where the reset replaced the words.
  EXPECT_EQ(m->LineOf(0xFFFF), 7);
  EXPECT_EQ(m->LineOf(0), 7);
}

TEST_F(LoadImageTest, ResetsCountersAndTheScreen) {
  TFakePort port;
  m->SetPortDevice(&port);
  m->StepCount = 12;
  m->CallDepth = 3;
  m->WriteWord(M::PC, 0x40);
  Load({});
  EXPECT_EQ(m->StepCount, 0u);
  EXPECT_EQ(m->CallDepth, 0);
  EXPECT_EQ(Pc(), 0);
  EXPECT_EQ(port.resets, 1);
}

TEST_F(LoadImageTest, EmptyLinesContributeNothing) {
  const std::array<uint16_t, 1> one = {0x1234};
  Load({{0x50, {}, 4}, {0x50, one, 5}, {0x51, {}, 6}});
  EXPECT_EQ(Word(0x50), 0x1234);
  EXPECT_EQ(m->LineOf(0x50), 5);
  EXPECT_EQ(m->LineOf(0x51), 0);
}

TEST_F(LoadImageTest, LoadedProgramRunsFromAddressZero) {
  const std::array<uint16_t, 4> code = {Enc2(op::Add, kDir, kImm), 0x100, 3, op::Halt};
  Load({{0, code, 0}});
  EXPECT_EQ(m->Step(), 0);
  EXPECT_EQ(m->Step(), -1);
  EXPECT_EQ(Word(0x100), 3);
  EXPECT_EQ(m->StepCount, 2u);
}

}  // namespace
