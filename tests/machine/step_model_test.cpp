// Step against a plain model of the instruction rules, on random memory.
// The machine runs one specialised handler per opcode and mode nibble; this
// drives every one of them, with registers, stack and flags anywhere, and
// compares the whole machine state with the model.
#include <algorithm>
#include <array>
#include <random>
#include <vector>

#include "machine/opcode_table.h"
#include "machine_fixture.h"

namespace {

using M = TQRXEmulater;

// The instruction rules written out one by one, word by word.
struct TModel {
  std::array<uint16_t, M::kWords> mem{};
  int32_t dest = 0;
  uint16_t v1 = 0, v2 = 0, result = 0, instr = 0, opcode = 0;
  uint8_t modes = 0;
  int32_t depth = 0;
  uint64_t steps = 0;
  TPortDevice* device = nullptr;

  uint16_t R(int a) const { return mem[static_cast<uint16_t>(a)]; }
  void W(int a, int v) { mem[static_cast<uint16_t>(a)] = static_cast<uint16_t>(v); }
  uint16_t Value(int mode, uint16_t w) const {
    return mode == 0 ? 0xFFFF : mode == 1 ? w : mode == 2 ? R(w) : R(R(w));
  }
  int32_t Address(int mode, uint16_t w) const { return mode < 2 ? -1 : mode == 2 ? w : R(w); }
  void SignZero(uint16_t r) {
    W(M::SF, r >> 15);
    W(M::ZF, r == 0);
  }

  int Step() {
    const uint16_t a = R(M::PC);
    instr = a;
    opcode = R(a) & 0xFFF0;
    modes = R(a) & 0xF;
    int length = 1;
    if (modes >= 4) {
      dest = Address(modes / 4, R(a + 1));
      v1 = Value(modes / 4, R(a + 1));
      v2 = Value(modes % 4, R(a + 2));
      length = 3;
    } else if (modes > 0) {
      dest = Address(modes, R(a + 1));
      v1 = Value(modes, R(a + 1));
      length = 2;
    }
    W(M::PC, R(M::PC) + length);
    ++steps;

    bool stored = false;
    const auto store = [&](uint16_t v) {
      W(dest, v);
      dest = static_cast<uint16_t>(dest);
      stored = true;
    };
    const int16_t sa = static_cast<int16_t>(v1), sb = static_cast<int16_t>(v2);
    switch (opcode) {
      case 0x1000:
        store(v2);
        break;
      case 0x2000:
        result = static_cast<uint16_t>(-v1);
        W(M::SF, result >> 15);
        store(result);
        break;
      case 0x2100: {
        result = static_cast<uint16_t>(v1 + v2);
        const int16_t r = static_cast<int16_t>(result);
        SignZero(result);
        W(M::CF, result < v1);
        W(M::VF, (sb > 0 && r < sa) || (sb < 0 && r > sa));
        store(result);
        break;
      }
      case 0x2200:
      case 0x2210: {
        result = static_cast<uint16_t>(v1 - v2);
        const int16_t r = static_cast<int16_t>(result);
        SignZero(result);
        W(M::CF, v1 < v2);
        W(M::VF, (sb < 0 && r < sa) || (sb > 0 && r > sa));
        if (opcode == 0x2200) store(result);
        break;
      }
      case 0x3000:
        result = static_cast<uint16_t>(~v1);
        SignZero(result);
        store(result);
        break;
      case 0x3100:
        result = v1 | v2;
        SignZero(result);
        store(result);
        break;
      case 0x3200:
        result = v1 ^ v2;
        SignZero(result);
        store(result);
        break;
      case 0x3300:
      case 0x3310:
        result = v1 & v2;
        SignZero(result);
        if (opcode == 0x3300) store(result);
        break;
      case 0x4000:
        W(M::PC, dest);
        break;
      case 0x4100:
        if (v2 == 0) W(M::PC, dest);
        break;
      case 0x4200:
        if (v2 != 0) W(M::PC, dest);
        break;
      case 0x5000:
        result = device->PortIn(v2);
        store(result);
        break;
      case 0x5100:
        device->PortOut(v1, v2);
        break;
      case 0x6000:
        W(R(M::SP), v1);
        W(M::SP, R(M::SP) - 1);
        break;
      case 0x6100:
        W(M::SP, R(M::SP) + 1);
        result = R(R(M::SP));
        store(result);
        break;
      case 0x7000:
        result = static_cast<uint16_t>(v1 << 1);
        SignZero(result);
        W(M::CF, v1 >> 15);
        store(result);
        break;
      case 0x7100:
        result = v1 >> 1;
        SignZero(result);
        W(M::CF, v1 & 1);
        store(result);
        break;
      case 0x8000:
        W(R(M::SP), R(M::PC));
        W(M::SP, R(M::SP) - 1);
        W(M::PC, dest);
        ++depth;
        break;
      case 0x8100:
        W(M::SP, R(M::SP) + 1);
        W(M::PC, R(R(M::SP)));
        --depth;
        break;
      case 0xFFF0:
        W(M::PC, instr);
        dest = -1;
        return -1;
      default:
        break;
    }
    if (!stored) dest = -1;
    return 0;
  }
};

// Answers IN with a value made from the port and records OUT.
class TEchoPort : public TPortDevice {
 public:
  uint16_t PortIn(uint16_t port) override { return static_cast<uint16_t>(port * 3 + 1); }
  void PortOut(uint16_t port, uint16_t value) override { outs.emplace_back(port, value); }
  void ResetScreen() override {}
  std::vector<std::pair<uint16_t, uint16_t>> outs;
};

// Random words that are mostly instructions and addresses near the bottom
// and the top of memory, so operands hit code, data, stack and registers.
uint16_t RandomWord(std::mt19937& rng) {
  const unsigned kind = rng() % 10;
  if (kind < 4) {
    const TOpcodeInfo& row = OpcodeTable[rng() % OpcodeTable.size()];
    return static_cast<uint16_t>(row.Opcode | (rng() & 0xF));
  }
  if (kind < 7) return static_cast<uint16_t>(rng() % 512);
  if (kind < 9) return static_cast<uint16_t>(0xFFE8 + rng() % 24);
  return static_cast<uint16_t>(rng());
}

class StepModel : public MachineTest, public ::testing::WithParamInterface<unsigned> {
 protected:
  void SetUp() override {
    rng.seed(GetParam());
    model->device = &modelPort;
    m->SetPortDevice(&machinePort);
    for (size_t a = 0; a < M::kWords; ++a)
      m->Memory[a] = model->mem[a] = RandomWord(rng);
    m->Destination = model->dest;
  }

