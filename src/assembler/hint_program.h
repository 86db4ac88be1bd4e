// The assembled program as the hint rules read it. This is the one place
// where the hints reach into the assembler, through a few calls: the number
// of lines, a line's record and text, and the label table.
//
// The rules read the lines in one sweep: CollectHints hands every line, in
// order, first to AddLine here and then to the rules that look at lines one
// by one, so each record is fetched from memory once (the records of a long
// program do not fit in any cache, and each pass over them costs about as
// much as a pass of the assembler). The sweep also lays out the memory image
// as the machine loads it (TQRXAssembler::MemoryImage, whose rule it
// follows line by line): which line put the word at each address, and a
// compact copy of every instruction for the rules that follow execution.
// On first use it collects the names that the label table knows in any
// scope.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "assembler/asm_line.h"

class TQRXAssembler;

// An instruction as the flow rules need it.
struct THintInstruction {
  int32_t Line = -1;  // -1: no instruction begins at this address
  uint16_t Opcode = 0;
  uint16_t FirstWord = 0;  // the word of operand 1
  uint8_t Length = 0;      // in words
  uint8_t FirstMode = 0;   // addressing mode of operand 1, 0 without one
};

class THintProgram {
 public:
  explicit THintProgram(const TQRXAssembler& assembler);

  // Takes in line i; every line once, in order, before any question below.
  void AddLine(int i);

  int LineCount() const { return lineCount_; }
  const TAsmLine& Line(int i) const { return *lines_[static_cast<size_t>(i)]; }
  const std::string& LineText(int i) const;

  // The lines that put words into memory, in source order (instruction and
  // DW lines; not macro-definition lines).
  const std::vector<int>& LoadedLines() const { return loadedLines_; }
  // Whether the last line taken in puts words into memory.
  bool LastLineLoaded() const { return lastLoaded_; }
  // Whether a line holds data (DW) rather than an instruction.
  bool IsDataLine(int i) const { return Line(i).Mnemonic == "DW"; }
  // The line whose word lies at address (a later line wins), or -1.
  int OwnerOf(uint16_t address) const { return owner_[address]; }

  // Whether the word at address belongs to an instruction.
  bool HoldsInstruction(uint16_t address) const { return codeWord_[address] != 0; }
  // The instruction that begins at address (Line -1 when none does: data,
  // the middle of an instruction, or nothing loaded).
  const THintInstruction& InstructionAt(uint16_t address) const { return instructions_[address]; }
  // The lowest address at or above address that holds a loaded word.
  std::optional<uint16_t> NextLoadedAddress(uint16_t address) const;

  // Whether the label table has this name in some scope, or as a register
  // (compared without regard to letter case). A name it does not know is
  // read as a number wherever it is used.
  bool IsLabelName(std::string_view name) const;

 private:
  static constexpr size_t kWords = 0x10000;

  size_t LoadedWordCount(int i, const TAsmLine& line) const;

  const TQRXAssembler& assembler_;
  int lineCount_ = 0;
  std::vector<const TAsmLine*> lines_;
  bool lastLoaded_ = false;
  std::vector<int> loadedLines_;
  std::vector<int32_t> owner_ = std::vector<int32_t>(kWords, -1);
  std::vector<char> codeWord_ = std::vector<char>(kWords, 0);
  std::vector<THintInstruction> instructions_ = std::vector<THintInstruction>(kWords);
  mutable std::vector<int32_t> nextLoaded_;  // filled on first use
  // Filled on the first IsLabelName.
  mutable std::unordered_set<std::string> labelNames_;
  mutable bool labelNamesFilled_ = false;
};

// The text of a name in upper case (ASCII letters only), the form in which
// names are compared.
std::string UpperName(std::string_view name);
