#include "assembler/line_encoder.h"

#include "assembler/asm_error_codes.h"
#include "machine/opcode_table.h"

bool IsDirectiveName(std::string_view upperMnemonic) {
  for (std::string_view name : DirectiveTable)
    if (name == upperMnemonic) return true;
  return false;
}

int OperandMode(std::string_view operand) {
  if (operand.empty()) return kModeDirect;
  switch (operand.front()) {
    case '#':
    case '@':
      return kModeImmediate;
    case '[':
      return kModeIndirect;
    default:
      return kModeDirect;
  }
}

int32_t EncodeLine(TAsmLine& line) {
  if (line.Mnemonic.empty()) return 0;
  if (IsDirectiveName(line.Mnemonic)) {
    line.IsDirective = true;
    return 0;
  }
  const TOpcodeInfo* row = FindOpcode(line.Mnemonic);
  if (row == nullptr) return kErrBadMnemonic;
  if (line.FieldCount != row->Words) return kErrFieldCount;

  const int m1 = OperandMode(line.Fields[1]);
  const int m2 = OperandMode(line.Fields[2]);
  int modes = 0;
  if (line.FieldCount == 3)
    modes = m1 * 4 + m2;
  else if (line.FieldCount == 2)
    modes = m1;
  if (line.FieldCount > 1 && m1 < static_cast<int>(row->FirstOperand)) return kErrBadParameter;

  const auto word = static_cast<uint16_t>(row->Opcode + modes);
  line.Words[0] = word;
  return word;
}
