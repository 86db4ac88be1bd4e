// The QRX instruction set as one table, read by the machine (to decode), by
// the assembler (to encode and check operand counts and modes) and by the
// workbench (to follow jumps from the listing). Every instruction is one row
// of QRX_INSTRUCTIONS; the operation enum and the table are both generated
// from it, so adding an instruction means adding one row here and its
// execution in step.cpp.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// The least addressing mode operand 1 may have.
enum TFirstOperand : uint8_t {
  foNone = 0,         // no operand
  foValue = 1,        // immediate, direct or indirect
  foDestination = 2,  // direct or indirect only
};

// X(operation, mnemonic, base word, words, first operand, jumps)
//   base word:  the first word with a mode nibble of 0
//   words:      instruction length = 1 + number of operands
//   jumps:      operand 1 is where control may go next (the listing's
//               "jump to the target" follows it)
#define QRX_INSTRUCTIONS(X)                       \
  X(Nop, "NOP", 0x0000, 1, foNone, false)         \
  X(Ld, "LD", 0x1000, 3, foDestination, false)    \
  X(Neg, "NEG", 0x2000, 2, foDestination, false)  \
  X(Add, "ADD", 0x2100, 3, foDestination, false)  \
  X(Sub, "SUB", 0x2200, 3, foDestination, false)  \
  X(Cmp, "CMP", 0x2210, 3, foDestination, false)  \
  X(Not, "NOT", 0x3000, 2, foDestination, false)  \
  X(Or, "OR", 0x3100, 3, foDestination, false)    \
  X(Xor, "XOR", 0x3200, 3, foDestination, false)  \
  X(And, "AND", 0x3300, 3, foDestination, false)  \
  X(Bit, "BIT", 0x3310, 3, foDestination, false)  \
  X(Jp, "JP", 0x4000, 2, foDestination, true)     \
  X(Jpf, "JPF", 0x4100, 3, foDestination, true)   \
  X(Jpt, "JPT", 0x4200, 3, foDestination, true)   \
  X(In, "IN", 0x5000, 3, foDestination, false)    \
  X(Out, "OUT", 0x5100, 3, foValue, false)        \
  X(Push, "PUSH", 0x6000, 2, foValue, false)      \
  X(Pop, "POP", 0x6100, 2, foDestination, false)  \
  X(Sl, "SL", 0x7000, 2, foDestination, false)    \
  X(Sr, "SR", 0x7100, 2, foDestination, false)    \
  X(Call, "CALL", 0x8000, 2, foDestination, true) \
  X(Ret, "RET", 0x8100, 1, foNone, false)         \
  X(Halt, "HALT", 0xFFF0, 1, foNone, false)

// One value per row of OpcodeTable, in the same order.
enum class TOperation : uint8_t {
#define QRX_OPERATION_NAME(op, mnemonic, base, words, first, jumps) op,
  QRX_INSTRUCTIONS(QRX_OPERATION_NAME)
#undef QRX_OPERATION_NAME
};

struct TOpcodeInfo {
  std::string_view Mnemonic;  // upper case
  uint16_t Opcode;            // base word: the first word with a mode nibble of 0
  uint8_t Words;              // instruction length = 1 + number of operands
  TFirstOperand FirstOperand;
  bool Jumps;  // operand 1 is a jump or call target
};

inline constexpr auto OpcodeTable = std::to_array<TOpcodeInfo>({
#define QRX_OPCODE_ROW(op, mnemonic, base, words, first, jumps) \
  {mnemonic, base, words, first, jumps},
    QRX_INSTRUCTIONS(QRX_OPCODE_ROW)
#undef QRX_OPCODE_ROW
});

static_assert(OpcodeTable.size() == static_cast<size_t>(TOperation::Halt) + 1);

// The row of an upper-case mnemonic, or nullptr.
constexpr const TOpcodeInfo* FindOpcode(std::string_view upperMnemonic) {
  for (const TOpcodeInfo& row : OpcodeTable)
    if (row.Mnemonic == upperMnemonic) return &row;
  return nullptr;
}

// The row of an operation.
constexpr const TOpcodeInfo& OpcodeOf(TOperation op) {
  return OpcodeTable[static_cast<size_t>(op)];
}

inline constexpr uint16_t kOpcodeHalt = OpcodeOf(TOperation::Halt).Opcode;
