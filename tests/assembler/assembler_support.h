// Helpers for the assembler tests: fill a TQRXAssembler with tagged source
// lines and look at what Assemble made of them.
#pragma once

#include <string>
#include <vector>

#include "assembler/qrx_assembler.h"

namespace assembler_test {

// The source tag of line `line` of file 1.
inline std::string Tag(int line) {
  return ";/\x1B"
         "1\x1B" +
         std::to_string(line);
}

// Replaces the assembler's lines by code, each line tagged as line i + 1 of
// file 1 (as the source reader leaves them).
inline void SetSource(TQRXAssembler& assembler, const std::vector<std::string>& code) {
  TCustomStringList lines;
  for (size_t i = 0; i < code.size(); ++i)
    lines.Add(code[i] + Tag(static_cast<int>(i) + 1));
  assembler.SetLines(lines);
}

// SetSource, then Assemble; returns the tally.
inline int AssembleSource(TQRXAssembler& assembler, const std::vector<std::string>& code) {
  SetSource(assembler, code);
  return assembler.Assemble().Tally;
}

// The value of a label key, or -1 when the table has no such key.
inline int LabelValue(const TQRXAssembler& assembler, const std::string& key) {
  const int index = assembler.Labels().IndexOf(key);
  if (index < 0) return -1;
  return static_cast<uint16_t>(assembler.Labels().RecordAt(index).Value);
}

// The LineIndex of every listing row, in row order.
inline std::vector<int> ListingLines(const TQRXAssembler& assembler) {
  std::vector<int> lines;
  for (int row = 0; row < assembler.Listing().Count(); ++row)
    lines.push_back(assembler.Listing().Ref(row)->LineIndex);
  return lines;
}

// The line's first n words.
inline std::vector<uint16_t> FirstWords(const TAsmLine& line, size_t n) {
  return std::vector<uint16_t>(line.Words.begin(), line.Words.begin() + static_cast<long>(n));
}

// A program with a label of every kind: plain, ">" and "^" marked, a "#"
// constant, an automatic PROC label, a unit with its own label, and names
// whose case sorts differently from their bytes.
inline std::vector<std::string> LabelKindsSource() {
  return {"START: NOP", ">LOOP: NOP", "^PTR: DW 0", "#IMM EQU 5", "PROC",    "ENDPROC",
          "MATH: UNIT", "SQ: DW 0",   "ENDUNIT",    "aaa: NOP",   "Zed: NOP"};
}

// A string list holding names.
struct TNames : TCustomStringList {
  explicit TNames(const std::vector<std::string>& names) {
    for (const std::string& name : names)
      Add(name);
  }
};

}  // namespace assembler_test
