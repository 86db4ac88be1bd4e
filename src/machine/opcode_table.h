// The QRX instruction set as one table, read by the machine (to decode) and by
// the assembler (to encode and check operand counts and modes).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// The least addressing mode operand 1 may have.
enum TFirstOperand : uint8_t {
  foNone = 0,         // no operand
  foValue = 1,        // immediate, direct or indirect
  foDestination = 2,  // direct or indirect only
};

struct TOpcodeInfo {
  std::string_view Mnemonic;  // upper case
  uint16_t Opcode;            // base word: the first word with a mode nibble of 0
  uint8_t Words;              // instruction length = 1 + number of operands
  TFirstOperand FirstOperand;
};

inline constexpr std::array<TOpcodeInfo, 23> OpcodeTable = {{
    {"NOP", 0x0000, 1, foNone},         {"LD", 0x1000, 3, foDestination},
    {"NEG", 0x2000, 2, foDestination},  {"ADD", 0x2100, 3, foDestination},
    {"SUB", 0x2200, 3, foDestination},  {"CMP", 0x2210, 3, foDestination},
    {"NOT", 0x3000, 2, foDestination},  {"OR", 0x3100, 3, foDestination},
    {"XOR", 0x3200, 3, foDestination},  {"AND", 0x3300, 3, foDestination},
    {"BIT", 0x3310, 3, foDestination},  {"JP", 0x4000, 2, foDestination},
    {"JPF", 0x4100, 3, foDestination},  {"JPT", 0x4200, 3, foDestination},
    {"IN", 0x5000, 3, foDestination},   {"OUT", 0x5100, 3, foValue},
    {"PUSH", 0x6000, 2, foValue},       {"POP", 0x6100, 2, foDestination},
    {"SL", 0x7000, 2, foDestination},   {"SR", 0x7100, 2, foDestination},
    {"CALL", 0x8000, 2, foDestination}, {"RET", 0x8100, 1, foNone},
    {"HALT", 0xFFF0, 1, foNone},
}};

// The row of an upper-case mnemonic, or nullptr.
constexpr const TOpcodeInfo* FindOpcode(std::string_view upperMnemonic) {
  for (const TOpcodeInfo& row : OpcodeTable)
    if (row.Mnemonic == upperMnemonic) return &row;
  return nullptr;
}

inline constexpr uint16_t kOpcodeHalt = 0xFFF0;
