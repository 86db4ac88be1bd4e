// The operand hints: numbers where a value or a variable was meant, and
// stores into the program's own instructions.
#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

#include "assembler/assembler_errors.h"
#include "assembler/hint_program.h"
#include "assembler/hint_rules.h"
#include "assembler/hint_texts.h"
#include "assembler/label_key.h"
#include "assembler/line_encoder.h"
#include "assembler/literals.h"

namespace {

template <size_t N>
constexpr std::array<uint16_t, N> OpcodesNamed(const std::string_view (&names)[N]) {
  std::array<uint16_t, N> opcodes{};
  for (size_t i = 0; i < N; ++i)
    opcodes[i] = OpcodeNamed(names[i]);
  return opcodes;
}

constexpr std::string_view kStoreNames[] = {"LD",  "NEG", "ADD", "SUB", "NOT", "OR",
                                            "XOR", "AND", "IN",  "POP", "SL",  "SR"};
constexpr std::string_view kJumpNames[] = {"JP", "JPF", "JPT", "CALL"};
constexpr auto kStoreOpcodes = OpcodesNamed(kStoreNames);
constexpr auto kJumpOpcodes = OpcodesNamed(kJumpNames);

template <size_t N>
bool IsOneOf(uint16_t opcode, const std::array<uint16_t, N>& opcodes) {
  return std::find(opcodes.begin(), opcodes.end(), opcode) != opcodes.end();
}

TOperandUse UseOf(const TAsmLine& line, int k) {
  if (line.Mnemonic == "DW") return TOperandUse::Data;
  if (k != 1) return TOperandUse::Read;
  if (JumpsThroughFirst(OpcodeOf(line))) return TOperandUse::Jump;
  if (StoresThroughFirst(OpcodeOf(line))) return TOperandUse::Store;
  return TOperandUse::Read;
}

// The name in an operand, as the label table looks it up: without "#",
// "@" or the brackets, and without the offset (from the last "+" or "-").
std::string_view TermName(std::string_view operand) {
  if (!operand.empty() && (operand.front() == '#' || operand.front() == '@'))
    operand.remove_prefix(1);
  else if (operand.size() >= 2 && operand.front() == '[' && operand.back() == ']')
    operand = operand.substr(1, operand.size() - 2);
  for (size_t i = operand.size(); i-- > 0;)
    if (operand[i] == '+' || operand[i] == '-') return operand.substr(0, i);
  return operand;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Whether the literal rules could read the name at all: a character
// literal, a radix suffix, a leading digit, sign or "$", or the prefix x.
// Any other name is no literal, so in a clean assembly it is a label.
bool MayBeLiteral(std::string_view name) {
  switch (name.back()) {
    case '$':
    case '\\':
    case 'B':
    case 'b':
    case 'D':
    case 'd':
    case 'H':
    case 'h':
      return true;
    default:
      break;
  }
  const char first = name.front();
  return IsDigit(first) || first == '+' || first == '-' || first == '$' || first == 'x' ||
         first == 'X';
}

bool IsHexLetter(char c) {
  return (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
}

// Why a literal probably is not the number the learner meant. Written like
// a name, it was meant as a variable: B alone (binary, empty: 0), a register
// name of other machines such as CH or AH (one hexadecimal letter and H), or
// X and decimal digits (the prefix x: X1 is 1). Longer forms such as FFh or
// x1F are hexadecimal numbers written on purpose. Written as one or two
// digits and B or D, it was meant as hexadecimal without its "h" ("0D" for
// 0Dh); a real binary or decimal number is rarely written that short with
// its suffix.
std::optional<TNumberLook> LookOf(std::string_view name) {
  const char first = name.front();
  const std::string_view rest = name.substr(1);
  if (name == "B" || name == "b" || (IsHexLetter(first) && (rest == "H" || rest == "h")) ||
      ((first == 'X' || first == 'x') && AllDigits(rest)))
    return TNumberLook::LetterName;
  if (name.size() < 2 || name.size() > 3 || !AllDigits(name.substr(0, name.size() - 1)))
    return std::nullopt;
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

// Whether the assembler read the name as a literal (in a clean assembly a
// name is a label or a literal). A name that may be a label is looked up
// among all labels; one found in some scope counts as a label, though it
// may be out of reach here.
bool IsLiteral(const THintProgram& program, std::string_view name) {
  if (!MayBeLiteral(name)) return false;
  if (IsDigit(name.front()) || !IsLegalLabelKey(name)) return true;
  return !program.IsLabelName(name);
}

}  // namespace

bool StoresThroughFirst(uint16_t opcode) {
  return IsOneOf(opcode, kStoreOpcodes);
}

bool JumpsThroughFirst(uint16_t opcode) {
  return IsOneOf(opcode, kJumpOpcodes);
}

void TOperandHints::AddLine(int i) {
  if (!program_.LastLineLoaded()) return;
  const TAsmLine& line = program_.Line(i);
  const int fields = std::min<int>(line.FieldCount, static_cast<int>(line.Fields.size()));
  for (int k = 1; k < fields; ++k)
    CheckOperand(i, line, k);
}

void TOperandHints::CheckOperand(int i, const TAsmLine& line, int k) {
  const std::string& operand = line.Fields[static_cast<size_t>(k)];
  const TOperandUse use = UseOf(line, k);
  const bool direct = use != TOperandUse::Data && OperandMode(operand) == kModeDirect;
  const size_t wordIndex = static_cast<size_t>(use == TOperandUse::Data ? k - 1 : k);
  if (wordIndex >= line.Words.size()) return;
  const uint16_t word = line.Words[wordIndex];
  const std::string_view name = TermName(operand);

  if (name.empty() || IsLiteral(program_, name)) {
    // No label: the assembler read the term as a literal.
    if (const std::optional<TNumberLook> look = name.empty() ? std::nullopt : LookOf(name)) {
      int32_t number = 0;
      try {
        number = EvalNumber(name);
      } catch (const EConvertError&) {
        return;
      } catch (const EInvaridCharsetError&) {
        return;  // a binary literal with too many digits
      }
      hints_.push_back(HintAtLine(program_, i, THintKind::NumberLikeName,
                                  NumberLikeNameText(name, number, *look, use, direct, word)));
      return;
    }
    if (direct && use == TOperandUse::Read) {
      hints_.push_back(
          HintAtLine(program_, i, THintKind::DirectNumber, DirectNumberText(operand, word)));
      return;
    }
  }
  if (direct && use == TOperandUse::Store) stores_.push_back({i, k, word});
}

void TOperandHints::Finish(std::vector<TAsmHint>& hints) {
  for (const TStore& store : stores_) {
    if (!program_.HoldsInstruction(store.Address)) continue;
    const std::string& operand =
        program_.Line(store.Line).Fields[static_cast<size_t>(store.Operand)];
    hints_.push_back(HintAtLine(program_, store.Line, THintKind::WriteIntoCode,
                                WriteIntoCodeText(operand, store.Address)));
  }
  hints.insert(hints.end(), hints_.begin(), hints_.end());
}
