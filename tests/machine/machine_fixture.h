// Shared helpers of the machine tests: a recording port device, instruction
// encoders and a fixture that owns a machine on the heap (it is 256 KiB).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

#include "machine/machine.h"
#include "machine/port_device.h"

// Addressing modes of an operand.
inline constexpr unsigned kNone = 0;
inline constexpr unsigned kImm = 1;
inline constexpr unsigned kDir = 2;
inline constexpr unsigned kInd = 3;

// First word of a two-operand instruction.
constexpr uint16_t Enc2(uint16_t opcode, unsigned mode1, unsigned mode2) {
  return static_cast<uint16_t>(opcode + mode1 * 4 + mode2);
}
// First word of a one-operand instruction.
constexpr uint16_t Enc1(uint16_t opcode, unsigned mode) {
  return static_cast<uint16_t>(opcode + mode);
}

namespace op {
inline constexpr uint16_t Nop = 0x0000, Ld = 0x1000, Neg = 0x2000, Add = 0x2100, Sub = 0x2200,
                          Cmp = 0x2210, Not = 0x3000, Or = 0x3100, Xor = 0x3200, And = 0x3300,
                          Bit = 0x3310, Jp = 0x4000, Jpf = 0x4100, Jpt = 0x4200, In = 0x5000,
                          Out = 0x5100, Push = 0x6000, Pop = 0x6100, Sl = 0x7000, Sr = 0x7100,
                          Call = 0x8000, Ret = 0x8100, Halt = 0xFFF0;
}  // namespace op

// Records what the machine asks of its device.
class TFakePort : public TPortDevice {
 public:
  uint16_t PortIn(uint16_t port) override {
    inPorts.push_back(port);
    return inValue;
  }
  void PortOut(uint16_t port, uint16_t value) override { outs.emplace_back(port, value); }
  void ResetScreen() override { ++resets; }

  uint16_t inValue = 0;
  std::vector<uint16_t> inPorts;
  std::vector<std::pair<uint16_t, uint16_t>> outs;
  int resets = 0;
};

class MachineTest : public ::testing::Test {
 protected:
  using M = TQRXEmulater;

  // Writes words from address on, wrapping.
  void Place(int address, std::initializer_list<uint16_t> words) {
    for (uint16_t w : words)
      m->WriteWord(address++, w);
  }
  uint16_t Word(int address) const { return m->ReadWord(address); }
  uint16_t Pc() const { return m->ReadWord(M::PC); }
  uint16_t Sp() const { return m->ReadWord(M::SP); }
  // Sets every flag word to a value no instruction writes, so a test sees
  // which flags an instruction left alone.
  void PoisonFlags(uint16_t value = 7) {
    for (uint16_t f : {M::VF, M::SF, M::ZF, M::CF})
      m->WriteWord(f, value);
  }

  std::unique_ptr<TQRXEmulater> m = std::make_unique<TQRXEmulater>();
};
