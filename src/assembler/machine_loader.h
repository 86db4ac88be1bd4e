// Loading the machine from the assembled program.
#pragma once

class TQRXAssembler;
class TQRXEmulater;

// Clears the machine's memory and line map, writes the assembler's memory
// image (TQRXAssembler::MemoryImage) with each word's line index, then
// resets the machine; the register words end with their start values.
void LoadFromAssembler(TQRXEmulater& machine, const TQRXAssembler& assembler);
