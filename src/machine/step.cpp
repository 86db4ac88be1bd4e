// Execution of one instruction. This is the machine's hot path: run control
// calls it once per instruction. The first word selects one of 23 x 16
// handlers, each compiled for its operation and its mode nibble, so a handler
// resolves its operands and writes its flags without tests on the modes.
#include <array>
#include <bit>
#include <cstring>
#include <utility>

#include "machine/machine.h"
#include "machine/operation_decode.h"
#include "machine/port_device.h"

namespace {

using TM = TQRXEmulater;

struct TOperand {
  int32_t address;  // -1: none
  uint16_t value;
};

// The addressing table: none, immediate, direct, indirect.
template <unsigned Mode>
inline TOperand Resolve(const uint16_t* mem, uint16_t w) {
  if constexpr (Mode == 0) {
    return {-1, 0xFFFF};
  } else if constexpr (Mode == 1) {
    return {-1, w};
  } else if constexpr (Mode == 2) {
    return {w, mem[w]};
  } else {
    const uint16_t pointer = mem[w];
    return {pointer, mem[pointer]};
  }
}

// SP (0xFFFE) and PC (0xFFFF) are neighbours and together form one 32-bit
// little-endian word, SP in the low half. Step reads them as that one word
// and moves PC by writing it back whole: the next Step's read then comes
// straight from this write, where a 16-bit write read back by a widening
// 16-bit load takes a slow forwarding path on current x86 cores. That path
// is the chain every instruction waits on.
static_assert(TM::PC == TM::SP + 1 && std::endian::native == std::endian::little);

inline uint32_t LoadStackAndPc(const uint16_t* mem) {
  uint32_t pair;
  std::memcpy(&pair, mem + TM::SP, sizeof pair);
  return pair;
}

inline void StoreStackAndPc(uint16_t* mem, uint32_t pair) {
  std::memcpy(mem + TM::SP, &pair, sizeof pair);
}

inline uint32_t WithPc(uint32_t pair, uint16_t pc) {
  return (pair & 0xFFFF) | (static_cast<uint32_t>(pc) << 16);
}

inline void SetSignZero(uint16_t* mem, uint16_t r) {
  mem[TM::SF] = r >> 15;
  mem[TM::ZF] = r == 0;
}

inline uint16_t Add(uint16_t* mem, uint16_t a, uint16_t b) {
  const uint16_t r = static_cast<uint16_t>(a + b);
  SetSignZero(mem, r);
  mem[TM::CF] = r < a;
  // Overflow: b > 0 and r < a, or b < 0 and r > a (signed). That happens
  // exactly when a and b have the same sign and r has the other one.
  mem[TM::VF] = ((a ^ r) & (b ^ r)) >> 15;
  return r;
}

// a - b with the flags of SUB and CMP.
inline uint16_t Subtract(uint16_t* mem, uint16_t a, uint16_t b) {
  const uint16_t r = static_cast<uint16_t>(a - b);
  SetSignZero(mem, r);
  mem[TM::CF] = a < b;
  // Overflow: b < 0 and r < a, or b > 0 and r > a (signed). That happens
  // exactly when a and b differ in sign and r differs in sign from a.
  mem[TM::VF] = ((a ^ b) & (a ^ r)) >> 15;
  return r;
}

inline uint16_t Logic(uint16_t* mem, uint16_t r) {
  SetSignZero(mem, r);
  return r;
}

// Executes one instruction whose opcode is Op and whose mode nibble is
// Nibble; regs holds SP and PC as Step read them, first the first word.
// Returns Step's result.
template <TOperation Op, unsigned Nibble>
int Execute(TM& m, uint32_t regs, uint16_t first) {
  uint16_t* const mem = m.Memory.data();
  const uint16_t at = static_cast<uint16_t>(regs >> 16);
  m.InstrAddress = at;
  // Constant here except for the opcodes that decode to NOP.
  m.Opcode = Op == TOperation::Nop ? (first & 0xFFF0) : OpcodeTable[static_cast<size_t>(Op)].Opcode;
  m.Modes = Nibble;

  // An instruction whose nibble resolves fewer operands than it uses works on
  // what the previous instruction left in these fields.
  int32_t dest = m.Destination;
  uint16_t a = m.Value1;
  uint16_t b = m.Value2;
  uint16_t length = 1;
  if constexpr (Nibble >= 4) {
    const TOperand op1 = Resolve<(Nibble >> 2)>(mem, mem[static_cast<uint16_t>(at + 1)]);
    const TOperand op2 = Resolve<(Nibble & 3)>(mem, mem[static_cast<uint16_t>(at + 2)]);
    dest = op1.address;
    a = m.Value1 = op1.value;
    b = m.Value2 = op2.value;
    length = 3;
  } else if constexpr (Nibble != 0) {
    const TOperand op1 = Resolve<Nibble>(mem, mem[static_cast<uint16_t>(at + 1)]);
    dest = op1.address;
    a = m.Value1 = op1.value;
    length = 2;
  }
  const uint16_t next = static_cast<uint16_t>(at + length);
  const uint16_t target = static_cast<uint16_t>(dest);

  // Operands are resolved, so PC may move now. A jump moves it once, to its
  // target or to the next instruction; nothing reads PC in between.
  if constexpr (Op == TOperation::Jp) {
    StoreStackAndPc(mem, WithPc(regs, target));
  } else if constexpr (Op == TOperation::Jpf || Op == TOperation::Jpt) {
    // A branch, not a select: the condition is usually a flag word written
    // by the instruction just before, and a predicted branch keeps that
    // write off the chain that the next instruction's PC waits on.
    const bool jump = (Op == TOperation::Jpf) == (b == 0);
    if (__builtin_expect(jump, 1)) {
      StoreStackAndPc(mem, WithPc(regs, target));
    } else {
      StoreStackAndPc(mem, WithPc(regs, next));
    }
  } else if constexpr (Op == TOperation::Halt) {
    StoreStackAndPc(mem, regs);  // the machine stays on the HALT
  } else {
    StoreStackAndPc(mem, WithPc(regs, next));
  }

  // A store writes into the word at the destination taken as a 16-bit
  // address (-1 is PC), and Destination becomes that address. Flags are
  // written before it, so a store into a flag word wins over the flag.
  const auto store = [&](uint16_t value) {
    mem[target] = value;
    m.Destination = target;
  };
  const auto storeResult = [&](uint16_t r) {
    m.Result = r;
    store(r);
  };
  const auto noStore = [&] { m.Destination = -1; };

  if constexpr (Op == TOperation::Ld) {
    store(b);
  } else if constexpr (Op == TOperation::Neg) {
    const uint16_t r = static_cast<uint16_t>(0 - a);
    mem[TM::SF] = r >> 15;  // the only flag NEG writes
    storeResult(r);
  } else if constexpr (Op == TOperation::Add) {
    storeResult(Add(mem, a, b));
  } else if constexpr (Op == TOperation::Sub) {
    storeResult(Subtract(mem, a, b));
  } else if constexpr (Op == TOperation::Cmp) {
    m.Result = Subtract(mem, a, b);
    noStore();
  } else if constexpr (Op == TOperation::Not) {
    storeResult(Logic(mem, static_cast<uint16_t>(~a)));
  } else if constexpr (Op == TOperation::Or) {
    storeResult(Logic(mem, a | b));
  } else if constexpr (Op == TOperation::Xor) {
    storeResult(Logic(mem, a ^ b));
  } else if constexpr (Op == TOperation::And) {
    storeResult(Logic(mem, a & b));
  } else if constexpr (Op == TOperation::Bit) {
    m.Result = Logic(mem, a & b);
    noStore();
  } else if constexpr (Op == TOperation::Jp || Op == TOperation::Jpf || Op == TOperation::Jpt) {
    noStore();  // PC was moved above
  } else if constexpr (Op == TOperation::In) {
    TPortDevice* const device = m.PortDevice();
    storeResult(device != nullptr ? device->PortIn(b) : 0);
  } else if constexpr (Op == TOperation::Out) {
    if (TPortDevice* const device = m.PortDevice()) device->PortOut(a, b);
    noStore();
  } else if constexpr (Op == TOperation::Push) {
    // SP names the next free word. SP is read again at every step because a
    // write through it may have changed it.
    mem[mem[TM::SP]] = a;
    mem[TM::SP] = static_cast<uint16_t>(mem[TM::SP] - 1);
    noStore();
  } else if constexpr (Op == TOperation::Pop) {
    mem[TM::SP] = static_cast<uint16_t>(mem[TM::SP] + 1);
    storeResult(mem[mem[TM::SP]]);
  } else if constexpr (Op == TOperation::Sl) {
    const uint16_t r = Logic(mem, static_cast<uint16_t>(a << 1));
    mem[TM::CF] = a >> 15;
    storeResult(r);
  } else if constexpr (Op == TOperation::Sr) {
    const uint16_t r = Logic(mem, a >> 1);
    mem[TM::CF] = a & 1;
    storeResult(r);
  } else if constexpr (Op == TOperation::Call) {
    mem[mem[TM::SP]] = mem[TM::PC];  // the address after the CALL
    mem[TM::SP] = static_cast<uint16_t>(mem[TM::SP] - 1);
    mem[TM::PC] = target;
    m.CallDepth = static_cast<int32_t>(static_cast<uint32_t>(m.CallDepth) + 1);
    noStore();
  } else if constexpr (Op == TOperation::Ret) {
    mem[TM::SP] = static_cast<uint16_t>(mem[TM::SP] + 1);
    mem[TM::PC] = mem[mem[TM::SP]];
    m.CallDepth = static_cast<int32_t>(static_cast<uint32_t>(m.CallDepth) - 1);
    noStore();
  } else if constexpr (Op == TOperation::Halt) {
    noStore();
    return -1;
  } else {
    static_assert(Op == TOperation::Nop);  // unknown opcodes decode to NOP
    noStore();
  }
  return 0;
}

using THandler = int (*)(TM&, uint32_t, uint16_t);

template <size_t... I>
constexpr std::array<THandler, sizeof...(I)> MakeHandlers(std::index_sequence<I...>) {
  return {&Execute<static_cast<TOperation>(I >> 4), I & 15>...};
}

// Indexed by operation * 16 + mode nibble.
constexpr auto kHandlers =
    MakeHandlers(std::make_index_sequence<(static_cast<size_t>(TOperation::Halt) + 1) * 16>());

}  // namespace

int TQRXEmulater::Step() {
  const uint32_t regs = LoadStackAndPc(Memory.data());
  const uint16_t at = static_cast<uint16_t>(regs >> 16);
  const uint16_t first = Memory[at];
  ++StepCount;
  const size_t handler = (static_cast<size_t>(DecodeOperation(first)) << 4) | (first & 0x000F);
  return kHandlers[handler](*this, regs, first);
}
