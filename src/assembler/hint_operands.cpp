// The operand hints: numbers where a value or a variable was meant, and
// stores into the program's own instructions.
#include <algorithm>
#include <exception>
#include <initializer_list>
#include <optional>
#include <string_view>

#include "assembler/hint_program.h"
#include "assembler/hint_rules.h"
#include "assembler/hint_texts.h"
#include "assembler/label_key.h"
#include "assembler/line_encoder.h"
#include "assembler/literals.h"

namespace {

bool IsOneOf(std::string_view mnemonic, std::initializer_list<std::string_view> names) {
  for (const std::string_view name : names)
    if (mnemonic == name) return true;
  return false;
}

TOperandUse UseOf(const TAsmLine& line, int k) {
  if (line.Mnemonic == "DW") return TOperandUse::Data;
  if (k != 1) return TOperandUse::Read;
  if (JumpsThroughFirst(line.Mnemonic)) return TOperandUse::Jump;
  if (StoresThroughFirst(line.Mnemonic)) return TOperandUse::Store;
  return TOperandUse::Read;
}

// The name in an operand, as the label table looks it up: without "#",
// "@" or the brackets, and without the offset (from the last "+" or "-").
std::string_view TermName(std::string_view operand) {
  if (!operand.empty() && (operand.front() == '#' || operand.front() == '@'))
    operand.remove_prefix(1);
  else if (operand.size() >= 2 && operand.front() == '[' && operand.back() == ']')
    operand = operand.substr(1, operand.size() - 2);
  return operand.substr(0, operand.find_last_of("+-"));
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Why a name that is no label reads as a number the learner probably did
// not mean: it is written like a label, or it is one or two digits with a
// B or D behind them (a hexadecimal number without its "h"; a real binary
// or decimal literal is rarely written that short with its suffix).
std::optional<TNumberLook> LookOf(std::string_view name) {
  const char first = name.front();
  if (((first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z') || first == '_') &&
      IsLegalLabelKey(name))
    return TNumberLook::LetterName;
  if (name.size() < 2 || name.size() > 3) return std::nullopt;
  for (size_t i = 0; i + 1 < name.size(); ++i)
    if (!IsDigit(name[i])) return std::nullopt;
  switch (name.back()) {
    case 'B':
    case 'b':
      return TNumberLook::BinarySuffix;
    case 'D':
    case 'd':
      return TNumberLook::DecimalSuffix;
    default:
      return std::nullopt;
  }
}

void CheckOperand(const THintProgram& program, int lineIndex, int k, std::vector<TAsmHint>& hints) {
  const TAsmLine& line = program.Line(lineIndex);
  const std::string& operand = line.Fields[static_cast<size_t>(k)];
  const TOperandUse use = UseOf(line, k);
  const bool direct = use != TOperandUse::Data && OperandMode(operand) == kModeDirect;
  const size_t wordIndex = static_cast<size_t>(use == TOperandUse::Data ? k - 1 : k);
  if (wordIndex >= line.Words.size()) return;
  const uint16_t word = line.Words[wordIndex];
  const std::string_view name = TermName(operand);

  if (name.empty() || !program.IsLabelName(name)) {
    // No label: the assembler read the term as a literal.
    if (const std::optional<TNumberLook> look = name.empty() ? std::nullopt : LookOf(name)) {
      int32_t number = 0;
      try {
        number = EvalNumber(name);
      } catch (const std::exception&) {
        return;
      }
      hints.push_back(HintAtLine(program, lineIndex, THintKind::NumberLikeName,
                                 NumberLikeNameText(name, number, *look, use, direct, word)));
      return;
    }
    if (direct && use == TOperandUse::Read) {
      hints.push_back(
          HintAtLine(program, lineIndex, THintKind::DirectNumber, DirectNumberText(operand, word)));
      return;
    }
  }
  if (direct && use == TOperandUse::Store && program.HoldsInstruction(word))
    hints.push_back(
        HintAtLine(program, lineIndex, THintKind::WriteIntoCode, WriteIntoCodeText(operand, word)));
}

}  // namespace

bool StoresThroughFirst(std::string_view mnemonic) {
  return IsOneOf(mnemonic,
                 {"LD", "NEG", "ADD", "SUB", "NOT", "OR", "XOR", "AND", "IN", "POP", "SL", "SR"});
}

bool JumpsThroughFirst(std::string_view mnemonic) {
  return IsOneOf(mnemonic, {"JP", "JPF", "JPT", "CALL"});
}

void AddOperandHints(const THintProgram& program, std::vector<TAsmHint>& hints) {
  for (const int lineIndex : program.LoadedLines()) {
    const TAsmLine& line = program.Line(lineIndex);
    const int fields = std::min<int>(line.FieldCount, static_cast<int>(line.Fields.size()));
    for (int k = 1; k < fields; ++k)
      CheckOperand(program, lineIndex, k, hints);
  }
}