  void JumpBoth(uint16_t pc) {
    m->WriteWord(M::PC, pc);
    model->W(M::PC, pc);
  }

  // One step of both; fails on the first difference.
  void StepBoth(int i) {
    const int expected = model->Step();
    ASSERT_EQ(m->Step(), expected) << "step " << i;
    ASSERT_EQ(m->InstrAddress, model->instr) << "step " << i;
    ASSERT_EQ(m->Opcode, model->opcode) << "step " << i;
    ASSERT_EQ(m->Modes, model->modes) << "step " << i;
    ASSERT_EQ(m->Destination, model->dest) << "step " << i;
    ASSERT_EQ(m->Value1, model->v1) << "step " << i;
    ASSERT_EQ(m->Value2, model->v2) << "step " << i;
    ASSERT_EQ(m->Result, model->result) << "step " << i;
    ASSERT_EQ(m->CallDepth, model->depth) << "step " << i;
    ASSERT_EQ(m->StepCount, model->steps) << "step " << i;
    ASSERT_EQ(m->ReadWord(M::PC), model->R(M::PC)) << "step " << i;
    ASSERT_EQ(m->ReadWord(M::SP), model->R(M::SP)) << "step " << i;
    if (i % 32 == 0) {
      ASSERT_EQ(m->Memory, model->mem) << "step " << i;
    }
  }

  std::mt19937 rng;
  TEchoPort machinePort, modelPort;
  std::unique_ptr<TModel> model = std::make_unique<TModel>();
};

// Every opcode of the table with every mode nibble, many times, each at a
// random place in the machine state the earlier ones left behind.
TEST_P(StepModel, EveryOpcodeAndNibbleMatchesTheModel) {
  std::vector<uint16_t> firstWords;
  for (const TOpcodeInfo& row : OpcodeTable)
    for (uint16_t nibble = 0; nibble < 16; ++nibble)
      firstWords.push_back(row.Opcode | nibble);
  int i = 0;
  for (int round = 0; round < 30; ++round) {
    std::shuffle(firstWords.begin(), firstWords.end(), rng);
    for (uint16_t first : firstWords) {
      const uint16_t at = RandomWord(rng);
      m->WriteWord(at, first);
      model->W(at, first);
      JumpBoth(at);
      ASSERT_NO_FATAL_FAILURE(StepBoth(i++));
    }
  }
  ASSERT_EQ(m->Memory, model->mem);
  EXPECT_EQ(machinePort.outs, modelPort.outs);
}

// Straight runs through random memory, where each instruction meets what the
// one before left in the decode fields, the stack and the flags.
TEST_P(StepModel, RandomRunsMatchTheModel) {
  for (int i = 0; i < 20000; ++i) {
    ASSERT_NO_FATAL_FAILURE(StepBoth(i));
    // Leave a HALT, and every tight loop now and then, for somewhere else.
    if (m->Opcode == kOpcodeHalt || i % 64 == 63) JumpBoth(RandomWord(rng));
  }
  ASSERT_EQ(m->Memory, model->mem);
  EXPECT_EQ(machinePort.outs, modelPort.outs);
}

INSTANTIATE_TEST_SUITE_P(Step, StepModel, ::testing::Values(1u, 2u, 3u, 20240607u));

}  // namespace
