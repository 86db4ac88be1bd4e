#include "assembler/machine_loader.h"

#include <vector>

#include "assembler/qrx_assembler.h"
#include "machine/machine.h"

void LoadImage(TQRXEmulater& machine, std::span<const TImageLine> lines) {
  machine.ClearMemory();
  for (const TImageLine& line : lines) {
    uint16_t address = line.Address;
    for (uint16_t word : line.Words) {
      machine.WriteWord(address, word);
      machine.SetLineOf(address, line.LineIndex);
      ++address;  // wraps at 0x10000
    }
  }
  machine.ResetMachine();
}

void LoadFromAssembler(TQRXEmulater& machine, const TQRXAssembler& assembler) {
  const std::vector<TImageLine> image = assembler.MemoryImage();
  LoadImage(machine, image);
}
