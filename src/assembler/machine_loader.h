// Loading the machine from the assembled program.
#pragma once

#include <span>

#include "assembler/memory_image.h"

class TQRXAssembler;
class TQRXEmulater;

// Clears the machine's memory and line map, writes every line's words in
// order (a later line wins where two overlap) and tags each word with its
// line, then resets the machine, so the register words hold their start
// values whatever the image put there.
void LoadImage(TQRXEmulater& machine, std::span<const TImageLine> lines);

// LoadImage with the assembler's memory image (TQRXAssembler::MemoryImage).
void LoadFromAssembler(TQRXEmulater& machine, const TQRXAssembler& assembler);
