// Decoding of a first instruction word into a dense operation number, so the
// machine dispatches with one table read and one jump table. The numbers are
// the rows of the shared opcode table; opcodes the table does not know decode
// to NOP.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "machine/opcode_table.h"

// One value per row of OpcodeTable, in the same order.
enum class TOperation : uint8_t {
  Nop,
  Ld,
  Neg,
  Add,
  Sub,
  Cmp,
  Not,
  Or,
  Xor,
  And,
  Bit,
  Jp,
  Jpf,
  Jpt,
  In,
  Out,
  Push,
  Pop,
  Sl,
  Sr,
  Call,
  Ret,
  Halt,
};

namespace operation_decode_detail {
constexpr bool RowIs(TOperation op, std::string_view mnemonic) {
  return OpcodeTable[static_cast<size_t>(op)].Mnemonic == mnemonic;
}
constexpr bool OpcodesHaveEmptyModeNibble() {
  for (const TOpcodeInfo& row : OpcodeTable)
    if ((row.Opcode & 0x000F) != 0) return false;
  return true;
}
}  // namespace operation_decode_detail

static_assert(operation_decode_detail::OpcodesHaveEmptyModeNibble());

static_assert(OpcodeTable.size() == static_cast<size_t>(TOperation::Halt) + 1);
static_assert(operation_decode_detail::RowIs(TOperation::Nop, "NOP") &&
                  operation_decode_detail::RowIs(TOperation::Ld, "LD") &&
                  operation_decode_detail::RowIs(TOperation::Neg, "NEG") &&
                  operation_decode_detail::RowIs(TOperation::Add, "ADD") &&
                  operation_decode_detail::RowIs(TOperation::Sub, "SUB") &&
                  operation_decode_detail::RowIs(TOperation::Cmp, "CMP") &&
                  operation_decode_detail::RowIs(TOperation::Not, "NOT") &&
                  operation_decode_detail::RowIs(TOperation::Or, "OR") &&
                  operation_decode_detail::RowIs(TOperation::Xor, "XOR") &&
                  operation_decode_detail::RowIs(TOperation::And, "AND") &&
                  operation_decode_detail::RowIs(TOperation::Bit, "BIT") &&
                  operation_decode_detail::RowIs(TOperation::Jp, "JP") &&
                  operation_decode_detail::RowIs(TOperation::Jpf, "JPF") &&
                  operation_decode_detail::RowIs(TOperation::Jpt, "JPT") &&
                  operation_decode_detail::RowIs(TOperation::In, "IN") &&
                  operation_decode_detail::RowIs(TOperation::Out, "OUT") &&
                  operation_decode_detail::RowIs(TOperation::Push, "PUSH") &&
                  operation_decode_detail::RowIs(TOperation::Pop, "POP") &&
                  operation_decode_detail::RowIs(TOperation::Sl, "SL") &&
                  operation_decode_detail::RowIs(TOperation::Sr, "SR") &&
                  operation_decode_detail::RowIs(TOperation::Call, "CALL") &&
                  operation_decode_detail::RowIs(TOperation::Ret, "RET") &&
                  operation_decode_detail::RowIs(TOperation::Halt, "HALT"),
              "TOperation must follow the rows of OpcodeTable");

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
