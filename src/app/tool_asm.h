// qrx asm: load and assemble, then print the listing and the labels and
// write the machine-code file, as asked.
#pragma once

#include "app/tool_options.h"

// Runs the command; returns the exit status (0 clean, 1 assembly errors,
// 2 load or write failure).
int RunAsmCommand(const TToolOptions& options);
