#include "persistence/machine_code_file.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "assembler/macro_prepass.h"
#include "assembler/qrx_assembler.h"
#include "persistence/file_io.h"

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

void AppendHex4(std::string& out, uint16_t value) {
  for (int shift = 12; shift >= 0; shift -= 4)
    out += kHexDigits[(value >> shift) & 0xF];
}

// How many words line i puts into the record, or -1 when it gives none.
int RecordWordCount(const TQRXAssembler& assembler, int i) {
  // The lines of a macro definition are comments to the machine, whatever
  // the display pass made of them.
  if (std::string_view(assembler[i]).starts_with(kMacroDefinitionMarker)) return -1;
  const TAsmLine& line = assembler.LineAt(i);
  if (line.Mnemonic == "DW") return std::max(0, static_cast<int>(line.FieldCount) - 1);
  if (!line.IsDirective && line.FieldCount > 0) return line.FieldCount;
  return -1;
}

}  // namespace

std::string MachineCodeText(const TQRXAssembler& assembler) {
  std::string out;
  for (int i = 0; i < assembler.Count(); ++i) {
    const int count = RecordWordCount(assembler, i);
    if (count < 0) continue;
    const TAsmLine& line = assembler.LineAt(i);
    const size_t words = std::min(static_cast<size_t>(count), line.Words.size());
    out += '0';
    AppendHex4(out, line.Address);
    out += "h:DW";
    for (size_t k = 0; k < words; ++k) {
      out += ',';
      AppendHex4(out, line.Words[k]);
      out += 'h';
    }
    out += "\r\n";
  }
  return out;
}

bool WriteMachineCode(const TQRXAssembler& assembler, const std::string& path, std::string& error) {
  return WriteFileAtomically(path, MachineCodeText(assembler), error);
}
