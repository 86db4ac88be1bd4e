#include "assembler/machine_code_file.h"

#include <algorithm>
#include <cstdint>

#include "assembler/qrx_assembler.h"
#include "persistence/file_io.h"
#include "persistence/int_text.h"

namespace {}  // namespace

std::string MachineCodeText(const TQRXAssembler& assembler) {
  std::string out;
  for (int i = 0; i < assembler.LineCount(); ++i) {
    const int count = assembler.ImageWordCount(i);
    if (count < 0) continue;
    const TAsmLine& line = assembler.LineAt(i);
    const size_t words = std::min(static_cast<size_t>(count), line.Words.size());
    out += '0';
    out += Hex4(line.Address);
    out += "h:DW";
    for (size_t k = 0; k < words; ++k) {
      out += ',';
      out += Hex4(line.Words[k]);
      out += 'h';
    }
    out += "\r\n";
  }
  return out;
}

bool WriteMachineCode(const TQRXAssembler& assembler, const std::string& path, std::string& error) {
  return WriteFileAtomically(path, MachineCodeText(assembler), error);
}
