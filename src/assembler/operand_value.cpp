// TKwList::EvaluateOperand: the value of one operand field.
#include <cstdint>
#include <string_view>

#include "assembler/assembler_errors.h"
#include "assembler/label_table.h"
#include "assembler/literals.h"
#include "assembler/sjis_scan.h"

namespace {

[[noreturn]] void RaiseNoValue() {
  throw EConvertError(assembler_messages::ConvertError());
}

// Whether an indirect operand ends in a "]" of its own (not the second byte
// of a double-byte character such as "ゾ", 83 5D) behind its "[".
bool IsClosedIndirect(std::string_view text) {
  return text.size() >= 2 && text.back() == ']' && !EndsInDoubleByte(text);
}

// Whether the text holds nothing but the decoration the literal reader
// strips: an optional "#" or "@", then an optional "[" and "]".
bool IsDecorationOnly(std::string_view text) {
  if (!text.empty() && (text.front() == '#' || text.front() == '@')) text.remove_prefix(1);
  if (!text.empty() && text.front() == '[') {
    text.remove_prefix(1);
    if (!text.empty() && text.back() == ']') text.remove_suffix(1);
  }
  return text.empty();
}

}  // namespace

uint16_t TKwList::EvaluateOperand(std::string_view text) const {
  const char first = text.empty() ? '\0' : text.front();

  // The decoration: "#" or "@" in front, or the brackets of an indirect
  // operand, whose inner term may not be an immediate nor a register.
  std::string_view term = text;
  if (first == '#' || first == '@') {
    term.remove_prefix(1);
  } else if (first == '[') {
    if (!IsClosedIndirect(text)) RaiseNoValue();
    term = text.substr(1, text.size() - 2);
    if (!term.empty()) {
      const char inner = term.front();
      if (inner == '#' || inner == '@') throw EInvaridParamTypeError();
      if (inner != '^' && IndexOf(term) >= 0) throw EInvaridParamTypeError();
    }
  }

  // A character of a string is its code, whatever the character: a "+" or
  // "-" in it (as in the escape "\-") is no offset.
  if (IsStringCharField(term)) return static_cast<uint16_t>(EvalNumber(term));

  // The offset: from the last sign to the end. Neither "+" nor "-" can be
  // the second byte of a double-byte character, so a byte search is safe.
  std::string_view name = term;
  int32_t offset = 0;
  const size_t sign = term.find_last_of("+-");
  if (sign != std::string_view::npos) {
    name = term.substr(0, sign);
    offset = EvalNumber(term.substr(sign));
  }

  // The name: a label, else a literal. An empty name is looked up nowhere
  // (a key such as ".MAIN.*" must not answer for "-5" inside MAIN); it is 0
  // when an offset stands alone and an error when nothing was written.
  int32_t value = 0;
  const int index = name.empty() ? -1 : FindLabel(name);
  if (index >= 0) {
    const TKwValues& record = RecordAt(index);
    if (record.ValueOnly && first != '#') throw EValueOnlyError();
    value = record.Value;
  } else if (name.empty()) {
    if (sign == std::string_view::npos) RaiseNoValue();
  } else {
    if (IsDecorationOnly(name)) RaiseNoValue();
    value = EvalNumber(name);
  }
  return static_cast<uint16_t>(static_cast<uint32_t>(value) + static_cast<uint32_t>(offset));
}
