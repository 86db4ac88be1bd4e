// The words the assembled program puts into memory.
#include <algorithm>
#include <span>
#include <vector>

#include "assembler/macro_prepass.h"
#include "assembler/qrx_assembler.h"

int TQRXAssembler::ImageWordCount(int i) const {
  // The lines of a macro definition are comments to the machine, whatever
  // the display pass made of them.
  if (IsMacroDefinitionLine(lines_.Strings(i))) return -1;
  const TAsmLine& line = LineAt(i);
  if (line.Mnemonic == "DW") return std::max(0, line.FieldCount - 1);
  if (!line.IsDirective && line.FieldCount > 0) return line.FieldCount;
  return -1;
}

std::vector<TImageLine> TQRXAssembler::MemoryImage() const {
  std::vector<TImageLine> image;
  for (int i = 0; i < lines_.Count(); ++i) {
    const TAsmLine* line = lines_.Record(i);
    if (line == nullptr) continue;
    const int count = ImageWordCount(i);
    if (count <= 0) continue;
    const size_t words = std::min(static_cast<size_t>(count), line->Words.size());
    image.push_back(TImageLine{line->Address, std::span<const uint16_t>(line->Words.data(), words),
                               line->LineIndex});
  }
  return image;
}
