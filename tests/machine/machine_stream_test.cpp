// The machine's block of a state file.
#include <string>

#include "machine_fixture.h"
#include "persistence/memory_stream.h"

namespace {

using M = TQRXEmulater;

class MachineStreamTest : public MachineTest {
 protected:
  // Distinct words everywhere, so a swapped byte or block shows.
  void FillPattern(TQRXEmulater& target) {
    for (size_t a = 0; a < M::kWords; ++a) {
      target.Memory[a] = static_cast<uint16_t>(a * 7 + 0x0102);
      target.LineMap[a] = static_cast<uint16_t>(a ^ 0xA5C3);
    }
  }
};

TEST_F(MachineStreamTest, BlockIsMemoryThenLineMapLittleEndian) {
  m->Memory[0] = 0x1234;
  m->Memory[0xFFFF] = 0xABCD;
  m->LineMap[0] = 0x5678;
  m->LineMap[1] = 0x00FF;
  TMemoryStream s;
  m->SaveToStream(s);
  const std::string& b = s.Bytes();
  ASSERT_EQ(b.size(), 2 * M::kBlockBytes);
  EXPECT_EQ(static_cast<uint8_t>(b[0]), 0x34);
  EXPECT_EQ(static_cast<uint8_t>(b[1]), 0x12);
  EXPECT_EQ(static_cast<uint8_t>(b[M::kBlockBytes - 2]), 0xCD);
  EXPECT_EQ(static_cast<uint8_t>(b[M::kBlockBytes - 1]), 0xAB);
  EXPECT_EQ(static_cast<uint8_t>(b[M::kBlockBytes]), 0x78);
  EXPECT_EQ(static_cast<uint8_t>(b[M::kBlockBytes + 1]), 0x56);
  EXPECT_EQ(static_cast<uint8_t>(b[M::kBlockBytes + 2]), 0xFF);
  EXPECT_EQ(static_cast<uint8_t>(b[M::kBlockBytes + 3]), 0x00);
}

TEST_F(MachineStreamTest, SaveAppendsAtThePosition) {
  TMemoryStream s;
  s.Write("HDR");
  m->SaveToStream(s);
  EXPECT_EQ(s.Size(), 3 + 2 * M::kBlockBytes);
  EXPECT_EQ(s.Position(), s.Size());
}

TEST_F(MachineStreamTest, RoundTripRestoresMemoryAndLinesAndKeepsCounters) {
  FillPattern(*m);
  TMemoryStream s;
  s.Write("head");
  m->SaveToStream(s);
  s.Write("tail");

  auto restored = std::make_unique<TQRXEmulater>();
  restored->CallDepth = -2;
  restored->StepCount = 1234;
  s.Seek(4);
  ASSERT_EQ(restored->LoadFromStream(s), 0);
  EXPECT_EQ(restored->Memory, m->Memory);
  EXPECT_EQ(restored->LineMap, m->LineMap);
  EXPECT_EQ(restored->CallDepth, -2);
  EXPECT_EQ(restored->StepCount, 1234u);
  // Exactly the block was consumed.
  EXPECT_EQ(s.ReadRest(), "tail");
}

// A stream that ends anywhere inside the block, in the first or the second
// half, must not change the machine or move the stream.
class ShortStream : public MachineStreamTest, public ::testing::WithParamInterface<size_t> {};

TEST_P(ShortStream, FailsAndChangesNothing) {
  auto source = std::make_unique<TQRXEmulater>();
  FillPattern(*source);
  TMemoryStream full;
  source->SaveToStream(full);

  const size_t available = GetParam();
  TMemoryStream s;
  s.Write("xy");
  s.Write(full.Bytes().substr(0, available));
  s.Seek(2);

  m->WriteWord(0x10, 0x4444);
  m->SetLineOf(0x10, 12);
  m->CallDepth = 5;
  m->StepCount = 77;
  const auto memoryBefore = m->Memory;
  const auto linesBefore = m->LineMap;

  EXPECT_EQ(m->LoadFromStream(s), -1);
  EXPECT_EQ(m->Memory, memoryBefore);
  EXPECT_EQ(m->LineMap, linesBefore);
  EXPECT_EQ(m->CallDepth, 5);
  EXPECT_EQ(m->StepCount, 77u);
  EXPECT_EQ(s.Position(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Machine, ShortStream,
                         ::testing::Values(0, 1, M::kBlockBytes - 1, M::kBlockBytes,
                                           M::kBlockBytes + 1, 2 * M::kBlockBytes - 1));

}  // namespace
