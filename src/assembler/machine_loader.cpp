#include "assembler/machine_loader.h"

#include <vector>

#include "assembler/qrx_assembler.h"
#include "machine/machine.h"

void LoadFromAssembler(TQRXEmulater& machine, const TQRXAssembler& assembler) {
  const std::vector<TImageLine> image = assembler.MemoryImage();
  machine.LoadImage(image);
}
