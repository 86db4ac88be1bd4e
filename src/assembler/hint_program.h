// The assembled program as the hint rules read it. This is the one place
// where the hints reach into the assembler, through a few calls: the number
// of lines, a line's text and record, the label table and the memory image.
// On top of them it keeps which line put the word at each address and the
// set of names that the label table knows in any scope.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "assembler/asm_line.h"

class TQRXAssembler;

class THintProgram {
 public:
  explicit THintProgram(const TQRXAssembler& assembler);

  int LineCount() const;
  const std::string& LineText(int i) const;
  const TAsmLine& Line(int i) const;
  int ErrorLineCount() const;

  // The lines that put words into memory, in source order (instruction and
  // DW lines; not macro-definition lines).
  const std::vector<int>& LoadedLines() const { return loadedLines_; }
  // Whether a loaded line holds data (DW) rather than an instruction.
  bool IsDataLine(int i) const { return Line(i).Mnemonic == "DW"; }

  // The line whose word lies at address (a later line wins), or -1.
  int OwnerOf(uint16_t address) const;
  // Whether the word at address belongs to an instruction.
  bool HoldsInstruction(uint16_t address) const;
  // The instruction line that begins at address, or -1.
  int InstructionAt(uint16_t address) const;
  // The lowest address at or above address that holds a loaded word.
  std::optional<uint16_t> NextLoadedAddress(uint16_t address) const;

  // Whether the label table has this name in some scope, or as a register
  // (compared without regard to letter case). A name it does not know is
  // read as a number wherever it is used.
  bool IsLabelName(std::string_view name) const;

 private:
  static constexpr size_t kWords = 0x10000;

  const TQRXAssembler& assembler_;
  std::vector<int> loadedLines_;
  std::vector<int32_t> owner_ = std::vector<int32_t>(kWords, -1);
  std::vector<int32_t> nextLoaded_ = std::vector<int32_t>(kWords + 1, -1);
  std::unordered_set<std::string> labelNames_;
};

// The text of a name in upper case (ASCII letters only), the form in which
// names are compared.
std::string UpperName(std::string_view name);
