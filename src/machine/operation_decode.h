// Decoding of a first instruction word into a dense operation number, so the
// machine dispatches with one table read and one jump table. The numbers are
// the rows of the shared opcode table (TOperation); opcodes the table does
// not know decode to NOP.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "machine/opcode_table.h"

namespace operation_decode_detail {
constexpr bool OpcodesHaveEmptyModeNibble() {
  for (const TOpcodeInfo& row : OpcodeTable)
    if ((row.Opcode & 0x000F) != 0) return false;
  return true;
}
}  // namespace operation_decode_detail

static_assert(operation_decode_detail::OpcodesHaveEmptyModeNibble());

// Operation of every opcode, indexed by (first word >> 4).
inline constexpr std::array<TOperation, 4096> OperationOfOpcode = [] {
  std::array<TOperation, 4096> table{};  // all NOP
  for (size_t row = 0; row < OpcodeTable.size(); ++row)
    table[OpcodeTable[row].Opcode >> 4] = static_cast<TOperation>(row);
  return table;
}();

constexpr TOperation DecodeOperation(uint16_t firstWord) {
  return OperationOfOpcode[firstWord >> 4];
}
