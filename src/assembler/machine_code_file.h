// The pseudo machine-code file (.qrxg): the assembled program as assembly
// text without names. One record per line that puts words into memory, in
// the order of the lines:
//   "0" AAAA "h:DW" { "," WWWW "h" } CR LF
// with the address and the words as four upper-case hexadecimal digits.
// An instruction line gives its FieldCount words, a DW line its
// FieldCount - 1 values (none for a macro-definition line); no other line
// gives a record. Lines with an error code are written with the words they
// hold.
#pragma once

#include <string>

class TQRXAssembler;

// The text of the file, byte for byte.
std::string MachineCodeText(const TQRXAssembler& assembler);

// Writes MachineCodeText through a temporary file renamed over path. Returns
// false with a CP932 error text when the file cannot be written.
bool WriteMachineCode(const TQRXAssembler& assembler, const std::string& path, std::string& error);
