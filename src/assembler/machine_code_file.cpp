#include "assembler/machine_code_file.h"

#include <algorithm>
#include <cstdint>

#include "assembler/qrx_assembler.h"
#include "persistence/file_io.h"

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

void AppendHex4(std::string& out, uint16_t value) {
  for (int shift = 12; shift >= 0; shift -= 4)
    out += kHexDigits[(value >> shift) & 0xF];
}

}  // namespace

std::string MachineCodeText(const TQRXAssembler& assembler) {
  std::string out;
  for (int i = 0; i < assembler.LineCount(); ++i) {
    const int count = assembler.ImageWordCount(i);
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
