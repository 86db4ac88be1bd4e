#include "assembler/hint_program.h"

#include <algorithm>

#include "assembler/qrx_assembler.h"

std::string UpperName(std::string_view name) {
  std::string upper(name);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper;
}

THintProgram::THintProgram(const TQRXAssembler& assembler) : assembler_(assembler) {
  for (const TImageLine& image : assembler.MemoryImage()) {
    loadedLines_.push_back(image.LineIndex);
    for (size_t j = 0; j < image.Words.size(); ++j)
      owner_[static_cast<uint16_t>(image.Address + j)] = image.LineIndex;
  }
  for (size_t a = kWords; a-- > 0;)
    nextLoaded_[a] = owner_[a] >= 0 ? static_cast<int32_t>(a) : nextLoaded_[a + 1];

  // A label key is the name followed by its scope path (".*" or ".BLOCK...");
  // the registers are stored bare. The name is the part before the first ".".
  const TKwList& labels = assembler.Labels();
  for (int i = 0; i < labels.Count(); ++i) {
    const std::string_view key = labels[i];
    labelNames_.insert(UpperName(key.substr(0, key.find('.'))));
  }
}

int THintProgram::LineCount() const {
  return assembler_.Count();
}

const std::string& THintProgram::LineText(int i) const {
  return assembler_.Strings(i);
}

const TAsmLine& THintProgram::Line(int i) const {
  return assembler_.LineAt(i);
}

int THintProgram::ErrorLineCount() const {
  return assembler_.ErrorLineCount();
}

int THintProgram::OwnerOf(uint16_t address) const {
  return owner_[address];
}

bool THintProgram::HoldsInstruction(uint16_t address) const {
  const int owner = owner_[address];
  return owner >= 0 && !IsDataLine(owner);
}

int THintProgram::InstructionAt(uint16_t address) const {
  const int owner = owner_[address];
  if (owner < 0 || IsDataLine(owner) || Line(owner).Address != address) return -1;
  return owner;
}

std::optional<uint16_t> THintProgram::NextLoadedAddress(uint16_t address) const {
  const int32_t next = nextLoaded_[address];
  if (next < 0) return std::nullopt;
  return static_cast<uint16_t>(next);
}

bool THintProgram::IsLabelName(std::string_view name) const {
  return labelNames_.contains(UpperName(name));
}
