#include "assembler/hint_program.h"

#include <algorithm>

#include "assembler/macro_prepass.h"
#include "assembler/qrx_assembler.h"

namespace {

// The mode of operand 1 from the instruction word's mode nibble.
uint8_t FirstModeOf(uint16_t instructionWord, uint16_t length) {
  const int nibble = instructionWord & 0xF;
  if (length == 2) return static_cast<uint8_t>(nibble & 3);
  if (length == 3) return static_cast<uint8_t>((nibble >> 2) & 3);
  return 0;
}

}  // namespace

std::string UpperName(std::string_view name) {
  std::string upper(name);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper;
}

THintProgram::THintProgram(const TQRXAssembler& assembler)
    : assembler_(assembler), lineCount_(assembler.LineCount()) {
  lines_.reserve(static_cast<size_t>(lineCount_));
}

// The words a line puts into memory, by the rule of the memory image: an
// instruction line (one not marked as a directive) its FieldCount words, a
// DW line its values unless it is a macro-definition line, no other line.
size_t THintProgram::LoadedWordCount(int i, const TAsmLine& line) const {
  size_t words = 0;
  if (line.Mnemonic == "DW") {
    if (line.FieldCount > 0 && !IsMacroDefinitionLine(LineText(i))) words = line.FieldCount - 1u;
  } else if (!line.IsDirective) {
    words = line.FieldCount;
  }
  return std::min(words, line.Words.size());
}

void THintProgram::AddLine(int i) {
  const TAsmLine& line = assembler_.LineAt(i);
  lines_.push_back(&line);
  const size_t words = LoadedWordCount(i, line);
  lastLoaded_ = words > 0;
  if (!lastLoaded_) return;
  loadedLines_.push_back(i);
  const bool isCode = line.Mnemonic != "DW";
  for (size_t j = 0; j < words; ++j) {
    // A later line wins: its words replace whatever lay there.
    const auto address = static_cast<uint16_t>(line.Address + j);
    owner_[address] = i;
    codeWord_[address] = isCode ? 1 : 0;
    instructions_[address] = THintInstruction{};
  }
  if (!isCode) return;
  instructions_[line.Address] = THintInstruction{
      i, static_cast<uint16_t>(line.Words[0] & 0xFFF0), words > 1 ? line.Words[1] : uint16_t{0},
      static_cast<uint8_t>(words), FirstModeOf(line.Words[0], static_cast<uint16_t>(words))};
}

const std::string& THintProgram::LineText(int i) const {
  return assembler_.LineText(i);
}

std::optional<uint16_t> THintProgram::NextLoadedAddress(uint16_t address) const {
  if (nextLoaded_.empty()) {
    nextLoaded_.assign(kWords + 1, -1);
    for (size_t a = kWords; a-- > 0;)
      nextLoaded_[a] = owner_[a] >= 0 ? static_cast<int32_t>(a) : nextLoaded_[a + 1];
  }
  const int32_t next = nextLoaded_[address];
  if (next < 0) return std::nullopt;
  return static_cast<uint16_t>(next);
}

bool THintProgram::IsLabelName(std::string_view name) const {
  if (!labelNamesFilled_) {
    // A label key is the name followed by its scope path (".*" or
    // ".BLOCK..."); the registers are stored bare. The name is the part
    // before the first ".".
    const TKwList& labels = assembler_.Labels();
    for (int i = 0; i < labels.Count(); ++i) {
      const std::string_view key = labels[i];
      labelNames_.insert(UpperName(key.substr(0, key.find('.'))));
    }
    labelNamesFilled_ = true;
  }
  return labelNames_.contains(UpperName(name));
}
