// qrx asm: load and assemble, then print the listing and the labels and
// write the machine-code file, as asked.
#pragma once

#include <string>

#include "app/tool_options.h"

class TQRXAssembler;
class TFileNames;

// One line per listing row, six TAB-separated fields (address, label,
// instruction, parameter 1, parameter 2, comment or error text), UTF-8.
std::string ListingOutput(const TQRXAssembler& assembler, const TFileNames& files);

// One line per label in table order: key, value (four hexadecimal digits),
// 1 or 0 for value-only, defining line; TAB-separated, UTF-8.
std::string LabelsOutput(const TQRXAssembler& assembler);

// Runs the command; returns the exit status (0 clean, 1 assembly errors,
// 2 load or write failure).
int RunAsmCommand(const TToolOptions& options);
