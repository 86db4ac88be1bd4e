// The words the assembled program puts into memory.
#include <algorithm>
#include <span>
#include <vector>

#include "assembler/qrx_assembler.h"

std::vector<TImageLine> TQRXAssembler::MemoryImage() const {
  std::vector<TImageLine> image;
  for (int i = 0; i < Count(); ++i) {
    const TAsmLine* line = Record(i);
    if (line == nullptr) continue;
    size_t words = 0;
    if (line->Mnemonic == "DW") {
      if (!IsMacroDefinitionLine(Strings(i)) && line->FieldCount > 0) words = line->FieldCount - 1u;
    } else if (!line->IsDirective) {
      words = line->FieldCount;
    }
    words = std::min(words, line->Words.size());
    if (words == 0) continue;
    image.push_back(TImageLine{line->Address, std::span<const uint16_t>(line->Words.data(), words),
                               line->LineIndex});
  }
  return image;
}
