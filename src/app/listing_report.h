// The texts qrx asm prints for an assembled program: the listing and the
// label table, UTF-8, one row a line. A library of its own, so that the
// fuzz targets compare the very texts the tool prints.
#pragma once

#include <string>

class TQRXAssembler;
class TFileNames;

// One line per listing row, six TAB-separated fields (address, label,
// instruction, parameter 1, parameter 2, comment or error text), UTF-8.
std::string ListingOutput(const TQRXAssembler& assembler, const TFileNames& files);

// One line per label in table order: key, value (four hexadecimal digits),
// 1 or 0 for value-only, defining line; TAB-separated, UTF-8.
std::string LabelsOutput(const TQRXAssembler& assembler);

// Makes every unit visible and rebuilds the listing, so the listing output
// holds every line.
void ShowAllUnits(TQRXAssembler& assembler);
